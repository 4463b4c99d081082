#include "PageLayout.h"

#include <QtGlobal>

namespace routersim {

PageLayout &PageLayout::add(const QByteArray &text)
{
    m_page += text;
    return *this;
}

PageLayout &PageLayout::at(int pos, const QByteArray &text)
{
    const qsizetype target = pos - 1;
    if (m_page.size() > target) {
        m_overflowed = true;
        qWarning("routersim: page layout overflow at position %d", pos);
    }
    // Break the filler into lines of at most 100 characters, so a page
    // source stays readable in a viewer.
    while (m_page.size() < target) {
        const qsizetype lineStart = m_page.lastIndexOf('\n') + 1;
        if (m_page.size() - lineStart >= 100 && target - m_page.size() >= 2)
            m_page += "\r\n";
        else
            m_page += ' ';
    }
    m_page += text;
    return *this;
}

} // namespace routersim
