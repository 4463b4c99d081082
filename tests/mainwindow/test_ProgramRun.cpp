// The program as a user starts it: its own process, a settings file named by
// VELTRANO_INI, followed through VELTRANO_TRACE, ended by a polite SIGTERM.
#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>

namespace {

QString programPath() { return qEnvironmentVariable("VELTRANO_BINARY_DIR") + QStringLiteral("/veltrano"); }

} // namespace

TEST(ProgramRun, StartsWritesACompleteSettingsFileAndExitsCleanly)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("demo.ini"));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELTRANO_INI"), ini);
    env.insert(QStringLiteral("VELTRANO_TRACE"), trace);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(programPath(), {});
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
