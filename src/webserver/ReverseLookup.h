#pragma once
// The host name of a client address, looked up by the system resolver off
// the window thread and given up after a time-out, so a slow resolver never
// holds the window. One lookup at a time; a new one abandons the previous.
#include <QObject>
#include <QString>
#include <QTimer>

class QHostInfo;

class ReverseLookup : public QObject {
    Q_OBJECT
public:
    explicit ReverseLookup(QObject *parent = nullptr);
    ~ReverseLookup() override;

    static QString notFoundText() { return QStringLiteral("[not found]"); }

    void setTimeout(int ms) { m_timer.setInterval(ms); }
    void lookup(const QString &address);
    void cancel();
    bool isBusy() const { return m_id >= 0; }

signals:
    // hostName is notFoundText() when the resolver has no name or took too long.
    void finished(const QString &address, const QString &hostName);

private:
    void done(int id, const QHostInfo &info);
    void finish(const QString &hostName);

    QTimer m_timer;
    QString m_address;
    int m_id = -1;
};
