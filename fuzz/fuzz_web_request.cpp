// Web requests against a served folder holding a page, an image, a
// subfolder, the settings file and links that lead in and out: path
// resolution and the handler's answer.
#include "FuzzSupport.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Folder folder;
    FuzzedDataProvider p(data, size);
    WebServerSettings s;
    s.webPage = folder.root + QStringLiteral("/veltrano.htm");
    s.settingsFile = folder.root + QStringLiteral("/veltrano.ini");
    s.webAuth = p.ConsumeBool();
    s.webUser = QString::fromUtf8(p.ConsumeRandomLengthString(8));
    s.webPassword = QString::fromUtf8(p.ConsumeRandomLengthString(8));
    s.allowSubFolders = p.ConsumeBool();
    s.useBlocked = p.ConsumeBool();
    s.logWeb = p.ConsumeBool();
    s.showSystem = p.ConsumeBool();
    s.dontLogBlocked = p.ConsumeBool();
    s.imageWithoutServer = true; // no request counting outside a server
    const std::string user = p.ConsumeRandomLengthString(8);
    const std::string password = p.ConsumeRandomLengthString(8);
    WebRequestHandler::authorised(s, QByteArray::fromStdString(user), QByteArray::fromStdString(password));

    WebRequest r;
    r.method = QString::fromLatin1(p.ConsumeRandomLengthString(8));
    r.clientAddress = QString::fromLatin1(p.ConsumeRandomLengthString(40));
    r.clientPort = p.ConsumeIntegral<quint16>();
    r.document = QString::fromUtf8(p.ConsumeRemainingBytesAsString());

    const WebPathResolver::Result where = WebPathResolver::resolve(folder.root, r.document);
    const WebReply reply = WebRequestHandler::respond(s, r);
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
