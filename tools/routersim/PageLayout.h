#pragma once
// Builds a page whose fragments must start at fixed character positions, as
// the program's taught positions expect. Gaps are filled with blanks and line
// breaks only, so the filler never holds a digit or a search text.
#include <QByteArray>

namespace routersim {

class PageLayout
{
public:
    PageLayout &add(const QByteArray &text);
    // Pads so that text starts at the 1-based position pos. When the page is
    // already past pos the text is appended where it stands and the layout
    // is marked as overflowed (a value wider than its slot).
    PageLayout &at(int pos, const QByteArray &text);

    // 1-based position the next character will take.
    int next() const { return static_cast<int>(m_page.size()) + 1; }
    bool overflowed() const { return m_overflowed; }
    const QByteArray &bytes() const { return m_page; }

private:
    QByteArray m_page;
    bool m_overflowed = false;
};

} // namespace routersim
