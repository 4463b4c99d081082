// Router number styles to numbers: the normalisation every figure parser
// shares. The test main pins the C.UTF-8 locale (decimal point, comma groups).
#include "acquisition/RouterNumbers.h"

#include <gtest/gtest.h>

using namespace RouterNumbers;

TEST(RouterNumbers, SwapCommaByNumberingStyle)
{
    struct Case {
        const char *text;
        int numbering;
        const char *expected;
    } cases[] = {
        {"1.234,5", 1, "1234.5"}, // point groups, decimal comma
        {"1,234.5", 0, "1234.5"},
        {" 8,128 ", 0, "8128"},
        {"1.234,5", 2, "1.2345"}, // any style but 1 only drops commas
        {"", 1, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SwapComma(QString::fromLatin1(c.text), c.numbering), QString::fromLatin1(c.expected))
            << c.text << " numbering " << c.numbering;
}

TEST(RouterNumbers, StrToFloatDefFallsBackOnAnythingThatIsNotANumber)
{
    struct Case {
        const char *text;
        double expected;
    } cases[] = {
        {"6.5", 6.5},   {" -3.5 ", -3.5}, {"8128", 8128},     {"1234.5", 1234.5},
        {"", 99},       {"12:30:05", 99}, {"1234567890^", 99}, {"6,5", 99}, // C locale: the comma is no decimal
        {"-", 99},      {"1.2.3", 99},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(StrToFloatDef(QString::fromLatin1(c.text), 99), c.expected) << c.text;
}

TEST(RouterNumbers, FirstRunLooksOnlyAtTheGivenCharacters)
{
    struct Case {
        const char *window;
        int count;
        CharSet start;
        CharSet run;
        const char *expected;
    } cases[] = {
        {"db\">12.5 db</td>", 16, kNumericSet, kNumericSet, "12.5"},
        {"xx123456", 5, kNumericSet, kNumericSet, "123"},  // the run stops at the count
        {"a-3.5x", 6, CharSet{"-"}, CharSet{"-."}, "-3.5"},
        {"8,128 kbps", 10, CharSet{}, CharSet{",."}, "8,128"},
        {"-8,128", 6, CharSet{}, CharSet{",."}, "8,128"},  // "-" cannot start a sync run
        {"no digits", 9, kNumericSet, kNumericSet, ""},
        {"12", 50, kNumericSet, kNumericSet, "12"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FirstRun(QString::fromLatin1(c.window), c.count, c.start, c.run), QString::fromLatin1(c.expected))
            << c.window << " / " << c.count;
}

TEST(RouterNumbers, ExtractNumericTakesTheFirstSignedNumber)
{
    struct Case {
        const char *text;
        char decimal;
        char group;
        const char *expected;
    } cases[] = {
        {"  Margin = -3.5 dB", '.', ',', "-3.5"},
        {"SNR 12,5 dB", ',', '.', "12,5"},
        {"1,234 kbps", '.', ',', "1"}, // the group sign ends the run
        {",123", '.', ',', ""},        // a leading group sign gives nothing
        {"none", '.', ',', ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExtractNumeric(QString::fromLatin1(c.text), QLatin1Char(c.decimal), QLatin1Char(c.group)),
                  QString::fromLatin1(c.expected))
            << c.text;
}

TEST(RouterNumbers, FormatNumberRoundsToSignificantDigitsThenDecimals)
{
    struct Case {
        double value;
        const char *expected;
    } cases[] = {
        {6.5, "6.5"},      {12.0, "12.0"},    {-3.5, "-3.5"},         {0, "0.0"},
        {1234.5, "1,230.0"}, {45.67, "45.7"}, {-0.04, "0.0"},         {2147483642.0, "2,150,000,000.0"},
        {-123.4, "-123.0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatNumber(c.value, 3, 1), QString::fromLatin1(c.expected)) << c.value;
}
