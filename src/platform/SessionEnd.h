#pragma once
// Turns SIGTERM and SIGINT (log-out, shutdown, Ctrl+C) into an ordinary
// close of the main window, delivered through the event loop.
#include <QObject>

class QSocketNotifier;

class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;

signals:
    void endRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
