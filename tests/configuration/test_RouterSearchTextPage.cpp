// The figure teaching page against the router simulator and made-up pages:
// fetching (bounded, with the "Connection Failed" page when nothing comes),
// selecting a figure in the rendered page or the source, marking it, the
// questions it asks, "Test", and the next poll reading what was taught.
#include "../mainwindow/SimWindowFixture.h"
#include "DialogTestSupport.h"
#include "LocalPageServer.h"
#include "PageBuilder.h"
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/FigureSearch.h"
#include "configuration/RouterSearchTextPage.h"
#include "configuration/TForm8.h"
#include "configuration/TForm9.h"
#include "configuration/UserLabelDialog.h"
#include "widgets/PageView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using dialogtest::openDialog;

namespace {

// A page with the figure after "...down</td><td>", an entity and line breaks
// before it so that source, pane and rendered positions all differ.
const QByteArray kTaughtPage =
    "<html>\r\n<head><title>Modem</title>\r\n<script>var a = \"12.5\";</script></head>\r\n<body>\r\n"
    "<h1>Line &amp; link</h1>\r\n<table>\r\n"
    "<tr><td>Speed down</td><td>1.234,5</td><td>kbps</td></tr>\r\n"
    "<tr><td>Uptime</td><td>01:02:03</td></tr>\r\n"
    "<tr><td>Noise margin down</td><td>12.5</td><td>dB</td></tr>\r\n"
    "</table>\r\n</body>\r\n</html>\r\n";

struct TeachPageTest : ::testing::Test {
    TSettings settings = dialogtest::defaults();
    RunState run;
    std::unique_ptr<RouterSearchTextPage> page;
    LocalPageServer server{"/status.htm", kTaughtPage};

    void SetUp() override
    {
        settings.Router.Login = QString::fromLatin1(server.url());
        settings.Router.Username = QStringLiteral("admin");
        settings.Router.Password = QStringLiteral("quillfen");
        settings.Router.ST585 = false;
        settings.System.IsDG834 = false;
    }

    void TearDown() override
    {
        page.reset();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(w))
                delete w;
    }

    void make(RouterSearchTextPage::Links links = {})
    {
        page = std::make_unique<RouterSearchTextPage>(settings, run, std::move(links));
        page->setTransferTimeoutMs(1000);
        page->resize(900, 560);
        page->show();
    }

    // Presses a fetch button and waits for the page to settle.
    bool press(QPushButton *button)
    {
        button->click();
        return testsupport::waitFor([&] { return !page->isFetching(); }, 30000);
    }

    // Selects text in the rendered view as the user would.
    void selectInViewer(const QString &text)
    {
        const QTextCursor found = page->Viewer->document()->find(text);
        ASSERT_FALSE(found.isNull()) << text.toStdString();
        page->Viewer->setTextCursor(found);
    }

    QString sourceSelection() const { return page->RichEdit1->textCursor().selectedText(); }
    QString boxText() const
    {
        QMessageBox *box = dialogtest::openBox();
        return box ? box->text() : QString();
    }
};

} // namespace

TEST_F(TeachPageTest, RxNoiseTaughtInTheRenderedPageIsReadByTheNextPoll)
{
    const QByteArray ini = "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[System]\nSystemMessages=1\nSample=1\n"
                           "[Router]\nLogin="
                           + server.url() + "\nUsername=admin\n";
    QTemporaryDir dir;
    const QString iniPath = dir.filePath(QStringLiteral("veltrano.ini"));
    testsupport::writeAll(iniPath, ini);
    qputenv("VELTRANO_INI", iniPath.toUtf8());
    auto form = std::make_unique<TForm1>(false);
    qunsetenv("VELTRANO_INI");
    page = std::make_unique<RouterSearchTextPage>(form->settings(), form->runState());
    page->show();

    ASSERT_TRUE(press(page->btnGetPage));
    const int at = int(page->pageText().indexOf(QStringLiteral("12.5</td><td>dB")));
    ASSERT_GT(at, 0);
    // The script's "12.5" is not shown; the cell is, and it maps to its source.
    selectInViewer(QStringLiteral("12.5"));
    EXPECT_EQ(sourceSelection(), QStringLiteral("12.5"));
    EXPECT_EQ(page->RichEdit1->textCursor().selectionStart(),
              at - page->pageText().left(at).count(QStringLiteral("\r\n")));
    // An entity selects its whole source.
    selectInViewer(QStringLiteral("Line & link"));
    EXPECT_EQ(sourceSelection(), QStringLiteral("Line &amp; link"));
    QTextCursor click = page->Viewer->textCursor();
    click.clearSelection();
    page->Viewer->setTextCursor(click);
    EXPECT_EQ(sourceSelection(), QString()) << "a click unselects";
    selectInViewer(QStringLiteral("12.5"));
    page->btnRxNoise->click();
    EXPECT_EQ(page->Label5->text(), QStringLiteral("Rx Noise: 12.5"));
    EXPECT_EQ(form->settings().Search.NoiseText, QStringLiteral("down</td><"));
    EXPECT_EQ(form->settings().Search.NoisePos, at - 30);

    form->btnStart->click();
    EXPECT_TRUE(testsupport::waitFor([&] { return form->runState().Figures.RxNoise == 12.5f; }, 10000))
        << form->runState().Figures.RxNoise;
    form->btnStop->click();
    page.reset();
}

TEST_F(TeachPageTest, TestReadsTheTaughtSyncInTheRoutersNumberStyle)
{
    settings.System.Numbering = 1;
    settings.NumberDecimalChar = QLatin1Char(',');
    settings.NumberGroupChar = QLatin1Char('.');
    make();
    ASSERT_TRUE(press(page->btnGetPage));
    selectInViewer(QStringLiteral("1.234,5"));
    page->btnSync->click();
    EXPECT_EQ(page->Label6->text(), QStringLiteral("Rx Sync: 1234.5"));

    page->Label6->clear();
    ASSERT_TRUE(press(page->btnTest));
    EXPECT_EQ(page->Label6->text(), QStringLiteral("Rx Sync: 1234.5"));
    EXPECT_FLOAT_EQ(run.Figures.RxSync, 1234.5f) << "the test's Rx sync is what the main window shows";
}

TEST_F(TeachPageTest, ATimeValueAsksBeforeItIsShown)
{
    int averaging = -1;
    QString chosen;
    RouterSearchTextPage::Links links;
    links.userAveragingEnabled = [&](int, bool enabled) { averaging = enabled; };
    links.userLabelChosen = [&](int figure, const QString &label) { chosen = QString::number(figure) + label; };
    make(std::move(links));
    QStringList labelled;
    QObject::connect(page.get(), &RouterSearchTextPage::userFigureLabelled, page.get(),
                     [&](int, const QString &label, const QString &toolbar, const QString &axis) {
                         labelled << label << toolbar << axis;
                     });
    ASSERT_TRUE(press(page->btnGetPage));

    for (const bool yes : {false, true}) {
        settings.Search.UserText.clear();
        selectInViewer(QStringLiteral("01:02:03"));
        page->btnUser->click();
        QMessageBox *question = dialogtest::openBox(page.get());
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->objectName(), QStringLiteral("TimeValueBox"));
        EXPECT_TRUE(question->text().startsWith(QStringLiteral("The marked text contains the \":\" character")));
        EXPECT_TRUE(settings.Graph.NotANumber);
        // Asked or not, the search text and position are stored.
        EXPECT_EQ(settings.Search.UserText, QStringLiteral("time</td><td>"));
        question->button(yes ? QMessageBox::Yes : QMessageBox::Cancel)->click();
        if (!yes) {
            EXPECT_FALSE(settings.Graph.NotANumber);
            EXPECT_EQ(page->Label16->text(), QString());
            continue;
        }
        UserLabelDialog *dialog = nullptr;
        ASSERT_TRUE(testsupport::waitFor([&] { return (dialog = openDialog<UserLabelDialog>()) != nullptr; }));
        EXPECT_EQ(averaging, 0) << "a time cannot be averaged";
        dialog->edUserLabel->setText(QStringLiteral("Line up time"));
        dialog->btnOK->click();
        EXPECT_EQ(page->Label16->text(), QStringLiteral("Line up time:  01:02:03"));
        EXPECT_EQ(page->btnUser->text(), QStringLiteral("Line up time"));
        EXPECT_EQ(settings.Capture.UserFile, QStringLiteral("Lineuptime"));
        EXPECT_EQ(chosen, QStringLiteral("1Line up time"));
        EXPECT_EQ(labelled, (QStringList{QStringLiteral("Line up time"), QStringLiteral("Line up time  0"),
                                         QStringLiteral("Line up time")}));
        EXPECT_FALSE(settings.Graph.NotANumber);
    }
}

TEST_F(TeachPageTest, MarksThatTeachNothingSaySoAndKeepWhatWasTaught)
{
    make();
    ASSERT_TRUE(press(page->btnGetPage));
    settings.Search.UNoiseText = QStringLiteral("kept");
    settings.Search.UNoisePos = 77;
    const struct {
        const char *select; // null: nothing selected
        QString message;
    } cases[] = {{nullptr, QStringLiteral("No \"search text\" has been selected.")},
                 {"kbps", QStringLiteral("The marked text does not contain a valid numerical value.")}};
    for (const auto &c : cases) {
        if (c.select)
            selectInViewer(QLatin1String(c.select));
        else
            page->RichEdit1->setTextCursor(QTextCursor(page->RichEdit1->document()));
        page->btnTxNoise->click();
        EXPECT_EQ(boxText(), c.message);
        delete dialogtest::openBox();
        EXPECT_EQ(settings.Search.UNoiseText, QStringLiteral("kept"));
        EXPECT_EQ(settings.Search.UNoisePos, 77);
        EXPECT_EQ(page->Label13->text(), QString());
    }
}

TEST_F(TeachPageTest, MissingLogInSettingsStopBeforeAnyRequest)
{
    RouterLoginValues edits;
    RouterSearchTextPage::Links links;
    links.loginValues = [&] { return edits; };
    make(std::move(links));
    const struct {
        QString login, user, password;
        bool userNotRequired;
        QPushButton *RouterSearchTextPage::*button;
        QString message; // empty: the fetch goes ahead
    } cases[] = {
        {{}, "admin", "x", false, &RouterSearchTextPage::btnGetPage, RouterSearchTextPage::loginMissingText()},
        {{}, "admin", "x", false, &RouterSearchTextPage::btnTest, RouterSearchTextPage::loginMissingText()},
        {server.url(), "", "x", false, &RouterSearchTextPage::btnTest, RouterSearchTextPage::credentialsMissingText()},
        {server.url(), "admin", "", false, &RouterSearchTextPage::btnTest,
         RouterSearchTextPage::credentialsMissingText()},
        // A router that needs no user name can be tested without one.
        {server.url(), "", "x", true, &RouterSearchTextPage::btnTest, {}},
    };
    for (const auto &c : cases) {
        const qsizetype before = server.requests().size();
        edits.Login = c.login;
        edits.Username = c.user;
        edits.Password = c.password;
        edits.UsernameNotRequired = c.userNotRequired;
        ASSERT_TRUE(press(page.get()->*c.button));
        EXPECT_EQ(settings.Router.Login, c.login) << "the edits are copied first";
        EXPECT_EQ(boxText(), c.message);
        EXPECT_EQ(server.requests().size(), before + (c.message.isEmpty() ? 1 : 0));
        delete dialogtest::openBox();
    }
}

struct SimPageTest : TeachPageTest {
    routersim::RouterSim sim;

    void SetUp() override
    {
        TeachPageTest::SetUp();
        routersim::RouterSimOptions o;
        o.control = false;
        o.telnet = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        settings.Router.Login =
            QStringLiteral("http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm").arg(sim.httpPort());
    }

    QStringList statusRequests() { return sim.journal().lines().filter(QStringLiteral("stattbl")); }
};

TEST_F(SimPageTest, FailedFetchesAreBoundedAndShowConnectionFailed)
{
    settings.System.IsDG834 = true;
    settings.System.Advise1 = true;
    make();
    for (const char *mode : {"hang", "close", "500", "401", "empty"}) {
        for (const bool getPage : {true, false}) {
            sim.journal().clear();
            sim.execute(QStringLiteral("fail status ") + QLatin1String(mode));
            bool finished = false;
            bool gotPage = true;
            const auto c = QObject::connect(page.get(), &RouterSearchTextPage::fetchFinished, page.get(),
                                            [&](bool p) { finished = true, gotPage = p; });
            ASSERT_TRUE(press(getPage ? page->btnGetPage : page->btnTest)) << mode;
            QObject::disconnect(c);
            EXPECT_TRUE(finished && !gotPage) << mode;
            EXPECT_EQ(statusRequests().size(), getPage ? 2 : 1) << mode;
            EXPECT_TRUE(page->Viewer->toPlainText().contains(QStringLiteral("Connection Failed"))) << mode;
            EXPECT_EQ(page->pageText().contains(QStringLiteral("Connection Failed")), getPage) << mode;
            EXPECT_EQ(page->Label5->text(), QString());
            // A page that did not come asks nothing about the router.
            EXPECT_EQ(openDialog<TForm9>(), nullptr) << mode;
            EXPECT_TRUE(page->btnGetPage->isEnabled());
        }
    }
}

TEST_F(SimPageTest, CredentialsGoOnlyWhenLogInIsOn)
{
    sim.execute(QStringLiteral("auth none"));
    settings.System.Advise = false;
    make();
    const struct {
        bool login, userNotRequired;
        const char *sent;
    } cases[] = {{true, false, "admin:quillfen"}, {true, true, ":quillfen"}, {false, false, "none"}};
    for (const auto &c : cases) {
        settings.Router.cbLogin = c.login;
        settings.Router.UsernameNotRequired = c.userNotRequired;
        sim.journal().clear();
        ASSERT_TRUE(press(page->btnGetPage));
        const QStringList lines = statusRequests();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines[0].split(QLatin1Char('\t')).value(4), QLatin1String(c.sent));
    }
}

TEST_F(SimPageTest, Dg834PageAsksOnceAndTheTestReadsItsLabels)
{
    make();
    ASSERT_TRUE(press(page->btnGetPage));
    EXPECT_TRUE(page->pageText().contains(QStringLiteral("content=\"DG834")));
    EXPECT_TRUE(page->Viewer->toPlainText().contains(QStringLiteral("Noise Margin")));
    TForm8 *question = nullptr;
    ASSERT_TRUE(testsupport::waitFor([&] { return (question = openDialog<TForm8>()) != nullptr; }));
    EXPECT_EQ(question->Label2->text(), QStringLiteral("Press 'OK' to confirm this is correct."));
    EXPECT_EQ(question->pos(), page->window()->geometry().topLeft() + QPoint(70, 100));
    EXPECT_TRUE(page->btnRxNoise->isEnabled());
    question->btnOK->click();
    EXPECT_TRUE(settings.System.IsDG834);
    EXPECT_FALSE(page->btnRxNoise->isEnabled()) << "the built-in search needs no teaching";
    EXPECT_TRUE(page->btnUser->isEnabled());

    run.Figures.RxSync = 99;
    ASSERT_TRUE(press(page->btnTest));
    EXPECT_EQ(page->Label5->text(), QStringLiteral("Rx Noise: 6.5"));
    EXPECT_EQ(page->Label13->text(), QStringLiteral("Tx Noise: 12.0"));
    EXPECT_EQ(page->Label6->text(), QStringLiteral("Rx Sync: 8128"));
    EXPECT_EQ(page->Label37->text(), QStringLiteral("Tx Sync: 448"));
    EXPECT_FLOAT_EQ(run.Figures.RxSync, 99) << "only the taught Rx sync goes to the main window";
    EXPECT_EQ(openDialog<TForm8>(), nullptr) << "Test asks nothing";
}

TEST_F(SimPageTest, St585LabelTaughtForUserFigure1IsReadByThePoll)
{
    sim.setProfile(routersim::ProfileId::St585);
    sim.execute(QStringLiteral("auth none"));
    settings.Router.Login = QStringLiteral("http://127.0.0.1:%1/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0").arg(sim.httpPort());
    settings.Router.ST585 = true;
    settings.System.IsDG834 = true; // even so: a 585 page asks nothing
    make();
    int labelled = 0;
    int tabRequests = 0;
    QObject::connect(page.get(), &RouterSearchTextPage::userFigureLabelled, page.get(), [&] { ++labelled; });
    QObject::connect(page.get(), &RouterSearchTextPage::userFigureTabRequested, page.get(), [&] { ++tabRequests; });
    ASSERT_TRUE(press(page->btnGetPage));
    EXPECT_EQ(openDialog<TForm9>(), nullptr);

    const QString label = QStringLiteral("FEC Errors (Up/Down):");
    page->selectSource(int(page->pageText().indexOf(label)), int(label.size()));
    page->btnUser->click();
    EXPECT_EQ(settings.Search.UserText, label);
    EXPECT_EQ(page->btnUser->text(), QStringLiteral("FEC Errors "));
    EXPECT_EQ(page->Label33->text(), QStringLiteral("FEC Errors ( (up)  0"));
    EXPECT_EQ(page->Label16->text(), QStringLiteral("FEC Errors ( (down)  1234"));
    EXPECT_EQ(labelled, 2);
    EXPECT_EQ(tabRequests, 1);

    const SampleFigures f =
        FigureSearch::run(FigureSearch::preparePage(page->pageText(), settings), settings, {}).Figures;
    EXPECT_DOUBLE_EQ(f.UserValue1, 0);
    EXPECT_DOUBLE_EQ(f.UserValue2, 1234);
}

TEST_F(SimPageTest, SourceOptionsShowTheTextThePollSearches)
{
    make();
    settings.System.Advise = false;
    for (const bool useSource : {true, false}) {
        settings.Search.UseSource = useSource;
        settings.Search.LoopBack = !useSource;
        page->sourceOptionChanged(true, false);
        EXPECT_EQ(boxText(), RouterSearchTextPage::refreshSourceText());
        delete dialogtest::openBox();
        EXPECT_TRUE(page->RichEdit1->isVisible());
        EXPECT_FALSE(page->Viewer->isVisible());
        ASSERT_TRUE(press(page->btnGetPage));
        const QString raw = QString::fromLatin1(
            routersim::PageBuilder(sim.state()).build(routersim::ProfileId::V1234, routersim::PageKind::Status));
        EXPECT_EQ(page->pageText(), FigureSearch::preparePage(raw, settings));
        EXPECT_EQ(page->pageText().contains(QStringLiteral(";\r\n")), useSource);
        EXPECT_EQ(page->pageText().contains(QStringLiteral("<td")), useSource);

        // Taught in the pane, read by the poll from the same text.
        const int at = int(page->pageText().indexOf(QStringLiteral("183412")));
        page->selectSource(at, 6);
        EXPECT_EQ(sourceSelection(), QStringLiteral("183412"));
        page->btnUser2->click();
        UserLabelDialog *dialog = nullptr;
        ASSERT_TRUE(testsupport::waitFor([&] { return (dialog = openDialog<UserLabelDialog>()) != nullptr; }));
        dialog->btnCancel->click();
        EXPECT_EQ(page->Label33->text(), settings.Graph.UserLabel2 + QStringLiteral(":  183412"));
        EXPECT_DOUBLE_EQ(FigureSearch::run(FigureSearch::preparePage(raw, settings), settings, {}).Figures.UserValue2,
                         183412);
    }
    page->sourceOptionChanged(false, false);
    EXPECT_TRUE(page->Viewer->isVisible());
    EXPECT_FALSE(page->RichEdit1->isVisible());
    EXPECT_EQ(page->pageText(), QString());
}

TEST_F(TeachPageTest, EveryControlIsNamedAndReachedByKeyboard)
{
    make();
    // The dialog's own option boxes join the page.
    auto *useSource = new QCheckBox(QStringLiteral("Use source A"));
    useSource->setObjectName(QStringLiteral("cbUseSource"));
    auto *loopback = new QCheckBox(QStringLiteral("Use source B"));
    loopback->setObjectName(QStringLiteral("cbLoopback"));
    page->addSourceOptions({useSource, loopback});
    EXPECT_EQ(dialogtest::unnamedControls(page.get()), QStringList());
    QStringList order;
    QWidget *w = page->btnGetPage;
    for (int i = 0; i < 14 && w; ++i, w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
    EXPECT_EQ(order.mid(0, 12),
              (QStringList{"btnGetPage", "btnTest", "btnRxNoise", "btnTxNoise", "btnSync", "btnTxSync", "btnUser",
                           "btnUser2", "cbUseSource", "cbLoopback", "Viewer", "RichEdit1"}));
    EXPECT_EQ(page->GroupBox1->title(), QStringLiteral("Mark "));
    EXPECT_EQ(page->objectName(), QStringLiteral("TabSheet2"));
}

// Shown for a SpeedTouch 585, the page offers only the one label it teaches:
// no second user figure, no test and no figure results.
TEST_F(TeachPageTest, St585ShowsOnlyWhatItTeaches)
{
    for (bool st585 : {true, false}) {
        SCOPED_TRACE(st585);
        settings.Router.ST585 = st585;
        make();
        page->TabSheet2Show();
        EXPECT_EQ(page->btnUser2->isEnabled(), !st585);
        EXPECT_EQ(page->btnTest->isEnabled(), !st585);
        EXPECT_TRUE(page->btnUser->isEnabled());
        for (QLabel *result : {page->Label5, page->Label6, page->Label13, page->Label37})
            EXPECT_EQ(result->isVisibleTo(page.get()), !st585) << result->objectName().toStdString();
        page.reset();
    }
}
