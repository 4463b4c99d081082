// The web server's answers, decided without sockets: authentication, the
// blocked list, the served folder and its sub-folders, files that are never
// served, and the access-log line each request leaves.
#include "WebTestSupport.h"
#include "common/Clock.h"
#include "webserver/BlockedList.h"
#include "webserver/WebRequestHandler.h"

#include <gtest/gtest.h>

namespace {

enum class Body { File, AccessDenied, NotFound, Empty, ServerError };
enum class Log { None, Plain, Blocked };

struct Case {
    const char *name;
    const char *document;
    bool allowSubFolders;
    bool blockedClient; // the client's address is in blocked.txt
    bool dontLogBlocked;
    int status;
    Body body;
    Log log;
};

const Case kCases[] = {
    {"file", "/noise.jpg", false, false, false, 200, Body::File, Log::Plain},
    {"names are case-sensitive", "/NOISE.JPG", false, false, false, 404, Body::NotFound, Log::None},
    {"no default page", "/", false, false, false, 404, Body::NotFound, Log::None},
    {"missing file", "/none.jpg", false, false, false, 404, Body::NotFound, Log::None},
    {"sub-folder refused", "/sub/inner.jpg", false, false, false, 403, Body::AccessDenied, Log::None},
    {"missing file in a sub-folder refused", "/sub/none.jpg", false, false, false, 403, Body::AccessDenied, Log::None},
    {"sub-folder allowed", "/sub/inner.jpg", true, false, false, 200, Body::File, Log::Plain},
    {"a folder is not a file", "/sub", true, false, false, 404, Body::NotFound, Log::None},
    {"link to a sub-folder's file", "/link-sub/inner.jpg", false, false, false, 403, Body::AccessDenied, Log::None},
    {"link inside", "/link-in", false, false, false, 200, Body::File, Log::Plain},
    {"outside by ..", "/../outside.txt", true, false, false, 403, Body::AccessDenied, Log::None},
    {"missing outside by ..", "/../missing.txt", true, false, false, 403, Body::AccessDenied, Log::None},
    {"outside by link", "/link-file", true, false, false, 403, Body::AccessDenied, Log::None},
    {"outside by folder link", "/link-out/outside.txt", true, false, false, 403, Body::AccessDenied, Log::None},
    {"dangling link out", "/dangling-out", true, false, false, 403, Body::AccessDenied, Log::None},
    {"settings file", "/veltrano.ini", false, false, false, 403, Body::AccessDenied, Log::Plain},
    {"settings file's temporary copy", "/veltrano.ini.Xy12ab", false, false, false, 403, Body::AccessDenied, Log::Plain},
    {"temporary image", "/chart.tmp", false, false, false, 403, Body::AccessDenied, Log::Plain},
    {"missing temporary", "/other.TMP", false, false, false, 403, Body::AccessDenied, Log::None},
    {"blocked list", "/blocked.txt", false, false, false, 403, Body::AccessDenied, Log::Plain},
    {"blocked client, existing file", "/noise.jpg", false, true, false, 403, Body::Empty, Log::Blocked},
    {"blocked client, not logged", "/noise.jpg", false, true, true, 403, Body::Empty, Log::None},
    // The list only keeps existing files from a client; the rest is answered as for anybody.
    {"blocked client, missing file", "/none.jpg", false, true, false, 404, Body::NotFound, Log::None},
    {"blocked client, outside", "/../outside.txt", false, true, false, 403, Body::AccessDenied, Log::None},
    {"blocked client, sub-folder refused", "/sub/inner.jpg", false, true, false, 403, Body::AccessDenied, Log::None},
    {"blocked client, settings file", "/veltrano.ini", false, true, false, 403, Body::Empty, Log::Blocked},
};

class WebRequestHandlerTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { Clock::setInstance(&clock); }
    void TearDown() override { Clock::setInstance(nullptr); }

    WebServerSettings settings() const
    {
        WebServerSettings s;
        s.webPage = folder.page;
        s.settingsFile = folder.settings;
        s.useBlocked = true;
        s.logWeb = true;
        s.showSystem = true;
        return s;
    }
    WebReply respond(const WebServerSettings &s, const WebRequest &r)
    {
        return WebRequestHandler::respond(s, r, blockedList);
    }

    webtest::WebFolder folder;
    BlockedList blockedList;
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 4, 34), Qt::UTC)};
};

} // namespace

TEST_P(WebRequestHandlerTest, Answers)
{
    const Case &c = GetParam();
    WebServerSettings s = settings();
    s.allowSubFolders = c.allowSubFolders;
    s.dontLogBlocked = c.dontLogBlocked;
    WebRequest r;
    r.method = QStringLiteral("GET");
    r.document = QString::fromUtf8(c.document);
    r.clientAddress = c.blockedClient ? QStringLiteral("10.9.9.9") : QStringLiteral("127.0.0.1");
    r.clientPort = 1734;

    const WebReply reply = respond(s, r);
    EXPECT_EQ(reply.status, c.status) << c.name;
    switch (c.body) {
    case Body::File:
        EXPECT_TRUE(QFileInfo(reply.filePath).isFile()) << c.name;
        EXPECT_TRUE(reply.filePath.startsWith(folder.root + QLatin1Char('/'))) << c.name;
        EXPECT_TRUE(reply.body.isEmpty()) << c.name;
        break;
    case Body::AccessDenied:
        EXPECT_EQ(reply.body, WebRequestHandler::accessDeniedPage()) << c.name;
        EXPECT_TRUE(reply.filePath.isEmpty()) << c.name;
        break;
    case Body::NotFound:
        EXPECT_EQ(reply.body, QByteArray("<html><head><title>Error</title></head><body><h1>Not Found</h1></body></html>"))
            << c.name;
        break;
    case Body::Empty:
        EXPECT_TRUE(reply.body.isEmpty()) << c.name;
        EXPECT_TRUE(reply.filePath.isEmpty()) << c.name;
        break;
    case Body::ServerError:
        EXPECT_TRUE(reply.serverError) << c.name;
        break;
    }
    const QString stamp = QStringLiteral("  Sun 06 Dec 2026   09:04:34:  Command GET ") + QString::fromUtf8(c.document)
                          + QStringLiteral(" received from ") + r.clientAddress + QStringLiteral(":1734");
    switch (c.log) {
    case Log::None: EXPECT_TRUE(reply.logLine.isEmpty()) << c.name << ": " << reply.logLine.toStdString(); break;
    case Log::Plain: EXPECT_EQ(reply.logLine, stamp) << c.name; break;
    case Log::Blocked: EXPECT_EQ(reply.logLine, stamp + QStringLiteral(" -- IP blocked. File not sent")) << c.name; break;
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, WebRequestHandlerTest, ::testing::ValuesIn(kCases));

TEST_F(WebRequestHandlerTest, LogNeedsBothSwitchesAndTheBlockedListItsOwn)
{
    WebRequest r{QStringLiteral("GET"), QStringLiteral("/noise.jpg"), QStringLiteral("10.9.9.9"), 80};
    WebServerSettings s = settings();
    s.showSystem = false;
    EXPECT_TRUE(respond(s, r).logLine.isEmpty());
    s = settings();
    s.logWeb = false;
    EXPECT_TRUE(respond(s, r).logLine.isEmpty());
    // The list is consulted only while its switch is on.
    s = settings();
    s.useBlocked = false;
    EXPECT_EQ(respond(s, r).status, 200);
}

TEST_F(WebRequestHandlerTest, BlockedListLinesMatchWholeAndCrLfIsALineEnd)
{
    testsupport::writeAll(folder.root + QStringLiteral("/blocked.txt"), "10.0.0.10\r\n 10.0.0.2\n10.0.0.3");
    const WebServerSettings s = settings();
    auto statusFor = [&](const char *ip) {
        return respond(s, {QStringLiteral("GET"), QStringLiteral("/noise.jpg"), QLatin1String(ip), 80})
            .status;
    };
    EXPECT_EQ(statusFor("10.0.0.10"), 403);
    EXPECT_EQ(statusFor("10.0.0.1"), 200); // a prefix of a listed address
    EXPECT_EQ(statusFor("10.0.0.2"), 200); // listed with a leading blank
    EXPECT_EQ(statusFor("10.0.0.3"), 403); // last line without its end
}

TEST_F(WebRequestHandlerTest, UnreadableBlockedListIsAServerError)
{
    const QString list = folder.root + QStringLiteral("/blocked.txt");
    QFile::remove(list);
    QDir().mkdir(list); // exists, cannot be read as a file
    const WebReply reply = respond(
        settings(), {QStringLiteral("GET"), QStringLiteral("/noise.jpg"), QStringLiteral("127.0.0.1"), 80});
    EXPECT_EQ(reply.status, 500);
    EXPECT_TRUE(reply.serverError);
}

TEST_F(WebRequestHandlerTest, NoPageOrAMissingFolderServesNothing)
{
    for (const QString &page : {QString(), QStringLiteral("page.htm"), folder.root + QStringLiteral("/gone/page.htm")}) {
        WebServerSettings s = settings();
        s.webPage = page;
        EXPECT_EQ(respond(s, {QStringLiteral("GET"), QStringLiteral("/noise.jpg"),
                                                 QStringLiteral("127.0.0.1"), 80})
                      .status,
                  404)
            << page.toStdString();
    }
}

TEST_F(WebRequestHandlerTest, SettingsFileReachedThroughALinkIsStillRefused)
{
    ::symlink("veltrano.ini", QFile::encodeName(folder.root + QStringLiteral("/settings-link.txt")).constData());
    EXPECT_EQ(respond(settings(), {QStringLiteral("GET"), QStringLiteral("/settings-link.txt"),
                                                      QStringLiteral("127.0.0.1"), 80})
                  .status,
              403);
}

TEST(WebRequestHandlerAuth, BasicCredentialsAreDecodedByteForByte)
{
    const struct {
        const char *what;
        QByteArray header;
        bool ok;
        QByteArray user, password;
    } cases[] = {
        {"plain", "Basic " + QByteArray("admin:s3cret").toBase64(), true, "admin", "s3cret"},
        {"scheme in any case, blanks around", "  bAsIc   " + QByteArray("a:b").toBase64() + " ", true, "a", "b"},
        {"NUL in the secret", "Basic " + QByteArray("admin:s3cret\0junk", 17).toBase64(), true, "admin",
         QByteArray("s3cret\0junk", 11)},
        {"colon in the secret", "Basic " + QByteArray("admin:a:b").toBase64(), true, "admin", "a:b"},
        {"empty pair", "Basic " + QByteArray(":").toBase64(), true, "", ""},
        {"no colon", "Basic " + QByteArray("admin").toBase64(), false, "", ""},
        {"not base64", "Basic !!!", false, "", ""},
        {"other scheme", "Digest " + QByteArray("a:b").toBase64(), false, "", ""},
        {"scheme alone", "Basic", false, "", ""},
        {"empty", "", false, "", ""},
    };
    for (const auto &c : cases) {
        QByteArray user, password;
        EXPECT_EQ(WebRequestHandler::basicCredentials(c.header, &user, &password), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(user, c.user) << c.what;
            EXPECT_EQ(password, c.password) << c.what;
        }
    }
}

TEST(WebRequestHandlerAuth, ComparesUserAndSecretExactly)
{
    struct AuthCase {
        bool on;
        const char *settingUser, *settingPass, *user, *pass;
        bool ok;
    } cases[] = {
        {false, "u", "p", "", "", true},
        {true, "", "", "", "", true}, // empty pair in the settings: no credentials needed
        {true, "admin", "s3cret", "admin", "s3cret", true},
        {true, "admin", "s3cret", "", "", false},
        {true, "admin", "s3cret", "Admin", "s3cret", false},
        {true, "admin", "s3cret", "admin", "S3cret", false},
        {true, "admin", "s3cret", "admin", "s3cret ", false},
        {true, "admin", "s3cret", "admin", "s3cre", false},
        {true, "jürgen", "pässe", "jürgen", "pässe", true},
    };
    for (const AuthCase &c : cases) {
        WebServerSettings s;
        s.webAuth = c.on;
        s.webUser = QString::fromUtf8(c.settingUser);
        s.webPassword = QString::fromUtf8(c.settingPass);
        EXPECT_EQ(WebRequestHandler::authorised(s, c.user, c.pass), c.ok) << c.user << ":" << c.pass;
    }
    // Latin-1 credentials match too.
    WebServerSettings s;
    s.webAuth = true;
    s.webUser = QStringLiteral("jürgen");
    s.webPassword = QStringLiteral("x");
    EXPECT_TRUE(WebRequestHandler::authorised(s, QStringLiteral("jürgen").toLatin1(), "x"));
}

TEST(WebRequestHandlerPages, TextsAsTheBrowserSeesThem)
{
    EXPECT_EQ(WebRequestHandler::authFailedPage(),
              QByteArray("<html><head><title>Error</title></head><body><h1>Authentication failed</h1></body></html>"));
    EXPECT_EQ(WebRequestHandler::accessDeniedPage(),
              QByteArray("<html><head><title>Error</title></head><body><h1>Access denied</h1>\rYou do not have "
                         "sufficient priviliges to access this <i>Veltrano</i>  document.</body></html>"));
    EXPECT_TRUE(WebRequestHandler::methodAllowed(QStringLiteral("GET")));
    EXPECT_TRUE(WebRequestHandler::methodAllowed(QStringLiteral("HEAD")));
    EXPECT_FALSE(WebRequestHandler::methodAllowed(QStringLiteral("POST")));
    EXPECT_FALSE(WebRequestHandler::methodAllowed(QStringLiteral("get")));
}
