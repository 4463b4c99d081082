#include "configuration/OfflinePageBrowser.h"

OfflinePageBrowser::OfflinePageBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
}

QVariant OfflinePageBrowser::loadResource(int, const QUrl &)
{
    return {};
}
