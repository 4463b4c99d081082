#pragma once
// The page text as the source pane shows it, with the map between the two.
// Searches count positions in the page text, where a line break is CR LF (two
// characters); the pane holds one character per line break, so pane
// positions and page offsets differ after the first CR LF.
#include <QList>
#include <QString>

class SourcePaneText {
public:
    SourcePaneText() = default;
    explicit SourcePaneText(const QString &page);

    const QString &page() const { return m_page; }
    // What the pane is given: CR LF, a lone CR and a lone LF each become one
    // LF; other control characters (but TAB) become U+FFFD, one for one.
    const QString &display() const { return m_display; }

    // Pane position of a page offset (0 to page().size()).
    int displayPos(int pageOffset) const;
    // Page offset of a pane position (0 to display().size()): the first page
    // character shown there.
    int pageOffset(int displayPos) const;

private:
    QString m_page;
    QString m_display;
    QList<int> m_pageStart; // per display position, plus the end
    QList<int> m_displayOf; // per page offset, plus the end
};
