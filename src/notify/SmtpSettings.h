#pragma once
// An SMTP submission set up from the [Email] settings: server, port, TLS,
// log-in and addresses, each checked before anything is sent.
#include "notify/Mailer.h"
#include "notify/SmtpTransfer.h"
#include "settings/TSettings.h"

#include <optional>

namespace smtpsettings {

// The job for the settings, or nullopt with the failure filled in (no server,
// a server name, port or address that does not parse). The body and the
// attachments are the caller's.
std::optional<SmtpJob> jobFromSettings(const TSettings &settings, const Mailer::Options &options, SmtpResult *failure);

} // namespace smtpsettings
