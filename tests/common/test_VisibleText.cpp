// Outside text shown in a pane: what is escaped and what is left alone.
#include "common/VisibleText.h"

#include <gtest/gtest.h>

TEST(VisibleText, HiddenCharactersBecomeEscapesAndTheRestStays)
{
    const struct {
        const char *what;
        QString text;
        QString shown;
    } cases[] = {
        {"plain text", QStringLiteral("GET /noise.jpg?a=1&b=2"), QStringLiteral("GET /noise.jpg?a=1&b=2")},
        {"line ends and tab", QStringLiteral("a\r\nb\tc"), QStringLiteral("a\\x0D\\x0Ab\\x09c")},
        {"escape sequence", QStringLiteral("\x1B[31mred"), QStringLiteral("\\x1B[31mred")},
        {"NUL, DEL and a C1 control", QString::fromUtf16(u"a\0b\x7F\x85", 5), QStringLiteral("a\\x00b\\x7F\\x85")},
        {"direction marks and isolates", QString::fromUtf16(u"\x200E\x200F\x202A\x202E\x2066\x2069"),
         QStringLiteral("\\u200E\\u200F\\u202A\\u202E\\u2066\\u2069")},
        {"zero-width and byte-order marks", QString::fromUtf16(u"a\x200B\x200D\xFEFF" "b"),
         QStringLiteral("a\\u200B\\u200D\\uFEFFb")},
        {"soft hyphen", QString::fromUtf16(u"ad\x00ADmin"), QStringLiteral("ad\\xADmin")},
        {"line and paragraph separators", QString::fromUtf16(u"a\x2028" "b\x2029"), QStringLiteral("a\\u2028b\\u2029")},
        {"filler letters and variation selectors", QString::fromUtf16(u"\x3164\x115F\xFE0F"),
         QStringLiteral("\\u3164\\u115F\\uFE0F")},
        {"tag characters beyond the first plane", QString::fromUcs4(U"x\U000E0041", 2), QStringLiteral("x\\U000E0041")},
        {"a lone surrogate", QString::fromUtf16(u"a\xD800" "b", 3), QStringLiteral("a\\uD800b")},
        {"letters, accents, CJK and emoji stay", QString::fromUtf16(u"\x00E9t\x00E9 \x65E5 \xD83D\xDE00 \x00A0"),
         QString::fromUtf16(u"\x00E9t\x00E9 \x65E5 \xD83D\xDE00 \x00A0")},
        {"a backslash stays", QStringLiteral("C:\\x0D"), QStringLiteral("C:\\x0D")},
        {"empty", QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VisibleText::escaped(c.text), c.shown) << c.what;
}
