#include "notify/TextMailer.h"

#include "notify/SmtpSettings.h"

#include <QMetaObject>
#include <QTimer>

TextMailer::TextMailer(QObject *parent) : QObject(parent) {}

TextMailer::~TextMailer()
{
    m_abort = true;
    if (m_worker.joinable())
        m_worker.join();
}

bool TextMailer::send(const TSettings &settings, const QString &body, const QStringList &attachments)
{
    if (busy())
        return false;
    SmtpResult r;
    std::optional<SmtpJob> job = smtpsettings::jobFromSettings(settings, m_options, &r);
    if (!job) {
        // Always later, as a real send would be.
        QTimer::singleShot(0, this, [this, r] { emit finished(r); });
        return true;
    }
    job->body = body;
    job->attachmentPaths = attachments;
    m_abort = false;
    m_worker = std::thread([this, j = *job] {
        SmtpTransfer transfer(j);
        const SmtpResult r = transfer.run(m_abort, [](const QString &) {});
        QMetaObject::invokeMethod(
            this,
            [this, r] {
                if (m_worker.joinable())
                    m_worker.join();
                emit finished(r);
            },
            Qt::QueuedConnection);
    });
    return true;
}
