#include "common/PascalString.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(PascalString, PosAndPosEx)
{
    struct Case { const char *sub, *s; int offset, expected; }; // offset 0: plain pos
    const Case cases[] = {
        {"SNR", "Line SNR 6.4", 0, 6}, {"e", "Line", 0, 4},  {"x", "Line", 0, 0},   {"", "Line", 0, 0},
        {"Line!", "Line", 0, 0},       {"line", "Line", 0, 0}, {"ab", "abab", 2, 3}, {"b", "abab", 4, 4},
        {"ab", "abab", 4, 0},          {"ab", "abab", 5, 0},   {"ab", "abab", -1, 0}, {"", "abab", 2, 0},
    };
    for (const auto &c : cases) {
        const QString sub = QString::fromLatin1(c.sub), s = QString::fromLatin1(c.s);
        EXPECT_EQ(c.offset == 0 ? pas::pos(sub, s) : pas::posEx(sub, s, c.offset), c.expected)
            << c.sub << " in " << c.s << " from " << c.offset;
    }
}

TEST(PascalString, CopyClamps)
{
    struct Case { int index, count; const char *expected; };
    const Case cases[] = {
        {1, 3, "abc"}, {4, 100, "def"}, {6, 1, "f"},   {7, 1, ""},       {0, 2, "ab"},
        {-5, 2, "ab"}, {1, 0, ""},      {3, -1, ""},   {1, INT_MAX, "abcdef"}, {INT_MAX, INT_MAX, ""},
    };
    const QString s = QStringLiteral("abcdef");
    for (const auto &c : cases)
        EXPECT_EQ(pas::copy(s, c.index, c.count), QString::fromLatin1(c.expected)) << c.index << "," << c.count;
    EXPECT_EQ(pas::copyFrom(s, 0), "abcdef");
    EXPECT_EQ(pas::copyFrom(s, 6), "f");
    EXPECT_EQ(pas::copyFrom(s, 7), "");
}

} // namespace
