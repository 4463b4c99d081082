#include "configuration/SourcePaneText.h"

SourcePaneText::SourcePaneText(const QString &page) : m_page(page)
{
    m_display.reserve(page.size());
    m_pageStart.reserve(page.size() + 1);
    m_displayOf.reserve(page.size() + 1);
    for (qsizetype i = 0; i < page.size(); ++i) {
        const QChar c = page[i];
        m_pageStart.append(int(i));
        m_displayOf.append(int(m_display.size()));
        if (c == u'\r' && i + 1 < page.size() && page[i + 1] == u'\n') {
            m_displayOf.append(int(m_display.size()));
            ++i;
            m_display.append(QLatin1Char('\n'));
        } else if (c == u'\r' || c == u'\n') {
            m_display.append(QLatin1Char('\n'));
        } else if (c.unicode() < 0x20 && c != u'\t') {
            m_display.append(QChar(0xFFFD));
        } else {
            m_display.append(c);
        }
    }
    m_pageStart.append(int(page.size()));
    m_displayOf.append(int(m_display.size()));
}

int SourcePaneText::displayPos(int pageOffset) const
{
    return m_displayOf.value(qBound(0, pageOffset, int(m_page.size())), 0);
}

int SourcePaneText::pageOffset(int displayPos) const
{
    return m_pageStart.value(qBound(0, displayPos, int(m_display.size())), 0);
}
