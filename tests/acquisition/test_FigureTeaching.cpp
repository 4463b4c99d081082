// Teaching a figure by selecting it in the page text: the search text and
// position stored, the value shown, and the promise that the polling cycle's
// search then reads the same figure; the SpeedTouch 585 label form; and the
// preview of every figure that the teaching page's "Test" shows.
#include "PageBuilder.h"
#include "RouterState.h"
#include "acquisition/FigureSearch.h"
#include "acquisition/FigureTeaching.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace {

TSettings defaults(int numbering = 0)
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    TSettings s = settingsstore::load(env).settings;
    s.Router.ST585 = false;
    s.System.IsDG834 = false;
    s.System.Regional = false;
    s.System.Numbering = numbering;
    s.NumberDecimalChar = QLatin1Char(numbering ? ',' : '.');
    s.NumberGroupChar = QLatin1Char(numbering ? '.' : ',');
    return s;
}

// A made-up status page: a head, some rows, then the rows of interest, with
// CR LF line ends as routers send them.
QString pageWith(const QString &rows)
{
    QString p = QStringLiteral("<html>\r\n<head><title>Modem</title></head>\r\n<body>\r\n<table>\r\n");
    for (int i = 0; i < 6; ++i)
        p += QStringLiteral("<tr><td>Filler row %1</td><td>abc</td></tr>\r\n").arg(QChar(u'A' + i));
    return p + rows + QStringLiteral("</table>\r\n</body>\r\n</html>\r\n");
}

int offsetOf(const QString &page, const QString &value)
{
    const int at = int(page.indexOf(value));
    EXPECT_GE(at, 0) << value.toStdString();
    return at;
}

// What the next poll reads for a taught figure.
FigureSearchResult poll(const QString &rawPage, const TSettings &s)
{
    return FigureSearch::run(FigureSearch::preparePage(rawPage, s), s, {});
}

} // namespace

// Every figure, in every page form the cycle can search (the page itself,
// "Use source A" with its extra line breaks, "Use source B" the rendered
// text): what is marked is what the poll reads.
struct TaughtCase {
    TaughtFigure figure;
    const char *value;
    int numbering;
    bool useSource;
    bool loopBack;
    double expected;
};

class TaughtFigureIsPolled : public ::testing::TestWithParam<TaughtCase> {};

TEST_P(TaughtFigureIsPolled, InEveryPageForm)
{
    const TaughtCase c = GetParam();
    const QString value = QString::fromLatin1(c.value);
    const QString raw =
        pageWith(QStringLiteral("<tr><td>Line;figure</td><td>") + value + QStringLiteral("</td><td>77</td></tr>\r\n"));
    TSettings s = defaults(c.numbering);
    s.Search.UseSource = c.useSource;
    s.Search.LoopBack = c.loopBack;
    // Nothing else is taught.
    s.Search.NoiseText.clear();
    s.Search.UNoiseText.clear();
    s.Search.SyncText.clear();
    s.Search.USyncText.clear();
    const QString text = FigureSearch::preparePage(raw, s);
    const int sel = offsetOf(text, value);
    const FigureMark m = FigureTeaching::mark(c.figure, text, sel, int(value.size()), s);
    ASSERT_EQ(m.outcome, FigureMark::Outcome::Value) << c.value;
    FigureTeaching::store(c.figure, m, s);

    const SampleFigures f = poll(raw, s).Figures;
    const double read[] = {f.RxNoise, f.TxNoise, f.RxSync, f.TxSync, f.UserValue1, f.UserValue2};
    EXPECT_NEAR(read[int(c.figure)], c.expected, 1e-3) << c.value;

    // The preview shows the same figure.
    const FigurePreview p = FigureTeaching::preview(text, s);
    ASSERT_TRUE(p.value(c.figure).has_value());
    EXPECT_NEAR(p.value(c.figure)->toDouble(), c.expected, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Figures, TaughtFigureIsPolled,
                         ::testing::Values(TaughtCase{TaughtFigure::RxNoise, "6.5", 0, false, false, 6.5},
                                           TaughtCase{TaughtFigure::RxNoise, "-3.5", 0, true, false, -3.5},
                                           TaughtCase{TaughtFigure::TxNoise, "12.0", 0, false, true, 12.0},
                                           TaughtCase{TaughtFigure::RxSync, "8,128", 0, false, false, 8128},
                                           TaughtCase{TaughtFigure::RxSync, "1.234,5", 1, true, false, 1234.5},
                                           TaughtCase{TaughtFigure::TxSync, "448", 0, false, true, 448},
                                           TaughtCase{TaughtFigure::User1, "183412", 0, false, false, 183412},
                                           TaughtCase{TaughtFigure::User2, "2.404.519", 1, false, true, 2404519}));

TEST(FigureTeaching, TrailingDigitsAreCutFromRxSearchTextsOnly)
{
    const QString page =
        QString(40, QLatin1Char('.')) + QStringLiteral("MarginA123456789xyz6.5") + QString(40, QLatin1Char('.'));
    const int sel = offsetOf(page, QStringLiteral("6.5"));
    const TSettings s = defaults();
    const struct {
        TaughtFigure figure;
        const char *text;
    } cases[] = {{TaughtFigure::RxNoise, "A"},
                 {TaughtFigure::RxSync, "A"},
                 {TaughtFigure::TxNoise, "A123456789"},
                 {TaughtFigure::TxSync, "A123456789"}};
    for (const auto &c : cases) {
        const FigureMark m = FigureTeaching::mark(c.figure, page, sel, 3, s);
        EXPECT_EQ(m.searchText, QLatin1String(c.text)) << int(c.figure);
        EXPECT_EQ(m.outcome, FigureMark::Outcome::Value);
        EXPECT_EQ(m.value.left(1), QStringLiteral("6")) << int(c.figure);
    }
}

TEST(FigureTeaching, UserFigureStoresTheTextThatRunsToItsValue)
{
    // The simulator's WAN row: 'lass="ttext">' before each value.
    routersim::RouterState state;
    const QString page = QString::fromLatin1(
        routersim::PageBuilder(state).build(routersim::ProfileId::V1234, routersim::PageKind::Status));
    const int sel = 1757 + 36 - 1; // Tx packets, 1-based position 1757 + 36
    ASSERT_EQ(page.mid(sel, 6), QStringLiteral("183412"));
    const FigureMark m = FigureTeaching::mark(TaughtFigure::User1, page, sel, 6, defaults());
    EXPECT_EQ(m.searchText, QStringLiteral("lass=\"ttext\">"));
    EXPECT_EQ(m.position, 1757);
    EXPECT_EQ(m.value, QStringLiteral("183412"));
}

TEST(FigureTeaching, SelectionsThatTeachNothing)
{
    const QString page =
        pageWith(QStringLiteral("<tr><td>Uptime</td><td>01:02:03</td><td>none here at all</td></tr>\r\n"));
    const TSettings s = defaults();
    // Nothing selected.
    EXPECT_EQ(FigureTeaching::mark(TaughtFigure::RxNoise, page, 100, 0, s).outcome, FigureMark::Outcome::NoSelection);
    // Words only: no digit follows the search text.
    const int words = offsetOf(page, QStringLiteral("none here"));
    EXPECT_EQ(FigureTeaching::mark(TaughtFigure::TxSync, page, words, 4, s).outcome, FigureMark::Outcome::NoValue);
    EXPECT_EQ(FigureTeaching::mark(TaughtFigure::User2, page, words, 4, s).outcome, FigureMark::Outcome::NoValue);

    // A time is a value, flagged so that the user is asked.
    const int time = offsetOf(page, QStringLiteral("01:02:03"));
    for (const TaughtFigure f : {TaughtFigure::User1, TaughtFigure::RxNoise}) {
        const FigureMark m = FigureTeaching::mark(f, page, time, 8, s);
        EXPECT_EQ(m.outcome, FigureMark::Outcome::Value);
        EXPECT_TRUE(m.timeValue);
        EXPECT_EQ(m.value, QStringLiteral("01:02:03"));
    }
}

TEST(FigureTeaching, St585LabelForms)
{
    TSettings s = defaults();
    s.Router.ST585 = true;
    const QString page =
        QStringLiteral("<table>\r\n<tr><td width='35%'>FEC Errors (Up/Down):</td><td colspan='3'>12 / 1,234</td></tr>"
                       "\r\n<tr><td width='35%'>Loss of Link (Remote):</td><td colspan='3'>3</td></tr>"
                       "\r\n<tr><td width='35%'>Margin:</td><td colspan='3'>1.5 / 6.5</td></tr></table>");
    auto markAt = [&](const QString &label, const TSettings &settings) {
        return FigureTeaching::markSt585(page, offsetOf(page, label), label, settings, QStringLiteral("123.4"),
                                         QStringLiteral(" [MB/MB]"));
    };
    EXPECT_EQ(FigureTeaching::markSt585(page, 0, QString(), s, {}, {}).outcome, St585Mark::Outcome::NoSelection);
    EXPECT_EQ(markAt(QStringLiteral("12 / 1"), s).outcome, St585Mark::Outcome::BeginsWithDigit);
    EXPECT_EQ(FigureTeaching::markSt585(page, 0, QStringLiteral("Up/Down"), s, {}, {}).outcome,
              St585Mark::Outcome::NotALabel);

    const St585Mark pair = markAt(QStringLiteral("FEC Errors (Up/Down):"), s);
    ASSERT_EQ(pair.outcome, St585Mark::Outcome::Label);
    EXPECT_EQ(pair.userText, QStringLiteral("FEC Errors (Up/Down):"));
    EXPECT_EQ(pair.buttonCaption, QStringLiteral("FEC Errors "));
    EXPECT_EQ(pair.userLabel, QStringLiteral("FEC Errors ( (up)"));
    EXPECT_EQ(pair.userLabel2, QStringLiteral("FEC Errors ( (down)"));
    EXPECT_EQ(pair.label33, QStringLiteral("FEC Errors ( (up)  12"));
    EXPECT_EQ(pair.label16, QStringLiteral("FEC Errors ( (down)  1234"));

    const St585Mark single = markAt(QStringLiteral("Loss of Link (Remote):"), s);
    EXPECT_EQ(single.userLabel2, QStringLiteral("Not Available"));
    EXPECT_EQ(single.finalUserLabel2, QStringLiteral("-"));
    EXPECT_EQ(single.label33, QStringLiteral("Loss of Link (up)  3"));
    EXPECT_FALSE(single.label16.has_value());

    // Under a decimal-comma locale the decimal point becomes a comma and stays.
    s.System.Regional = true;
    const St585Mark regional = markAt(QStringLiteral("Margin:"), s);
    EXPECT_EQ(regional.label33, QStringLiteral("Margin: (up)  1,5"));
    EXPECT_EQ(regional.label16, QStringLiteral("Margin: (down)  6,5"));
}

TEST(FigureTeaching, PreviewOfTheDg834LabelsReadsTheSimulatedPage)
{
    routersim::RouterState state;
    const QString page = QString::fromLatin1(
        routersim::PageBuilder(state).build(routersim::ProfileId::V1234, routersim::PageKind::Status));
    TSettings s = defaults();
    s.System.IsDG834 = true;
    s.Search.UserText.clear();
    s.Search.UserText2 = QStringLiteral("lass=\"ttext\">");
    s.Search.UserPos2 = 1817;
    const FigurePreview p = FigureTeaching::preview(page, s);
    EXPECT_EQ(p.value(TaughtFigure::RxNoise), QStringLiteral("6.5"));
    EXPECT_EQ(p.value(TaughtFigure::TxNoise), QStringLiteral("12.0"));
    EXPECT_EQ(p.value(TaughtFigure::RxSync), QStringLiteral("8128"));
    EXPECT_EQ(p.value(TaughtFigure::TxSync), QStringLiteral("448"));
    EXPECT_FALSE(p.value(TaughtFigure::User1).has_value());
    EXPECT_EQ(p.value(TaughtFigure::User2), QStringLiteral("2404519"));
    EXPECT_FALSE(p.rxSync.has_value()) << "only the position search stores Rx sync";

    // A page without the labels reads nothing, not the page's first numbers.
    const FigurePreview none = FigureTeaching::preview(QStringLiteral("<p>12 34 56</p>") + QString(300, u' '), s);
    EXPECT_EQ(none.value(TaughtFigure::RxNoise), QString());
    EXPECT_EQ(none.value(TaughtFigure::TxSync), QString());
}

TEST(FigureTeaching, PreviewSkipsUntaughtFiguresAndStoresTheTaughtRxSync)
{
    const QString page = pageWith(QStringLiteral("<tr><td>Speed down</td><td>1.234,5</td></tr>\r\n"));
    TSettings s = defaults(1);
    const int sel = offsetOf(page, QStringLiteral("1.234,5"));
    FigureTeaching::store(TaughtFigure::RxSync, FigureTeaching::mark(TaughtFigure::RxSync, page, sel, 7, s), s);
    s.Search.NoisePos = 0; // a position of 0 is not taught
    s.Search.UNoiseText.clear();
    s.Search.UserText.clear();
    const FigurePreview p = FigureTeaching::preview(page, s);
    EXPECT_EQ(p.value(TaughtFigure::RxSync), QStringLiteral("1234.5"));
    ASSERT_TRUE(p.rxSync.has_value());
    EXPECT_FLOAT_EQ(*p.rxSync, 1234.5f);
    EXPECT_FALSE(p.value(TaughtFigure::RxNoise).has_value());
    EXPECT_FALSE(p.value(TaughtFigure::TxNoise).has_value());
    EXPECT_FALSE(p.value(TaughtFigure::User1).has_value());
}
