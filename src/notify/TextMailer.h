#pragma once
// One e-mail with a text body and optional attachments, sent with the
// [Email] settings on a worker thread; the outcome comes back on the owner's
// thread. Used by the router log viewer.
#include "notify/Mailer.h"
#include "notify/SmtpTransfer.h"

#include <QObject>
#include <atomic>
#include <thread>

class TextMailer : public QObject {
    Q_OBJECT
public:
    explicit TextMailer(QObject *parent = nullptr);
    ~TextMailer() override; // aborts a send under way and waits for it

    void setOptions(const Mailer::Options &options) { m_options = options; }
    // False (nothing sent, finished() not emitted) while a send is under way.
    bool send(const TSettings &settings, const QString &body, const QStringList &attachments);
    bool busy() const { return m_worker.joinable(); }

signals:
    void finished(const SmtpResult &result);

private:
    Mailer::Options m_options;
    std::atomic_bool m_abort{false};
    std::thread m_worker;
};
