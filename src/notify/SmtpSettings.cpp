#include "notify/SmtpSettings.h"

#include "common/Clock.h"
#include "notify/MailMessage.h"

namespace smtpsettings {

std::optional<SmtpJob> jobFromSettings(const TSettings &settings, const Mailer::Options &options, SmtpResult *failure)
{
    const auto &e = settings.Email;
    auto fail = [failure](SmtpError error, const QString &why) {
        if (failure) {
            failure->sent = false;
            failure->error = error;
            failure->detail = why;
        }
        return std::nullopt;
    };
    SmtpJob job;
    job.host = e.Server.trimmed();
    if (job.host.startsWith(QLatin1Char('[')) && job.host.endsWith(QLatin1Char(']')))
        job.host = job.host.mid(1, job.host.size() - 2);
    if (const QString bad = Mailer::hostError(job.host); !bad.isEmpty())
        return fail(SmtpError::Settings, bad);
    QString bad;
    const auto to = MailMessage::parseAddressList(e.To, &bad);
    if (!to)
        return fail(SmtpError::Settings, QStringLiteral("Not a valid recipient address: ") + MailMessage::headerText(bad));
    if (to->isEmpty())
        return fail(SmtpError::Settings, QStringLiteral("No recipient address is set"));
    const QString from = e.From.trimmed();
    const auto fromAddress = MailMessage::parseAddress(from);
    if (!from.isEmpty() && !fromAddress)
        return fail(SmtpError::Settings, QStringLiteral("Not a valid sender address: ") + MailMessage::headerText(from));
    // A port that is not a number ends the send with the conversion error,
    // never a silent fall-back to another port.
    bool portOk = false;
    const int port = e.Port.trimmed().toInt(&portOk);
    if (!portOk)
        return fail(SmtpError::Port,
                    QStringLiteral("'%1' is not a valid integer value").arg(MailMessage::headerText(e.Port)));
    if (port <= 0 || port > 65535)
        return fail(SmtpError::Port, QStringLiteral("%1 is not a valid port number").arg(port));
    job.port = port;
    job.tls = e.SSL ? options.secureMode : SmtpTls::None;
    job.login = e.Login;
    job.user = e.User;
    job.password = e.Pass;
    job.caFile = options.caFile;
    job.verifyPeer = options.verifyPeer;
    job.connectTimeoutMs = options.connectTimeoutMs;
    job.totalTimeoutMs = options.totalTimeoutMs;
    if (!from.isEmpty())
        job.from = fromAddress;
    job.to = *to;
    job.subject = e.Subject;
    job.date = Clock::currentDateTime();
    return job;
}

} // namespace smtpsettings
