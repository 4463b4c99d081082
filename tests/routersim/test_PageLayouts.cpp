// The simulated pages against the program's search rules: every figure must
// be found where the searches look, whatever width its value has.
#include "PageBuilder.h"
#include "SimTestSupport.h"

using namespace routersim;
using namespace rstest;

namespace {

const QByteArray kTtex = "lass=\"ttex";

QByteArray build(const RouterState &s, ProfileId p, PageKind k)
{
    return PageBuilder(s).build(p, k);
}

void setAll(RouterState &s, const QList<QPair<QString, QString>> &values)
{
    for (const auto &v : values) {
        QString error;
        ASSERT_TRUE(s.set(v.first, v.second, &error)) << error.toStdString();
    }
}

// Narrow, usual and widest values the state accepts.
const QList<QList<QPair<QString, QString>>> kValueSets = {
    {},
    {{"RxNoise", "-3.5"}, {"TxNoise", "0"}, {"RxSync", "1"}, {"TxSync", "32"}, {"uptime", "0:00:01"},
     {"RxAttenuation", "0.5"}, {"TxAttenuation", "1"}},
    {{"RxNoise", "4294967290"}, {"TxNoise", "-12.34567890"}, {"RxSync", "60000000.123"}, {"TxSync", "123456789012"},
     {"RxAttenuation", "123456.78901"}, {"TxAttenuation", "99999999.999"}, {"TxPackets", "999999999999"},
     {"RxPackets", "999999999999"}, {"Collisions", "999999999999"}, {"TxRate", "999999999999"},
     {"RxRate", "999999999999"}, {"uptime", "9999:59:59"}},
};

class Dg834Pages : public ::testing::TestWithParam<ProfileId> {};

} // namespace

TEST_P(Dg834Pages, LabelSearchFindsEveryFigureWhateverItsWidth)
{
    for (const auto &values : kValueSets) {
        RouterState s;
        setAll(s, values);
        const QByteArray page = build(s, GetParam(), PageKind::Status);
        SCOPED_TRACE(s.figure(Figure::RxNoise).toStdString());
        EXPECT_EQ(s.figure(Figure::RxNoise).toLatin1(), dg834RxNoise(page));
        EXPECT_EQ(s.figure(Figure::TxNoise).toLatin1(), dg834TxNoise(page));
        EXPECT_EQ(s.figure(Figure::RxSync).toLatin1(), dg834RxSync(page));
        EXPECT_EQ(s.figure(Figure::TxSync).toLatin1(), dg834TxSync(page));
        EXPECT_EQ(s.figure(Figure::RxAttenuation).toLatin1(), dg834AttenuationDown(page));
        EXPECT_EQ(s.figure(Figure::TxAttenuation).toLatin1(), dg834AttenuationUp(page));
        // The teaching page's test looks 50 characters past the labels.
        EXPECT_EQ(s.figure(Figure::RxNoise).toLatin1(), teachTestDown(page, "Noise Margin", kNumeric));
        EXPECT_EQ(s.figure(Figure::TxNoise).toLatin1(), teachTestUp(page, "Noise Margin", kNumeric));
        EXPECT_EQ(s.figure(Figure::RxSync).toLatin1(), teachTestDown(page, "Connection Speed", kSyncSet));
        EXPECT_EQ(s.figure(Figure::TxSync).toLatin1(), teachTestUp(page, "Connection Speed", kSyncSet));
    }
}

TEST_P(Dg834Pages, LabelsAreUniqueAndThePageDeclaresItselfADg834)
{
    const QByteArray page = build(RouterState(), GetParam(), PageKind::Status);
    for (const QByteArray label : {"Noise Margin", "Connection Speed", "Line Attenuation"})
        EXPECT_EQ(1, count(label, page)) << label.constData();
    EXPECT_GT(pos("content=\"DG834", page), 0);
}

INSTANTIATE_TEST_SUITE_P(Profiles, Dg834Pages, ::testing::Values(ProfileId::V1234, ProfileId::V5),
                         [](const auto &info) { return Profile::name(info.param).toStdString(); });

TEST(TaughtPositions, DefaultPositionsHoldOnV1234AndOther)
{
    for (ProfileId p : {ProfileId::V1234, ProfileId::Other}) {
        for (const auto &values : kValueSets) {
            RouterState s;
            setAll(s, values);
            const QByteArray page = build(s, p, PageKind::Status);
            SCOPED_TRACE(Profile::name(p).toStdString());
            EXPECT_EQ(s.figure(Figure::RxNoise).toLatin1(), positionSearch(page, kTtex, 4528, true));
            EXPECT_EQ(s.figure(Figure::TxNoise).toLatin1(), positionSearch(page, kTtex, 4601, true));
            EXPECT_EQ(s.figure(Figure::RxSync).toLatin1(), positionSearch(page, kTtex, 4038, false));
            EXPECT_EQ(s.figure(Figure::TxSync).toLatin1(), positionSearch(page, kTtex, 4115, false));
            EXPECT_EQ(s.uptime().toLatin1(), uptimeSearch(page, kTtex, 2062));
        }
    }
}

TEST(TaughtPositions, TeachingRuleMatchesTheDocumentedSlots)
{
    // The teaching page stores Pos = s - 30 and the 10 characters s-12..s-3
    // for a value starting at s+1; check that this lands on the same text.
    const QByteArray page = build(RouterState(), ProfileId::V1234, PageKind::Status);
    const int s = PageBuilder::kRxNoiseAt - 1;
    EXPECT_EQ(kTtex, copy(page, s - 12, 10));
    EXPECT_EQ(4528, s - 30);
}

TEST(TaughtPositions, UserFiguresAtTheirDocumentedPositions)
{
    RouterState s;
    setAll(s, {{"TxPackets", "12:30:05"}, {"RxPackets", "1,234,567"}, {"DataReceived", "98765.43"}, {"DataSent", "7"}});
    const QByteArray v1234 = build(s, ProfileId::V1234, PageKind::Status);
    const QByteArray other = build(s, ProfileId::Other, PageKind::Status);
    // The teaching page keeps 13 characters of text ending just before the value.
    const QByteArray text = "lass=\"ttext\">";
    EXPECT_EQ(text, copy(v1234, PageBuilder::kV1234TxPacketsAt - 13, 13));
    EXPECT_EQ("12:30:05", userPositionSearch(v1234, text, 1757));
    EXPECT_EQ("1,234,567", userPositionSearch(v1234, text, 1817));
    EXPECT_EQ("98765.43", userPositionSearch(other, text, 4800));
    EXPECT_EQ("7", userPositionSearch(other, text, PageBuilder::kOtherDataSentAt - 36));
}

TEST(OtherRouter, IsNotMistakenForADg834)
{
    const QByteArray page = build(RouterState(), ProfileId::Other, PageKind::Status);
    EXPECT_EQ(0, pos("content=\"DG834", page));
    EXPECT_EQ(0, pos("Noise Margin", page));
}

TEST(V5Router, UptimeIsTheSeventhCentredCellAfterWan)
{
    for (const QString up : {"26:15:07", "0:00:01", "1 day, 02:03:04", "9999:59:59"}) {
        RouterState s;
        setAll(s, {{"uptime", up}, {"TxPackets", "999999999999"}, {"RxPackets", "999999999999"}});
        const QByteArray page = build(s, ProfileId::V5, PageKind::Status);
        EXPECT_EQ(up.toLatin1(), v5Uptime(page));
        EXPECT_EQ(1, count("WAN", page));
    }
}

TEST(St585Pages, LabelSearchFindsEveryFigure)
{
    for (const auto &values : {QList<QPair<QString, QString>>{},
                               {{"RxNoise", "-3.5"}, {"TxNoise", "-12.5"}, {"RxSync", "24000"}, {"TxSync", "1023"},
                                {"RxAttenuation", "62.5"}, {"TxAttenuation", "31.25"}}}) {
        RouterState s;
        setAll(s, values);
        const QByteArray page = build(s, ProfileId::St585, PageKind::Status);
        EXPECT_EQ(s.figure(Figure::RxNoise).toLatin1(), st585RxNoise(page));
        EXPECT_EQ(s.figure(Figure::TxNoise).toLatin1(), st585TxNoise(page));
        EXPECT_EQ(s.figure(Figure::RxSync).toLatin1(), st585RxSync(page));
        EXPECT_EQ(s.figure(Figure::TxSync).toLatin1(), st585TxSync(page));
        EXPECT_EQ(s.figure(Figure::TxAttenuation).toLatin1(), st585AttUp(page));
        EXPECT_EQ(s.figure(Figure::RxAttenuation).toLatin1(), st585AttDown(page));
        EXPECT_EQ(s.uptime().toLatin1(), st585Uptime(page));
    }
}

TEST(St585Pages, UserFiguresAndTheViewerCut)
{
    RouterState s;
    setAll(s, {{"FecUp", "17"}, {"FecDown", "123456"}, {"LossOfLink", "3"}});
    const QByteArray page = build(s, ProfileId::St585, PageKind::Status);
    const UserPair fec = st585User(page, "FEC Errors (Up/Down):");
    EXPECT_EQ("17", fec.first);
    EXPECT_EQ("123456", fec.second);
    EXPECT_EQ("3", st585User(page, "Loss of Link (Remote):").first);

    // The viewer cuts the page before the first "</td></tr></table>" and the
    // figures are then searched in what is left.
    const QByteArray cut = page.left(page.indexOf("</td></tr></table>"));
    for (const QByteArray label : {"SN Margin (Up/Down) [dB]:", ">Bandwidth (Up/Down)", "Line Attenuation", "Uptime:",
                                   "FEC Errors (Up/Down):", "HEC Errors (Up/Down):", "Loss of Link (Remote):"})
        EXPECT_GT(pos(label, cut), 0) << label.constData();
    EXPECT_EQ(s.figure(Figure::RxNoise).toLatin1(), st585RxNoise(cut));
    EXPECT_GT(pos("ved) [kB/kB]:", page), 0);
    EXPECT_GT(pos(">0.00 / 0.00</td></tr>", page), 0);
    EXPECT_GT(pos("<table width='100%' class='datatable' cellspacing='0' cellpadding='0'>", page), 0);
    // The viewer shows the page from 28 characters past "Link Information".
    EXPECT_TRUE(copyFrom(page, pos("Link Information", page) + 28).startsWith("<table"));
}

TEST(St585Pages, LinkPageGivesAddressUnitAndCounters)
{
    for (const QString unit : {"kB", "MB", "GB"}) {
        RouterState s;
        setAll(s, {{"wan", "198.51.100.23"}, {"dataunit", unit}, {"DataSent", "12345.67"},
                   {"DataReceived", "123456789.12"}});
        const QByteArray page = build(s, ProfileId::St585, PageKind::Link);
        EXPECT_EQ("198.51.100.23", copy(copy(page, pos("IP Address:", page) + 32, 50), 1,
                                        pos("<", copy(page, pos("IP Address:", page) + 32, 50)) - 1));
        EXPECT_EQ("[" + unit.toLatin1() + "/" + unit.toLatin1() + "]",
                  copy(page, pos("Sent/Received)", page) + 14, 8).trimmed());
        const QByteArray w = copy(page, pos("Sent/Received)", page) + 43, 50);
        const int slash = pos("/", w);
        EXPECT_EQ("12345.67", firstRun(copy(w, 1, slash - 1), 9, kNumeric));
        EXPECT_EQ("123456789.12", firstRun(copy(w, slash + 1, 15), 14, kNumeric));
    }
}

TEST(St585Pages, EventsPageCutKeepsEveryEvent)
{
    RouterState s;
    setAll(s, {{"log", "first event\nsecond event\nthird event\n"}});
    const QByteArray page = build(s, ProfileId::St585, PageKind::Events);
    QByteArray kept = copyFrom(page, pos("Recorded Events", page) + 27);
    kept = copy(kept, 1, pos("</form>", kept) - 10);
    EXPECT_TRUE(kept.startsWith("<table"));
    EXPECT_TRUE(kept.trimmed().endsWith("</table>"));
    EXPECT_EQ(3, count("height='3'", kept));
    EXPECT_EQ(2, count("class='oddrow'", kept));
    EXPECT_GT(pos("third event", kept), 0);

    setAll(s, {{"log", ""}});
    EXPECT_GT(pos("No events for this category.", build(s, ProfileId::St585, PageKind::Events)), 0);
}

TEST(SidePages, ConnectionPageShowsExactlyOneState)
{
    RouterState s;
    for (ProfileId p : {ProfileId::V1234, ProfileId::V5, ProfileId::Other}) {
        setAll(s, {{"state", "Connected"}});
        EXPECT_EQ("Connected", connectionState(build(s, p, PageKind::Connection)));
        setAll(s, {{"state", "Disconnected"}});
        const QByteArray down = build(s, p, PageKind::Connection);
        EXPECT_EQ("Disconnected", connectionState(down));
        EXPECT_EQ(0, pos("NOWRAP>Connect", down));
    }
}

TEST(SidePages, WanAddressAtEveryOffsetTheProgramUses)
{
    RouterState s;
    const QByteArray poeLabel = "<TD NOWRAP><B>Getting IP Addresses</B></td>";
    for (const QString ip : {"203.0.113.7", "1.2.3.4", "255.255.255.255"}) {
        setAll(s, {{"wan", ip}});
        const QByteArray poe = build(s, ProfileId::V1234, PageKind::WanAddress);
        EXPECT_EQ(ip.toLatin1(), wanSearch(poe, poeLabel, 0)); // v1234 forces offset 0
        EXPECT_EQ(ip.toLatin1(), wanSearch(build(s, ProfileId::Other, PageKind::WanAddress), poeLabel, 8)); // key default
        const QByteArray v5 = build(s, ProfileId::V5, PageKind::WanAddress);
        EXPECT_EQ(ip.toLatin1(), wanSearch(v5, "IP Address", 28));
    }
}

TEST(SidePages, LogTextSitsBetweenStartAndEndTexts)
{
    RouterState s;
    const QString log = "line one\nline two with [brackets] and 10.0.0.1\n";
    setAll(s, {{"log", log}});
    const QByteArray v1234 = build(s, ProfileId::V1234, PageKind::Log);
    EXPECT_EQ(log.toLatin1(), cutLog(v1234, "<TEXTAREA NAME=\"outlog_Display\"", 102, "</textarea>"));
    EXPECT_EQ(log.toLatin1(), cutLog(build(s, ProfileId::Other, PageKind::Log), "<TEXTAREA NAME=\"outlog_Display\"",
                                     102, "</textarea>"));
    EXPECT_EQ(log.toLatin1(), cutLog(build(s, ProfileId::V5, PageKind::Log), "<TEXTAREA", 99, "</textarea>"));
}

TEST(SidePages, ModelsServeOnlyTheirOwnPages)
{
    const RouterState s;
    EXPECT_TRUE(build(s, ProfileId::St585, PageKind::Reboot).isEmpty());
    EXPECT_TRUE(build(s, ProfileId::St585, PageKind::Debug).isEmpty());
    EXPECT_TRUE(build(s, ProfileId::V1234, PageKind::Link).isEmpty());
    EXPECT_TRUE(build(s, ProfileId::V5, PageKind::Events).isEmpty());
    EXPECT_TRUE(build(s, ProfileId::V1234, PageKind::None).isEmpty());
}
