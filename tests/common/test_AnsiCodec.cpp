#include "common/AnsiCodec.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<unsigned char> list)
{
    QByteArray out;
    for (unsigned char b : list)
        out += char(b);
    return out;
}

TEST(AnsiCodec, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = ansi::decodeCp1252(all);
    ASSERT_EQ(text.size(), 256);
    bool ok = false;
    EXPECT_EQ(ansi::encodeCp1252(text, &ok), all);
    EXPECT_TRUE(ok);
}

TEST(AnsiCodec, DecodesHighBytes)
{
    struct Case { unsigned char byte; char16_t unicode; };
    const Case cases[] = {
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x83, 0x0192}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090},
        {0x92, 0x2019}, {0x99, 0x2122}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ansi::decodeCp1252(bytes({c.byte})), QString(QChar(c.unicode))) << std::hex << int(c.byte);
    EXPECT_EQ(ansi::decodeCp1252(bytes({0x9E, 0x9D, 0x9C})), QString::fromUtf16(u"\u017E\u009D\u0153"));
}

TEST(AnsiCodec, EncodeReplacesWhatDoesNotFit)
{
    struct Case { const char16_t *text; QByteArray expected; bool ok; };
    const Case cases[] = {
        {u"Caf\u00E9 \u20AC5", bytes({'C', 'a', 'f', 0xE9, ' ', 0x80, '5'}), true},
        {u"\u0081\u009D", bytes({0x81, 0x9D}), true},
        {u"\u0080", "?", false},         // C1 control whose byte holds the euro sign
        {u"\u0100x", "?x", false},
        {u"a\U0001F600b", "a?b", false}, // one mark for a surrogate pair
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        bool ok = !c.ok;
        EXPECT_EQ(ansi::encodeCp1252(text, &ok), c.expected) << text.toStdString();
        EXPECT_EQ(ok, c.ok) << text.toStdString();
        EXPECT_EQ(ansi::isCp1252(text), c.ok) << text.toStdString();
    }
}

TEST(AnsiCodec, DecodeValue)
{
    struct Case { QByteArray input; const char16_t *expected; };
    const Case cases[] = {
        {bytes({0xC3, 0xA9}), u"\u00E9"},                    // UTF-8 é
        {bytes({0xE9}), u"\u00E9"},                          // Windows-1252 é
        {bytes({'a', 0xE2, 0x82, 0xAC}), u"a\u20AC"},
        {bytes({0xF0, 0x9F, 0x98, 0x80}), u"\U0001F600"},
        {bytes({0xC3, 0xA9, 0xE9}), u"\u00C3\u00A9\u00E9"},  // one bad byte: all Windows-1252
        {bytes({0xC3}), u"\u00C3"},                          // truncated
        {bytes({0xC0, 0xAF}), u"\u00C0\u00AF"},              // overlong '/'
        {bytes({0xED, 0xA0, 0x80}), u"\u00ED\u00A0\u20AC"},  // encoded surrogate
        {bytes({0xF4, 0x90, 0x80, 0x80}), u"\u00F4\u0090\u20AC\u20AC"}, // above U+10FFFF
    };
    for (const auto &c : cases)
        EXPECT_EQ(ansi::decodeValue(c.input), QString::fromUtf16(c.expected)) << c.input.toHex().toStdString();
}

TEST(AnsiCodec, EncodeValueReadsBack)
{
    struct Case { const char16_t *text; QByteArray expected; };
    const Case cases[] = {
        {u"\u00E9t\u20AC", bytes({0xE9, 't', 0x80})},
        {u"\u0141\u00F3d\u017A", bytes({0xC5, 0x81, 0xC3, 0xB3, 'd', 0xC5, 0xBA})}, // not in the code page
        {u"\u00C3\u00A9", bytes({0xC3, 0x83, 0xC2, 0xA9})}, // C3 A9 would read back as "é"
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const QByteArray encoded = ansi::encodeValue(text);
        EXPECT_EQ(encoded, c.expected) << text.toStdString();
        EXPECT_EQ(ansi::decodeValue(encoded), text) << text.toStdString();
    }
}

} // namespace
