// The figures of a poll taken out of the status page by each search method:
// the DG834 labels, the SpeedTouch 585 labels and the taught positions, with
// their range rules, corrections, user figures and log items. Pages come from
// the router simulator's page builder or are made up around one field.
#include "PageBuilder.h"
#include "RouterState.h"
#include "acquisition/FigureSearch.h"
#include "common/HtmlToText.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using routersim::PageBuilder;
using routersim::PageKind;
using routersim::ProfileId;
using routersim::RouterState;

namespace {

using Figures = std::initializer_list<std::pair<const char *, const char *>>;

QString page(ProfileId profile, Figures figures = {}, PageKind kind = PageKind::Status)
{
    RouterState state;
    for (const auto &[name, value] : figures) {
        QString error;
        EXPECT_TRUE(state.set(QString::fromLatin1(name), QString::fromLatin1(value), &error)) << error.toStdString();
    }
    return QString::fromLatin1(PageBuilder(state).build(profile, kind));
}

TSettings defaults()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
    TSettings s = settingsstore::load(env).settings;
    s.Router.ST585 = false;
    s.System.IsDG834 = false;
    s.System.Regional = false;
    s.System.Correct = true;
    s.Log.Log = QStringLiteral("11111111");
    return s;
}

void setNumbering(TSettings &s, int numbering)
{
    s.System.Numbering = numbering;
    s.NumberDecimalChar = QLatin1Char(numbering != 0 ? ',' : '.');
    s.NumberGroupChar = QLatin1Char(numbering != 0 ? '.' : ',');
}

TSettings dg834()
{
    TSettings s = defaults();
    s.System.IsDG834 = true;
    return s;
}

TSettings st585()
{
    TSettings s = defaults();
    s.Router.ST585 = true;
    return s;
}

// Settings whose taught figures all read one made-up field: the page is the
// search text directly followed by the field, at position 1.
const QString kText = QStringLiteral("Margin is:");

TSettings taughtAtStart()
{
    TSettings s = defaults();
    for (QString *t : {&s.Search.NoiseText, &s.Search.UNoiseText, &s.Search.SyncText, &s.Search.USyncText,
                       &s.Search.UserText, &s.Search.UserText2})
        *t = kText;
    for (int *p : {&s.Search.NoisePos, &s.Search.UNoisePos, &s.Search.SyncPos, &s.Search.USyncPos,
                   &s.Search.UserPos, &s.Search.UserPos2})
        *p = 1;
    return s;
}

QString field(const QString &value)
{
    return kText + value + QStringLiteral(" units</td>");
}

FigureSearchResult search(const QString &p, const TSettings &s, const FigureSearchInput &in = {})
{
    return FigureSearch::run(p, s, in);
}

} // namespace

// --- DG834 labels ------------------------------------------------------------

class Dg834Pages : public ::testing::TestWithParam<ProfileId> {};

TEST_P(Dg834Pages, LabelSearchReadsEveryFigureAndTheAttenuation)
{
    TSettings s = dg834();
    s.Capture.OverlayAtt = true;
    const FigureSearchResult r = search(page(GetParam()), s);

    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 6.5f);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 12.0f);
    EXPECT_FLOAT_EQ(r.Figures.RxSync, 8128);
    EXPECT_FLOAT_EQ(r.Figures.TxSync, 448);
    EXPECT_FLOAT_EQ(r.LastGoodRxNoise, 6.5f);
    EXPECT_FLOAT_EQ(r.LastGoodRxSync, 8128);
    EXPECT_EQ(r.AttenuationDownText, QStringLiteral("32.5"));
    EXPECT_EQ(r.AttenuationUpText, QStringLiteral("18.0"));
    EXPECT_EQ(r.Label2, QStringLiteral("6.5 dB"));
    EXPECT_EQ(r.Label4, QStringLiteral("8,128 Kbps"));

    const std::pair<HttpLogItem, std::pair<const char *, const char *>> items[] = {
        {HttpLogItem::RxNoise, {"Rx-Noise", "6.5"}},
        {HttpLogItem::TxNoise, {"Tx-Noise", "12.0"}},
        {HttpLogItem::RxSync, {"Rx-Sync", "8128"}},
        {HttpLogItem::TxSync, {"Tx-Sync", "448"}},
    };
    for (const auto &[which, nv] : items) {
        EXPECT_TRUE(r.item(which).Produced) << nv.first;
        EXPECT_EQ(r.item(which).Name, QString::fromLatin1(nv.first));
        EXPECT_EQ(r.item(which).Value, QString::fromLatin1(nv.second));
    }
    // No user figure was taught.
    EXPECT_FALSE(r.item(HttpLogItem::User1).Produced);
    EXPECT_FALSE(r.item(HttpLogItem::User2).Produced);
}

INSTANTIATE_TEST_SUITE_P(Firmware, Dg834Pages, ::testing::Values(ProfileId::V1234, ProfileId::V5),
                         [](const auto &info) { return info.param == ProfileId::V1234 ? "v1234" : "v5"; });

TEST(FigureSearch, RxNoiseRangeRuleFallsBackToTheLastGoodValue)
{
    // One run of polls: each row is the page's figure and what the poll keeps.
    struct Step {
        const char *rxNoise;
        float expected;
        float lastGood;
    } steps[] = {
        {"50.2", 0.0f, 0.0f}, // before any good value the fallback is 0
        {"6.5", 6.5f, 6.5f},
        {"50.2", 6.5f, 6.5f},
        {"45.0", 6.5f, 6.5f}, // 45 is already out of range
        {"-12", 6.5f, 6.5f},
        {"-3.5", -3.5f, 6.5f}, // plausible but not stored: only margins above 0 are
        {"44.9", 44.9f, 44.9f},
        {"2147483653", 5.0f, 5.0f}, // corrected before the range rule
    };
    const TSettings s = dg834();
    FigureSearchInput in;
    for (const Step &step : steps) {
        in.Figures = {};
        const FigureSearchResult r = search(page(ProfileId::V1234, {{"RxNoise", step.rxNoise}}), s, in);
        EXPECT_FLOAT_EQ(r.Figures.RxNoise, step.expected) << step.rxNoise;
        EXPECT_FLOAT_EQ(r.LastGoodRxNoise, step.lastGood) << step.rxNoise;
        in.LastGoodRxNoise = r.LastGoodRxNoise;
    }
}

TEST(FigureSearch, RxSyncOfTheLabelSearchKeepsItsLastGoodValue)
{
    const TSettings s = dg834();
    FigureSearchInput in;
    in.LastGoodRxSync = 7000;
    // The DG834 search converts the digits as found: a grouped number fails.
    FigureSearchResult r = search(page(ProfileId::V1234, {{"RxSync", "8,128"}}), s, in);
    EXPECT_FLOAT_EQ(r.Figures.RxSync, 7000);
    EXPECT_FLOAT_EQ(r.LastGoodRxSync, 7000);
    EXPECT_EQ(r.item(HttpLogItem::RxSync).Value, QStringLiteral("8,128"));

    r = search(page(ProfileId::V1234, {{"RxSync", "0"}}), s, in);
    EXPECT_FLOAT_EQ(r.Figures.RxSync, 0);
    EXPECT_FLOAT_EQ(r.LastGoodRxSync, 0); // 0 counts as good
}

TEST(FigureSearch, Corrections)
{
    struct Case {
        const char *name;
        const char *figure;
        const char *value;
        bool correct;
        bool scale1000;
        double expected;
    } cases[] = {
        // Sync clamp, then bit/s to kbit/s; the Rx sync is the figure that is scaled.
        {"clamp", "RxSync", "70000000", true, false, 60000000},
        {"clamp and scale", "RxSync", "70000000", true, true, 60000},
        {"no clamp", "RxSync", "70000000", false, false, 70000000},
        {"scale only", "RxSync", "8128000", true, true, 8128},
        {"tx clamp", "TxSync", "70000000", true, false, 60000000},
        // A negative margin sent as an unsigned number: 2^31 is subtracted.
        {"-6", "TxNoise", "2147483642", true, false, -6},
        {"5", "TxNoise", "2147483653", true, false, 5},
        {"2^32-6", "TxNoise", "4294967290", true, false, 2147483642.0},
        {"not corrected", "TxNoise", "2147483642", false, false, 2147483642.0},
        {"below the limit", "TxNoise", "2140000000", true, false, 2140000000.0},
    };
    for (const Case &c : cases) {
        TSettings s = dg834();
        s.System.Correct = c.correct;
        s.Graph.Scale1000 = c.scale1000;
        const FigureSearchResult r = search(page(ProfileId::V1234, {{c.figure, c.value}}), s);
        const QString f = QString::fromLatin1(c.figure);
        const float got = f == QLatin1String("RxSync")   ? r.Figures.RxSync
                          : f == QLatin1String("TxSync") ? r.Figures.TxSync
                                                         : r.Figures.TxNoise;
        EXPECT_FLOAT_EQ(got, float(c.expected)) << c.name;
    }
}

TEST(FigureSearch, Scale1000ShowsTheSyncTextInBps)
{
    TSettings s = dg834();
    s.Graph.Scale1000 = true;
    const FigureSearchResult r = search(page(ProfileId::V1234, {{"RxSync", "8128000"}}), s);
    EXPECT_EQ(r.Label4, QStringLiteral("8,128,000 bps"));
    EXPECT_EQ(r.item(HttpLogItem::RxSync).Value, QStringLiteral("8128000"));
}

// --- labels not on the page ---------------------------------------------------

TEST(FigureSearch, ALabelNotOnThePageReadsNothing)
{
    // Numbers near the start of the page that a search from position 0 would pick up.
    const QString wrongPage =
        QStringLiteral("<html><body>12345678 9.5 / 44.5 kbps 77</td>'3'>31 / 42</td><td>55</td></body></html>");
    FigureSearchInput in;
    in.Figures.TxNoise = 1.5f; // kept from before a Stop
    in.Figures.TxSync = 300;
    in.LastGoodRxNoise = 5.5f;
    in.LastGoodRxSync = 2000;

    struct Case {
        const char *name;
        TSettings settings;
        float rxNoise;
        float rxSync;
    } cases[] = {
        {"dg834", dg834(), 0, 0}, // no figure: not the last good ones
        {"st585", st585(), 0, 0},
        {"taught", taughtAtStart(), 0, 0},
    };
    for (Case &c : cases) {
        c.settings.Capture.OverlayAtt = true;
        c.settings.Search.NoiseText = c.settings.Search.SyncText = c.settings.Search.UNoiseText =
            c.settings.Search.USyncText = QStringLiteral("lass=\"ttex");
        const FigureSearchResult r = search(wrongPage, c.settings, in);
        EXPECT_FLOAT_EQ(r.Figures.RxNoise, c.rxNoise) << c.name;
        EXPECT_FLOAT_EQ(r.Figures.TxNoise, 1.5f) << c.name;
        EXPECT_FLOAT_EQ(r.Figures.RxSync, c.rxSync) << c.name;
        EXPECT_FLOAT_EQ(r.Figures.TxSync, 300) << c.name;
        EXPECT_FLOAT_EQ(r.LastGoodRxNoise, 5.5f) << c.name;
        EXPECT_FLOAT_EQ(r.LastGoodRxSync, 2000) << c.name;
        EXPECT_TRUE(r.AttenuationDownText.isEmpty()) << c.name;
        EXPECT_TRUE(r.AttenuationUpText.isEmpty()) << c.name;
        // The items still keep their column, with nothing read.
        for (HttpLogItem item : {HttpLogItem::RxNoise, HttpLogItem::TxNoise, HttpLogItem::RxSync, HttpLogItem::TxSync}) {
            EXPECT_TRUE(r.item(item).Produced) << c.name;
            EXPECT_EQ(r.item(item).Value, QString()) << c.name;
            EXPECT_TRUE(r.item(item).NotFound) << c.name;
        }
    }
}

TEST(FigureSearch, A585ValueWithoutItsSeparatorIsNotTakenFromTheOtherHalf)
{
    // The pair has lost its "/": the Rx half must not read the Tx value.
    const QString p = page(ProfileId::St585).replace(QStringLiteral("12.0 / 6.5"), QStringLiteral("12.0   6.5"));
    const FigureSearchResult r = search(p, st585());
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 0);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 12.0f);
}

// --- taught positions -----------------------------------------------------------

TEST(FigureSearch, TaughtDefaultPositionsOnTheOtherProfile)
{
    TSettings s = defaults();
    s.Search.UserText = QStringLiteral("lass=\"ttext\">");
    s.Search.UserPos = PageBuilder::kOtherDataReceivedAt - 36;
    s.Search.UserText2 = QStringLiteral("lass=\"ttext\">");
    s.Search.UserPos2 = PageBuilder::kOtherDataSentAt - 36;
    const FigureSearchResult r = search(page(ProfileId::Other), s);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 6.5f);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 12.0f);
    EXPECT_FLOAT_EQ(r.Figures.RxSync, 8128);
    EXPECT_FLOAT_EQ(r.Figures.TxSync, 448);
    EXPECT_DOUBLE_EQ(r.Figures.UserValue1, 98765.43);
    EXPECT_DOUBLE_EQ(r.Figures.UserValue2, 1234.56);
    EXPECT_EQ(r.Label2, QStringLiteral("6.5 dB"));
    EXPECT_EQ(r.Label4, QStringLiteral("8,128 Kbps"));
    EXPECT_EQ(r.Label5, QStringLiteral("User-def 1  98,765.43"));
    EXPECT_EQ(r.Label22, QStringLiteral("User-def 2  1,234.56"));
    EXPECT_EQ(r.item(HttpLogItem::User1).Name, QStringLiteral("User-def1"));
    EXPECT_EQ(r.item(HttpLogItem::User1).Value, QStringLiteral("98765.43"));
    EXPECT_EQ(r.item(HttpLogItem::User2).Name, QStringLiteral("User-def2"));
    EXPECT_FALSE(r.NotANumber);
}

TEST(FigureSearch, TaughtFieldsInEveryNumberStyle)
{
    enum Which { RxNoise, TxNoise, RxSync, TxSync };
    struct Case {
        const char *name;
        Which which;
        const char *field;
        int numbering; // -1: 0 with Regional set
        float expected;
        const char *logged; // the log value of a sync figure
    } cases[] = {
        {"negative margin", RxNoise, "-3.5", 0, -3.5f, nullptr},
        {"margin, decimal comma", RxNoise, "6,5", 1, 6.5f, nullptr},
        {"tx margin", TxNoise, "12.0", 0, 12.0f, nullptr},
        {"grouped sync", RxSync, "8,128", 0, 8128, "8128"},
        {"point groups", RxSync, "1.234,5", 1, 1234.5f, "1234.5"},
        {"over-long sync", RxSync, "12345678901", 0, 0, "1234567890^"},
        {"tx sync", TxSync, "448", 0, 448, "448"},
        {"negative sync reads its digits", TxSync, "-448", 0, 448, "448"},
        {"one-character field", RxNoise, "", 0, 0, nullptr},
        {"regional comma, C locale", TxNoise, "12.5", -1, 0, nullptr},
    };
    for (const Case &c : cases) {
        TSettings s = taughtAtStart();
        setNumbering(s, qMax(c.numbering, 0));
        s.System.Regional = c.numbering < 0; // -1: Regional
        // The one-character field: the page ends one character into the field.
        const QString p = *c.field ? field(QString::fromLatin1(c.field)) : kText + QStringLiteral("7");
        const FigureSearchResult r = search(p, s);
        const float got[] = {r.Figures.RxNoise, r.Figures.TxNoise, r.Figures.RxSync, r.Figures.TxSync};
        EXPECT_FLOAT_EQ(got[c.which], c.expected) << c.name;
        if (c.which == RxSync || c.which == TxSync) {
            const HttpLogItem item = c.which == RxSync ? HttpLogItem::RxSync : HttpLogItem::TxSync;
            EXPECT_EQ(r.item(item).Value, QString::fromLatin1(c.logged)) << c.name;
        }
    }
}

TEST(FigureSearch, TaughtNoiseBiasScaleAndFallback)
{
    // The bias moves only the Rx noise field.
    TSettings s = taughtAtStart();
    s.Bias.RxNoiseBias = 4;
    FigureSearchResult r = search(field(QStringLiteral("9999 6.5")), s);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 6.5f);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 9999);

    // Scale10 divides both margins of the taught search.
    s = taughtAtStart();
    s.Graph.Scale10 = true;
    r = search(field(QStringLiteral("65")), s);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 6.5f);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 6.5f);
    EXPECT_EQ(r.item(HttpLogItem::RxNoise).Value, QStringLiteral("6.5"));

    // A text that does not convert keeps the Rx margin's present value.
    FigureSearchInput in;
    in.Figures.RxNoise = 4.0f;
    r = search(field(QStringLiteral("--")), taughtAtStart(), in);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 4.0f);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 0);
}

// --- user figures -----------------------------------------------------------------

TEST(FigureSearch, UserFigureReadAsATime)
{
    TSettings s = taughtAtStart();
    const FigureSearchResult r = search(field(QStringLiteral("12:30:05")), s);
    EXPECT_TRUE(r.NotANumber);
    EXPECT_TRUE(r.NotANumber1);
    EXPECT_DOUBLE_EQ(r.Figures.UserValue1, 0);
    EXPECT_EQ(r.Label5, QStringLiteral("User-def 1  12:30:05"));
    EXPECT_EQ(r.item(HttpLogItem::User1).Value, QStringLiteral("12:30:05"));

    // A plain number leaves the flags as the settings have them.
    const FigureSearchResult plain = search(field(QStringLiteral("1234")), s);
    EXPECT_FALSE(plain.NotANumber);
    EXPECT_EQ(plain.Label5, QStringLiteral("User-def 1  1,234"));
    s.Graph.NotANumber = true;
    EXPECT_TRUE(search(field(QStringLiteral("1234")), s).NotANumber);
}

TEST(FigureSearch, UserFigureDifferenceModeAcrossPolls)
{
    struct Step {
        const char *counter;
        double expected;
    } steps[] = {{"100", 0}, {"130", 30}, {"125", -5}, {"125", 0}};
    TSettings s = taughtAtStart();
    s.Graph.DiffUserDef = true;
    s.Graph.DiffUserDef1 = true;
    FigureSearchInput in;
    for (const Step &step : steps) {
        const FigureSearchResult r = search(field(QString::fromLatin1(step.counter)), s, in);
        EXPECT_DOUBLE_EQ(r.Figures.UserValue1, step.expected) << step.counter;
        EXPECT_DOUBLE_EQ(r.Figures.UserValue2, step.expected) << step.counter;
        // The log shows the counter, not the difference.
        EXPECT_EQ(r.item(HttpLogItem::User1).Value, QString::fromLatin1(step.counter));
        in.UserDiffBase1 = r.UserDiffBase1;
        in.UserDiffBase2 = r.UserDiffBase2;
    }
}

TEST(FigureSearch, UserFigureScale)
{
    struct Case {
        int scale;
        double expected;
    } cases[] = {{1, 5000}, {1000, 5}};
    for (const Case &c : cases) {
        TSettings s = taughtAtStart();
        s.Graph.ScaleUser1 = c.scale;
        s.Graph.ScaleUser2 = c.scale;
        const FigureSearchResult r = search(field(QStringLiteral("5000")), s);
        EXPECT_DOUBLE_EQ(r.Figures.UserValue1, c.expected) << c.scale;
        EXPECT_DOUBLE_EQ(r.Figures.UserValue2, c.expected) << c.scale;
    }
}

TEST(FigureSearch, UserFigureValidityRules)
{
    struct Case {
        const char *field;
        int numbering;
        const char *text;
        double value;
    } cases[] = {
        {"1.234,5", 1, "1234.5", 1234.5},
        {"1234567890123", 0, "123456789012^", 0}, // over 12 characters
        {"-42", 0, "42", 42},                       // user figures are never negative
        {"1,2.3.4", 0, "12.3.4", 0},
    };
    for (const Case &c : cases) {
        TSettings s = taughtAtStart();
        setNumbering(s, c.numbering);
        const FigureSearchResult r = search(field(QString::fromLatin1(c.field)), s);
        EXPECT_EQ(r.item(HttpLogItem::User1).Value, QString::fromLatin1(c.text)) << c.field;
        EXPECT_DOUBLE_EQ(r.Figures.UserValue1, c.value) << c.field;
    }
}

// --- SpeedTouch 585 -------------------------------------------------------------

TEST(FigureSearch, St585LabelsReadEveryFigure)
{
    TSettings s = st585();
    s.Capture.OverlayAtt = true;
    s.Graph.Scale1000 = true; // the 585 search ignores it
    const FigureSearchResult r = search(page(ProfileId::St585), s);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 6.5f);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 12.0f);
    EXPECT_FLOAT_EQ(r.Figures.RxSync, 8128);
    EXPECT_FLOAT_EQ(r.Figures.TxSync, 448);
    EXPECT_EQ(r.AttenuationUpText, QStringLiteral("18.0"));
    EXPECT_EQ(r.AttenuationDownText, QStringLiteral("32.5"));
    EXPECT_EQ(r.Label4, QStringLiteral("8,128 Kbps"));
    EXPECT_EQ(r.item(HttpLogItem::TxSync).Value, QStringLiteral("448"));

    // Scale10 applies to the Tx margin only.
    s.Graph.Scale10 = true;
    const FigureSearchResult scaled = search(page(ProfileId::St585, {{"RxNoise", "4.5"}, {"TxNoise", "120"}}), s);
    EXPECT_FLOAT_EQ(scaled.Figures.RxNoise, 4.5f);
    EXPECT_FLOAT_EQ(scaled.Figures.TxNoise, 12);
}

TEST(FigureSearch, St585UserFigurePairsAndSingles)
{
    TSettings s = st585();
    s.Search.UserText = QStringLiteral("CRC Errors (Up/Down):");
    s.Graph.UserLabel = QStringLiteral("CRC Errors (up)");
    s.Graph.UserLabel2 = QStringLiteral("CRC Errors (down)");
    FigureSearchResult r = search(page(ProfileId::St585, {{"CrcUp", "7"}, {"CrcDown", "12345"}}), s);
    EXPECT_DOUBLE_EQ(r.Figures.UserValue1, 7);
    EXPECT_DOUBLE_EQ(r.Figures.UserValue2, 12345);
    EXPECT_EQ(r.Label5, QStringLiteral("CRC Errors (up)  7"));
    EXPECT_EQ(r.Label22, QStringLiteral("CRC Errors (down)  12,345"));
    EXPECT_EQ(r.item(HttpLogItem::User1).Name, QStringLiteral("CRCErrors(up)"));
    EXPECT_EQ(r.item(HttpLogItem::User2).Name, QStringLiteral("CRCErrors(down)"));
    EXPECT_EQ(r.item(HttpLogItem::User2).Value, QStringLiteral("12345"));
    EXPECT_FALSE(r.Chart3AxisTitle.has_value());

    s.Search.UserText = QStringLiteral("Loss of Link (Remote):");
    s.Graph.UserLabel2 = QStringLiteral("Not Available");
    FigureSearchInput in;
    in.Figures.UserValue2 = 9; // left alone in single-value mode
    r = search(page(ProfileId::St585, {{"LossOfLink", "3"}}), s, in);
    EXPECT_DOUBLE_EQ(r.Figures.UserValue1, 3);
    EXPECT_DOUBLE_EQ(r.Figures.UserValue2, 9);
    EXPECT_FALSE(r.Label22.has_value());
    EXPECT_EQ(r.item(HttpLogItem::User2).Value, QStringLiteral("0"));

    // "User def" is the untaught button text: no search.
    s.Search.UserText = QStringLiteral("User def");
    EXPECT_FALSE(search(page(ProfileId::St585), s).Label5.has_value());
}

TEST(FigureSearch, St585DataCountersInMegabytes)
{
    struct Case {
        const char *unit;
        bool raw;
        double up;
        double down;
        const char *upTitle;
        const char *downTitle;
        const char *upItem;
    } cases[] = {
        {" [kB/kB]", true, 1234.56, 98765.43, "Data sent (kB)", "Data received (kB)", "1234.56kB"},
        {"[MB/MB]", true, 1234.56, 98765.43, "Data sent (MB)", "Data received (MB)", "1234.56MB"},
        {"[GB/GB]", true, 1234.56 * 1024, 98765.43 * 1024, "Data sent (MB)", "Data received (MB)", "1234.56GB"},
        {"[GB/GB]", false, 1234.56 * 1024, 98765.43 * 1024, "Data sent (MB) (per sample)",
         "Data received (MB) (per sample)", "1234.56GB"},
    };
    for (const Case &c : cases) {
        TSettings s = st585();
        s.Search.UserText = QStringLiteral("Data Transferred");
        s.Graph.RawUserDef = c.raw;
        FigureSearchInput in;
        in.ThomsonDataSent = QStringLiteral("1234.56");
        in.ThomsonDataReceived = QStringLiteral("98765.43");
        in.ThomsonDataUnit = QString::fromLatin1(c.unit);
        const FigureSearchResult r = search(page(ProfileId::St585), s, in);
        EXPECT_DOUBLE_EQ(r.Figures.UserValue1, c.up) << c.unit;
        EXPECT_DOUBLE_EQ(r.Figures.UserValue2, c.down) << c.unit;
        EXPECT_EQ(r.Chart3AxisTitle, QString::fromLatin1(c.upTitle)) << c.unit;
        EXPECT_EQ(r.Chart19AxisTitle, QString::fromLatin1(c.downTitle)) << c.unit;
        EXPECT_EQ(r.TabSheet32Caption, QStringLiteral("Data Sent"));
        EXPECT_EQ(r.TabSheet33Caption, QStringLiteral("Data Received"));
        const QString u = QString::fromLatin1(c.unit).trimmed().mid(1, 2);
        EXPECT_EQ(r.Label5, QStringLiteral("Data (up) 1234.56 ") + u);
        EXPECT_EQ(r.Label22, QStringLiteral("Data (down) 98765.43 ") + u);
        EXPECT_EQ(r.item(HttpLogItem::User1).Name, QStringLiteral("Data(up)"));
        EXPECT_EQ(r.item(HttpLogItem::User1).Value, QString::fromLatin1(c.upItem));
        EXPECT_EQ(r.item(HttpLogItem::User2).Name, QStringLiteral("Data(down)"));
        EXPECT_EQ(r.item(HttpLogItem::User2).Value, QStringLiteral("98765.43") + u);
    }
}

TEST(FigureSearch, St585DataCountersDifferenceIsAppliedOncePerPoll)
{
    TSettings s = st585();
    s.Search.UserText = QStringLiteral("Data Transferred");
    s.Graph.DiffUserDef = true;
    s.Graph.DiffUserDef1 = true;
    FigureSearchInput in;
    in.ThomsonDataUnit = QStringLiteral("[MB/MB]");
    const std::pair<const char *, double> polls[] = {{"100", 0}, {"160", 60}, {"175", 15}};
    for (const auto &[counter, expected] : polls) {
        in.ThomsonDataSent = in.ThomsonDataReceived = QString::fromLatin1(counter);
        const FigureSearchResult r = search(page(ProfileId::St585), s, in);
        EXPECT_DOUBLE_EQ(r.Figures.UserValue1, expected) << counter;
        EXPECT_DOUBLE_EQ(r.Figures.UserValue2, expected) << counter;
        in.UserDiffBase1 = r.UserDiffBase1;
        in.UserDiffBase2 = r.UserDiffBase2;
    }
}

// --- what runs at all --------------------------------------------------------------

TEST(FigureSearch, ChartBoxesLogFlagsAndAnEmptyPage)
{
    FigureSearchInput in;
    in.Figures = {1, 2, 3, 4, 5, 6};

    TSettings s = dg834();
    FigureSearchResult r = search(QString(), s, in);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 1);
    EXPECT_FLOAT_EQ(r.Figures.TxSync, 4);
    EXPECT_FALSE(r.Label2.has_value());
    for (const FigureLogItem &item : r.LogItems)
        EXPECT_FALSE(item.Produced);

    s.Graph.cbHNoise = false;
    s.Graph.cbUHSync = false;
    s.Log.Log = QStringLiteral("01011111"); // no Rx-Noise, no user 1 item
    r = search(page(ProfileId::V1234), s, in);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 1);
    EXPECT_FLOAT_EQ(r.Figures.TxSync, 4);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 12);
    EXPECT_FALSE(r.Label2.has_value());
    EXPECT_FALSE(r.item(HttpLogItem::RxNoise).Produced);
    EXPECT_FALSE(r.item(HttpLogItem::TxSync).Produced);
    EXPECT_TRUE(r.item(HttpLogItem::RxSync).Produced);

    s.Log.Log = QStringLiteral("11101111");
    r = search(page(ProfileId::V1234), s, in);
    EXPECT_FALSE(r.item(HttpLogItem::TxNoise).Produced);
    EXPECT_EQ(r.item(HttpLogItem::TxNoise).Value, QStringLiteral("12.0")); // searched all the same
}

// --- page preparation and the rendered text --------------------------------------

TEST(FigureSearch, PagePreparation)
{
    TSettings s = defaults();
    const QString p = QStringLiteral("<p>a;b</p>");
    EXPECT_EQ(FigureSearch::preparePage(p, s), p);
    s.Search.UseSource = true;
    EXPECT_EQ(FigureSearch::preparePage(p, s), QStringLiteral("<p>a;\r\nb</p>"));
    s.Search.UseSource = false;
    s.Search.LoopBack = true;
    EXPECT_TRUE(FigureSearch::rendersPage(s));
    EXPECT_EQ(FigureSearch::preparePage(p, s), QStringLiteral("a;b"));
    s.System.IsDG834 = true; // the DG834 labels are searched in the source
    EXPECT_FALSE(FigureSearch::rendersPage(s));
    EXPECT_EQ(FigureSearch::preparePage(p, s), p);
}

namespace {

// What the teaching page stores when the user selects the value starting at
// the 0-based offset s of the text: the 10 characters 12 to 3 before it
// (trailing digits, "." and "," dropped for the Rx figures) and s - 30.
std::pair<QString, int> teach(const QString &text, int s, bool dropTrailing)
{
    QString searchText = text.mid(s - 13, 10);
    while (dropTrailing && !searchText.isEmpty()
           && (searchText.back().isDigit() || searchText.back() == u'.' || searchText.back() == u','))
        searchText.chop(1);
    return {searchText, s - 30};
}

} // namespace

TEST(FigureSearch, PositionsTaughtOnTheRenderedPageAreFoundByThePoll)
{
    RouterState state;
    const QString source = QString::fromLatin1(PageBuilder(state).build(ProfileId::Other, PageKind::Status));
    const QString text = HtmlToText::render(source).text();
    // The rows read "label, down, up", one per line.
    ASSERT_TRUE(text.contains(QStringLiteral("SNR margin down / up (dB) \t 6.5 \t 12.0\r\n"))) << text.toStdString();

    TSettings s = defaults();
    s.Search.LoopBack = true;
    const struct {
        const char *row;
        int column; // 1 down, 2 up
        QString *searchText;
        int *pos;
        bool rx;
    } figures[] = {
        {"SNR margin", 1, &s.Search.NoiseText, &s.Search.NoisePos, true},
        {"SNR margin", 2, &s.Search.UNoiseText, &s.Search.UNoisePos, false},
        {"Line rate", 1, &s.Search.SyncText, &s.Search.SyncPos, true},
        {"Line rate", 2, &s.Search.USyncText, &s.Search.USyncPos, false},
    };
    for (const auto &f : figures) {
        int at = int(text.indexOf(QString::fromLatin1(f.row)));
        for (int k = 0; k < f.column; ++k)
            at = int(text.indexOf(u'\t', at)) + 2;
        std::tie(*f.searchText, *f.pos) = teach(text, at, f.rx);
    }
    const FigureSearchResult r = search(FigureSearch::preparePage(source, s), s);
    EXPECT_FLOAT_EQ(r.Figures.RxNoise, 6.5f);
    EXPECT_FLOAT_EQ(r.Figures.TxNoise, 12.0f);
    EXPECT_FLOAT_EQ(r.Figures.RxSync, 8128);
    EXPECT_FLOAT_EQ(r.Figures.TxSync, 448);
}

TEST(FigureSearch, RenderedStatusPagesMapBackToTheirSource)
{
    RouterState state;
    for (ProfileId id : {ProfileId::V1234, ProfileId::V5, ProfileId::St585, ProfileId::Other}) {
        const QString source = QString::fromLatin1(PageBuilder(state).build(id, PageKind::Status));
        const HtmlToText r = HtmlToText::render(source);
        ASSERT_FALSE(r.text().isEmpty());
        EXPECT_FALSE(r.text().contains(u'<'));
        int previous = 0;
        for (int i = 0; i < r.text().size(); ++i) {
            const QChar c = r.text()[i];
            const int from = r.sourceStart(i);
            ASSERT_GE(from, previous) << "offsets go backwards at " << i;
            previous = from;
            const QString produced = source.mid(from, r.sourceEnd(i) - from);
            if (c == u'\r' || c == u'\n' || c == u'\t')
                EXPECT_TRUE(produced.startsWith(u'<')) << i; // made by a tag
            else if (c == u' ') // collapsed white space, an entity or a cell separator
                EXPECT_TRUE(produced[0].isSpace() || produced.startsWith(u'&') || produced.startsWith(u'<')) << i;
            else
                EXPECT_EQ(produced, QString(c)) << i;
        }
        // Every figure value of the page is found again at its source position.
        const int value = int(r.text().indexOf(QStringLiteral("8128")));
        ASSERT_GE(value, 0);
        const auto [from, to] = r.sourceRange(value, value + 4);
        EXPECT_EQ(source.mid(from, to - from), QStringLiteral("8128"));
        EXPECT_EQ(r.textOffsetAt(from), value);
    }
}
