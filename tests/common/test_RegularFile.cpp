// Whatever stands at a path the user chose: appends, rewrites and reads take
// only a regular file, never wait on a FIFO and never run on into a device.
#include "TestSupport.h"
#include "common/AppendFile.h"
#include "common/AtomicFile.h"
#include "common/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(RegularFile, AppendsRewritesAndReadsRefuseWhatIsNoRegularFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    const QByteArray name = QFile::encodeName(path);
    int reader = -1;
    struct Kind {
        const char *what;
        std::function<void()> make;
        QString reason;
    };
    const QString notRegular = RegularFile::notRegularText();
    const Kind kinds[] = {
        {"a FIFO nobody reads", [&] { ::mkfifo(name.constData(), 0600); }, notRegular},
        {"a FIFO a reader holds open",
         [&] {
             ::mkfifo(name.constData(), 0600);
             reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
         },
         notRegular},
        {"a link to /dev/zero", [&] { QFile::link(QStringLiteral("/dev/zero"), path); }, notRegular},
        {"a folder", [&] { QDir().mkdir(path); }, QStringLiteral("Is a directory")},
    };
    struct Operation {
        const char *what;
        std::function<bool(QString *)> run;
    };
    const Operation operations[] = {
        {"append", [&](QString *e) { return AppendFile::append(path, "line\r\n", e); }},
        {"rewrite", [&](QString *e) { return AtomicFile::writeFile(path, "whole\r\n", e); }},
        {"read", [&](QString *e) {
             QByteArray bytes;
             return RegularFile::readAll(path, 1024, &bytes, e);
         }},
    };
    for (const Kind &k : kinds) {
        for (const Operation &op : operations) {
            SCOPED_TRACE(std::string(k.what) + ", " + op.what);
            k.make();
            QString error;
            EXPECT_FALSE(op.run(&error));
            EXPECT_EQ(error, k.reason);
            QFileInfo after(path);
            EXPECT_FALSE(after.isFile()) << "left as it was";
            if (reader >= 0) {
                char byte;
                EXPECT_LE(::read(reader, &byte, 1), 0) << "nothing reaches the FIFO";
                ::close(reader);
                reader = -1;
            }
            if (!QFile::remove(path))
                QDir().rmdir(path);
        }
    }
}

TEST(RegularFile, ReadsAreBoundedAndSayWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    struct Case {
        qint64 size;
        qint64 bound;
        bool ok;
    };
    const Case cases[] = {{0, 0, true}, {100, 100, true}, {101, 100, false}, {70000, 65536, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        testsupport::writeAll(path, QByteArray(c.size, 'x'));
        QByteArray bytes;
        QString error;
        bool missing = true;
        EXPECT_EQ(RegularFile::readAll(path, c.bound, &bytes, &error, &missing), c.ok);
        EXPECT_FALSE(missing);
        EXPECT_EQ(bytes.size(), c.ok ? c.size : 0);
        EXPECT_EQ(error, c.ok ? QString() : QStringLiteral("File too large"));
    }
    QByteArray bytes;
    bool missing = false;
    EXPECT_FALSE(RegularFile::readAll(dir.filePath(QStringLiteral("gone.txt")), 10, &bytes, nullptr, &missing));
    EXPECT_TRUE(missing);
}
