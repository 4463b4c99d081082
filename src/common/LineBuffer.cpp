#include "common/LineBuffer.h"

#include <algorithm>
#include <utility>

LineBuffer::LineBuffer(qsizetype capacity) : m_capacity(std::max<qsizetype>(capacity, 1)) {}

bool LineBuffer::push(const QString &line)
{
    std::lock_guard lock(m_mutex);
    const bool wasEmpty = m_lines.empty();
    if (qsizetype(m_lines.size()) >= m_capacity) {
        m_lines.pop_front();
        ++m_dropped;
    }
    m_lines.push_back(line);
    return wasEmpty;
}

QStringList LineBuffer::takeAll()
{
    std::deque<QString> taken;
    {
        std::lock_guard lock(m_mutex);
        taken.swap(m_lines);
    }
    // Built outside the lock so producers are never held up by the copy.
    QStringList out;
    out.reserve(qsizetype(taken.size()));
    for (QString &line : taken)
        out.append(std::move(line));
    return out;
}

qint64 LineBuffer::takeDropped()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_dropped, 0);
}

qsizetype LineBuffer::capacity() const
{
    std::lock_guard lock(m_mutex);
    return m_capacity;
}

void LineBuffer::setCapacity(qsizetype capacity)
{
    std::lock_guard lock(m_mutex);
    m_capacity = std::max<qsizetype>(capacity, 1);
    while (qsizetype(m_lines.size()) > m_capacity) {
        m_lines.pop_front();
        ++m_dropped;
    }
}

qsizetype LineBuffer::size() const
{
    std::lock_guard lock(m_mutex);
    return qsizetype(m_lines.size());
}
