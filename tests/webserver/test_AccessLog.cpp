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

TEST(AccessLog, AddressOfLine)
{
    const struct {
        const char *line;
        const char *address;
    } cases[] = {
        {"  Sun 06 Dec 2026   09:04:34:  Command GET /noise.jpg received from 192.168.0.5:1734", "192.168.0.5"},
        {"  Sun 06 Dec 2026   09:04:34:  Command GET /n.jpg received from 10.0.0.1:80 -- IP blocked. File not sent",
         "10.0.0.1"},
        // "from" in the document is found first: the text after it is no address.
        {"  Sun 06 Dec 2026   09:04:34:  Command GET /from.jpg received from 10.0.0.1:80", ""},
        {"  Sun 06 Dec 2026   09:04:34:  Server Started.", ""},
        {"received from 10.0.0.1", ""}, // no colon after it
        {"received from 256.0.0.1:80", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AccessLog::addressOfLine(QString::fromUtf8(c.line)), QString::fromUtf8(c.address)) << c.line;
}

TEST(AccessLog, DottedIPv4)
{
    for (const char *ok : {"0.0.0.0", "255.255.255.255", "127.0.0.1", "010.1.1.1"})
        EXPECT_TRUE(AccessLog::isDottedIPv4(QLatin1String(ok))) << ok;
    for (const char *bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1.2.3.-1", "a.b.c.d", "1..2.3", " 1.2.3.4",
                            "1.2.3.4 ", "1234.1.1.1", "::1"})
        EXPECT_FALSE(AccessLog::isDottedIPv4(QLatin1String(bad))) << bad;
}
