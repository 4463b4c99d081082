#include "notify/SmtpSettings.h"

#include "common/Clock.h"
#include "notify/MailMessage.h"

namespace smtpsettings {

std::optional<SmtpJob> jobFromSettings(const TSettings &settings, const Mailer::Options &options, QString *error)
{
    const auto &e = settings.Email;
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    SmtpJob job;
    job.host = e.Server.trimmed();
    if (job.host.startsWith(QLatin1Char('[')) && job.host.endsWith(QLatin1Char(']')))
        job.host = job.host.mid(1, job.host.size() - 2);
    if (const QString bad = Mailer::hostError(job.host); !bad.isEmpty())
        return fail(bad);
    QString bad;
    const auto to = MailMessage::parseAddressList(e.To, &bad);
    if (!to)
        return fail(QStringLiteral("Not a valid recipient address: ") + MailMessage::headerText(bad));
    if (to->isEmpty())
        return fail(QStringLiteral("No recipient address is set"));
    const QString from = e.From.trimmed();
    const auto fromAddress = MailMessage::parseAddress(from);
    if (!from.isEmpty() && !fromAddress)
        return fail(QStringLiteral("Not a valid sender address: ") + MailMessage::headerText(from));
    // A port that is not a number is the user's to correct, never a silent port 25.
    bool portOk = false;
    const int port = e.Port.trimmed().toInt(&portOk);
    if (!portOk || port < 1 || port > 65535)
        return fail(QStringLiteral("'%1' is not a valid SMTP port").arg(e.Port.trimmed()));
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
