// The maps behind the teaching page's selections: a selection in the
// rendered page maps to the source characters that produced it, and a
// selection in the source pane maps to page offsets though the pane shows a
// CR LF as one character.
#include "configuration/RenderedPageMap.h"
#include "configuration/SourcePaneText.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

TEST(RenderedPageMap, SelectionsMapToTheirSource)
{
    const struct {
        const char *html;
        const char *shown;  // selected in the rendered page
        const char *source; // what it selects in the source
    } cases[] = {
        {"<p>a <b>bold</b> 12.5 dB</p>", "12.5", "12.5"},
        {"<p>bold <b>12</b>.5</p>", "12.5", "12</b>.5"},
        {"<ul><li>one</li><li>7.5</li></ul>", "7.5", "7.5"},
        {"<pre>x  1\r\n y 2.5</pre>", "2.5", "2.5"},
        {"<p>img <img src='http://192.0.2.1/x.png' alt='pic'> 3.25</p>", "3.25", "3.25"},
        {"<p>x&nbsp;4.5 &lt;dB&gt;</p>", "<dB>", "&lt;dB&gt;"},
        {"<TABLE><TR><TD>a</TD><TD></TD><TD>5,5</TD></TR></TABLE>", "5,5", "5,5"},
        {"<head><title>9.9</title><style>p{}</style></head><body>Noise 9.9</body>", "9.9", "9.9"},
        {"<script>var s='6.5';</script><p>SNR 6.5</p>", "6.5", "6.5"},
    };
    for (const auto &c : cases) {
        const QString html = QString::fromLatin1(c.html);
        QTextDocument doc;
        doc.setHtml(html);
        const QTextCursor found = doc.find(QString::fromLatin1(c.shown));
        ASSERT_FALSE(found.isNull()) << c.html;
        const RenderedPageMap map(doc, HtmlToText::render(html));
        const auto range = map.sourceRange(found.selectionStart(), found.selectionEnd());
        ASSERT_TRUE(range.has_value()) << c.html;
        EXPECT_EQ(html.mid(range->first, range->second - range->first), QLatin1String(c.source)) << c.html;
    }
}

TEST(RenderedPageMap, BlanksAloneMapToNothing)
{
    const QString html = QStringLiteral("<p>a</p><p>b</p>");
    QTextDocument doc;
    doc.setHtml(html);
    const RenderedPageMap map(doc, HtmlToText::render(html));
    EXPECT_FALSE(map.sourceRange(1, 2).has_value()) << "the paragraph break between a and b";
    EXPECT_FALSE(map.sourceRange(3, 3).has_value());
}

TEST(SourcePaneText, PaneAndPagePositionsMeetAtEveryKindOfLineBreak)
{
    const QString page = QStringLiteral("ab\r\ncd\re\nf\tg\x01h");
    const SourcePaneText t(page);
    EXPECT_EQ(t.display(), QStringLiteral("ab\ncd\ne\nf\tg") + QChar(0xFFFD) + QStringLiteral("h"));
    for (const char *target : {"cd", "e", "f", "g", "h"}) {
        const int pageAt = int(page.indexOf(QLatin1String(target)));
        const int paneAt = int(t.display().indexOf(QLatin1String(target)));
        EXPECT_EQ(t.displayPos(pageAt), paneAt) << target;
        EXPECT_EQ(t.pageOffset(paneAt), pageAt) << target;
    }
    // The CR LF is one pane character covering two page characters.
    EXPECT_EQ(t.pageOffset(3), 4);
    EXPECT_EQ(t.displayPos(3), 2);
    EXPECT_EQ(t.pageOffset(int(t.display().size())), int(page.size()));
    EXPECT_EQ(t.displayPos(1000), int(t.display().size()));
}
