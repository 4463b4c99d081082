// Finding and naming the window's pages by their names: the telnet tabs' captions by path, the
// bit-loading options page moving between the two tone pages, the status-page user charts' captions.
#include "pages/TelnetReplyView.h"
#include "pages/WindowPages.h"
#include "settings/TSettings.h"

#include <QTabWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A page named `name` on `tabs`, holding a tab widget of its own when `nested`.
QWidget *addPage(QTabWidget *tabs, const QString &name, QTabWidget **inner = nullptr)
{
    auto *page = new QWidget;
    page->setObjectName(name);
    new QVBoxLayout(page);
    tabs->addTab(page, name);
    if (inner) {
        *inner = new QTabWidget(page);
        page->layout()->addWidget(*inner);
    }
    return page;
}

QString tabText(QTabWidget *tabs, const QString &name)
{
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->objectName() == name)
            return tabs->tabText(i);
    return QStringLiteral("<none>");
}

// Telnet Router > {Rx Interleaved > MiBytes (ppp0), MiBytes (ppp0)}: the same name on two levels.
struct TelnetTree {
    QTabWidget pages;
    QTabWidget *telnet = nullptr;
    QTabWidget *rx = nullptr;
    TelnetTree()
    {
        addPage(&pages, QStringLiteral("Telnet Router"), &telnet);
        addPage(telnet, QStringLiteral("Rx Interleaved"), &rx);
        addPage(rx, QStringLiteral("MiBytes (ppp0)"));
        addPage(telnet, QStringLiteral("MiBytes (ppp0)"));
    }
};

struct CaptionCase {
    const char *path;
    const char *rxCaption;    // the nested page's tab afterwards
    const char *topCaption;   // the same name one level up
    const char *rxOwnCaption; // "Rx Interleaved" itself
};

class TelnetTabCaptions : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(TelnetTabCaptions, OnlyThePathsLastPageIsRenamed)
{
    const CaptionCase &c = GetParam();
    TelnetTree t;
    telnetreply::setTabCaption(&t.pages, QString::fromUtf8(c.path), QStringLiteral("New"));
    EXPECT_EQ(tabText(t.rx, QStringLiteral("MiBytes (ppp0)")), QString::fromUtf8(c.rxCaption));
    EXPECT_EQ(tabText(t.telnet, QStringLiteral("MiBytes (ppp0)")), QString::fromUtf8(c.topCaption));
    EXPECT_EQ(tabText(t.telnet, QStringLiteral("Rx Interleaved")), QString::fromUtf8(c.rxOwnCaption));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TelnetTabCaptions,
    ::testing::Values(CaptionCase{"Rx Interleaved > MiBytes (ppp0)", "New", "MiBytes (ppp0)", "Rx Interleaved"},
                      CaptionCase{"MiBytes (ppp0)", "MiBytes (ppp0)", "New", "Rx Interleaved"},
                      CaptionCase{"Rx Interleaved", "MiBytes (ppp0)", "MiBytes (ppp0)", "New"},
                      // A path that leaves the tree renames nothing on the way.
                      CaptionCase{"Tx Interleaved > MiBytes (ppp0)", "MiBytes (ppp0)", "MiBytes (ppp0)",
                                  "Rx Interleaved"},
                      CaptionCase{"Rx Interleaved > Nothing", "MiBytes (ppp0)", "MiBytes (ppp0)",
                                  "Rx Interleaved"}));

// "Bits / Tone" and the SpeedTouch 585's "Bitloading", each with charts on a tab widget of its own.
struct TonePages {
    QTabWidget pages;
    QTabWidget *bits = nullptr;
    QTabWidget *st585 = nullptr;
    QWidget *page585 = nullptr;
    QWidget *options = new QWidget;
    TonePages()
    {
        addPage(&pages, QStringLiteral("Bits / Tone"), &bits);
        addPage(bits, QStringLiteral("Chart"));
        page585 = addPage(&pages, QStringLiteral("Bitloading"), &st585);
        addPage(st585, QStringLiteral("Chart"));
        pages.setTabVisible(pages.indexOf(page585), false);
        bits->addTab(options, QStringLiteral("Options"));
        options->setObjectName(QStringLiteral("TabSheetBitsOptionsScroll"));
    }
};

TEST(BitsOptionsPage, SitsBesideOneFamilysChartsAtATime)
{
    TonePages t;
    const struct {
        bool speedTouch;
        QTabWidget *TonePages::*host;
        QTabWidget *TonePages::*other;
        const char *name;
    } steps[] = {{true, &TonePages::st585, &TonePages::bits, "TabSheet55"},
                 {true, &TonePages::st585, &TonePages::bits, "TabSheet55"}, // already there: stays once
                 {false, &TonePages::bits, &TonePages::st585, "TabSheetBitsOptionsScroll"}};
    for (const auto &s : steps) {
        windowpages::placeBitsOptions(&t.pages, t.options, s.speedTouch);
        QTabWidget *host = t.*(s.host);
        EXPECT_EQ(host->count(), 2) << s.name;
        EXPECT_EQ(host->indexOf(t.options), 1) << s.name;
        EXPECT_EQ(host->tabText(1), QStringLiteral("Options")) << s.name;
        EXPECT_EQ((t.*(s.other))->indexOf(t.options), -1) << s.name;
        EXPECT_EQ(t.options->objectName(), QString::fromLatin1(s.name));
    }
    windowpages::placeBitsOptions(&t.pages, nullptr, true); // no options page: nothing to move
    EXPECT_EQ(t.st585->count(), 1);
}

TEST(BitsOptionsPage, OptionsButtonShowsTheSpeedTouchPageWithItsOptionsInFront)
{
    TonePages t;
    windowpages::showBitsOptions(&t.pages, t.options);
    EXPECT_TRUE(t.pages.isTabVisible(t.pages.indexOf(t.page585)));
    EXPECT_EQ(t.pages.currentWidget(), t.page585);
    EXPECT_EQ(t.st585->currentWidget(), t.options);
    EXPECT_EQ(t.bits->indexOf(t.options), -1);

    TonePages none;
    delete none.page585; // no SpeedTouch page: the options stay where they are
    windowpages::showBitsOptions(&none.pages, none.options);
    EXPECT_EQ(none.bits->indexOf(none.options), 1);
}

TEST(LastPage, TheStoredPageUnlessHiddenThenTheFirstShown)
{
    const struct {
        const char *visible; // one character a page: 1 shown, 0 hidden
        int last;
        int expected;
    } cases[] = {{"1111", 2, 2}, {"1111", 9, 3}, {"1111", -3, 0}, {"1101", 2, 0},
                 {"0011", 0, 2}, {"0010", 3, 2}, {"0000", 1, 3}, {"", 4, -1}};
    for (const auto &c : cases) {
        QTabWidget pages;
        const QString visible = QString::fromLatin1(c.visible);
        for (int i = 0; i < visible.size(); ++i) {
            addPage(&pages, QString::number(i));
            pages.setTabVisible(i, visible[i] == QLatin1Char('1'));
        }
        pages.setCurrentIndex(visible.isEmpty() ? -1 : 1);
        windowpages::showLastPage(&pages, c.last);
        EXPECT_EQ(pages.currentIndex(), c.expected) << c.visible << " last " << c.last;
    }
}

TEST(UserPageCaptions, OnlyTheStatusPagesUserChartsAreRenamed)
{
    QTabWidget pages;
    QTabWidget *userDefined = nullptr;
    QTabWidget *telnet = nullptr;
    addPage(&pages, QStringLiteral("User-Defined"), &userDefined);
    addPage(userDefined, QStringLiteral("User-defined 1"));
    addPage(userDefined, QStringLiteral("User-defined 2"));
    // The telnet user figures have pages of their own with the same names.
    addPage(&pages, QStringLiteral("Telnet Router"), &telnet);
    addPage(telnet, QStringLiteral("User-defined 1"));
    for (const auto &[figure, caption] : {std::pair{1, "Rx bytes"}, std::pair{2, "Tx bytes"}})
        windowpages::setUserPageCaption(&pages, figure, QString::fromLatin1(caption));
    EXPECT_EQ(tabText(userDefined, QStringLiteral("User-defined 1")), QStringLiteral("Rx bytes"));
    EXPECT_EQ(tabText(userDefined, QStringLiteral("User-defined 2")), QStringLiteral("Tx bytes"));
    EXPECT_EQ(tabText(telnet, QStringLiteral("User-defined 1")), QStringLiteral("User-defined 1"));
}

} // namespace
