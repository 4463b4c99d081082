#pragma once
// The system-messages channel every subsystem reports through: a time-stamped
// line, produced only while system messages are enabled. Callable from any
// thread; the line is always produced on the channel's own (window) thread.
#include <QDateTime>
#include <QObject>
#include <QString>

class StatusChannel : public QObject {
    Q_OBJECT
public:
    explicit StatusChannel(QObject *parent = nullptr);

    void setEnabled(bool on) { m_enabled = on; }
    bool isEnabled() const { return m_enabled; }
    void setUtc(bool on) { m_utc = on; }

    // The time of the latest stamped action (poll, Run, message, image, e-mail).
    QDateTime sampleStamp() const { return m_sampleStamp; }
    void setSampleStamp(const QDateTime &t) { m_sampleStamp = t; }

    // "      Sun 06 Dec 2026   08:47:39:  " + text
    static QString formatLine(const QDateTime &stamp, const QString &text);

public slots:
    void systemMessage(const QString &text);

signals:
    void lineReady(const QString &line);
    // The message moved the sample stamp.
    void stamped(const QDateTime &stamp);

private:
    bool m_enabled = false;
    bool m_utc = false;
    QDateTime m_sampleStamp;
};
