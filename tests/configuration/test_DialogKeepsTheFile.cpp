// Every setting of the file differs from its default; shown and closed as a
// user does, then saved, the Configuration dialog leaves the file as it was: a
// control it commits but never loaded would write its default back.
#include "ConfigTestSupport.h"
#include "settings/SettingsKeys.h"

#include <QFile>
#include <QRegularExpression>
#include <climits>
#include <cstring>

namespace {

// Which value a changed key takes: another one, or an end of its range.
enum class Pick { Another, Lowest, Highest };

// A value of the key's type within its range; addresses stay on loopback.
void changeKey(const KeySpec &k, TSettings &s, Pick pick)
{
    static const QRegularExpression lan(QStringLiteral("192\\.168\\.\\d+\\.\\d+"));
    const qint64 lowest = k.range.bounded ? k.range.min : INT_MIN, highest = k.range.bounded ? k.range.max : INT_MAX;
    // Minima take the lowest end and maxima the highest, so every axis stays valid.
    const bool low = std::strstr(k.key, "Min") || (pick == Pick::Lowest && !std::strstr(k.key, "Max"));
    const auto number = [&](qint64 v) {
        // The dialog's page memories hold the pages it shows, not numbers.
        if (pick == Pick::Another || k.access == KeyAccess::WriteOnly)
            return v >= highest ? v - 1 : v + 1;
        return low ? lowest : highest;
    };
    switch (k.type) {
    case KeyType::Bool: k.ref<KeyType::Bool>(s) ^= true; break;
    case KeyType::Int: k.ref<KeyType::Int>(s) = int(number(k.ref<KeyType::Int>(s))); break;
    case KeyType::Float: k.ref<KeyType::Float>(s) += 1.5; break;
    case KeyType::Colour: k.ref<KeyType::Colour>(s) ^= 0x123456; break;
    case KeyType::ClockTime: k.ref<KeyType::ClockTime>(s) = QStringLiteral("04:17"); break;
    case KeyType::LocaleTime: k.ref<KeyType::LocaleTime>(s) = k.ref<KeyType::LocaleTime>(s).addSecs(3723); break;
    default: { // held as text: flags, numbers kept as text, addresses and the rest
        QString &v = k.ref<KeyType::Text>(s);
        if (k.type == KeyType::Flags)
            v[0] = QChar(v[0].unicode() ^ 1); // '0' <-> '1'
        else if (k.range.bounded)
            v = QString::number(number(v.toLongLong()));
        else
            v = v.contains(lan) ? v.replace(lan, QStringLiteral("127.0.0.9")) : v + 'x';
    }
    }
}

// One choice per group of radios, and no box that would change another.
void keepCoherent(TSettings &s)
{
    s.Router.V1234 = s.Router.NotNetgear = s.Router.ST585 = s.Telnet.V123 = s.Router.V5Telnet = false;
    s.Graph.Latest15 = s.Graph.LastReboot = s.Graph.PerCent = s.Capture.Never = s.Capture.AllTheTime = false;
    s.Capture.WindowsTime = s.Capture.SameFilename = s.Capture.IsJPG = s.Capture.IsBMP = s.Capture.IsGIF = false;
    s.Telnet.ADSL = s.Telnet.ADSLAuto = s.System.TabSV = s.Search.LoopBack = false;
    s.Router.V5 = s.Telnet.V4 = s.Graph.Latest1day = s.Graph.Pixels = s.Capture.BetweenHours = true;
    s.Capture.UnixTime = s.Capture.IsPNG = s.Telnet.ADSL2 = s.System.CSV = s.Search.UseSource = true;
    s.Router.UsernameNotRequired = false; // it would empty the user name
    s.Auth.Auth = false;                  // it would open the dialog on its first page
    s.Telnet.TelnetIP = QStringLiteral("127.0.0.9"); // the edit takes digits and dots only
    s.Router.RemLoginPass = s.Email.Rempass = s.WebServer.WebRemPass = true;
    s.System.Conf = true; // the first commit sets it
}

} // namespace

TEST_F(DialogFixture, ShowingAndClosingTheDialogKeepsEverySettingOfTheFile)
{
    // Numbers at the ends of their range too: [Graph] User1Min=-2147483648 once came back one higher.
    for (const Pick pick : {Pick::Another, Pick::Lowest, Pick::Highest}) {
        SCOPED_TRACE(pick == Pick::Another ? "another value" : pick == Pick::Lowest ? "lowest" : "highest");
        QFile::remove(ini);
        TSettings changed = settingsstore::load(SettingsEnvironment::forFile(ini)).settings;
        for (const KeySpec &k : settingsKeys())
            changeKey(k, changed, pick);
        keepCoherent(changed);
        ASSERT_TRUE(settingsstore::save(changed, ini).ok);
        const std::string before = testsupport::readAll(ini).toStdString();

        openFile();
        dialog->btnConfigureClick();
        dialog->close();
        ASSERT_FALSE(dialog->isVisible()) << (visibleBox() ? visibleBox()->text().toStdString() : std::string());
        ASSERT_TRUE(settingsstore::save(settings, ini).ok);
        EXPECT_EQ(testsupport::readAll(ini).toStdString(), before); // a failure shows the lines that changed
    }
}
