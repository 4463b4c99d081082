#pragma once
// Turns SIGTERM and SIGINT into a Qt signal through a self-pipe, so the
// simulator closes its connections cleanly from the event loop.
#include <QObject>

class QSocketNotifier;

namespace routersim {

class SignalQuitter : public QObject
{
    Q_OBJECT
public:
    explicit SignalQuitter(QObject *parent = nullptr);
    ~SignalQuitter() override;

    // Only one instance may be installed in a process.
    bool install(QString *error);

signals:
    void signalled(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace routersim
