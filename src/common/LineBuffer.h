#pragma once
// A bounded, thread-safe hand-over of text lines from busy threads to the
// window thread. Producers push; the consumer takes everything at once. When
// more lines wait than the capacity, the oldest go (the pane that shows them
// keeps only the newest as many anyway), and the loss is counted.
#include <QString>
#include <QStringList>
#include <deque>
#include <mutex>

class LineBuffer {
public:
    explicit LineBuffer(qsizetype capacity);

    // True when the buffer was empty: the consumer must be woken for this
    // line; later lines ride on the same wake.
    bool push(const QString &line);

    // Every waiting line, oldest first; the buffer is empty afterwards.
    QStringList takeAll();
    // Lines dropped for want of room since the last call.
    qint64 takeDropped();

    qsizetype capacity() const;
    void setCapacity(qsizetype capacity);
    qsizetype size() const;

private:
    mutable std::mutex m_mutex;
    std::deque<QString> m_lines;
    qsizetype m_capacity;
    qint64 m_dropped = 0;
};
