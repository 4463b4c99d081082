// The web server tab: start and stop with their texts, the controls as the
// settings' editors, the settings reaching the running server at once, the
// access log and the blocked list driven from it.
#include "../webserver/WebTestSupport.h"
#include "common/Clock.h"
#include "widgets/LinePane.h"
#include "pages/WebServerPage.h"
#include "mainwindow/WindowBindings.h"
#include "settings/SettingsHub.h"
#include "webserver/WebServer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

class WebServerPageTest : public ::testing::Test {
protected:
    WebServerPageTest()
    {
        Settings.WebServer.Webpage = folder.page;
        Settings.WebServer.LocalHost = QStringLiteral("127.0.0.1");
        Settings.WebServer.Port = QStringLiteral("0");
        Settings.WebServer.MaxUsers = 10;
        Settings.WebServer.WebRemPass = true;
        Settings.System.ShowSystem = true;
    }
    void SetUp() override { Clock::setInstance(&clock); }
    void TearDown() override { Clock::setInstance(nullptr); }

    std::unique_ptr<WebServerPage> makePage()
    {
        auto page = std::make_unique<WebServerPage>(hub);
        page->setSettingsFilePath(folder.settings);
        page->loadFromSettings();
        // Bound as the window binds it: the window's rows, the page's followers.
        binder = std::make_unique<LiveBinder>(hub);
        binder->bind(page.get(), windowBindings());
        binder->follow(page->followers());
        messages = std::make_unique<QSignalSpy>(page.get(), &WebServerPage::systemMessage);
        return page;
    }
    QStringList messageTexts() const
    {
        QStringList list;
        for (const QList<QVariant> &m : *messages)
            list << m[0].toString();
        return list;
    }
    static void type(QLineEdit *edit, const QString &text) { testsupport::typeText(edit, text); }
    quint16 port(const WebServerPage &page) const { return quint16(page.server()->port()); }

    webtest::WebFolder folder;
    TSettings Settings;
    SettingsHub hub{Settings};
    std::unique_ptr<LiveBinder> binder;
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 4, 34), Qt::UTC)};
    std::unique_ptr<QSignalSpy> messages;
};

} // namespace

TEST_F(WebServerPageTest, StartAndStopShowTheirState)
{
    auto page = makePage();
    EXPECT_EQ(page->Label43->text(), QStringLiteral("SERVER STOPPED"));
    page->btnWebStart->click();
    ASSERT_TRUE(page->isRunning());
    const QString where = QStringLiteral("127.0.0.1:%1").arg(port(*page));
    EXPECT_EQ(page->Label43->text(), QStringLiteral("SERVER RUNNING (http://") + where + QStringLiteral("/page.htm)"));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Listening for HTTP connections on ") + where + QLatin1Char('.')});
    EXPECT_TRUE(page->Panel31->isVisibleTo(page.get()));
    EXPECT_FALSE(page->edPort->isEnabled());
    EXPECT_FALSE(page->cbLocalHost->isEnabled());
    EXPECT_TRUE(Settings.WebServer.WebServer);
    EXPECT_EQ(webtest::request(port(*page), "/noise.jpg").status, 200);

    const quint16 was = port(*page);
    page->btnWebStop->click();
    EXPECT_FALSE(page->isRunning());
    EXPECT_EQ(messageTexts().last(), QStringLiteral("Web server stopped."));
    EXPECT_EQ(page->Label43->text(), QStringLiteral("SERVER STOPPED"));
    EXPECT_FALSE(page->Panel31->isVisibleTo(page.get()));
    EXPECT_TRUE(page->edPort->isEnabled());
    EXPECT_FALSE(page->btnWebStart->isChecked());
    EXPECT_FALSE(Settings.WebServer.WebServer);
    EXPECT_EQ(webtest::request(was, "/noise.jpg").status, 0);
}

TEST_F(WebServerPageTest, FailedStartReportsAndPutsStartBackUp)
{
    QTcpServer busy;
    ASSERT_TRUE(busy.listen(QHostAddress::LocalHost, 0));
    for (bool suppress : {false, true}) {
        Settings.System.SuppressErrors = suppress;
        auto page = makePage();
        type(page->edPort, QString::number(busy.serverPort()));
        page->btnWebStart->click();
        EXPECT_FALSE(page->isRunning());
        if (suppress)
            EXPECT_TRUE(messageTexts().isEmpty());
        else
            EXPECT_EQ(messageTexts(),
                      QStringList{QStringLiteral("Error: \"Could not bind socket. Address already in use\".  Web Server")});
        EXPECT_FALSE(page->btnWebStart->isChecked());
        EXPECT_TRUE(page->btnWebStop->isChecked());
        EXPECT_FALSE(Settings.WebServer.WebServer);
        EXPECT_TRUE(page->edPort->isEnabled());
        EXPECT_FALSE(page->Panel31->isVisibleTo(page.get()));
        EXPECT_EQ(page->Label43->text(), QStringLiteral("SERVER STOPPED"));
    }
}

// A typed port that is not one is never stored: the setting and the server's port stay as they were.
TEST_F(WebServerPageTest, PortTextGivesWebPort)
{
    auto page = makePage();
    EXPECT_EQ(page->webPort(), 0) << "as loaded";
    const struct {
        const char *text;
        int port;
        const char *stored;
    } cases[] = {{"81", 81, "81"},     {"8080", 8080, "8080"}, {" 82 ", 82, "82"}, {"abc", 82, "82"},
                 {"", 82, "82"},       {"70000", 82, "82"},    {"-1", 82, "82"},   {"0", 82, "82"},
                 {"65535", 65535, "65535"}};
    for (const auto &c : cases) {
        type(page->edPort, QLatin1String(c.text));
        EXPECT_EQ(page->webPort(), c.port) << c.text;
        EXPECT_EQ(Settings.WebServer.Port, QLatin1String(c.stored)) << c.text;
    }
    // Whoever changes the setting, the page's port and edit follow.
    hub.change([](TSettings &s) { s.WebServer.Port = QStringLiteral("8081"); });
    EXPECT_EQ(page->webPort(), 8081);
    EXPECT_EQ(page->edPort->text(), QStringLiteral("8081"));
}

TEST_F(WebServerPageTest, ControlsWriteTheirSettingsAtOnce)
{
    auto page = makePage();
    using W = TSettings::WebServerKeys;
    const std::pair<QCheckBox *, bool W::*> boxes[] = {
        {page->cbWebAuth, &W::WebAuth},       {page->cbWebRemPass, &W::WebRemPass},
        {page->cbDeleteTemp, &W::DeleteTemp}, {page->cbLowerCase, &W::LowerCase},
        {page->cbNoAccess, &W::NoSubFolders}, {page->cbLogWeb, &W::LogWeb},
        {page->cbBlocked, &W::Blocked},       {page->cbImageWithoutServer, &W::ImageWithoutServer},
    };
    for (const auto &[box, member] : boxes) {
        const bool before = Settings.WebServer.*member;
        EXPECT_EQ(box->isChecked(), before) << box->objectName().toStdString();
        box->click();
        EXPECT_EQ(Settings.WebServer.*member, !before) << box->objectName().toStdString();
    }
    type(page->edWebUser, QStringLiteral("admin"));
    type(page->edWebPassword, QStringLiteral("s3cret"));
    type(page->edWebPage, QStringLiteral("/srv/www/Index.htm"));
    page->cbLocalHost->setEditText(QStringLiteral("127.0.0.2"));
    EXPECT_EQ(Settings.WebServer.WebUser, QStringLiteral("admin"));
    EXPECT_EQ(Settings.WebServer.WebPassword, QStringLiteral("s3cret"));
    EXPECT_EQ(Settings.WebServer.Webpage, QStringLiteral("/srv/www/Index.htm"));
    EXPECT_EQ(Settings.WebServer.LocalHost, QStringLiteral("127.0.0.2"));
    page->cbLocalHost->setCurrentIndex(page->cbLocalHost->count() - 1);
    EXPECT_EQ(Settings.WebServer.LocalHost, QStringLiteral("0.0.0.0"));
}

// An empty address is kept empty, so the next start takes the machine's
// address again; the edit shows the one it stands for.
TEST_F(WebServerPageTest, AddressListEndsWithLoopbackAndAnyAndAnEmptyAddressStaysEmpty)
{
    Settings.WebServer.LocalHost.clear();
    auto page = makePage(); // not started: it would bind the machine's address
    const int n = page->cbLocalHost->count();
    ASSERT_GE(n, 2);
    EXPECT_EQ(page->cbLocalHost->itemText(n - 2), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(page->cbLocalHost->itemText(n - 1), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(n, WebServer::localAddresses().size() + 2);
    EXPECT_EQ(page->cbLocalHost->currentText(), QString());
    EXPECT_EQ(page->cbLocalHost->lineEdit()->placeholderText(), WebServer::defaultAddress());
    EXPECT_EQ(Settings.WebServer.LocalHost, QString());
}

TEST_F(WebServerPageTest, AuthenticationControlsFollowTheirSwitch)
{
    auto page = makePage();
    const QWidget *controls[] = {page->Label41, page->Label42, page->edWebUser, page->edWebPassword, page->cbWebRemPass};
    for (const QWidget *w : controls)
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    page->cbWebAuth->click();
    for (const QWidget *w : controls)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(WebServerPageTest, ChangedControlsReachTheRunningServer)
{
    auto page = makePage();
    page->btnWebStart->click();
    ASSERT_TRUE(page->isRunning());
    const quint16 p = port(*page);
    EXPECT_EQ(webtest::request(p, "/sub/inner.jpg").status, 403);
    page->cbNoAccess->click();
    EXPECT_EQ(webtest::request(p, "/sub/inner.jpg").status, 200);

    page->cbWebAuth->click();
    type(page->edWebUser, QStringLiteral("admin"));
    type(page->edWebPassword, QStringLiteral("s3cret"));
    EXPECT_EQ(webtest::request(p, "/noise.jpg").status, 401);
    EXPECT_EQ(webtest::request(p, "/noise.jpg", webtest::basicAuth("admin", "s3cret")).status, 200);
    // The settings file beside the page is never served.
    EXPECT_EQ(webtest::request(p, "/veltrano.ini", webtest::basicAuth("admin", "s3cret")).status, 403);
}

TEST_F(WebServerPageTest, AccessLogLinesReachTheList)
{
    auto page = makePage();
    page->cbLogWeb->click();
    page->btnWebStart->click();
    webtest::RawClient c(port(*page));
    c.send("GET /noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    c.readToEnd();
    ASSERT_TRUE(testsupport::waitFor([&] { return page->ListBox1->lineCount() == 1; }));
    EXPECT_EQ(page->ListBox1->lineAt(0),
              QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Command GET /noise.jpg received from 127.0.0.1:%1")
                  .arg(c.localPort()));

    // Without the system-messages tab there is no access log.
    Settings.System.ShowSystem = false;
    page->loadFromSettings();
    EXPECT_EQ(webtest::request(port(*page), "/noise.jpg").status, 200);
    testsupport::waitFor([] { return false; }, 200);
    EXPECT_EQ(page->ListBox1->lineCount(), 1);
}

TEST_F(WebServerPageTest, BlockingAndUnblockingTheSelectedClient)
{
    auto page = makePage();
    page->cbBlocked->click();
    page->btnWebStart->click();
    const quint16 p = port(*page);
    page->appendAccessLog({QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Command GET /noise.jpg received from 127.0.0.1:5000"),
                           QStringLiteral("127.0.0.1")});
    page->ListBox1->setCurrentRow(0);
    page->ListBox1Click();
    EXPECT_EQ(page->Label39->text(), QStringLiteral("Searching..."));
    ASSERT_TRUE(testsupport::waitFor([&] { return page->Label39->text() != QStringLiteral("Searching..."); }, 15000));
    EXPECT_FALSE(page->Label39->text().isEmpty());
    EXPECT_TRUE(page->btnClearWeb->isEnabled());
    ASSERT_TRUE(page->btnAddToBlocked->isEnabled());
    ASSERT_TRUE(page->btnRemoveFromBlocked->isEnabled());

    page->btnAddToBlocked->click();
    EXPECT_FALSE(page->btnAddToBlocked->isEnabled());
    EXPECT_EQ(testsupport::readAll(folder.root + QStringLiteral("/blocked.txt")), QByteArray("10.9.9.9\n127.0.0.1\n"));
    const webtest::HttpReply refused = webtest::request(p, "/noise.jpg");
    EXPECT_EQ(refused.status, 403);
    EXPECT_TRUE(refused.body.isEmpty());

    page->btnRemoveFromBlocked->click();
    EXPECT_FALSE(page->btnRemoveFromBlocked->isEnabled());
    EXPECT_EQ(testsupport::readAll(folder.root + QStringLiteral("/blocked.txt")), QByteArray("10.9.9.9\n"));
    EXPECT_EQ(webtest::request(p, "/noise.jpg").status, 200);

    page->btnClearWeb->click();
    EXPECT_TRUE(page->Label39->text().isEmpty());
    EXPECT_FALSE(page->btnClearWeb->isEnabled());
}

TEST_F(WebServerPageTest, RemovingWithoutAListReportsTheFileError)
{
    QFile::remove(folder.root + QStringLiteral("/blocked.txt"));
    auto page = makePage();
    page->appendAccessLog({QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Command GET /a.jpg received from 127.0.0.1:5000"),
                           QStringLiteral("127.0.0.1")});
    page->ListBox1->setCurrentRow(0);
    page->btnRemoveFromBlockedClick();
    ASSERT_EQ(messages->size(), 1);
    EXPECT_TRUE(messageTexts().first().contains(QStringLiteral("blocked.txt")));
    EXPECT_FALSE(QFile::exists(folder.root + QStringLiteral("/blocked.txt")));
    EXPECT_FALSE(QFile::exists(folder.root + QStringLiteral("/blocked.tmp")));
}

TEST_F(WebServerPageTest, EntriesWithoutAnIPv4AddressDoNothingWhateverTheirTextSays)
{
    auto page = makePage();
    page->cbBlocked->click();
    const QString before = testsupport::readAll(folder.root + QStringLiteral("/blocked.txt"));
    const struct {
        const char *line;
        const char *address;
    } entries[] = {
        {"  Sun 06 Dec 2026   09:04:34:  Server Started.", ""},
        // The text names an address; the entry has none.
        {"  Sun 06 Dec 2026   09:04:34:  Command GET /a.jpg received from 127.0.0.1:80", ""},
        {"  Sun 06 Dec 2026   09:04:34:  Command GET /a.jpg received from ::1:80", "::1"},
        {"  Sun 06 Dec 2026   09:04:34:  Command GET /a.jpg received from 256.1.1.1:80", "256.1.1.1"},
    };
    for (const auto &e : entries) {
        page->ListBox1->clear();
        page->appendAccessLog({QLatin1String(e.line), QLatin1String(e.address)});
        page->ListBox1->setCurrentRow(0);
        page->ListBox1Click();
        page->btnAddToBlockedClick();
        EXPECT_TRUE(page->Label39->text().isEmpty()) << e.line;
    }
    EXPECT_EQ(testsupport::readAll(folder.root + QStringLiteral("/blocked.txt")), before);
}

// A path written to forge a second entry, or an address, stays one escaped
// line, and Add acts on the address the server saw.
TEST_F(WebServerPageTest, AForgedPathIsOneLineAndBlockingActsOnTheRealClient)
{
    auto page = makePage();
    page->cbLogWeb->click();
    page->cbBlocked->click();
    page->btnWebStart->click();
    testsupport::writeAll(folder.root + QStringLiteral("/blocked.txt"), QByteArray());
    webtest::RawClient c(port(*page));
    // The forged text is a folder name that ".." takes back, so the file exists and is logged.
    c.send("GET /noise.jpg%0D%0A%20%20Sun%2006%20Dec%202026%20%20%2009:04:34:%20%20Command%20GET%20x"
           "%20received%20from%2010.9.9.9:80%E2%80%AE/../noise.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\n"
           "Connection: close\r\n\r\n");
    c.readToEnd();
    ASSERT_TRUE(testsupport::waitFor([&] { return page->ListBox1->lineCount() >= 1; }));
    ASSERT_EQ(page->ListBox1->lineCount(), 1);
    const QString line = page->ListBox1->lineAt(0);
    EXPECT_TRUE(line.contains(QStringLiteral("/noise.jpg\\x0D\\x0A  Sun 06 Dec"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("10.9.9.9:80\\u202E/../noise.jpg received from 127.0.0.1:")))
        << line.toStdString();

    page->ListBox1->setCurrentRow(0);
    page->ListBox1Click();
    ASSERT_TRUE(testsupport::waitFor([&] { return page->btnAddToBlocked->isEnabled(); }, 15000));
    page->btnAddToBlocked->click();
    EXPECT_EQ(testsupport::readAll(folder.root + QStringLiteral("/blocked.txt")), QByteArray("127.0.0.1\n"));
}

TEST_F(WebServerPageTest, ClearLogEmptiesTheListAndTheLookup)
{
    auto page = makePage();
    page->appendAccessLog({QStringLiteral("a line"), QStringLiteral("127.0.0.1")});
    page->Label39->setText(QStringLiteral("host"));
    page->btnClearWeb->setEnabled(true);
    page->btnAddToBlocked->setEnabled(true);
    page->btnClearWebLog->click();
    EXPECT_EQ(page->ListBox1->lineCount(), 0);
    EXPECT_TRUE(page->Label39->text().isEmpty());
    EXPECT_FALSE(page->btnClearWeb->isEnabled());
    EXPECT_FALSE(page->btnAddToBlocked->isEnabled());
}

TEST_F(WebServerPageTest, LaunchStartsTheServerUnlessSafe)
{
    Settings.WebServer.WebServer = true;
    {
        auto page = makePage();
        page->startAtLaunch(false);
        EXPECT_TRUE(page->isRunning());
        ASSERT_EQ(page->ListBox1->lineCount(), 1);
        EXPECT_EQ(page->ListBox1->lineAt(0), QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Server Started."));
        // Closing takes the server down and keeps the switch for the next start.
        page->deactivate();
        EXPECT_FALSE(page->isRunning());
        EXPECT_TRUE(page->btnWebStart->isChecked());
        EXPECT_TRUE(Settings.WebServer.WebServer);
    }
    auto safe = makePage();
    safe->startAtLaunch(true);
    EXPECT_FALSE(safe->isRunning());
    EXPECT_TRUE(safe->btnWebStop->isChecked());
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Web server stopped.")});
    EXPECT_EQ(safe->ListBox1->lineCount(), 0);
}

TEST_F(WebServerPageTest, ServerFailureIsReportedAsWebServerError)
{
    QFile::remove(folder.root + QStringLiteral("/blocked.txt"));
    QDir().mkdir(folder.root + QStringLiteral("/blocked.txt"));
    auto page = makePage();
    page->cbBlocked->click();
    page->btnWebStart->click();
    EXPECT_EQ(webtest::request(port(*page), "/noise.jpg").status, 500);
    EXPECT_TRUE(testsupport::waitFor([&] { return messageTexts().contains(QStringLiteral("Web Server Error.")); }));
}

TEST_F(WebServerPageTest, AccessLogCapIsTrimmedInOneStepKeepingTheNewest)
{
    auto page = makePage();
    page->setAccessLogCap(5);
    QSignalSpy removed(page->ListBox1->model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(page->ListBox1->model(), &QAbstractItemModel::rowsInserted);
    const auto lines = [](int from, int to) {
        QStringList l;
        for (int i = from; i < to; ++i)
            l << QStringLiteral("L%1").arg(i);
        return l;
    };
    const struct {
        QStringList batch;
        QStringList kept;
        int removals;
    } steps[] = {
        {lines(0, 3), lines(0, 3), 0},
        {lines(3, 9), lines(4, 9), 1},   // three old lines and one new one over the cap
        {lines(9, 21), lines(16, 21), 1}, // a batch larger than the cap
    };
    for (const auto &s : steps) {
        removed.clear();
        inserted.clear();
        QList<AccessLogEntry> batch;
        for (const QString &l : s.batch)
            batch.append({l, QString()});
        page->appendAccessLogLines(batch);
        QStringList shown;
        for (int i = 0; i < page->ListBox1->lineCount(); ++i)
            shown << page->ListBox1->lineAt(i);
        EXPECT_EQ(shown, s.kept);
        EXPECT_EQ(removed.size(), s.removals);
        EXPECT_EQ(inserted.size(), 1);
    }
}

TEST_F(WebServerPageTest, ABurstOfRequestsIsLoggedWholeAndInOrder)
{
    constexpr int kRequests = 400;
    for (int i = 0; i < kRequests; ++i)
        testsupport::writeAll(folder.root + QStringLiteral("/f%1.jpg").arg(i), "x");
    auto page = makePage();
    page->cbLogWeb->click();
    page->btnWebStart->click();
    webtest::RawClient c(port(*page));
    for (int i = 0; i < kRequests; ++i) {
        c.send(QByteArray("GET /f") + QByteArray::number(i) + ".jpg HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        ASSERT_EQ(webtest::parse(c.readReply()).status, 200) << i;
    }
    ASSERT_TRUE(testsupport::waitFor([&] { return page->ListBox1->lineCount() == kRequests; }));
    for (int i = 0; i < kRequests; ++i)
        ASSERT_TRUE(page->ListBox1->lineAt(i).contains(QStringLiteral("Command GET /f%1.jpg received").arg(i)))
            << i << ' ' << page->ListBox1->lineAt(i).toStdString();
}
