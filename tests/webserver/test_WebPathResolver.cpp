// Where a request's document lands: inside the served folder or not, decided
// on canonical components, links followed, before anything outside is looked at.
#include "WebTestSupport.h"
#include "webserver/WebPathResolver.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *document;
    bool inside;
    const char *path; // relative to the root; checked when inside
    bool exists;
};

const Case kCases[] = {
    {"/noise.jpg", true, "noise.jpg", true},
    {"/Noise.JPG", true, "Noise.JPG", true},
    {"/NOISE.jpg", true, "NOISE.jpg", false},
    {"/sub/inner.jpg", true, "sub/inner.jpg", true},
    {"/sub/../noise.jpg", true, "noise.jpg", true},
    {"/./sub//inner.jpg", true, "sub/inner.jpg", true},
    {"/missing/deeper.jpg", true, "missing/deeper.jpg", false},
    {"/noise.jpg/more", true, "noise.jpg/more", false},
    {"//etc/passwd", true, "etc/passwd", false},
    {"/", true, "", true},
    // written steps above the root
    {"/../outside.txt", false, "", false},
    {"/../missing.txt", false, "", false},
    {"/sub/../../outside.txt", false, "", false},
    {"/..", false, "", false},
    {"/../web/noise.jpg", false, "", false},
    // not a path at all
    {"noise.jpg", false, "", false},
    {"http://127.0.0.1/noise.jpg", false, "", false},
    {"", false, "", false},
    // links
    {"/link-in", true, "noise.jpg", true},
    {"/link-sub/inner.jpg", true, "sub/inner.jpg", true},
    {"/round-trip", true, "noise.jpg", true},
    {"/dangling-in", true, "missing.jpg", false},
    {"/link-file", false, "", false},
    {"/link-out/outside.txt", false, "", false},
    {"/link-out/missing.txt", false, "", false},
    {"/link-out/web/noise.jpg", true, "noise.jpg", true},
    {"/dangling-out", false, "", false},
    {"/loop-a", false, "", false},
};

class WebPathResolverTest : public ::testing::TestWithParam<Case> {
protected:
    webtest::WebFolder folder;
};

} // namespace

TEST_P(WebPathResolverTest, PlacesTheDocument)
{
    const Case &c = GetParam();
    const WebPathResolver::Result r = WebPathResolver::resolve(folder.root, QString::fromUtf8(c.document));
    ASSERT_EQ(r.inside, c.inside) << c.document;
    if (!c.inside)
        return;
    const QString expected = *c.path ? folder.root + QLatin1Char('/') + QLatin1String(c.path) : folder.root;
    EXPECT_EQ(r.path, expected) << c.document;
    EXPECT_EQ(r.exists, c.exists) << c.document;
    EXPECT_EQ(r.isRoot, !*c.path) << c.document;
    EXPECT_EQ(r.inRootFolder, *c.path && !QByteArray(c.path).contains('/')) << c.document;
}

INSTANTIATE_TEST_SUITE_P(Documents, WebPathResolverTest, ::testing::ValuesIn(kCases));

TEST(WebPathResolver, ComparesComponentsNotTextPrefixes)
{
    // "/x/web" must not own "/x/web2": a sibling whose name starts like the root.
    webtest::WebFolder folder;
    QDir().mkpath(folder.root + QStringLiteral("2"));
    testsupport::writeAll(folder.root + QStringLiteral("2/other.jpg"), "x");
    ::symlink("../web2/other.jpg", QFile::encodeName(folder.root + QStringLiteral("/sibling")).constData());
    EXPECT_FALSE(WebPathResolver::resolve(folder.root, QStringLiteral("/sibling")).inside);
}

TEST(WebPathResolver, NeedsAnAbsoluteRoot)
{
    EXPECT_FALSE(WebPathResolver::resolve(QString(), QStringLiteral("/noise.jpg")).inside);
    EXPECT_FALSE(WebPathResolver::resolve(QStringLiteral("web"), QStringLiteral("/noise.jpg")).inside);
}
