// The program as a user starts it: its own process, a settings file named by
// VELTRANO_INI, followed through VELTRANO_TRACE, ended by a polite SIGTERM.
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/stat.h>

namespace {

QString programPath() { return qEnvironmentVariable("VELTRANO_BINARY_DIR") + QStringLiteral("/veltrano"); }

void start(QProcess &p, const QString &ini, const QString &trace)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELTRANO_INI"), ini);
    env.insert(QStringLiteral("VELTRANO_TRACE"), trace);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(programPath(), {});
}

} // namespace

TEST(ProgramRun, StartsWritesACompleteSettingsFileAndExitsCleanly)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("demo.ini"));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));

    QProcess p;
    start(p, ini, trace);
    ASSERT_TRUE(p.waitForStarted(10000));

    ASSERT_TRUE(testsupport::waitFor([&] { return testsupport::readAll(trace).contains("caption: Veltrano 6.3"); }, 20000));
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    const QByteArray file = testsupport::readAll(ini);
    EXPECT_EQ(testsupport::keyLineCount(file), 524);
    EXPECT_TRUE(testsupport::readAll(trace).contains("msg: Configuration saved."));
}

TEST(ProgramRun, ASettingsPathThatIsAFifoStartsWithTheDefaultsAndEndsOnSigterm)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("fifo.ini")), trace = dir.filePath(QStringLiteral("trace.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    QProcess p;
    start(p, ini, trace);
    ASSERT_TRUE(p.waitForStarted(10000));
    // A start stuck on the FIFO never says so; the process is killed when the test ends.
    const QByteArray said = "Settings: cannot read " + QFile::encodeName(ini);
    ASSERT_TRUE(testsupport::waitFor([&] { return testsupport::readAll(trace).contains(said); }, 20000));
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(QFileInfo(ini).isFile()); // the save at exit leaves it alone
}
