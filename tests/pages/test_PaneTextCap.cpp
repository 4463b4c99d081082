// The character cap of the text panes that show router replies: the oldest
// lines go, the newest stay whole, and one line longer than the cap is left
// to its source's own bound.
#include "pages/PaneTextCap.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

struct CapCase {
    const char *name;
    int lines;
    int lineChars;
    qsizetype cap;
    bool removes;
};

class PaneTextCaps : public ::testing::TestWithParam<CapCase> {};

TEST_P(PaneTextCaps, OldestLinesGoNewestStay)
{
    const CapCase &c = GetParam();
    QPlainTextEdit pane;
    QStringList lines;
    for (int i = 0; i < c.lines; ++i)
        lines << QStringLiteral("%1:").arg(i, 4, 10, QLatin1Char('0')) + QString(c.lineChars, QLatin1Char('x'));
    pane.setPlainText(lines.join(QLatin1Char('\n')));
    const QString last = pane.document()->lastBlock().text();
    const qsizetype removed = capPaneText(&pane, c.cap);
    EXPECT_EQ(c.removes, removed > 0);
    if (c.removes) {
        EXPECT_LE(pane.document()->characterCount(), c.cap);
        // Whole lines went: the first one left is a line the pane was given.
        EXPECT_TRUE(lines.contains(pane.document()->firstBlock().text()));
    }
    EXPECT_EQ(last, pane.document()->lastBlock().text());
}

INSTANTIATE_TEST_SUITE_P(
    Pane, PaneTextCaps,
    ::testing::Values(CapCase{"UnderTheCapUntouched", 10, 100, 5000, false},
                      CapCase{"ManyShortLines", 2000, 20, 10000, true},
                      CapCase{"FewLongLines", 30, 3000, 20000, true},
                      CapCase{"OneLineLongerThanTheCapStays", 1, 50000, 20000, false}),
    [](const ::testing::TestParamInfo<CapCase> &info) { return std::string(info.param.name); });

} // namespace
