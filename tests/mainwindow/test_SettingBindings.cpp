// One setting, many views: whoever changes a setting shown in several places
// (a chart's box, its switch on the Options page, the Configuration dialog, a
// handler), every control and view that shows it follows at once; and a
// commit that changes nothing re-arms nothing.
#include "TestSupport.h"
#include "acquisition/BitLoadingRefresh.h"
#include "acquisition/TelnetSession.h"
#include "common/Clock.h"
#include "configuration/LiveBinder.h"
#include "configuration/RouterSearchTextPage.h"
#include "configuration/TForm2.h"
#include "pages/AlarmPage.h"
#include "pages/BitsTonePage.h"
#include "charts/CameraIndicators.h"
#include "chartimages/ChartPopupMenus.h"
#include "charts/ChartPageControls.h"
#include "charts/ChartSet.h"
#include "pages/PingControls.h"
#include "pages/StatusPageTab.h"
#include "pages/TargetSnrPage.h"
#include "pages/TelnetPage.h"
#include "pages/TerminalCommandBar.h"
#include "mainwindow/TForm1.h"
#include "pages/WebServerPage.h"
#include "notify/LogFileName.h"
#include "settings/SettingsHub.h"
#include "settings/SettingsKeys.h"
#include "OnlyChild.h"

#include <QAbstractButton>
#include <QLabel>
#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QVariant>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>
#include <qcustomplot.h>

using testsupport::onlyChild;

namespace {

struct BindingsTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    std::unique_ptr<TForm1> form;

    // Every router address of the file is on loopback; the web server too.
    TForm1 &open(const QByteArray &extra = {})
    {
        testsupport::writeAll(ini, testsupport::settingsFile(
                                       "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n"
                                       "[Router]\nTelnet=1\n"
                                       "Login=http://127.0.0.1:8081/setup.cgi?next_file=stattbl.htm\n"
                                       "LogOut=http://127.0.0.1:8081/setup.cgi?todo=logout\n"
                                       "[Alarm]\nRebootURL=http://127.0.0.1:8081/reboot\n[Telnet]\nTelnetIP=127.0.0.1\n"
                                       "[System]\nConf=1\n"
                                       + extra));
        qputenv("VELTRANO_INI", ini.toUtf8());
        form = std::make_unique<TForm1>(false);
        return *form;
    }
    void TearDown() override
    {
        form.reset();
        qunsetenv("VELTRANO_INI");
        testsupport::discardMessageBoxes();
    }

    TSettings &s() { return form->settings(); }
    template <typename T> T *dialogControl(const char *name)
    {
        return onlyChild<TForm2>(*form)->findChild<T *>(QLatin1String(name));
    }
    // A click, as the user makes it, that leaves the box as asked.
    static void setBox(QAbstractButton *box, bool on)
    {
        ASSERT_NE(box, nullptr);
        if (box->isChecked() != on)
            box->click();
    }
    void answerYes()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
                box->button(QMessageBox::Yes)->click();
                return;
            }
        ADD_FAILURE() << "no question was asked";
    }
    QTabWidget *telnetTabs()
    {
        for (int i = 0; i < form->PageControl1->count(); ++i)
            if (form->PageControl1->widget(i)->objectName() == QLatin1String("Telnet Router"))
                return form->PageControl1->widget(i)->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly);
        return nullptr;
    }
    // The MiBytes (ppp0) panes the telnet tab offers.
    int bytesPanesOffered()
    {
        int offered = 0;
        for (QWidget *pane : form->PageControl1->findChildren<QWidget *>(QStringLiteral("MiBytes (ppp0)")))
            if (auto *tabs = qobject_cast<QTabWidget *>(pane->parentWidget()->parentWidget()))
                offered += tabs->isTabVisible(tabs->indexOf(pane));
        return offered;
    }
    double pageLength(int chart)
    {
        ChartAxis bottom = onlyChild<ChartSet>(*form)->bottomAxis(chart);
        return bottom.maximum() - bottom.minimum();
    }
};

// A writer changes the setting to a value; a reader tells whether its view shows it.
struct Writer {
    const char *name;
    std::function<void(BindingsTest &, const QVariant &)> set;
    QVariant only = {}; // the one value this writer can write, when it is not free
};
struct Reader {
    const char *name;
    std::function<bool(BindingsTest &, const QVariant &)> shows;
};
struct Case {
    const char *setting;
    QByteArray file;
    QVariant values[2];
    std::vector<Writer> writers;
    std::vector<Reader> readers;
};

const char *const kTelnetPlotKeys[] = {"cbNoise",  "cbSync",  "cbICRC",     "cbIFEC",     "cbIHEC",
                                       "cbFastCRC", "cbFastFEC", "cbFastHEC", "cbUICRC",    "cbUIFEC",
                                       "cbUIHEC",  "cbUFastCRC", "cbUFastFEC", "cbUFastHEC"};
const int kTelnetPlotCharts[] = {16, 17, 5, 6, 7, 4, 8, 9, 12, 11, 10, 15, 14, 13};

std::vector<Case> cases()
{
    using T = BindingsTest;
    const auto box = [](int chart) {
        return [chart](T &t, const QVariant &v) { T::setBox(onlyChild<ChartPageControls>(*t.form)->box(chart), v.toBool()); };
    };
    const auto boxShows = [](int chart) {
        return [chart](T &t, const QVariant &v) { return onlyChild<ChartPageControls>(*t.form)->box(chart)->isChecked() == v.toBool(); };
    };
    using Option = QAbstractButton *(*)(BitsTonePage &);
    const auto option = [](Option get) {
        return [get](T &t, const QVariant &v) { T::setBox(get(*onlyChild<BitsTonePage>(*t.form)), v.toBool()); };
    };
    const auto optionShows = [](Option get) {
        return [get](T &t, const QVariant &v) { return get(*onlyChild<BitsTonePage>(*t.form))->isChecked() == v.toBool(); };
    };
    const Option cbBits = [](BitsTonePage &p) -> QAbstractButton * { return p.cbBits; };
    const Option cbBitswap = [](BitsTonePage &p) -> QAbstractButton * { return p.cbBitswap; };
    const Option cbSepHistogram = [](BitsTonePage &p) -> QAbstractButton * { return p.cbSepHistogram; };
    const auto change = [](std::function<void(TSettings &, const QVariant &)> f) {
        return [f](T &t, const QVariant &v) { onlyChild<SettingsHub>(*t.form)->change([&](TSettings &s) { f(s, v); }); };
    };
    const auto dialogCommit = [](std::function<void(T &, const QVariant &)> f) {
        return [f](T &t, const QVariant &v) {
            onlyChild<TForm2>(*t.form)->btnConfigureClick();
            f(t, v);
            onlyChild<TForm2>(*t.form)->close();
        };
    };
    std::vector<Case> all;
    all.push_back({"Telnet/BitsGraph", "[Telnet]\nBitsGraph=1\nBitswapGraph=1\n", {false, true},
                   {{"Chart21 box", box(21)},
                    {"Options box", option(cbBits)},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.Telnet.BitsGraph = v.toBool(); })}},
                   {{"Chart21 box", boxShows(21)},
                    {"Options box", optionShows(cbBits)},
                    {"bitswap boxes enabled only with it",
                     [](T &t, const QVariant &v) {
                         return onlyChild<ChartPageControls>(*t.form)->box(22)->isEnabled() == v.toBool()
                                && onlyChild<BitsTonePage>(*t.form)->cbBitswap->isEnabled() == v.toBool();
                     }},
                    {"bitswap graph cleared without it", [](T &t, const QVariant &v) {
                         return v.toBool()
                                || (!t.s().Telnet.BitswapGraph && !onlyChild<ChartPageControls>(*t.form)->box(22)->isChecked()
                                    && !onlyChild<BitsTonePage>(*t.form)->cbBitswap->isChecked());
                     }}}});
    all.push_back({"Telnet/BitswapGraph", "[Telnet]\nBitsGraph=1\nBitswapGraph=1\n", {false, true},
                   {{"Chart22 box", box(22)},
                    {"Options box", option(cbBitswap)}},
                   {{"Chart22 box", boxShows(22)},
                    {"Options box", optionShows(cbBitswap)},
                    {"setting", [](T &t, const QVariant &v) { return t.s().Telnet.BitswapGraph == v.toBool(); }}}});
    all.push_back({"Telnet/SepHistogram", "[Telnet]\nSepHistogram=0\n", {true, false},
                   {{"Chart29 box", box(29)},
                    {"Options box",
                     option(cbSepHistogram)}},
                   {{"Chart29 box", boxShows(29)},
                    {"Options box",
                     optionShows(cbSepHistogram)},
                    {"setting", [](T &t, const QVariant &v) { return t.s().Telnet.SepHistogram == v.toBool(); }}}});
    all.push_back({"the telnet plot boxes", "[Telnet]\ncbNoise=1\ncbSync=1\ncbICRC=1\ncbUFastHEC=1\n", {false, true},
                   {{"a handler",
                     change([](TSettings &s, const QVariant &v) {
                         for (const char *key : kTelnetPlotKeys)
                             findSettingsKey("Telnet", key)->ref<KeyType::Bool>(s) = v.toBool();
                     })},
                    {"the dialog's \"Plotting\" de-select",
                     [](T &t, const QVariant &) {
                         onlyChild<TForm2>(*t.form)->btnConfigureClick();
                         t.dialogControl<QAbstractButton>("btnDeselectAll")->click();
                         t.answerYes();
                         onlyChild<TForm2>(*t.form)->close();
                     },
                     false}},
                   {{"every chart box", [](T &t, const QVariant &v) {
                         for (int chart : kTelnetPlotCharts)
                             if (onlyChild<ChartPageControls>(*t.form)->box(chart)->isChecked() != v.toBool())
                                 return false;
                         return true;
                     }}}});
    all.push_back(
        {"Graph/UserLabel", "[Graph]\nUserLabel=User-def 1\nScaleUser1=1\nDiffUserDef=0\n", {"Line Att", "Noise dB"},
         {{"the dialog's label box",
           [](T &t, const QVariant &v) {
               onlyChild<TForm2>(*t.form)->btnConfigureClick();
               QLineEdit *edit = t.dialogControl<QLineEdit>("edUserlabel");
               edit->selectAll();
               QTest::keyClicks(edit, v.toString());
               onlyChild<TForm2>(*t.form)->close();
           }},
          {"a handler", change([](TSettings &s, const QVariant &v) { s.Graph.UserLabel = v.toString(); })}},
         {{"Chart3 title", [](T &t, const QVariant &v) { return onlyChild<ChartSet>(*t.form)->chart(3)->yAxis->label() == v.toString(); }},
          {"toolbar label", [](T &t, const QVariant &v) { return t.form->Label5->text() == v.toString() + "  0"; }},
          {"its page's caption, and not the telnet user figure's",
           [](T &t, const QVariant &v) {
               bool shown = false, telnetKept = false;
               for (QWidget *page : t.form->PageControl1->findChildren<QWidget *>(QStringLiteral("User-defined 1")))
                   if (auto *tabs = qobject_cast<QTabWidget *>(page->parentWidget()->parentWidget())) {
                       const QString text = tabs->tabText(tabs->indexOf(page));
                       if (tabs->parentWidget()->objectName() == QLatin1String("User-Defined"))
                           shown = text == v.toString();
                       else
                           telnetKept = text == t.form->settings().Telnet.Ch30;
                   }
               return shown && telnetKept;
           }},
          {"the search page's figure button and label",
           [](T &t, const QVariant &v) {
               RouterSearchTextPage *search = onlyChild<TForm2>(*t.form)->Search;
               return search->btnUser->text() == v.toString().left(11) && search->Label16->text() == v.toString();
           }},
          {"the dialog's label box",
           [](T &t, const QVariant &v) { return t.dialogControl<QLineEdit>("edUserlabel")->text() == v.toString(); }}}});
    const auto dayFile = [](T &t) {
        return statisticsLogFileName(t.s().System.LogFile, true, t.s().System.NewLogFormat, Clock::currentDateTime());
    };
    all.push_back(
        {"System/Log", "[System]\nLog=0\nNewLog=1\nNewLogFormat=yyyymmdd\n", {true, false},
         {{"the dialog's log box", dialogCommit([](T &t, const QVariant &v) { T::setBox(t.dialogControl<QAbstractButton>("cbLog"), v.toBool()); })},
          {"the status bar's menu", [](T &t, const QVariant &v) {
               if (t.s().System.Log != v.toBool())
                   t.form->mnuEnableLogClick();
           }}},
         {{"status-bar panel 3 names the day's file",
           [dayFile](T &t, const QVariant &v) {
               return t.form->statusPanel(3) == (v.toBool() ? dayFile(t) : QString());
           }},
          {"the dialog's log box",
           [](T &t, const QVariant &v) { return t.dialogControl<QAbstractButton>("cbLog")->isChecked() == v.toBool(); }}}});
    const auto family = [](const QVariant &v) {
        return v.toString() == QLatin1String("V4") ? "rbV4" : v.toString() == QLatin1String("V5") ? "rbV5Telnet" : "rbV123";
    };
    all.push_back({"the telnet family", "[Telnet]\nV123=0\nV4=1\n[Router]\nV5Telnet=0\n", {"V123", "V4"},
                   {{"the dialog's family radios",
                     dialogCommit([family](T &t, const QVariant &v) {
                         t.dialogControl<QAbstractButton>(family(v))->click();
                     })},
                    {"the dialog's family radios (version 5)",
                     dialogCommit([family](T &t, const QVariant &v) {
                         t.dialogControl<QAbstractButton>(family(v))->click();
                     }),
                     "V5"}},
                   {{"\"Set Target SNR\" shown for the adslctl family only", [](T &t, const QVariant &v) {
                         QTabWidget *tabs = t.telnetTabs();
                         QWidget *page = tabs ? tabs->findChild<QWidget *>(QStringLiteral("TabSheet41")) : nullptr;
                         return page && tabs->isTabVisible(tabs->indexOf(page)) == (v.toString() == QLatin1String("V4"));
                     }}}});
    all.push_back({"System/Points", "[System]\nPoints=250\nSample=20\n[Telnet]\nRefreshBitsEvery=60\nUseSameSamples=0\n",
                   {400, 250},
                   {{"the dialog's points box",
                     dialogCommit([](T &t, const QVariant &v) { t.dialogControl<QSpinBox>("spPoints")->setValue(v.toInt()); })},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.System.Points = v.toInt(); })}},
                   {{"the time charts' page", [](T &t, const QVariant &v) { return t.pageLength(1) == v.toInt(); }},
                    {"the bitswap chart's page, in refreshes", [](T &t, const QVariant &v) {
                         return t.pageLength(22) == BitLoadingRefresh::pageRefreshes(20, v.toInt(), 60, false);
                     }}}});
    const auto dialogBox = [](const char *name) {
        return [name](T &t, const QVariant &v) { return t.dialogControl<QAbstractButton>(name)->isChecked() == v.toBool(); };
    };
    all.push_back({"System/StayOnTop", "[System]\nStayOnTop=0\n", {true, false},
                   {{"the toolbar's On top button", [](T &t, const QVariant &v) {
                         if (t.form->btnOnTop->isChecked() != v.toBool())
                             t.form->btnOnTop->click();
                     }},
                    {"the dialog's box",
                     dialogCommit([](T &t, const QVariant &v) { T::setBox(t.dialogControl<QAbstractButton>("cbStayOnTop"), v.toBool()); })}},
                   {{"the toolbar's button", [](T &t, const QVariant &v) { return t.form->btnOnTop->isChecked() == v.toBool(); }},
                    {"the window stays on top",
                     [](T &t, const QVariant &v) {
                         return t.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == v.toBool();
                     }},
                    {"the dialog's box", dialogBox("cbStayOnTop")}}});
    all.push_back({"System/ShowNoise", "[System]\nShowNoise=1\n", {false, true},
                   {{"the tray menu", [](T &t, const QVariant &v) { t.form->mnuShowNoiseClick(v.toBool()); }},
                    {"the dialog's box",
                     dialogCommit([](T &t, const QVariant &v) { T::setBox(t.dialogControl<QAbstractButton>("cbShowNoise"), v.toBool()); })}},
                   {{"the alarm page's note", [](T &t, const QVariant &v) { return onlyChild<AlarmPage>(*t.form)->Label44->isHidden() == v.toBool(); }},
                    {"the dialog's box", dialogBox("cbShowNoise")}}});
    all.push_back({"Capture/Noise", "[Capture]\nNoise=0\nAllTheTime=1\nBetweenHours=0\nNever=0\n", {true, false},
                   {{"the dialog's box",
                     dialogCommit([](T &t, const QVariant &v) { T::setBox(t.dialogControl<QAbstractButton>("cbCaptureNoise"), v.toBool()); })},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.Capture.Noise = v.toBool(); })}},
                   {{"Chart1's capture picture", [](T &t, const QVariant &v) {
                         QLabel *active = onlyChild<CameraIndicators>(*t.form)->picture(1, CameraIndicators::Picture::Active);
                         return active && active->isHidden() != v.toBool();
                     }}}});
    // A setting changed outside the dialog is what its next commit keeps.
    all.push_back({"Graph/ShowGaps", "[Graph]\nShowGaps=1\n", {false, true},
                   {{"the chart menu", [](T &t, const QVariant &v) {
                         // Opened on a chart, the menu checks its items from the settings.
                         onlyChild<ChartPopupMenus>(*t.form)->ChartPopupPopup(1);
                         QAction *item = onlyChild<ChartPopupMenus>(*t.form)->action(QStringLiteral("ChartPopup"), QStringLiteral("mnuShowGaps"));
                         if (item->isChecked() != v.toBool())
                             item->trigger();
                     }},
                    {"the dialog's box",
                     dialogCommit([](T &t, const QVariant &v) { T::setBox(t.dialogControl<QAbstractButton>("cbShowGaps"), v.toBool()); })}},
                   {{"the dialog's box", dialogBox("cbShowGaps")},
                    {"the next commit", [](T &t, const QVariant &v) {
                         onlyChild<TForm2>(*t.form)->btnConfigureClick();
                         onlyChild<TForm2>(*t.form)->close();
                         return t.s().Graph.ShowGaps == v.toBool();
                     }}}});
    // The Web Server page's settings: its edits, a handler, the dialog's next commit.
    const auto typed = [](QLineEdit *(*get)(T &)) {
        return [get](T &t, const QVariant &v) { testsupport::typeText(get(t), v.toString()); };
    };
    const auto nextCommitKeeps = [](std::function<QVariant(T &)> get) {
        return [get](T &t, const QVariant &v) {
            onlyChild<TForm2>(*t.form)->btnConfigureClick();
            onlyChild<TForm2>(*t.form)->close();
            return get(t) == v;
        };
    };
    QLineEdit *(*edPort)(T &) = [](T &t) { return t.form->WebPage->edPort; };
    all.push_back({"WebServer/Port", {}, {"8082", "8083"},
                   {{"the page's port edit", typed(edPort)},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.WebServer.Port = v.toString(); })}},
                   {{"the page's port edit", [edPort](T &t, const QVariant &v) { return edPort(t)->text() == v.toString(); }},
                    {"the port the server starts on", [](T &t, const QVariant &v) { return t.form->WebPage->webPort() == v.toInt(); }},
                    {"the next commit", nextCommitKeeps([](T &t) { return QVariant(t.s().WebServer.Port); })}}});
    QLineEdit *(*edWebUser)(T &) = [](T &t) { return t.form->WebPage->edWebUser; };
    all.push_back({"WebServer/WebUser", "[WebServer]\nWebAuth=1\n", {"admin", "guest"},
                   {{"the page's user edit", typed(edWebUser)},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.WebServer.WebUser = v.toString(); })}},
                   {{"the page's user edit", [edWebUser](T &t, const QVariant &v) { return edWebUser(t)->text() == v.toString(); }},
                    {"the next commit", nextCommitKeeps([](T &t) { return QVariant(t.s().WebServer.WebUser); })}}});
    all.push_back({"WebServer/WebAuth", "[WebServer]\nWebAuth=0\n", {true, false},
                   {{"the page's box", [](T &t, const QVariant &v) { T::setBox(t.form->WebPage->cbWebAuth, v.toBool()); }},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.WebServer.WebAuth = v.toBool(); })}},
                   {{"the page's box", [](T &t, const QVariant &v) { return t.form->WebPage->cbWebAuth->isChecked() == v.toBool(); }},
                    {"the user and password edits enabled only with it",
                     [](T &t, const QVariant &v) {
                         return t.form->WebPage->edWebUser->isEnabled() == v.toBool()
                                && t.form->WebPage->edWebPassword->isEnabled() == v.toBool();
                     }},
                    {"the next commit", nextCommitKeeps([](T &t) { return QVariant(t.s().WebServer.WebAuth); })}}});
    all.push_back({"WebServer/ShowWeb", "[WebServer]\nShowWeb=1\n", {false, true},
                   {{"the dialog's box",
                     dialogCommit([](T &t, const QVariant &v) { T::setBox(t.dialogControl<QAbstractButton>("cbShowWeb"), v.toBool()); })},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.WebServer.ShowWeb = v.toBool(); })}},
                   {{"the page's tab", [](T &t, const QVariant &v) {
                         return t.form->PageControl1->isTabVisible(t.form->PageControl1->indexOf(t.form->WebPage)) == v.toBool();
                     }},
                    {"the dialog's box", dialogBox("cbShowWeb")}}});
    // The router's address: typed into the alarm page's reboot URL or the dialog's login URL, every URL follows.
    const auto hostIs = [](const QString &url, const QVariant &v) { return QUrl(url).host() == v.toString(); };
    all.push_back({"the router's address in its URLs",
                   "[Router]\nLogin=http://127.0.0.1/setup.cgi?next_file=stattbl.htm\n"
                   "[Alarm]\nRebootURL=http://127.0.0.1/setup.cgi?todo=reboot\n",
                   {"127.0.0.2", "127.0.0.3"},
                   {{"the alarm page's reboot URL",
                     [](T &t, const QVariant &v) {
                         testsupport::typeText(onlyChild<AlarmPage>(*t.form)->edReboot,
                                               QStringLiteral("http://%1/setup.cgi?todo=reboot").arg(v.toString()));
                     }},
                    {"the dialog's login URL", dialogCommit([](T &t, const QVariant &v) {
                         QLineEdit *edit = t.dialogControl<QLineEdit>("edLoginURL");
                         testsupport::typeText(edit, QStringLiteral("http://%1/setup.cgi?next_file=stattbl.htm").arg(v.toString()));
                         emit edit->editingFinished();
                     })}},
                   {{"the alarm page's reboot URL",
                     [hostIs](T &t, const QVariant &v) { return hostIs(onlyChild<AlarmPage>(*t.form)->edReboot->text(), v); }},
                    {"the dialog's login URL",
                     [hostIs](T &t, const QVariant &v) { return hostIs(t.dialogControl<QLineEdit>("edLoginURL")->text(), v); }},
                    {"the settings' login and reboot URLs", [hostIs](T &t, const QVariant &v) {
                         return hostIs(t.s().Router.Login, v) && hostIs(t.s().Alarm.RebootURL, v);
                     }}}});
    // The ping page shown or not: its tab, and the failure alarm it offers only while shown.
    all.push_back({"Ping/ShowPing", "[Ping]\nShowPing=1\nPing=1\n", {false, true},
                   {{"the dialog's box",
                     dialogCommit([](T &t, const QVariant &v) { T::setBox(t.dialogControl<QAbstractButton>("cbShowPing"), v.toBool()); })},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.Ping.ShowPing = v.toBool(); })}},
                   {{"the ping page's tab",
                     [](T &t, const QVariant &v) {
                         QTabWidget *tabs = t.form->PageControl1;
                         for (int i = 0; i < tabs->count(); ++i)
                             if (tabs->widget(i)->objectName() == QLatin1String("  Ping  "))
                                 return tabs->isTabVisible(i) == v.toBool();
                         return false;
                     }},
                    {"the failure alarm's controls",
                     [](T &t, const QVariant &v) {
                         return onlyChild<PingControls>(*t.form)->cbPingFail->isEnabled() == v.toBool()
                                && onlyChild<PingControls>(*t.form)->spPingFail->isEnabled() == v.toBool();
                     }},
                    {"the dialog's box", dialogBox("cbShowPing")}}});
    // A packet count typed or written out of range comes back to the nearest the ping takes.
    all.push_back({"Ping/PingNum", "[Ping]\nPingNum=1\n", {2, 5},
                   {{"the ping page's box", [](T &t, const QVariant &v) { onlyChild<PingControls>(*t.form)->spPingNum->setValue(v.toInt()); }},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.Ping.PingNum = v.toInt(); })}},
                   {{"the ping page's box",
                     [](T &t, const QVariant &v) { return onlyChild<PingControls>(*t.form)->spPingNum->value() == qMin(v.toInt(), 3); }},
                    {"the setting", [](T &t, const QVariant &v) { return t.s().Ping.PingNum == qMin(v.toInt(), 3); }}}});
    // The window's own boxes and edits of settings no dialog shows: each is its setting's editor, and
    // whatever changes the setting the box, the views that depend on it and the saved file agree.
    const auto savedAs = [](const char *section, const char *key, std::function<QString(const QVariant &)> text) {
        return Reader{"the saved file", [section, key, text](T &t, const QVariant &v) { // saved as the user saves
            QTest::mouseClick(t.form->btnSave, Qt::LeftButton);
            return testsupport::iniValue(testsupport::readAll(t.ini), section, key) == text(v);
        }};
    };
    const auto flag = [](const QVariant &v) { return v.toBool() ? QStringLiteral("1") : QStringLiteral("0"); };
    const auto asText = [](const QVariant &v) { return v.toString(); };
    const auto extendedBox = [](T &t) { return onlyChild<TelnetPage>(*t.form)->cbExtended; };
    all.push_back({"Telnet/Extended", "[Telnet]\nV123=1\nExtended=0\n", {true, false},
                   {{"the Summary's \"Extended stats\" box", [extendedBox](T &t, const QVariant &v) { T::setBox(extendedBox(t), v.toBool()); }},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.Telnet.Extended = v.toBool(); })}},
                   {{"the box", [extendedBox](T &t, const QVariant &v) { return extendedBox(t)->isChecked() == v.toBool(); }},
                    {"the MiBytes panes offered", [](T &t, const QVariant &v) { return t.bytesPanesOffered() == (v.toBool() ? 2 : 0); }},
                    savedAs("Telnet", "Extended", flag)}});
    // The "adsl info" family turns it on itself, with the box checked and locked.
    all.push_back({"Telnet/Extended (the \"adsl info\" family)", "[Router]\nV5Telnet=1\n[Telnet]\nV123=0\nExtended=0\n", {true},
                   {{"the Summary's Refresh", [](T &t, const QVariant &) { onlyChild<TelnetSession>(*t.form)->btnRefreshClick(); },
                     true}},
                   {{"the box, checked and locked",
                     [extendedBox](T &t, const QVariant &) { return extendedBox(t)->isChecked() && !extendedBox(t)->isEnabled(); }},
                    {"the MiBytes panes offered", [](T &t, const QVariant &) { return t.bytesPanesOffered() == 2; }},
                    savedAs("Telnet", "Extended", flag)}});
    all.push_back({"System/Refresh", "[System]\nRefresh=0\n", {true, false},
                   {{"the status page's box", [](T &t, const QVariant &v) { T::setBox(t.form->StatusPage->cbRefresh, v.toBool()); }},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.System.Refresh = v.toBool(); })}},
                   {{"the box", [](T &t, const QVariant &v) { return t.form->StatusPage->cbRefresh->isChecked() == v.toBool(); }},
                    savedAs("System", "Refresh", flag)}});
    for (const auto &[setting, control, key] : {std::tuple{"Telnet/Default", "edNormalSNR", "Default"},
                                                std::tuple{"Telnet/Target", "edDesiredSNR", "Target"}}) {
        const char *name = control, *k = key;
        const auto edit = [name](T &t) { return onlyChild<TargetSnrPage>(*t.form)->findChild<QLineEdit *>(QLatin1String(name)); };
        all.push_back({setting, "[Telnet]\nV4=1\nV123=0\nTelnetCmd=adslctl info --stats\n", {"9", "12.5"},
                       {{"typed into the target SNR page", [edit](T &t, const QVariant &v) {
                             onlyChild<TargetSnrPage>(*t.form)->TabSheet41Show(); // shown: both edits open for adslctl
                             testsupport::typeOver(edit(t), v.toString());
                         }},
                        {"a handler", change([k](TSettings &s, const QVariant &v) {
                             findSettingsKey("Telnet", k)->ref<KeyType::NumberText>(s) = v.toString();
                         })}},
                       {{"the edit", [edit](T &t, const QVariant &v) { return edit(t)->text() == v.toString(); }},
                        savedAs("Telnet", key, asText)}});
    }
    all.push_back({"System/SystemMessages", "[System]\nSystemMessages=1\n", {false, true},
                   {{"the messages page's box", [](T &t, const QVariant &v) { T::setBox(t.form->cbEnableSystem, v.toBool()); }},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.System.SystemMessages = v.toBool(); })}},
                   {{"the box", [](T &t, const QVariant &v) { return t.form->cbEnableSystem->isChecked() == v.toBool(); }},
                    savedAs("System", "SystemMessages", flag)}});
    const auto userCommandMenu = [](T &t) {
        TerminalCommandBar *bar = onlyChild<TerminalCommandBar>(*t.form);
        emit bar->popupTelnetOptions->aboutToShow();
        return bar;
    };
    all.push_back({"Telnet/User1", {}, {"cat /proc/version", "uptime"},
                   {{"\"Change user defined...\" answered", [userCommandMenu](T &t, const QVariant &v) {
                         userCommandMenu(t)->Userdefined11->trigger();
                         auto *ask = t.form->findChild<QInputDialog *>(QStringLiteral("UserCommandInput"));
                         ASSERT_NE(ask, nullptr);
                         testsupport::typeOver(ask->findChild<QLineEdit *>(), v.toString());
                         ask->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
                     }},
                    {"a handler", change([](TSettings &s, const QVariant &v) { s.Telnet.User1 = v.toString(); })}},
                   {{"the command menu's items",
                     [userCommandMenu](T &t, const QVariant &v) {
                         TerminalCommandBar *bar = userCommandMenu(t);
                         return bar->mnuUser1->text() == v.toString() && bar->Userdefined11->text() == v.toString();
                     }},
                    savedAs("Telnet", "User1", asText)}});
    return all;
}

} // namespace

TEST_F(BindingsTest, EveryWriterOfASettingReachesEveryReader)
{
    ManualClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0)));
    Clock::setInstance(&clock);
    for (const Case &c : cases()) {
        for (const Writer &w : c.writers) {
            open(c.file);
            EXPECT_EQ(onlyChild<LiveBinder>(*form)->problems(), QStringList()) << "every row and follower names a real key";
            for (const QVariant &value : c.values) {
                const QVariant v = w.only.isValid() ? w.only : value;
                w.set(*this, v);
                for (const Reader &r : c.readers)
                    EXPECT_TRUE(r.shows(*this, v))
                        << c.setting << " written by " << w.name << " as " << v.toString().toStdString()
                        << ": not shown by " << r.name;
                if (w.only.isValid())
                    break;
            }
            TearDown();
        }
    }
    Clock::setInstance(nullptr);
}

TEST_F(BindingsTest, ClickingThroughTheDialogLeavesThePollingTimerAlone)
{
    open("[System]\nSample=5\nLog=1\nLogFile=" + dir.filePath(QStringLiteral("stats.txt")).toUtf8()
         + "\n[Log]\nLogAtEvery=1\nLogAtInterval=5\n");
    form->Timer1->start();
    form->tmrLogAt->start();
    const int restarts = form->Timer1->restarts();
    const int logRestarts = form->tmrLogAt->restarts();
    TForm2 *dialog = onlyChild<TForm2>(*form);
    dialog->btnConfigureClick();
    // Every main page, and every telnet sub-page: each switch commits and saves.
    for (int i = 0; i < dialog->PageControl1->count(); ++i)
        dialog->PageControl1->setCurrentIndex(i);
    for (int i = 0; i < dialog->PageControl4->count(); ++i)
        dialog->PageControl4->setCurrentIndex(i);
    dialog->close();
    EXPECT_TRUE(testsupport::readAll(ini).contains("Conf=1"));
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 5000);
    EXPECT_EQ(form->Timer1->restarts(), restarts);
    EXPECT_TRUE(form->tmrLogAt->isActive());
    EXPECT_EQ(form->tmrLogAt->restarts(), logRestarts);

    // A real change re-arms it, once.
    dialog->btnConfigureClick();
    dialogControl<QSpinBox>("spSample")->setValue(7);
    dialog->PageControl1->setCurrentIndex(0);
    dialog->close();
    EXPECT_EQ(form->Timer1->interval(), 7000);
    EXPECT_EQ(form->Timer1->restarts(), restarts + 1);
}

// Happenings in the dialog and the menus that the window acts on, each with one receiver.
TEST_F(BindingsTest, DialogAndMenuHappeningsReachTheWindow)
{
    open("[Capture]\nNoise=1\nAllTheTime=1\nBetweenHours=0\nNever=0\n[System]\nIsDG834=0\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);

    // Marking a SpeedTouch figure brings the first user-figure page to the front.
    dialog->Search->userFigureTabRequested();
    QWidget *userPage = onlyChild<ChartSet>(*form)->chart(3)->parentWidget();
    int levels = 0, fronted = 0;
    for (QWidget *w = userPage; w != form->PageControl1; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
            tabs && tabs->indexOf(w) >= 0) {
            ++levels;
            fronted += tabs->currentWidget() == w;
        }
    EXPECT_GE(levels, 1);
    EXPECT_EQ(fronted, levels);
    EXPECT_EQ(form->PageControl1->currentWidget()->isAncestorOf(userPage), true);

    // Opening a status-page chart's menu shows the capture pictures as the schedule stands now.
    QLabel *active = onlyChild<CameraIndicators>(*form)->picture(1, CameraIndicators::Picture::Active);
    ASSERT_NE(active, nullptr);
    EXPECT_FALSE(active->isHidden());
    form->settings().Capture.Noise = false; // as a handler that has not told anyone yet
    emit onlyChild<ChartPopupMenus>(*form)->menu(QStringLiteral("ChartPopup"))->aboutToShow();
    EXPECT_TRUE(active->isHidden());

    // Showing the search page offers the alarm page's state box to DG834 routers only.
    for (bool dg834 : {true, false}) {
        form->settings().System.IsDG834 = dg834;
        dialog->btnConfigureClick();
        dialog->PageControl1->setCurrentWidget(dialog->Search);
        EXPECT_EQ(onlyChild<AlarmPage>(*form)->cbState->isEnabled(), dg834);
        dialog->PageControl1->setCurrentIndex(0);
        dialog->close();
    }
}

// "Use source B" in the file, on a router without the built-in search: the status page's "every
// sample" box is off and locked from the start.
TEST_F(BindingsTest, SourceBFromTheFileLocksTheStatusPageRefreshAtStart)
{
    for (const bool sourceB : {true, false}) {
        open(QByteArray("[Search]\nLoopBack=") + (sourceB ? "1" : "0") + "\n[System]\nRefresh=1\n[Router]\nV1234=0\nV5=0\n");
        EXPECT_EQ(form->StatusPage->cbRefresh->isEnabled(), !sourceB);
        EXPECT_EQ(s().System.Refresh, !sourceB);
        TearDown();
    }
}
