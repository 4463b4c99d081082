// The tray icon's digits, picture and hint.
#include "mainwindow/NoiseTrayIcon.h"
#include "settings/ColourNames.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TSettings defaults()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
    return settingsstore::load(env).settings;
}

// The picture's colour away from the digits tells the normal from the alarm picture.
bool isRed(const QIcon &icon)
{
    const QColor c = icon.pixmap(16, 16).toImage().pixelColor(2, 8);
    return c.red() > 150 && c.blue() < 100;
}

} // namespace

TEST(NoiseTrayIcon, DigitsShowOneDecimalOrAWholeNumberRoundedHalfToEven)
{
    struct Case {
        double value;
        bool integerOnly;
        const char *text;
    };
    const Case cases[] = {
        {6.4, false, "6.4"}, {6.5, true, "6"},    {7.5, true, "8"},   {12.34, false, "12.3"},
        {-3.5, false, "-3.5"}, {0, false, "0.0"}, {0.04, false, "0.0"}, {45.0, true, "45"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NoiseTrayIcon::iconText(c.value, c.integerOnly), QLatin1String(c.text)) << c.value;
}

TEST(NoiseTrayIcon, PictureTurnsRedForAlarmAndNoAnswerUnlessHttpIsOff)
{
    TSettings s = defaults();
    NoiseTrayIcon tray(s);
    NoiseTrayIcon::Figures f;
    f.rxNoise = 6.4f;
    EXPECT_FALSE(isRed(tray.IconNoise(s.Graph.NoiseColour, f)));
    EXPECT_TRUE(isRed(tray.IconNoise(s.Graph.AlarmColour, f)));
    EXPECT_TRUE(isRed(tray.IconNoise(s.Graph.NoRespondColour, f)));
    f.iconAlarmState = true;
    EXPECT_TRUE(isRed(tray.IconNoise(s.Graph.NoiseColour, f)));
    s.Telnet.DisableHTTP = true;
    EXPECT_FALSE(isRed(tray.IconNoise(s.Graph.AlarmColour, f)));
}

TEST(NoiseTrayIcon, DigitsCanBeSwitchedOffAndTheIconIsTheApplications)
{
    TSettings s = defaults();
    NoiseTrayIcon tray(s);
    NoiseTrayIcon::Figures f;
    f.rxNoise = 6.4f;
    const QImage withDigits = tray.IconNoise(s.Graph.NoiseColour, f).pixmap(16, 16).toImage();
    EXPECT_NE(withDigits, NoiseTrayIcon::basePicture(false).toImage());
    EXPECT_EQ(QApplication::windowIcon().pixmap(16, 16).toImage(), withDigits);

    s.System.ShowNoise = false;
    EXPECT_EQ(tray.IconNoise(s.Graph.NoiseColour, f).pixmap(16, 16).toImage(), NoiseTrayIcon::basePicture(false).toImage());
}

TEST(NoiseTrayIcon, HintNamesTheFiguresAndTheUserLabels)
{
    TSettings s = defaults();
    NoiseTrayIcon::Figures f;
    f.rxNoise = 6.45f;
    f.rxSync = 8128;
    f.telnetNoise = 5.5f;
    f.telnetSync = 1024;
    f.userLabel1Caption = QStringLiteral("User-def 1  0");
    f.userLabel2Caption = QStringLiteral("User-def 2  0");
    EXPECT_EQ(NoiseTrayIcon::hintText(s, f),
              QStringLiteral("Veltrano\r\nNoise margin 6.45 dB\r\nSync speed 8,128 Kbps\r\nUser-def 1  0\r\nUser-def 2  0"));

    s.Graph.UserLabel = QStringLiteral("User defined");
    s.Graph.UserLabel2 = QStringLiteral("User defined");
    EXPECT_EQ(NoiseTrayIcon::hintText(s, f), QStringLiteral("Veltrano\r\nNoise margin 6.45 dB\r\nSync speed 8,128 Kbps"));

    s.Telnet.DisableHTTP = true;
    EXPECT_EQ(NoiseTrayIcon::hintText(s, f), QStringLiteral("Veltrano\r\nNoise margin 5.5 dB\r\nSync speed 1,024 Kbps"));
}
