#pragma once
// An SMTP submission set up from the [Email] settings: server, port, TLS,
// log-in and addresses, each checked before anything is sent.
#include "notify/Mailer.h"
#include "notify/SmtpTransfer.h"
#include "settings/TSettings.h"

#include <optional>

namespace smtpsettings {

// The job for the settings, or nullopt with the reason in error (no server,
// a server name, port or address that does not parse). Body, subject date
// and attachments are the caller's.
std::optional<SmtpJob> jobFromSettings(const TSettings &settings, const Mailer::Options &options, QString *error);

} // namespace smtpsettings
