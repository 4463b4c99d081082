#include "notify/Mailer.h"

#include "notify/SmtpSettings.h"

#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "settings/SettingsPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Enough for every source of e-mails at once; a flood of clicks beyond it is dropped.
constexpr int kMaxWaiting = 8;

const QString kDashes = QStringLiteral("-----------------------------------");

const char *const kImageSuffixes[] = {"-Noise", "-Sync", "-Ping"};

} // namespace

Mailer::Mailer(const TSettings &settings, RunState &run, EmailHost &host, const QString &settingsPath,
               QObject *parent)
    : QObject(parent), m_settings(settings), m_run(run), m_host(host),
      m_programBase(settingspaths::programBase(settingsPath)),
      m_programFolder(settingspaths::programFolder(settingsPath))
{
    qRegisterMetaType<SmtpResult>();
    SmtpTransfer::globalInit();
    m_override.setSingleShot(true);
    m_override.setObjectName(QStringLiteral("tmrEmailOverRide"));
    connect(&m_override, &QTimer::timeout, this, [this] { setEmailDone(true); });
}

Mailer::~Mailer()
{
    m_abort = true;
    if (m_worker.joinable())
        m_worker.join();
}

QString Mailer::alarmPageSendNowReason()
{
    return QStringLiteral("\"Send Now\" button clicked on Alarm Actions page.");
}

QString Mailer::configPageSendNowReason()
{
    return QStringLiteral("\"Send Now\" button clicked on e-mail configuration page.");
}

void Mailer::setEmailDone(bool done)
{
    m_emailDone = done;
    if (done)
        emit emailDone();
}

void Mailer::setEnvelope(EmailEnvelope e)
{
    if (m_envelope == e)
        return;
    m_envelope = e;
    emit envelopeChanged(e);
}

void Mailer::successEnvelopeClicked()
{
    setEnvelope(EmailEnvelope::Hidden);
    emit systemMessage(QStringLiteral("\"Envelope Icon\" reset"));
}

QString Mailer::errorEnvelopeText() const
{
    const QString head = QStringLiteral("There was a problem sending an e-mail.\r\n\r\nThe smtp server (")
                         + m_settings.Email.Server;
    if (m_settings.Email.Login)
        return head + QStringLiteral(") may be off line, your router may not be\r\n"
                                     "connected to the internet or your smtp username/password may be incorrect");
    return head + QStringLiteral(") may be off line or your router may not be\r\nconnected to the internet.");
}

void Mailer::errorEnvelopeClicked()
{
    setEnvelope(EmailEnvelope::Hidden);
    if (!m_settings.System.SuppressErrors)
        emit systemMessage(QStringLiteral("\"E-mail Error Envelope Icon\" reset"));
}

QString Mailer::imageExtension() const
{
    const auto &c = m_settings.Capture;
    if (m_settings.Email.AlwaysEmailJPG)
        return QStringLiteral(".jpg");
    if (c.IsPNG)
        return QStringLiteral(".png");
    if (c.IsGIF)
        return QStringLiteral(".gif");
    if (c.IsBMP)
        return QStringLiteral(".bmp");
    return QStringLiteral(".jpg");
}

QString Mailer::imagePath(const QString &suffix, const QString &extension) const
{
    return m_programBase + suffix + extension;
}

QString Mailer::routerLogPath() const { return m_programFolder + QStringLiteral("/VT-routerlog.txt"); }

void Mailer::SendEmail(const QString &reason) { enqueue({Kind::Notify, reason}); }

void Mailer::DailyEmail(const QString &wanPanelText) { enqueue({Kind::Daily, wanPanelText}); }

void Mailer::enqueue(const Request &r)
{
    if (!m_active && m_queue.isEmpty()) {
        start(r);
        return;
    }
    if (m_queue.size() >= kMaxWaiting) {
        emit systemMessage(QStringLiteral("E-mail not sent, too many e-mails waiting: (") + r.text
                           + QLatin1Char(')'));
        if (r.kind == Kind::Notify && !notifyWaiting())
            setEmailDone(true);
        return;
    }
    // A waiting alarm e-mail still bounds the reboot's wait.
    if (r.kind == Kind::Notify && !m_override.isActive())
        m_override.start(m_settings.Alarm.EmailTimeout * 1000);
    m_queue.append(r); // finish() takes it up
}

void Mailer::drain()
{
    while (!m_active && !m_queue.isEmpty())
        start(m_queue.takeFirst());
}

bool Mailer::notifyWaiting() const
{
    for (const Request &q : m_queue)
        if (q.kind == Kind::Notify)
            return true;
    return false;
}

QString Mailer::hostError(const QString &host)
{
    static const QRegularExpression name(QStringLiteral(R"(^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?$)"));
    static const QRegularExpression v6(QStringLiteral(R"(^[0-9A-Fa-f:.]+$)"));
    if (host.isEmpty())
        return QStringLiteral("No SMTP server is set");
    if (host.size() > 253 || !(name.match(host).hasMatch() || (host.contains(QLatin1Char(':')) && v6.match(host).hasMatch())))
        return QStringLiteral("Not a valid SMTP server name: ") + MailMessage::headerText(host);
    return {};
}

void Mailer::start(const Request &r)
{
    const bool notify = r.kind == Kind::Notify;
    const auto &e = m_settings.Email;
    // "Just one": while the envelope shows, only the alarm page's button sends.
    if (notify && m_settings.Alarm.JustOne && e.ShowIcon && m_envelope != EmailEnvelope::Hidden
        && r.text != alarmPageSendNowReason()) {
        if (!notifyWaiting())
            setEmailDone(true);
        return;
    }

    m_active = true;
    ++m_generation;
    m_current = r;
    emit busyChanged(true);

    m_run.SampleStamp = m_settings.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
    m_extension = imageExtension();
    if (notify) {
        if (!m_override.isActive())
            m_override.start(m_settings.Alarm.EmailTimeout * 1000);
        emit systemMessage(QStringLiteral("E-mail: (") + r.text + QLatin1Char(')'));
    } else {
        emit systemMessage(QStringLiteral("Daily e-mail"));
    }
    emit statusText(QStringLiteral("Sending E-mail..."));

    const QString stamp = dtp::format(QStringLiteral("ddd dd mmm  hh:nn:ss"), m_run.SampleStamp);
    m_body = stamp + QStringLiteral("\r\n") + (notify ? m_run.WanIPAddress : r.text) + QStringLiteral("\r\n")
             + (notify ? r.text : QStringLiteral("(Scheduled e-mail)")) + QStringLiteral("\r\n") + kDashes
             + QStringLiteral("\r\n");

    // Everything that can be checked is checked before the images and the
    // router log are made for nothing.
    SmtpResult early;
    std::optional<SmtpJob> job = smtpsettings::jobFromSettings(m_settings, m_options, &early);
    if (!job) {
        m_attachments.clear();
        finish(early);
        return;
    }
    m_job = *job;
    m_job.body = m_body;

    makeAttachments();
}

void Mailer::addIfExists(const QString &path)
{
    if (!path.isEmpty() && QFileInfo::exists(path))
        m_attachments << path;
}

void Mailer::makeAttachments()
{
    const bool daily = m_current.kind == Kind::Daily;
    m_attachments.clear();
    if (m_settings.Email.Log && m_settings.System.Log)
        addIfExists(m_host.currentLogFile());
    if (daily && m_settings.Email.ALarmLog)
        addIfExists(m_settings.Alarm.AlarmLog);

    // Left-overs of an earlier run must not go out as this e-mail's pictures.
    for (const char *suffix : kImageSuffixes)
        QFile::remove(imagePath(QLatin1String(suffix), m_extension));
    QFile::remove(routerLogPath());

    const struct {
        bool wanted;
        int chart;
        const char *suffix;
    } images[] = {{m_settings.Email.Noise, 1, "-Noise"},
                  {m_settings.Email.Speed, 2, "-Sync"},
                  {m_settings.Ping.EmailPing, 25, "-Ping"}};
    for (const auto &i : images) {
        if (!i.wanted)
            continue;
        const QString path = imagePath(QLatin1String(i.suffix), m_extension);
        m_host.EmailSave(i.chart, path);
        addIfExists(path);
    }

    if (!m_settings.RouterLog.EmailRouterLog) {
        launch();
        return;
    }
    const quint64 generation = m_generation;
    QPointer<Mailer> self(this);
    auto called = std::make_shared<bool>(false);
    m_host.GetRouterLog(routerLogPath(), [self, generation, called] {
        if (!self || *called || self->m_generation != generation || !self->m_active)
            return;
        *called = true;
        self->addIfExists(self->routerLogPath());
        self->launch();
    });
}

void Mailer::launch()
{
    m_job.attachmentPaths = m_attachments;
    m_abort = false;
    if (m_worker.joinable())
        m_worker.join();
    m_worker = std::thread([this, job = m_job] {
        SmtpTransfer transfer(job);
        const SmtpResult r = transfer.run(m_abort, [this](const QString &status) {
            QMetaObject::invokeMethod(this, [this, status] { emit systemMessage(status); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(this, [this, r] { onTransferDone(r); }, Qt::QueuedConnection);
    });
}

void Mailer::onTransferDone(const SmtpResult &r)
{
    if (m_worker.joinable())
        m_worker.join();
    finish(r);
}

void Mailer::releaseEmailDone()
{
    // An alarm e-mail that waits its turn keeps the reboot waiting; it starts next.
    if (notifyWaiting())
        return;
    m_override.stop();
    setEmailDone(true);
}

void Mailer::finish(const SmtpResult &r)
{
    const bool notify = m_current.kind == Kind::Notify;
    const bool showIcon = m_settings.Email.ShowIcon;
    if (!r.sent) {
        // A failed daily e-mail shows only its envelope; a port that is not a
        // number is a setting to mend and is said either way.
        const bool report = notify || r.error == SmtpError::Port;
        if (report && !m_settings.System.SuppressErrors && !r.detail.isEmpty()) {
            const QString where = notify ? QStringLiteral("SendEmail") : QStringLiteral("DailyTimerTimer");
            emit systemMessage(r.detail + QStringLiteral("  ")
                               + (r.curlCode ? QString::number(r.curlCode) + QLatin1Char(' ') : QString()) + where);
        }
        if (notify)
            emit systemMessage(QStringLiteral("Send E-mail - error"));
        if (showIcon)
            setEnvelope(EmailEnvelope::Failed);
    } else if (showIcon) {
        setEnvelope(EmailEnvelope::Sent);
    }
    if (r.connected)
        emit systemMessage(QStringLiteral("Disconnected."));
    if (notify) {
        emit systemMessage(QStringLiteral("Send E-mail - finished"));
        releaseEmailDone(); // once, whichever of the above ended it
    }

    cleanUp();
    emit statusTextRestore();
    m_active = false;
    emit busyChanged(false);
    emit emailFinished(r);

    if (!m_queue.isEmpty())
        QMetaObject::invokeMethod(this, [this] { drain(); }, Qt::QueuedConnection);
}

void Mailer::cleanUp()
{
    for (const char *suffix : kImageSuffixes) {
        const QString path = imagePath(QLatin1String(suffix), m_extension);
        if (QFileInfo::exists(path))
            QFile::remove(path);
    }
    if (QFileInfo::exists(routerLogPath()))
        QFile::remove(routerLogPath());
    m_attachments.clear();
    m_body.clear();
    m_job = SmtpJob{};
}
