#include "charts/TimeLabels.h"

#include <algorithm>

namespace {
// Trimming looks at every holder, so it waits for this many new labels.
constexpr quint32 kTrimEvery = 4096;
} // namespace

TimeLabels &TimeLabels::shared()
{
    static TimeLabels labels;
    return labels;
}

quint32 TimeLabels::intern(const QString &label)
{
    if (label.isEmpty())
        return kEmpty;
    if (!m_texts.empty() && m_texts.back() == label)
        return m_first + quint32(m_texts.size() - 1);
    m_texts.push_back(label);
    if (++m_internsSinceTrim >= kTrimEvery)
        trim();
    return m_first + quint32(m_texts.size() - 1);
}

QString TimeLabels::text(quint32 id) const
{
    if (id == kEmpty || id < m_first || id - m_first >= m_texts.size())
        return QString();
    return m_texts[id - m_first];
}

void TimeLabels::trim()
{
    m_internsSinceTrim = 0;
    if (m_texts.empty())
        return;
    // The newest label stays: the next intern may share it.
    quint32 oldest = m_first + quint32(m_texts.size() - 1);
    for (const Holder *h : m_holders) {
        const quint32 id = h->oldestLabel();
        if (id != kEmpty)
            oldest = std::min(oldest, id);
    }
    if (oldest <= m_first)
        return;
    m_texts.erase(m_texts.begin(), m_texts.begin() + (oldest - m_first));
    m_first = oldest;
}
