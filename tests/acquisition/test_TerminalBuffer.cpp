// The terminal buffer: how received chunks become lines, wherever the router
// or the network cut them, and the prompt test on the last line.
#include "acquisition/TerminalBuffer.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *name;
    QStringList chunks;
    QStringList lines;
    QString display; // what the pane appends, all chunks together
};

class TerminalSplits : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TerminalSplits, ChunksBecomeLines)
{
    const SplitCase &c = GetParam();
    TerminalBuffer b;
    QString display;
    for (const QString &chunk : c.chunks)
        display += b.append(chunk);
    EXPECT_EQ(c.lines.join(QStringLiteral("\r\n")), b.text());
    EXPECT_EQ(c.lines.size(), b.lineCount());
    EXPECT_EQ(c.display, display);
}

INSTANTIATE_TEST_SUITE_P(
    Buffer, TerminalSplits,
    ::testing::Values(
        SplitCase{"TwoChunksOneLine", {"abc", "def\r"}, {"abcdef", ""}, "abcdef\n"},
        SplitCase{"CrLfInOneChunk", {"a\r\nb"}, {"a", "b"}, "a\nb"},
        SplitCase{"CrLfSplitAcrossChunks", {"a\r", "\nb"}, {"a", "b"}, "a\nb"},
        SplitCase{"CrLfSplitWithEmptyLines", {"a\r", "\n\r", "\n\r", "\n# "}, {"a", "", "", "# "}, "a\n\n\n# "},
        SplitCase{"OnlyOneLfIsSkipped", {"a\r\n\nb"}, {"a", "\nb"}, "a\n\nb"},
        SplitCase{"LfNotAfterCrStays", {"x\r", "y\nz"}, {"x", "y\nz"}, "x\ny\nz"},
        SplitCase{"DoubleCr", {"a\r\r\nb"}, {"a", "", "b"}, "a\n\nb"},
        SplitCase{"NulAfterCrDropped", {QStringLiteral("a\r") + QChar(0) + QStringLiteral("b")}, {"a", "b"}, "a\nb"},
        SplitCase{"EmptyChunk", {"", "q"}, {"q"}, "q"},
        SplitCase{"Latin1Kept", {QString::fromLatin1("\xb5s \xe9t\xe9\r\n")}, {QString::fromLatin1("\xb5s \xe9t\xe9"), ""},
                  QString::fromLatin1("\xb5s \xe9t\xe9\n")}),
    [](const ::testing::TestParamInfo<SplitCase> &info) { return std::string(info.param.name); });

TEST(TerminalBuffer, AddedLinesStandOnTheirOwnAndLaterTextContinuesThem)
{
    TerminalBuffer b;
    b.append(QStringLiteral("Password: "));
    EXPECT_EQ(QStringLiteral("\n"), b.addLine(QString()));
    b.append(QStringLiteral("\r\n# "));
    EXPECT_EQ(QStringLiteral("Password: \r\n\r\n# "), b.text());
    EXPECT_EQ(QStringLiteral("\n# kill 121"), b.addLine(QStringLiteral("# kill 121")));
    b.append(QStringLiteral(" more"));
    EXPECT_EQ(QStringLiteral("# kill 121 more"), b.lastLine());
    // The LF of a CR that came before the added line is still dropped.
    TerminalBuffer c;
    c.append(QStringLiteral("x\r"));
    c.addLine(QStringLiteral("y"));
    c.append(QStringLiteral("\nz"));
    EXPECT_EQ(QStringLiteral("yz"), c.lastLine());
}

TEST(TerminalBuffer, PromptIsTheTrimmedLastLineExactly)
{
    const struct {
        const char *last;
        const char *prompt;
        bool match;
    } cases[] = {
        {"# ", "#", true},   {"#", "#", true},     {"  #\t", "#", true},       {"/ # ", "/ #", true},
        {"# ls", "#", false}, {"", "#", false},    {"Router> ", "router>", false}, {"Router> ", "Router>", true},
        {"/ # ", "#", false},
    };
    for (const auto &c : cases) {
        TerminalBuffer b;
        b.append(QStringLiteral("line\r\n") + QString::fromLatin1(c.last));
        EXPECT_EQ(c.match, b.endsAtPrompt(QString::fromLatin1(c.prompt))) << c.last << " / " << c.prompt;
    }
}

TEST(TerminalBuffer, ClearStartsAfreshButStillDropsTheLfOfALastCr)
{
    TerminalBuffer b;
    b.append(QStringLiteral("a\r"));
    b.clear();
    EXPECT_EQ(1, b.lineCount());
    EXPECT_EQ(QString(), b.text());
    b.append(QStringLiteral("\nb"));
    EXPECT_EQ(QStringLiteral("b"), b.text());
}

TEST(TerminalBuffer, LineCapDropsTheOldestInBlocks)
{
    TerminalBuffer b;
    QString chunk;
    for (int i = 0; i < TerminalBuffer::kMaxLines + 10; ++i)
        chunk += QStringLiteral("line %1\r\n").arg(i);
    b.append(chunk + QStringLiteral("# "));
    EXPECT_LE(b.lineCount(), TerminalBuffer::kMaxLines);
    EXPECT_GE(b.droppedLines(), TerminalBuffer::kDropBlock);
    EXPECT_EQ(QStringLiteral("# "), b.lastLine());
    EXPECT_TRUE(b.text().endsWith(QStringLiteral("line %1\r\n# ").arg(TerminalBuffer::kMaxLines + 9)));
    EXPECT_TRUE(b.text().startsWith(QStringLiteral("line %1\r\n").arg(b.droppedLines())));
}

} // namespace
