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
