// Choosing a router model or a telnet family in the dialog: the fields each
// fills in, the fit indicator, the prompt rules, the two "Restore Defaults"
// buttons and the router address carried between the URLs.
#include "ConfigTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

struct ProfilesTest : DialogFixture {
    QString login() const { return control<QLineEdit>("edLoginURL")->text(); }
    QString logout() const { return control<QLineEdit>("edLogoutURL")->text(); }
    QString user() const { return control<QLineEdit>("edUsername")->text(); }
    void click(const char *name) { control<QAbstractButton>(name)->click(); }
    bool fitIsGreen() const
    {
        return control<QFrame>("Shape4")->palette().color(QPalette::Window) == QColor(0, 0xFF, 0);
    }
    bool telnetPageShown() const
    {
        return dialog->PageControl1->isTabVisible(dialog->PageControl1->indexOf(dialog->TabSheet7));
    }
};

} // namespace

TEST_F(ProfilesTest, EachModelFillsInItsFields)
{
    open("[Router]\nUsername=someone\n");
    dialog->show();
    click("rbV5");
    EXPECT_EQ(login(), QStringLiteral("http://192.168.0.1/RST_stattbl.htm"));
    EXPECT_EQ(logout(), QStringLiteral("http://192.168.0.1/LGO_logout.htm"));
    EXPECT_EQ(user(), QStringLiteral("admin"));
    EXPECT_EQ(settings.RouterLog.LogURL, QStringLiteral("\\FW_log.htm"));
    EXPECT_TRUE(settings.System.IsDG834);

    click("rbV1234");
    EXPECT_EQ(login(), QStringLiteral("http://192.168.0.1/setup.cgi?next_file=stattbl.htm"));
    EXPECT_EQ(settings.RouterLog.LogURL, QStringLiteral("/setup.cgi?next_file=log.htm&todo=cfg_init"));
    EXPECT_FALSE(control<QRadioButton>("rbV5")->isChecked());

    control<QLineEdit>("edUsername")->setText(QStringLiteral("me"));
    click("rbNotNetgear");
    EXPECT_EQ(login(), QStringLiteral("http://"));
    EXPECT_EQ(logout(), QStringLiteral("http://"));
    EXPECT_EQ(user(), QStringLiteral("me"));
    EXPECT_FALSE(settings.System.IsDG834);
    EXPECT_FALSE(control<QAbstractButton>("cbOverlayAtt")->isEnabled());
    EXPECT_TRUE(telnetPageShown());

    control<QAbstractButton>("cbTelnet")->setChecked(true);
    control<QLineEdit>("edPassword")->setText(QStringLiteral("secret"));
    click("rbST585");
    EXPECT_EQ(login(), QStringLiteral("http://192.168.1.254/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0"));
    EXPECT_EQ(user(), QStringLiteral("Administrator"));
    EXPECT_TRUE(settings.Router.ST585);
    EXPECT_FALSE(control<QAbstractButton>("cbTelnet")->isChecked());
    EXPECT_FALSE(control<QAbstractButton>("cbLogin")->isChecked());
    EXPECT_TRUE(control<QLineEdit>("edPassword")->text().isEmpty());
    EXPECT_FALSE(control<QAbstractButton>("cbLogOut")->isEnabled());
    EXPECT_FALSE(telnetPageShown());
}

TEST_F(ProfilesTest, OnlyAChangedModelResetsTheTypedUrls)
{
    open("[Router]\nV1234=1\nV5=0\nNotNetgear=0\nST585=0\nUsername=someone\n");
    dialog->show();
    const QString typed = QStringLiteral("http://127.0.0.1:8081/mine.htm");
    for (const char *model : {"rbV1234", "rbV1234"}) {
        control<QLineEdit>("edLoginURL")->setText(typed);
        click(model);
        EXPECT_EQ(login(), typed) << "clicking the chosen model";
        EXPECT_EQ(user(), QStringLiteral("someone"));
        EXPECT_TRUE(control<QRadioButton>(model)->isChecked());
    }
    click("rbV5");
    EXPECT_EQ(login(), QStringLiteral("http://192.168.0.1/RST_stattbl.htm"));
    EXPECT_FALSE(control<QRadioButton>("rbV1234")->isChecked());
}

TEST_F(ProfilesTest, PresetsDoNothingWhileTheDialogIsHidden)
{
    open();
    const QString before = login();
    dialog->rbV5Click();
    dialog->rbST585Click();
    EXPECT_EQ(login(), before);
    EXPECT_FALSE(settings.Router.ST585);
}

TEST_F(ProfilesTest, RadioSetsAllOffInTheFileStayOffUntilOneIsPicked)
{
    open("[Router]\nV1234=0\nV5=0\nST585=0\nNotNetgear=0\n");
    for (const char *name : {"rbV1234", "rbV5", "rbST585", "rbNotNetgear"})
        EXPECT_FALSE(control<QRadioButton>(name)->isChecked()) << name;
    dialog->show();
    click("rbV5");
    click("rbV5"); // a second click leaves it chosen
    EXPECT_TRUE(control<QRadioButton>("rbV5")->isChecked());
    EXPECT_EQ(int(control<QRadioButton>("rbV1234")->isChecked()) + int(control<QRadioButton>("rbST585")->isChecked()),
              0);
}

TEST_F(ProfilesTest, FitIndicatorFollowsModelAndFamily)
{
    open("[Router]\nV1234=1\n[Telnet]\nV123=1\n");
    dialog->show();
    EXPECT_TRUE(fitIsGreen());
    click("rbV5");
    EXPECT_FALSE(fitIsGreen());
    click("rbV5Telnet");
    EXPECT_TRUE(fitIsGreen());
    click("rbNotNetgear");
    click("rbV123");
    EXPECT_TRUE(fitIsGreen());
    click("rbST585");
    EXPECT_TRUE(fitIsGreen());
    click("rbV1234");
    click("rbV5Telnet");
    EXPECT_FALSE(fitIsGreen());
}

TEST_F(ProfilesTest, FamilyChoiceSetsThePromptAndMirrorsTheChipset)
{
    open("[Router]\nV1234=1\n[Telnet]\nV123=1\nTelnetPrompt=>\n");
    dialog->show();
    QComboBox *prompt = control<QComboBox>("cbtelnetPrompt");
    click("rbV4");
    EXPECT_EQ(settings.Telnet.TelnetPrompt, QStringLiteral(">"));
    EXPECT_TRUE(control<QRadioButton>("rbBroadcom")->isChecked());
    EXPECT_TRUE(control<QComboBox>("cbTelnetCmd")->isEnabled());
    // Version 5 with model v1-4 leaves the prompt; with model v5 it becomes "/ #".
    click("rbV5Telnet");
    EXPECT_EQ(settings.Telnet.TelnetPrompt, QStringLiteral(">"));
    click("rbV5");
    click("rbV5Telnet");
    EXPECT_EQ(settings.Telnet.TelnetPrompt, QStringLiteral("/ #"));
    EXPECT_EQ(prompt->currentText(), QStringLiteral("/ #"));
    // The chipset radios drive the family radios.
    click("rbAR7");
    EXPECT_TRUE(control<QRadioButton>("rbV123")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("rbV5Telnet")->isChecked());
    EXPECT_EQ(settings.Telnet.TelnetPrompt, QStringLiteral("#"));
    EXPECT_FALSE(control<QComboBox>("cbTelnetCmd")->isEnabled());
}

TEST_F(ProfilesTest, DgTeamAndNormalLoginFollowEachOther)
{
    open("[Router]\nTelnet=0\n");
    dialog->show();
    click("cbIsDGTeam");
    EXPECT_TRUE(control<QAbstractButton>("cbLoginTelnet")->isChecked());
    EXPECT_TRUE(control<QAbstractButton>("cbTelnet")->isChecked());
    EXPECT_FALSE(control<QAbstractButton>("cbAutoDebug")->isEnabled());
    click("cbTelnet"); // off: the normal log-in goes, and DGTeam with it
    EXPECT_FALSE(control<QAbstractButton>("cbLoginTelnet")->isChecked());
    EXPECT_FALSE(control<QAbstractButton>("cbIsDGTeam")->isChecked());
    EXPECT_TRUE(control<QAbstractButton>("cbAutoDebug")->isEnabled());
    control<QLineEdit>("edTelnetUsername")->setText(QStringLiteral("root"));
    EXPECT_EQ(control<QAbstractButton>("cbLoginTelnet")->text(),
              QStringLiteral("Login normally with 'root' and Password"));
}

TEST_F(ProfilesTest, TelnetDefaultsComeBackAtOnce)
{
    for (auto [loginUrl, address] : {std::pair{"http://192.168.1.1/index.htm", "192.168.1.1"},
                                     {"http://", "192.168.0.1"}}) {
        open(QByteArray("[Telnet]\nTelnetUsername=x\nTelnetPort=2323\nDisconnectOnStop=1\nUseHttpDebug=0\n"
                        "V4=1\nV123=0\nADSL=1\nADSLAuto=0\nTelnetRetry=0\n[Router]\nLogin=")
             + loginUrl + "\n");
        dialog->show();
        click("btnTelnetDefaults");
        EXPECT_EQ(settings.Telnet.TelnetUsername, QStringLiteral("admin"));
        EXPECT_EQ(settings.Telnet.TelnetPort, 23);
        EXPECT_TRUE(settings.Telnet.UseHttpDebug);
        EXPECT_FALSE(settings.Telnet.DisconnectOnStop);
        EXPECT_EQ(settings.Telnet.TelnetIP, QLatin1String(address));
        EXPECT_EQ(control<QLineEdit>("edTelnetIP")->text(), QLatin1String(address));
        EXPECT_EQ(control<QLineEdit>("edTelnetPort")->text(), QStringLiteral("23"));
        EXPECT_TRUE(control<QRadioButton>("rbAR7")->isChecked());
        EXPECT_TRUE(control<QRadioButton>("rbV123")->isChecked());
        EXPECT_FALSE(control<QRadioButton>("rbV4")->isChecked());
        EXPECT_TRUE(control<QRadioButton>("rbADSLAuto")->isChecked());
        EXPECT_FALSE(control<QRadioButton>("rbADSL")->isChecked());
        EXPECT_TRUE(control<QAbstractButton>("cbTelnetRetry")->isChecked());
        EXPECT_EQ(control<QComboBox>("cbTelnetCmd")->currentText(), QStringLiteral("/usr/sbin/adslctl info --stats"));
        // The telnet address is overridden again, so nothing here points away from loopback.
        TearDown();
    }
}

TEST_F(ProfilesTest, RestoreDefaultsAsksFirstAndCancelChangesNothing)
{
    open("[Router]\nV5=1\n[System]\nAdvise=0\n");
    dialog->show();
    const TSettings before = settings;
    click("btnRestore");
    QMessageBox *box = visibleBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(),
              QStringLiteral("Confirm:  Reset all prompts, \"search text\" positions, password and URLs to defaults?"));
    box->button(QMessageBox::Cancel)->click();
    EXPECT_EQ(settings.Router.Login, before.Router.Login);
    EXPECT_FALSE(settings.System.Advise);

    click("btnRestore");
    visibleBox()->button(QMessageBox::Yes)->click();
    EXPECT_TRUE(settings.System.Advise);
    EXPECT_EQ(settings.Search.NoisePos, 4528);
    EXPECT_EQ(settings.Router.Password, QStringLiteral("quillfen"));
    EXPECT_TRUE(control<QRadioButton>("rbV1234")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("rbV5")->isChecked());
    EXPECT_EQ(login(), QStringLiteral("http://192.168.0.1/setup.cgi?next_file=stattbl.htm"));
}

TEST_F(ProfilesTest, RestoreDefaultsOfTheSpeedTouch)
{
    open("[Router]\nST585=1\n[585Telnet]\nDefaultTimeout=30\n");
    dialog->show();
    click("btnRestore");
    ASSERT_NE(visibleBox(), nullptr);
    EXPECT_EQ(visibleBox()->text(), QStringLiteral("Confirm:  Reset password, URLs and Telnet session timeout to defaults?"));
    visibleBox()->button(QMessageBox::Yes)->click();
    EXPECT_EQ(settings._585Telnet.DefaultTimeout, QStringLiteral("120"));
    EXPECT_EQ(user(), QStringLiteral("Administrator"));
    EXPECT_FALSE(control<QAbstractButton>("cbLogin")->isChecked());
}

TEST_F(ProfilesTest, LeavingTheLoginUrlCarriesItsAddressAndPort)
{
    open();
    dialog->show();
    QLineEdit *edLogin = control<QLineEdit>("edLoginURL");
    edLogin->setText(QStringLiteral("http://127.0.0.5:9090/setup.cgi?next_file=stattbl.htm"));
    dialog->edLoginURLExit();
    EXPECT_EQ(logout(), QStringLiteral("http://127.0.0.5:9090/setup.cgi?todo=logout"));
    EXPECT_EQ(settings.Router.LogOut, logout());
    EXPECT_EQ(settings.Alarm.RebootURL, QStringLiteral("http://127.0.0.5:9090/setup.cgi?next_file=diag.htm&todo=reboot"));
    EXPECT_EQ(settings.Telnet.TelnetIP, QStringLiteral("127.0.0.5"));
    // A host that is not an address carries nothing.
    edLogin->setText(QStringLiteral("http://router.lan/x"));
    dialog->edLoginURLExit();
    EXPECT_EQ(settings.Telnet.TelnetIP, QStringLiteral("127.0.0.5"));
    EXPECT_EQ(logout(), QStringLiteral("http://127.0.0.5:9090/setup.cgi?todo=logout"));
    // Leaving the logout URL carries its address the other way.
    edLogin->setText(QStringLiteral("http://127.0.0.5:9090/a"));
    control<QLineEdit>("edLogoutURL")->setText(QStringLiteral("http://127.0.0.6/out"));
    dialog->edLogoutURLExit();
    EXPECT_EQ(login(), QStringLiteral("http://127.0.0.6/a"));
    EXPECT_EQ(settings.Router.LogOut, QStringLiteral("http://127.0.0.6/out"));
}
