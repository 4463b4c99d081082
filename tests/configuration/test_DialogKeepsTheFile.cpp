// The Configuration dialog over a settings file in which every setting holds
// something other than its default: shown and closed as a user does, then
// saved, the file must hold what it held. A control the dialog commits but
// never loaded would write its default back.
#include "ConfigTestSupport.h"
#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"

#include <QRegularExpression>

namespace {

// Another value of the key's type, within its range.
void changeKey(const KeySpec &k, TSettings &s)
{
    const auto otherNumber = [&k](qint64 v) {
        return k.range.bounded && v + 1 > k.range.max ? v - 1 : v + 1;
    };
    const auto otherText = [](const QString &v) {
        // Every address stays on loopback.
        static const QRegularExpression lan(QStringLiteral("192\\.168\\.\\d+\\.\\d+"));
        return v.contains(lan) ? QString(v).replace(lan, QStringLiteral("127.0.0.9")) : v + QLatin1Char('x');
    };
    switch (k.type) {
    case KeyType::Bool: k.ref<KeyType::Bool>(s) = !k.ref<KeyType::Bool>(s); break;
    case KeyType::Int: k.ref<KeyType::Int>(s) = int(otherNumber(k.ref<KeyType::Int>(s))); break;
    case KeyType::Float: k.ref<KeyType::Float>(s) += 1.5; break;
    case KeyType::Colour:
        k.ref<KeyType::Colour>(s) = k.ref<KeyType::Colour>(s) == 0x123456 ? 0x654321 : 0x123456;
        break;
    case KeyType::ClockTime:
        k.ref<KeyType::ClockTime>(s) = k.ref<KeyType::ClockTime>(s) == QLatin1String("04:17")
                                           ? QStringLiteral("05:17") : QStringLiteral("04:17");
        break;
    case KeyType::LocaleTime: k.ref<KeyType::LocaleTime>(s) = k.ref<KeyType::LocaleTime>(s).addSecs(3723); break;
    case KeyType::Flags: {
        QString &flags = k.ref<KeyType::Flags>(s);
        if (!flags.isEmpty())
            flags[0] = flags[0] == QLatin1Char('1') ? QLatin1Char('0') : QLatin1Char('1');
        break;
    }
    case KeyType::NumberText: {
        QString &text = k.ref<KeyType::NumberText>(s);
        text = k.range.bounded ? QString::number(otherNumber(text.toLongLong())) : otherText(text);
        break;
    }
    case KeyType::Text:
    case KeyType::SearchText:
    case KeyType::Password: k.ref<KeyType::Text>(s) = otherText(k.ref<KeyType::Text>(s)); break;
    }
}

// One choice per group of radios, and boxes whose partners would change them.
void keepCoherent(TSettings &s)
{
    s.Router.V1234 = s.Router.NotNetgear = s.Router.ST585 = false;
    s.Router.V5 = true;
    s.Telnet.V123 = s.Router.V5Telnet = false;
    s.Telnet.V4 = true;
    s.Graph.Latest15 = s.Graph.LastReboot = false;
    s.Graph.Latest1day = true;
    s.Graph.PerCent = false;
    s.Graph.Pixels = true;
    s.Capture.Never = s.Capture.AllTheTime = false;
    s.Capture.BetweenHours = true;
    s.Capture.WindowsTime = s.Capture.SameFilename = false;
    s.Capture.UnixTime = true;
    s.Capture.IsJPG = s.Capture.IsBMP = s.Capture.IsGIF = false;
    s.Capture.IsPNG = true;
    s.Telnet.ADSL = s.Telnet.ADSLAuto = false;
    s.Telnet.ADSL2 = true;
    s.System.CSV = true;
    s.System.TabSV = false;
    s.Search.UseSource = true;
    s.Search.LoopBack = false;
    s.Router.UsernameNotRequired = false; // it would empty the user name
    s.Auth.Auth = false;                  // it would open the dialog on its first page
    s.Telnet.TelnetIP = QStringLiteral("127.0.0.9"); // the edit takes digits and dots only
    s.Router.RemLoginPass = s.Email.Rempass = s.WebServer.WebRemPass = true;
    s.System.Conf = true; // the first commit sets it
}

QStringList changedKeys(const QByteArray &before, const QByteArray &after)
{
    IniFile a, b;
    a.parse(before);
    b.parse(after);
    QStringList out;
    for (const KeySpec &k : settingsKeys()) {
        const auto was = a.value(k.section, k.writeKey), now = b.value(k.section, k.writeKey);
        if (was != now)
            out << QStringLiteral("[%1] %2: %3 -> %4")
                       .arg(QLatin1String(k.section), QLatin1String(k.key),
                            QString::fromLatin1(was.value_or("(none)")), QString::fromLatin1(now.value_or("(none)")));
    }
    return out;
}

} // namespace

TEST_F(DialogFixture, ShowingAndClosingTheDialogKeepsEverySettingOfTheFile)
{
    TSettings changed = settingsstore::load(SettingsEnvironment::forFile(ini)).settings;
    for (const KeySpec &k : settingsKeys())
        changeKey(k, changed);
    keepCoherent(changed);
    ASSERT_TRUE(settingsstore::save(changed, ini).ok);
    const QByteArray before = testsupport::readAll(ini);

    openFile();
    dialog->btnConfigureClick();
    dialog->close();
    ASSERT_FALSE(dialog->isVisible()) << (visibleBox() ? visibleBox()->text().toStdString() : std::string());
    ASSERT_TRUE(settingsstore::save(settings, ini).ok);
    EXPECT_EQ(changedKeys(before, testsupport::readAll(ini)), QStringList());
}
