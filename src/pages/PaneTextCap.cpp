#include "pages/PaneTextCap.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

qsizetype capPaneText(QPlainTextEdit *pane, qsizetype maxChars)
{
    QTextDocument *doc = pane->document();
    const qsizetype count = doc->characterCount();
    if (count <= maxChars)
        return 0;
    // The line holding the first character to keep starts what stays; a
    // single line longer than the cap stays whole (its source bounds it).
    const QTextBlock first = doc->findBlock(int(count - (maxChars - maxChars / 8)));
    if (!first.isValid() || first.position() == 0)
        return 0;
    QTextCursor cursor(doc);
    cursor.setPosition(first.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    return count - doc->characterCount();
}
