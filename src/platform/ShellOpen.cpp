#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

bool shellOpen(const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
