#include "widgets/PageView.h"

PageView::PageView(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setReadOnly(true);
    setUndoRedoEnabled(false);
}

void PageView::showPage(const QString &html)
{
    m_source = html;
    setHtml(html);
}

QVariant PageView::loadResource(int, const QUrl &) { return {}; }

void PageView::setDefaultTextColour(const QColor &colour)
{
    QPalette p = palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Text, colour);
    setPalette(p);
}
