// Per-day statistics log names.
#include "notify/LogFileName.h"

#include <gtest/gtest.h>

TEST(LogFileName, OneFilePerDayPutsTheDateBeforeTheExtension)
{
    const QDateTime stamp(QDate(2026, 12, 6), QTime(23, 59, 59));
    struct Case {
        const char *file;
        bool perDay;
        const char *pattern;
        const char *expected;
    };
    const Case cases[] = {
        {"/logs/veltrano.txt", false, "yyyy-mm-dd", "/logs/veltrano.txt"},
        {"/logs/veltrano.txt", true, "yyyy-mm-dd", "/logs/veltrano2026-12-06.txt"},
        {"/logs/line.log", true, "-ddmmyy", "/logs/line-061226.log"},
        {"/logs/line", true, "yyyy-mm-dd", "/logs/line2026-12-06.txt"},
        // A date separator must not make a folder of the date.
        {"/logs/line.txt", true, "dd/mm/yyyy", "/logs/line06122026.txt"},
        {"/logs/.txt", true, "yyyy", "/logs/2026.txt"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(statisticsLogFileName(QString::fromLatin1(c.file), c.perDay, QString::fromLatin1(c.pattern), stamp),
                  QString::fromLatin1(c.expected))
            << c.file << " " << c.pattern;
}
