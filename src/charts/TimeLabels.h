#pragma once
// The point labels of every chart, kept once: all the series that gain a
// point in one poll share that poll's label, so a series stores a number
// instead of a text. Labels no series refers to any more are let go in blocks.
// Window thread only.
#include <QString>
#include <QtGlobal>
#include <deque>
#include <unordered_set>

class TimeLabels {
public:
    // Stands for the empty label without taking a place.
    static constexpr quint32 kEmpty = 0xFFFFFFFFu;

    // Whoever holds label numbers says which is its oldest.
    class Holder {
    public:
        virtual ~Holder() = default;
        // The oldest label number still referred to; kEmpty when none.
        virtual quint32 oldestLabel() const = 0;
    };

    static TimeLabels &shared();

    // The number of the label: the same as the previous call's when the text
    // is the same.
    quint32 intern(const QString &label);
    QString text(quint32 id) const;

    void attach(Holder *h) { m_holders.insert(h); }
    void detach(Holder *h) { m_holders.erase(h); }

    // Labels kept, and the oldest number still kept.
    qsizetype size() const { return qsizetype(m_texts.size()); }
    quint32 firstId() const { return m_first; }
    // Lets go of the labels older than every holder's oldest.
    void trim();

private:
    std::deque<QString> m_texts;
    quint32 m_first = 0;
    quint32 m_internsSinceTrim = 0;
    std::unordered_set<Holder *> m_holders;
};
