#include "common/NumberFormat.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(NumberFormat, General)
{
    struct Case { double value; const char *expected; };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {16.168, "16.168"}, {6, "6"}, {0.1, "0.1"}, {-3.5, "-3.5"}, {0, "0"}, {-0.0, "0"},
        {0.1 + 0.2, "0.3"}, {2.0 / 3, "0.666666666666667"}, {0.0001, "0.0001"},
        {0.00009999999999999999, "0.0001"}, // rounds up into the plain range
        {1e-5, "1E-5"}, {-1.25e-7, "-1.25E-7"}, {999999999999999, "999999999999999"},
        {999999999999999.9, "1E15"},        // carry into a sixteenth digit
        {1e20, "1E20"}, {1.5e20, "1.5E20"}, {std::nan(""), "NAN"}, {-inf, "-INF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(numfmt::general(c.value), QString::fromLatin1(c.expected)) << c.expected;
    EXPECT_EQ(numfmt::general(16.168, u','), "16,168");
    EXPECT_EQ(numfmt::general(1.5e-5, u','), "1,5E-5");
}

TEST(NumberFormat, FixedRoundsHalfAwayFromZero)
{
    struct Case { double value; int decimals; const char *expected; };
    const Case cases[] = {
        {6.5, 2, "6.50"},   {2.5, 0, "3"},       {-2.5, 0, "-3"},     {0.4, 0, "0"},
        {0.125, 2, "0.13"}, {2.675, 2, "2.68"},  {1.005, 2, "1.01"},  {0.004, 2, "0.00"}, // 2.675 and 1.005 as written
        {9.995, 2, "10.00"}, {99.5, 0, "100"},   {-0.001, 2, "0.00"}, {1e-20, 3, "0.000"},
        {3, -1, "3"},       {1e16, 1, "10000000000000000.0"}, {123456789012.345, 2, "123456789012.35"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(numfmt::fixed(c.value, c.decimals), QString::fromLatin1(c.expected)) << c.value << "/" << c.decimals;
    EXPECT_EQ(numfmt::fixed(1234567.891, 1, u','), "1234567,9");
}

TEST(NumberFormat, ShortestSingle)
{
    struct Case { float value; const char *expected; };
    const Case cases[] = {
        {6.4f, "6.4"}, {8128.0f, "8128"}, {0.1f, "0.1"}, {-12.5f, "-12.5"}, {0.0f, "0"},
        {1.0f / 3, "0.33333334"}, {1e-5f, "1E-5"}, {std::numeric_limits<float>::max(), "3.4028235E38"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(numfmt::shortestSingle(c.value), QString::fromLatin1(c.expected)) << c.expected;
    EXPECT_EQ(numfmt::shortestSingle(6.4f, u','), "6,4");

    // Reads back exactly across the finite range.
    for (uint32_t bits = 1; bits < 0x7F800000; bits += 0x000F4243) {
        float f;
        std::memcpy(&f, &bits, sizeof f);
        const QString text = numfmt::shortestSingle(-f);
        bool ok = false;
        EXPECT_EQ(float(numfmt::parse(text, u'.', &ok)), -f) << text.toStdString();
        EXPECT_TRUE(ok) << text.toStdString();
    }
}

TEST(NumberFormat, InsertThousands)
{
    struct Case { const char *number; char group, decimal; const char *expected; };
    const Case cases[] = {
        {"1234567", ',', '.', "1,234,567"}, {"12345.6789", ',', '.', "12,345.6789"}, {"123", ',', '.', "123"},
        {"1234", ',', '.', "1,234"},        {"", ',', '.', ""},                      {"-1234", ',', '.', "-1234"},
        {"1234567,89", '.', ',', "1.234.567,89"}, {"123456 kbps", ' ', '.', "123 456 kbps"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(numfmt::insertThousands(QString::fromLatin1(c.number), QLatin1Char(c.group), QLatin1Char(c.decimal)),
                  QString::fromLatin1(c.expected));
}

TEST(NumberFormat, Parse)
{
    struct Case { const char *text; char decimal; bool ok; double value; };
    const Case cases[] = {
        {"16.168", '.', true, 16.168}, {"16,168", ',', true, 16.168}, {" \t6.4\r\n", '.', true, 6.4},
        {"-3.5", '.', true, -3.5},     {"+2", '.', true, 2},          {".5", '.', true, 0.5},
        {"5.", '.', true, 5},          {"1e3", '.', true, 1000},      {"2,5E-1", ',', true, 0.25},
        {"16.168", ',', false, 0},     {"16,168", '.', false, 0},     {"", '.', false, 0},
        {"   ", '.', false, 0},        {"abc", '.', false, 0},        {"1.2.3", '.', false, 0},
        {"12 34", '.', false, 0},      {"1e", '.', false, 0},         {"-", '.', false, 0},
        {".", '.', false, 0},          {"0x10", '.', false, 0},       {"inf", '.', false, 0},
        {"1e999", '.', false, 0},      {"6.4dB", '.', false, 0},
    };
    for (const auto &c : cases) {
        bool ok = !c.ok;
        const double v = numfmt::parse(QString::fromLatin1(c.text), QLatin1Char(c.decimal), &ok);
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
}

// Every finite number the general forms write is one the reader takes back,
// up to the largest doubles, whose nearest 15 or fewer digits lie past the
// range: a settings save must never write what the next load refuses.
TEST(NumberFormat, WhatTheGeneralFormsWriteReadsBack)
{
    constexpr double kMax = std::numeric_limits<double>::max();
    struct Case { double value; int precision; const char *expected; }; // precision 0: general
    const Case cases[] = {
        {kMax, 0, "1.79769313486231E308"},  {-kMax, 0, "-1.79769313486231E308"},
        {kMax, 1, "1E308"},                 {kMax, 3, "1.79E308"},
        {kMax, 15, "1.79769313486231E308"}, {1.79769313486231e308, 0, "1.79769313486231E308"},
        {9.5e307, 1, "9E307"}, // the double lies just below 9.5E307
        {1.6e307, 1, "2E307"}, // rounded as usual while that stays in range
    };
    for (const auto &c : cases) {
        const QString text = c.precision == 0 ? numfmt::general(c.value) : numfmt::generalPrecision(c.value, c.precision);
        EXPECT_EQ(text, QString::fromLatin1(c.expected)) << c.value << "/" << c.precision;
    }

    const double edges[] = {kMax, std::nextafter(kMax, 0.0), 1.7976931348623e308, 9.99999999999999e307, 1e308,
                            std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(), 1e-320,
                            0.1, 16.168, 999999999999999.9};
    for (double v : edges) {
        for (double value : {v, -v}) {
            for (QChar decimal : {u'.', u','}) {
                QStringList texts{numfmt::general(value, decimal), numfmt::generalExact(value, decimal),
                                  numfmt::fixed(value, 2, decimal)};
                for (int p = 1; p <= 15; ++p)
                    texts << numfmt::generalPrecision(value, p, decimal);
                for (const QString &t : texts) {
                    bool ok = false;
                    numfmt::parse(t, decimal, &ok);
                    EXPECT_TRUE(ok) << t.toStdString();
                }
                bool ok = false;
                EXPECT_EQ(numfmt::parse(numfmt::generalExact(value, decimal), decimal, &ok), value);
            }
        }
    }
}

} // namespace
