// Access-log lines and the client address read back from a selected line.
#include "webserver/AccessLog.h"

#include <gtest/gtest.h>

TEST(AccessLog, LineForms)
{
    const QDateTime t(QDate(2026, 12, 6), QTime(9, 4, 34));
    EXPECT_EQ(AccessLog::line(t, QStringLiteral("GET"), QStringLiteral("/noise.jpg"), QStringLiteral("192.168.0.5"),
                              1734, false),
              QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Command GET /noise.jpg received from 192.168.0.5:1734"));
    EXPECT_EQ(AccessLog::line(t, QStringLiteral("GET"), QStringLiteral("/a b.jpg"), QStringLiteral("10.0.0.1"), 80, true),
              QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Command GET /a b.jpg received from 10.0.0.1:80"
                             " -- IP blocked. File not sent"));
    EXPECT_EQ(AccessLog::serverStartedLine(t), QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Server Started."));
}

// Whatever a path holds, its entry stays one line with the client's address
// at its end: line ends, escapes and direction marks are shown as escapes.
TEST(AccessLog, PathsAreEscapedSoALineCannotBeForged)
{
    const QDateTime t(QDate(2026, 12, 6), QTime(9, 4, 34));
    const struct {
        const char *what;
        QString document;
        QString shown;
    } cases[] = {
        {"plain", QStringLiteral("/noise.jpg"), QStringLiteral("/noise.jpg")},
        {"a second entry after CR LF",
         QStringLiteral("/a.jpg\r\n  Sun 06 Dec 2026   09:04:34:  Command GET /b received from 10.9.9.9:80"),
         QStringLiteral("/a.jpg\\x0D\\x0A  Sun 06 Dec 2026   09:04:34:  Command GET /b received from 10.9.9.9:80")},
        {"terminal escape", QStringLiteral("/\x1B[2J.jpg"), QStringLiteral("/\\x1B[2J.jpg")},
        {"right-to-left override", QStringLiteral("/gpj.\u202Eexe"), QStringLiteral("/gpj.\\u202Eexe")},
        {"NUL and DEL", QString::fromUtf8("/a\0b\x7F", 5), QStringLiteral("/a\\x00b\\x7F")},
        {"letters of other scripts stay", QStringLiteral("/\u00E9t\u00E9/\u65E5.jpg"), QStringLiteral("/\u00E9t\u00E9/\u65E5.jpg")},
    };
    for (const auto &c : cases) {
        const QString line = AccessLog::line(t, QStringLiteral("GET"), c.document, QStringLiteral("127.0.0.1"), 80, false);
        EXPECT_EQ(line, QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Command GET %1 received from 127.0.0.1:80").arg(c.shown))
            << c.what;
    }
}

TEST(AccessLog, DottedIPv4)
{
    for (const char *ok : {"0.0.0.0", "255.255.255.255", "127.0.0.1", "010.1.1.1"})
        EXPECT_TRUE(AccessLog::isDottedIPv4(QLatin1String(ok))) << ok;
    for (const char *bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1.2.3.-1", "a.b.c.d", "1..2.3", " 1.2.3.4",
                            "1.2.3.4 ", "1234.1.1.1", "::1"})
        EXPECT_FALSE(AccessLog::isDottedIPv4(QLatin1String(bad))) << bad;
}
