// The help file's place and what the user is told when it cannot be opened.
#include "mainwindow/HelpFile.h"
#include "platform/ShellOpen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HelpFile, LivesBesideTheSettingsFileUnderTheProgramsName)
{
    EXPECT_EQ(helpfile::path(QStringLiteral("/home/u/.config/veltrano/veltrano.ini")),
              QStringLiteral("/home/u/.config/veltrano/veltrano-help.html"));
    EXPECT_EQ(helpfile::path(QStringLiteral("/opt/tools/veltrano.test.ini")),
              QStringLiteral("/opt/tools/veltrano.test-help.html"));
}

TEST(HelpFile, OpeningSaysWhyItFailedAndNothingWhenItOpened)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString present = dir.filePath(QStringLiteral("veltrano-help.html"));
    const QString missing = dir.filePath(QStringLiteral("gone-help.html"));
    {
        QFile f(present);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<!DOCTYPE html>");
    }
    struct Case {
        QString path;
        bool desktopOpens;
        QString told;
    };
    const Case cases[] = {
        {missing, true, QStringLiteral("The help file %1 is missing.").arg(QDir::toNativeSeparators(missing))},
        {present, false,
         QStringLiteral("The help file could not be opened: the desktop has no program for it.\n"
                        "Open %1 in a web browser.")
             .arg(QDir::toNativeSeparators(present))},
        {present, true, QString()},
    };
    for (const Case &c : cases) {
        QStringList opened;
        setShellOpener([&](const QString &p) {
            opened << p;
            return c.desktopOpens;
        });
        EXPECT_EQ(helpfile::open(c.path), c.told);
        EXPECT_EQ(opened, c.path == missing ? QStringList() : QStringList{c.path});
    }
    setShellOpener({});
}
