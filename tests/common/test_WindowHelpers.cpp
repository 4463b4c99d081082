// Thousands grouping and the general form at a precision.
#include "common/NumberFormat.h"
#include "common/WindowHelpers.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

TEST(FormatThousands, GroupsTheIntegerPartInTheLocaleStyle)
{
    const QLocale c = QLocale::c();
    for (auto [in, out] : std::initializer_list<std::pair<const char *, const char *>>{
             {"8128", "8,128"}, {"1234567.5", "1,234,567.5"}, {"123", "123"}, {"12.5", "12.5"},
             {"100000", "100,000"}, {" 4096 ", "4,096"}, {"", ""}, {".5", ".5"}})
        EXPECT_EQ(FormatThousands(QString::fromLatin1(in), c), QLatin1String(out)) << in;
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FormatThousands(QStringLiteral("1234567,5"), german), QStringLiteral("1.234.567,5"));
}

TEST(GeneralPrecision, RoundsToSignificantDigitsAndSwitchesToScientific)
{
    for (auto [value, precision, out] : std::initializer_list<std::tuple<double, int, const char *>>{
             {6.45, 3, "6.45"}, {12.345, 3, "12.3"}, {6.0, 3, "6"}, {-3.55, 3, "-3.55"}, {1234, 3, "1.23E3"},
             {0.000001234, 3, "1.23E-6"}, {0, 3, "0"}, {99.96, 3, "100"}})
        EXPECT_EQ(numfmt::generalPrecision(value, precision), QLatin1String(out)) << value;
}

TEST(Delay, AlwaysLetsPendingEventsRun)
{
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    Delay(0);
    EXPECT_TRUE(ran);
}
