// The rendered text of a page and its map back to the source: what "Use
// source B" searches and what the teaching page marks.
#include "common/HtmlToText.h"

#include <gtest/gtest.h>

TEST(HtmlToText, RenderedText)
{
    struct Case {
        const char *name;
        const char *html;
        const char *text;
    } cases[] = {
        {"blocks and collapsed blanks", "<p>Hello   <b>world</b>\r\n</p><p> Next</p>", "Hello world\r\nNext"},
        {"breaks always count", "a<br>b<br><br>c<br>", "a\r\nb\r\n\r\nc"},
        {"nested blocks make no empty lines", "<div><div><p>a</p></div></div><div>b</div>", "a\r\nb"},
        {"cells", "<table><tr><td>a</td>  <td> b </td></tr><tr><td></td><td>c</td><td></td></tr></table>",
         "a \t b\r\n \t c"},
        {"header cells and rows without tables", "<tr><th>x</th><th>y</th></tr>z", "x \t y\r\nz"},
        {"entities", "x &amp; y &lt;z&gt; &nbsp;&#65;&#x42; &bogus; &#; & &copy;",
         "x & y <z>  AB &bogus; &#; & \xa9"},
        {"nbsp is never collapsed", "a&nbsp;&nbsp;&nbsp;b", "a   b"},
        {"head, script, style, comments",
         "<!DOCTYPE html><html><head><title>T 1</title><style>p{x:1}</style></head>"
         "<body>Hi<script>var a='<p>1</p>';</script> there<!-- 2 <p> --><?php 3 ?></body></html>",
         "Hi there"},
        {"text before a head-less body", "<meta x=1>Top<body>Body", "Top\r\nBody"},
        {"pre keeps blanks and breaks", "<pre>\n  a  b\r\n c</pre>d", "  a  b\r\n c\r\nd"},
        {"textarea is shown as written", "<textarea name=\"t\">\nline <b>1</b>\nline 2</textarea>",
         "line <b>1</b>\r\nline 2"},
        {"quoted > in attributes", "<td title=\"a>b\" class='c>d'>v</td>", "v"},
        {"a lone < is text", "a < b <3", "a < b <3"},
        {"an unclosed tag ends the text", "a<b", "a"},
        {"upper-case tags", "<P>A</P><BR><TABLE><TR><TD>1</TD><TD>2</TD></TR></TABLE>", "A\r\n\r\n1 \t 2"},
        {"empty", "", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HtmlToText::render(QString::fromLatin1(c.html)).text(), QString::fromLatin1(c.text)) << c.name;
}

TEST(HtmlToText, OffsetMap)
{
    const QString html =
        QStringLiteral("<p>Rx&nbsp;noise:</p>\r\n<table><tr><td>SNR</td><td>6.5 &amp; up</td></tr></table>");
    const HtmlToText r = HtmlToText::render(html);
    ASSERT_EQ(r.text(), QStringLiteral("Rx noise:\r\nSNR \t 6.5 & up"));

    struct Case {
        const char *fragment; // of the text
        const char *source;  // the source characters that produced it
    } cases[] = {
        {"Rx", "Rx"},
        {" noise", "&nbsp;noise"},
        {"6.5", "6.5"},
        {"6.5 & up", "6.5 &amp; up"},
        {"\r\n", "</p>"},
        {" \t ", "<td>"},
    };
    for (const Case &c : cases) {
        const int at = int(r.text().indexOf(QString::fromLatin1(c.fragment)));
        ASSERT_GE(at, 0) << c.fragment;
        const auto [from, to] = r.sourceRange(at, at + int(qstrlen(c.fragment)));
        EXPECT_EQ(html.mid(from, to - from), QString::fromLatin1(c.source)) << c.fragment;
    }

    // Back from the source: the first text character made at or after an offset.
    const int value = int(html.indexOf(QStringLiteral("6.5")));
    EXPECT_EQ(r.text().mid(r.textOffsetAt(value), 3), QStringLiteral("6.5"));
    EXPECT_EQ(r.textOffsetAt(int(html.size())), r.text().size());
    EXPECT_EQ(r.sourceStart(int(r.text().size())), html.size());
    const auto [from, to] = r.sourceRange(3, 3);
    EXPECT_EQ(from, to);
}
