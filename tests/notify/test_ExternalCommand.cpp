// The alarm's external program: how its text is split and recognised, and
// that it is started without a shell, however the text is quoted.
#include "AlarmActionsFixture.h"
#include "notify/ExternalCommand.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

struct ExternalCommandTest : AlarmActionsTest {
    QString folder;  // a folder with a blank in its name
    QString program; // an executable without extension in it
    QString output;  // where the program writes the arguments it got, one a line

    void SetUp() override
    {
        AlarmActionsTest::SetUp();
        folder = dir.filePath(QStringLiteral("my tools"));
        ASSERT_TRUE(QDir().mkpath(folder));
        output = dir.filePath(QStringLiteral("args.txt"));
        program = folder + QStringLiteral("/alert prog");
        testsupport::writeAll(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$VELTRANO_ARGS_OUT.tmp\"\n"
                                       "mv \"$VELTRANO_ARGS_OUT.tmp\" \"$VELTRANO_ARGS_OUT\"\n");
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("VELTRANO_ARGS_OUT", output.toLocal8Bit());
    }

    void TearDown() override { qunsetenv("VELTRANO_ARGS_OUT"); }

    QStringList argumentsReceived()
    {
        if (!testsupport::waitFor([this] { return QFile::exists(output); }, 10000))
            return {QStringLiteral("<program did not run>")};
        QStringList lines = QString::fromUtf8(testsupport::readAll(output)).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

QString quoted(const QString &s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

} // namespace

TEST(ExternalCommandWords, SplitLikeAShellWithoutExpanding)
{
    struct Case {
        const char *text;
        bool ok;
        QStringList words;
    };
    const Case cases[] = {
        {"prog a  b", true, {"prog", "a", "b"}},
        {"\"/opt/my tools/prog\" 'it''s' x", true, {"/opt/my tools/prog", "its", "x"}},
        {"prog \"it's \\\"quoted\\\"\"", true, {"prog", "it's \"quoted\""}},
        {"prog 'a \"b\" c'", true, {"prog", "a \"b\" c"}},
        {"prog a\\ b \\$HOME", true, {"prog", "a b", "$HOME"}},
        {"prog \"C:\\dir\\x\"", true, {"prog", "C:\\dir\\x"}},
        {"prog '' \"\"", true, {"prog", "", ""}},
        {"prog $(id) ; rm -rf x | y", true, {"prog", "$(id)", ";", "rm", "-rf", "x", "|", "y"}},
        {"prog \"open", false, {}},
        {"prog 'open", false, {}},
    };
    for (const Case &c : cases) {
        QStringList words;
        EXPECT_EQ(ExternalCommand::splitWords(QString::fromUtf8(c.text), &words), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(words, c.words) << c.text;
        }
    }
}

TEST_F(ExternalCommandTest, KindsOfText)
{
    const QString script = dir.filePath(QStringLiteral("Fix Line.SH"));
    testsupport::writeAll(script, "adsl info\n");
    const QString plain = dir.filePath(QStringLiteral("notes.txt"));
    testsupport::writeAll(plain, "x");
    struct Case {
        QString text;
        ExternalCommand::Kind kind;
        QString program;
        QStringList arguments;
    };
    using K = ExternalCommand::Kind;
    const Case cases[] = {
        {script, K::Script, script, {}},
        {program, K::Program, program, {}}, // blanks and all, no quotes needed
        {quoted(program) + QStringLiteral(" -v 'two words'"), K::Program, program,
         {QStringLiteral("-v"), QStringLiteral("two words")}},
        {QStringLiteral("true --flag"), K::Program, QStandardPaths::findExecutable(QStringLiteral("true")),
         {QStringLiteral("--flag")}},
        {plain, K::Unknown, {}, {}},                                   // not executable
        {dir.filePath(QStringLiteral("missing.exe")), K::Unknown, {}, {}},
        {quoted(program) + QStringLiteral(" \"open"), K::Unknown, {}, {}}, // open quote
        {quoted(script) + QStringLiteral(" arg"), K::Unknown, {}, {}},     // a script takes no arguments
        {QString(), K::Unknown, {}, {}},
    };
    for (const Case &c : cases) {
        const ExternalCommand cmd = ExternalCommand::parse(c.text);
        EXPECT_EQ(cmd.kind(), c.kind) << c.text.toStdString();
        EXPECT_EQ(cmd.program(), c.program) << c.text.toStdString();
        EXPECT_EQ(cmd.arguments(), c.arguments) << c.text.toStdString();
    }
}

TEST_F(ExternalCommandTest, AlarmStartsTheProgramWithoutAShell)
{
    const QString marker = dir.filePath(QStringLiteral("pwned"));
    settings.Alarm.cbExternal = true;
    settings.Alarm.edExternal = quoted(program) + QStringLiteral(" \"it's \\\"down\\\"\" '$(touch ") + marker
                                + QStringLiteral(")' ';' `id`");
    actions->AlarmTriggered(QStringLiteral("Disconnected"));

    EXPECT_EQ(argumentsReceived(), (QStringList{QStringLiteral("it's \"down\""), QStringLiteral("$(touch ") + marker
                                                + QStringLiteral(")"), QStringLiteral(";"), QStringLiteral("`id`")}));
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_EQ(events, (QStringList{QStringLiteral("msg: Run External App or Script"),
                                   QStringLiteral("msg: Running external file \"%1\"").arg(settings.Alarm.edExternal)}));
    EXPECT_TRUE(actions->ExternalInProgress);
    EXPECT_TRUE(actions->tmrExternalInProgress->isActive());
}

TEST_F(ExternalCommandTest, RunNowTestsTheSameWay)
{
    settings.Alarm.edExternal = program;
    EXPECT_TRUE(actions->testExternal());
    EXPECT_EQ(argumentsReceived(), QStringList{});
    EXPECT_EQ(events, (QStringList{QStringLiteral("msg: Test of External App or Script"),
                                   QStringLiteral("msg: Test: Running external file \"%1\"").arg(program)}));
    // "Run Now" is a test: no guard starts.
    EXPECT_FALSE(actions->guards().any());

    struct Case {
        bool telnet;
        QString message;
    };
    const QString script = dir.filePath(QStringLiteral("fix.sh"));
    testsupport::writeAll(script, "adsl info\n");
    const Case cases[] = {{true, QStringLiteral("Test:  external script file \"%1\"").arg(script)},
                          {false, QStringLiteral("Test:  external script file - Telnet needs to be enabled!")}};
    for (const Case &c : cases) {
        events.clear();
        settings.Router.Telnet = c.telnet;
        settings.Alarm.edExternal = script;
        EXPECT_TRUE(actions->testExternal());
        EXPECT_EQ(events, (QStringList{QStringLiteral("msg: Test of External App or Script"),
                                       QStringLiteral("msg: ") + c.message,
                                       QStringLiteral("script: ") + script}));
    }

    events.clear();
    settings.Alarm.edExternal = dir.filePath(QStringLiteral("missing"));
    EXPECT_FALSE(actions->testExternal());
    EXPECT_EQ(events, QStringList{QStringLiteral("msg: Test of External App or Script")});
}
