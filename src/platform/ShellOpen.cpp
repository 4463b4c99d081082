#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {
std::function<bool(const QString &)> &opener()
{
    static std::function<bool(const QString &)> stand_in;
    return stand_in;
}
} // namespace

bool shellOpen(const QString &path)
{
    if (opener())
        return opener()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setShellOpener(std::function<bool(const QString &)> stand_in) { opener() = std::move(stand_in); }

QString textFileNotOpenedText(const QString &path)
{
    return QStringLiteral("The file could not be opened: the desktop has no program for text files.\n"
                          "Open %1 in a text editor.")
        .arg(QDir::toNativeSeparators(path));
}
