// Web requests against a served folder holding a page, an image, a
// subfolder, the settings file and links that lead in and out: path
// resolution, the handler's answer, and the log-in, which lets in exactly the
// configured name and secret in UTF-8 or Windows-1252 and nothing else.
#include "FuzzSupport.h"
#include "common/AnsiCodec.h"
#include "webserver/BlockedList.h"
#include "webserver/WebPathResolver.h"
#include "webserver/WebRequestHandler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

struct Folder {
    QTemporaryDir dir;
    QString root;
    Folder()
    {
        QDir d(dir.path());
        d.mkpath(QStringLiteral("web/sub"));
        d.mkpath(QStringLiteral("outside"));
        const auto touch = [&](const QString &name, const QByteArray &bytes) {
            QFile f(d.filePath(name));
            if (f.open(QIODevice::WriteOnly))
                f.write(bytes);
        };
        touch(QStringLiteral("web/veltrano.htm"), "<html></html>");
        touch(QStringLiteral("web/RxNoise.jpg"), "jpg");
        touch(QStringLiteral("web/veltrano.ini"), "[System]");
        touch(QStringLiteral("web/old.tmp"), "tmp");
        touch(QStringLiteral("web/blocked.txt"), "10.0.0.9\n127.0.0.2\r\n");
        touch(QStringLiteral("web/sub/deep.png"), "png");
        touch(QStringLiteral("outside/secret.txt"), "secret");
        QFile::link(d.filePath(QStringLiteral("outside")), d.filePath(QStringLiteral("web/out")));
        QFile::link(d.filePath(QStringLiteral("web/sub")), d.filePath(QStringLiteral("web/in")));
        QFile::link(d.filePath(QStringLiteral("web/loop")), d.filePath(QStringLiteral("web/loop")));
        root = QDir(d.filePath(QStringLiteral("web"))).canonicalPath();
    }
};

// A name or secret as the settings may hold it: typed, read from a file in
// either encoding, or any UTF-16 at all.
QString settingText(FuzzedDataProvider &p)
{
    const std::string bytes = p.ConsumeRandomLengthString(12);
    switch (p.ConsumeIntegralInRange(0, 2)) {
    case 0: return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    case 1: return ansi::decodeCp1252(QByteArray::fromStdString(bytes));
    default: {
        QString units;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            units += QChar(char16_t(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8));
        return units;
    }
    }
}

// What a browser might send for a setting: its spelling in some encoding,
// lossy ones included, perhaps with one byte changed, or anything at all.
QByteArray credential(FuzzedDataProvider &p, const QString &setting)
{
    QByteArray bytes;
    switch (p.ConsumeIntegralInRange(0, 3)) {
    case 0: bytes = setting.toUtf8(); break;
    case 1: bytes = ansi::encodeCp1252(setting); break;
    case 2: bytes = setting.toLatin1(); break;
    default: return QByteArray::fromStdString(p.ConsumeRandomLengthString(12));
    }
    if (p.ConsumeBool() && !bytes.isEmpty())
        bytes[p.ConsumeIntegralInRange<qsizetype>(0, bytes.size() - 1)] = char(p.ConsumeIntegral<uint8_t>());
    return bytes;
}

// The bytes are the setting itself in UTF-8 or in Windows-1252.
bool spells(const QByteArray &bytes, const QString &setting)
{
    const QString utf8 = QString::fromUtf8(bytes);
    return (utf8 == setting && utf8.toUtf8() == bytes) || ansi::decodeCp1252(bytes) == setting;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Folder folder;
    FuzzedDataProvider p(data, size);
    WebServerSettings s;
    s.webPage = folder.root + QStringLiteral("/veltrano.htm");
    s.settingsFile = folder.root + QStringLiteral("/veltrano.ini");
    s.webAuth = p.ConsumeBool();
    s.webUser = settingText(p);
    s.webPassword = settingText(p);
    s.allowSubFolders = p.ConsumeBool();
    s.useBlocked = p.ConsumeBool();
    s.logWeb = p.ConsumeBool();
    s.showSystem = p.ConsumeBool();
    s.dontLogBlocked = p.ConsumeBool();
    s.imageWithoutServer = true; // no request counting outside a server
    const QByteArray user = credential(p, s.webUser);
    const QByteArray password = credential(p, s.webPassword);
    const bool exact = spells(user, s.webUser) && spells(password, s.webPassword);
    if (s.webAuth && WebRequestHandler::authorised(s, user, password) != exact)
        std::abort();

    WebRequest r;
    r.method = QString::fromLatin1(p.ConsumeRandomLengthString(8));
    r.clientAddress = QString::fromLatin1(p.ConsumeRandomLengthString(40));
    r.clientPort = p.ConsumeIntegral<quint16>();
    r.document = QString::fromUtf8(p.ConsumeRemainingBytesAsString());

    const WebPathResolver::Result where = WebPathResolver::resolve(folder.root, r.document);
    BlockedList blocked; // each input on its own: no report carried over
    const WebReply reply = WebRequestHandler::respond(s, r, blocked);
    // Nothing outside the served folder is ever handed out, nor the files that are never served.
    if (reply.status == 200 && !reply.filePath.isEmpty()) {
        const QString served = QFileInfo(reply.filePath).canonicalFilePath();
        if (!served.startsWith(folder.root + QLatin1Char('/')) || WebRequestHandler::neverServed(served, s))
            std::abort();
        if (!where.inside)
            std::abort();
    }
    return 0;
}
