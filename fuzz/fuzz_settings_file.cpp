// Settings files as a user or another program may leave them: loaded,
// saved, loaded and saved again. The second save must equal the first:
// what the program writes, it reads back the same. And the first save
// erases nothing: every line without "=" is still there, in its order.
#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

SettingsEnvironment environment(const QString &path, const QLocale &locale)
{
    SettingsEnvironment env;
    env.settingsPath = path;
    env.screenSize = QSize(1920, 1080);
    env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
    env.locale = locale;
    return env;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The file's lines, byte-order marks at their starts dropped as the reader drops them.
QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> out;
    for (QByteArray line : QByteArray(bytes).replace('\r', '\n').split('\n')) {
        while (line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        out << line;
    }
    return out;
}

// The first line of before without "=" that after lacks (in order), or nothing.
std::optional<QByteArray> erasedLine(const QByteArray &before, const QByteArray &after)
{
    const QList<QByteArray> kept = linesOf(after);
    qsizetype at = 0;
    for (const QByteArray &line : linesOf(before)) {
        if (line.isEmpty() || line.contains('='))
            continue;
        while (at < kept.size() && kept[at] != line)
            ++at;
        if (at == kept.size())
            return line;
        ++at;
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // In memory where the system has it: every save syncs its file to disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/veltrano-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/veltrano-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("veltrano.ini"));
    if (size < 1)
        return 0;
    const QLocale locale = data[0] & 1 ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char *>(data) + 1, qint64(size) - 1);
    }
    const SettingsEnvironment env = environment(path, locale);
    if (!settingsstore::save(settingsstore::load(env).settings, path, locale).ok)
        std::abort();
    const QByteArray first = readAll(path);
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    if (const auto lost = erasedLine(input, first)) {
        std::fprintf(stderr, "settings save erased the line %s\n", lost->toHex(' ').constData());
        std::abort();
    }
    if (!settingsstore::save(settingsstore::load(env).settings, path, locale).ok)
        std::abort();
    const QByteArray second = readAll(path);
    if (first != second) {
        // Show the first line that differs, then fail.
        const QList<QByteArray> a = first.split('\n'), b = second.split('\n');
        for (qsizetype i = 0; i < qMin(a.size(), b.size()); ++i) {
            if (a[i] != b[i]) {
                std::fprintf(stderr, "settings round trip differs at line %lld:\n  %s\n  %s\n", (long long)i + 1,
                             a[i].toHex(' ').constData(), b[i].toHex(' ').constData());
                break;
            }
        }
        std::abort();
    }
    return 0;
}
