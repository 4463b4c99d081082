// The Configuration dialog on its own: the binding table against the forms,
// keyboard and screen-reader reach, the close query's checks, when the file
// is written, and the presets and handlers of the router and telnet pages.
#include "AccessibilityCheck.h"
#include "ConfigTestSupport.h"
#include "configuration/ColourButton.h"
#include "configuration/CommonSettingsPage.h"
#include "configuration/RouterSearchTextPage.h"
#include "configuration/ControlBindings.h"
#include "configuration/SettingsBinder.h"
#include "settings/SettingsKeys.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <climits>

namespace {


} // namespace

TEST_F(DialogFixture, EveryBindingFindsItsControlAndKey)
{
    open();
    EXPECT_EQ(dialog->binder().problems(), QStringList());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Veltrano - Configuration"));
    EXPECT_GE(dialog->minimumWidth(), 657);
}

TEST_F(DialogFixture, EveryControlIsReachableByKeyboardAndHasASpokenName)
{
    open();
    const testsupport::AccessibilityGaps gaps = testsupport::accessibilityGaps(dialog->findChildren<QWidget *>());
    EXPECT_EQ(gaps.silent, QStringList());
    EXPECT_EQ(gaps.unreachable, QStringList());
}

TEST_F(DialogFixture, EveryBoundControlIsCopiedIntoItsKey)
{
    open();
    // Each control is changed alone, committed into a copy, and its key must follow.
    const TSettings before = settings;
    for (const ControlBinding &b : configurationBindings()) {
        if (b.kind == BindingKind::LoadOnly)
            continue;
        QWidget *w = dialog->binder().control(b.control);
        TSettings s = before;
        if (auto *colour = qobject_cast<ColourButton *>(w))
            colour->setColour(colour->colour() ^ 0x00FFFFFF); // what the picker hands back: another colour
        else if (auto *button = qobject_cast<QAbstractButton *>(w); button && button->isCheckable())
            button->setChecked(!button->isChecked());
        else if (auto *spin = qobject_cast<QSpinBox *>(w))
            spin->setValue(spin->value() == spin->maximum() ? spin->minimum() : spin->value() + 1);
        else if (auto *slider = qobject_cast<QSlider *>(w))
            slider->setValue(slider->value() == slider->maximum() ? slider->minimum() : slider->value() + 1);
        else if (auto *time = qobject_cast<QTimeEdit *>(w))
            time->setTime(time->time().addSecs(3600));
        else if (auto *combo = qobject_cast<QComboBox *>(w))
            b.kind == BindingKind::ItemIndex ? combo->setCurrentIndex(1 - combo->currentIndex())
                                             : combo->setCurrentText(QStringLiteral("changed"));
        else if (auto *edit = qobject_cast<QLineEdit *>(w))
            edit->setText(QLatin1String(b.key) == QLatin1String("TelnetPort") || QLatin1String(b.key) == "Port"
                              ? QStringLiteral("2525")
                              : QStringLiteral("changed"));
        dialog->binder().commit(b.group, s);
        const KeySpec *key = findSettingsKey(b.section, b.key);
        TSettings unchanged = before;
        const bool differs = [&] {
            switch (key->type) {
            case KeyType::Bool: return key->ref<KeyType::Bool>(s) != key->ref<KeyType::Bool>(unchanged);
            case KeyType::Int: return key->ref<KeyType::Int>(s) != key->ref<KeyType::Int>(unchanged);
            case KeyType::Colour: return key->ref<KeyType::Colour>(s) != key->ref<KeyType::Colour>(unchanged);
            default: return key->ref<KeyType::Text>(s) != key->ref<KeyType::Text>(unchanged);
            }
        }();
        EXPECT_TRUE(differs) << b.control << " -> [" << b.section << "] " << b.key;
        dialog->binder().load(before); // controls that follow others go back too
    }
}

TEST_F(DialogFixture, LoadedNumbersAreClampedToTheirControlsAndTimesComeBackAsHHmm)
{
    open("[System]\nSample=500\nPoints=10\n[Log]\nTrimTime=7:05\n[Email]\nDailyTime=23:59\n");
    EXPECT_EQ(control<QSpinBox>("spSample")->value(), 120);
    EXPECT_EQ(control<QSpinBox>("spPoints")->value(), 50);
    dialog->FormCloseQuery();
    EXPECT_EQ(settings.System.Sample, 120);
    EXPECT_EQ(settings.Log.TrimTime, QStringLiteral("07:05"));
    EXPECT_EQ(settings.Email.DailyTime, QStringLiteral("23:59"));
}

TEST_F(DialogFixture, PageDurationIsShownInHoursAndMinutes)
{
    EXPECT_EQ(CommonSettingsPage::pageDuration(60, 250), QStringLiteral("(4 hr : 10 min)"));
    EXPECT_EQ(CommonSettingsPage::pageDuration(20, 250), QStringLiteral("(1 hr : 23 min)"));
    EXPECT_EQ(CommonSettingsPage::pageDuration(1, 50), QStringLiteral("(0 hr : 1 min)"));
    EXPECT_EQ(CommonSettingsPage::pageDuration(120, 10000), QStringLiteral("(333 hr : 20 min)"));
    open("[System]\nSample=60\nPoints=250\n");
    EXPECT_EQ(control<QLabel>("Label45")->text(), QStringLiteral("(4 hr : 10 min)"));
    control<QSpinBox>("spSample")->setValue(30);
    EXPECT_EQ(control<QLabel>("Label45")->text(), QStringLiteral("(2 hr : 5 min)"));
}

TEST_F(DialogFixture, RangeChecksKeepTheDialogOpenAndCommitOnlyTheRouterLogBox)
{
    struct Case {
        const char *max, *min;
        int maxValue, minValue;
        const char *message;
    } cases[] = {
        {"spNoiseMax", "spNoiseMin", 10, 10, "Rx Noise: The maximum value must be larger than the minimum value."},
        {"spNoiseMax", "spNoiseMin", 5, 9, "Rx Noise: The maximum value must be larger than the minimum value."},
        {"spSyncMax", "spSyncMin", 800, 800,
         "Rx Sync Speed: The maximum value must be larger than the minimum value."},
    };
    for (const Case &c : cases) {
        open();
        dialog->show();
        control<QSpinBox>(c.max)->setValue(c.maxValue);
        control<QSpinBox>(c.min)->setValue(c.minValue);
        control<QAbstractButton>("cbEmailRouterLog")->setChecked(true);
        control<QAbstractButton>("cbAutoStart")->setChecked(true);
        dialog->close();
        EXPECT_TRUE(dialog->isVisible()) << c.max;
        ASSERT_NE(visibleBox(), nullptr);
        EXPECT_EQ(visibleBox()->text(), QLatin1String(c.message));
        EXPECT_TRUE(settings.RouterLog.EmailRouterLog);
        EXPECT_FALSE(settings.System.AutoStart);
        EXPECT_FALSE(settings.System.Conf);
        EXPECT_TRUE(refreshed.isEmpty());
        // Apply still writes the file from the settings as they stand.
        dialog->btnApplyClick();
        EXPECT_EQ(saves, 1);
        TearDown();
        saves = 0;
    }
}

TEST_F(DialogFixture, LogFileWithoutExtensionKeepsTheDialogOpenButIsCommitted)
{
    open("[System]\nLog=1\nLogFile=/tmp/logs/stats\n");
    dialog->show();
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_NE(visibleBox(), nullptr);
    EXPECT_EQ(visibleBox()->text(), QStringLiteral("A filename needs to be specified for the Log."));
    EXPECT_TRUE(settings.System.Conf);
    // With a file per day the name is their folder.
    control<QAbstractButton>("cbNewLog")->setChecked(true);
    EXPECT_TRUE(dialog->FormCloseQuery());
    EXPECT_EQ(settings.System.LogFile, QStringLiteral("/tmp/logs/stats/"));
    EXPECT_EQ(control<QLineEdit>("edLogFile")->text(), QStringLiteral("/tmp/logs/stats/"));
}

TEST_F(DialogFixture, TheFileIsWrittenByApplyAndTabChangesOnly)
{
    open("[System]\nLast2=3\nLast3=2\nLast5=1\n");
    // The remembered pages come back without writing anything.
    EXPECT_EQ(dialog->PageControl1->currentIndex(), 3);
    EXPECT_EQ(dialog->PageControl2->currentIndex(), 2);
    EXPECT_EQ(dialog->PageControl4->currentIndex(), 1);
    EXPECT_EQ(saves, 0);
    dialog->btnConfigureClick();
    EXPECT_EQ(saves, 0);
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(refreshed.isEmpty());

    dialog->btnConfigureClick();
    dialog->PageControl1->setCurrentIndex(4);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(settings.System.Last2, 4);
    dialog->PageControl4->setCurrentIndex(0);
    EXPECT_EQ(saves, 2);
    dialog->PageControl2->setCurrentIndex(0); // a graph sub-page is remembered, not saved
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(settings.System.Last3, 0);
    QTest::mouseClick(dialog->btnApply, Qt::LeftButton);
    EXPECT_EQ(saves, 3);
    // Opening on a graph page while showing does nothing; once closed it goes there without saving.
    dialog->close();
    dialog->openGraphPage(QStringLiteral("Capture"));
    EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->TabSheet3);
    EXPECT_EQ(dialog->PageControl2->currentIndex(), 2);
    EXPECT_EQ(saves, 3);
    dialog->close();
    for (auto [sub, index] : {std::pair{"Axes", 0}, {"Common", 1}, {"Extras", 3}, {"", 3}}) {
        dialog->openGraphPage(QLatin1String(sub));
        EXPECT_EQ(dialog->PageControl2->currentIndex(), index) << sub;
        dialog->close();
    }
}

TEST_F(DialogFixture, EscapeClosesThroughTheCloseQuery)
{
    open();
    dialog->btnConfigureClick();
    control<QSpinBox>("spNoiseMin")->setValue(30);
    control<QSpinBox>("spNoiseMax")->setValue(20);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    visibleBox()->accept();
    control<QSpinBox>("spNoiseMax")->setValue(40);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(settings.Graph.NoiseMax, 40);
    EXPECT_EQ(saves, 0);
}

TEST_F(DialogFixture, SettingsChangedElsewhereAreShownAndNotRevertedByTheNextCommit)
{
    open("[Graph]\nShowGaps=1\nRxNoiseAvg=0\n[System]\nLog=0\n[Log]\nLogIP=1\n");
    dialog->btnConfigureClick();
    dialog->close();
    // Meanwhile the window's menus and small dialogs change settings.
    settings.Graph.ShowGaps = false;
    settings.Graph.RxNoiseAvg = true;
    settings.Log.LogIP = false;
    settings.Graph.UserLabel = QStringLiteral("Line Att");
    dialog->btnConfigureClick();
    EXPECT_FALSE(control<QAbstractButton>("cbShowGaps")->isChecked());
    EXPECT_EQ(control<QLineEdit>("edUserlabel")->text(), QStringLiteral("Line Att"));
    dialog->close();
    EXPECT_FALSE(settings.Graph.ShowGaps);
    EXPECT_TRUE(settings.Graph.RxNoiseAvg);
    EXPECT_FALSE(settings.Log.LogIP);
    EXPECT_EQ(settings.Graph.UserLabel, QStringLiteral("Line Att"));
}

TEST_F(DialogFixture, TeachingPageTakesTheLoginPagesValuesAndTheSourceBoxes)
{
    open("[Search]\nUseSource=1\nLoopBack=0\n");
    dialog->btnConfigureClick();
    auto *login = control<QLineEdit>("edLoginURL");
    login->setText(QStringLiteral("http://127.0.0.1:9/st.htm"));
    dialog->PageControl1->setCurrentWidget(dialog->Search);
    EXPECT_EQ(settings.Router.Login, QStringLiteral("http://127.0.0.1:9/st.htm"));
    EXPECT_EQ(dialog->cbUseSource->parentWidget(), static_cast<QWidget *>(dialog->Search));
    EXPECT_TRUE(dialog->cbUseSource->isChecked());
    dialog->cbLoopback->click();
    EXPECT_FALSE(dialog->cbUseSource->isChecked());
    EXPECT_TRUE(settings.Search.LoopBack);
    EXPECT_FALSE(settings.Search.UseSource);
    if (QMessageBox *box = visibleBox())
        box->accept();
}

TEST_F(DialogFixture, AuthStartsOnTheLoginPage)
{
    open("[System]\nLast2=5\n[Auth]\nAuth=1\n");
    EXPECT_EQ(dialog->PageControl1->currentIndex(), 0);
}

TEST_F(DialogFixture, FirstRunShowsTheDialogByItselfAndItsCommitSetsConf)
{
    open();
    EXPECT_TRUE(dialog->Timer1->isActive());
    EXPECT_EQ(dialog->Timer1->interval(), 1500);
    dialog->Timer1Timer();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_FALSE(settings.System.Conf);
    dialog->close();
    EXPECT_TRUE(settings.System.Conf);

    open("[System]\nConf=1\n");
    EXPECT_FALSE(dialog->Timer1->isActive());
}

TEST_F(DialogFixture, PortsThatAreNotPortsNeverReplaceAGoodOne)
{
    const char *bad[] = {"0", "65536", "", "23x"};
    for (const char *text : bad) {
        open("[Telnet]\nTelnetPort=2323\n[Email]\nPort=587\n");
        control<QLineEdit>("edTelnetPort")->setText(QLatin1String(text));
        control<QLineEdit>("edEmailPort")->setText(QLatin1String(text));
        control<QAbstractButton>("cbShowPing")->setChecked(true); // a later group is still committed
        EXPECT_TRUE(dialog->FormCloseQuery()) << text;
        EXPECT_EQ(settings.Telnet.TelnetPort, 2323) << text;
        EXPECT_EQ(settings.Email.Port, QStringLiteral("587")) << text;
        EXPECT_EQ(control<QLineEdit>("edTelnetPort")->text(), QStringLiteral("2323"));
        EXPECT_TRUE(settings.Ping.ShowPing);
        EXPECT_TRUE(dialog->StatusPanels[0]->text().contains(QStringLiteral("kept")));
    }
    control<QLineEdit>("edTelnetPort")->setText(QStringLiteral("65535"));
    dialog->FormCloseQuery();
    EXPECT_EQ(settings.Telnet.TelnetPort, 65535);
    // Typing is held to digits in range.
    QLineEdit *port = control<QLineEdit>("edEmailPort");
    port->clear();
    QTest::keyClicks(port, QStringLiteral("2a5"));
    EXPECT_EQ(port->text(), QStringLiteral("25"));
}

TEST_F(DialogFixture, FileNamePatternsStayInsideTheirFolder)
{
    open("[System]\nNewLogFormat=yyyy-mm-dd\n[Capture]\nDateTime=-yyyymmdd\n");
    QLineEdit *pattern = control<QLineEdit>("edNewLog");
    pattern->setText(QStringLiteral("../../etc/x"));
    control<QLineEdit>("edFileDateTime")->setText(QStringLiteral("a/b"));
    dialog->FormCloseQuery();
    EXPECT_EQ(settings.System.NewLogFormat, QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(settings.Capture.DateTime, QStringLiteral("-yyyymmdd"));
    EXPECT_EQ(pattern->text(), QStringLiteral("yyyy-mm-dd"));
    pattern->clear();
    QTest::keyClicks(pattern, QStringLiteral("a/.b.."));
    EXPECT_EQ(pattern->text(), QStringLiteral("a.b."));
}

TEST_F(DialogFixture, PasswordsAreMaskedUnlessShownPlain)
{
    open("[Router]\nUsePlain=0\n[Email]\nEmailUsePlain=1\n");
    dialog->show();
    EXPECT_EQ(control<QLineEdit>("edPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(control<QLineEdit>("edEmailPass")->echoMode(), QLineEdit::Normal);
    control<QAbstractButton>("cbUsePlain")->click();
    EXPECT_EQ(control<QLineEdit>("edPassword")->echoMode(), QLineEdit::Normal);
}

TEST_F(DialogFixture, CreationSetsTheDerivedStates)
{
    open("[Router]\nST585=1\ncbLogOut=1\n[Graph]\nUserAuto=0\n[Telnet]\nDisableHTTP=1\nTelnetIP=\n"
         "[Ping]\nShowPing=0\nEmailPing=1\n[System]\nNumbering=1\n[Capture]\nLastGraph=0\n");
    EXPECT_FALSE(settings.Router.cbLogOut);
    EXPECT_FALSE(control<QAbstractButton>("cbLogOut")->isEnabled());
    EXPECT_FALSE(dialog->PageControl1->isTabVisible(dialog->PageControl1->indexOf(dialog->TabSheet7)));
    EXPECT_TRUE(control<QSpinBox>("spUserMax")->isEnabled());
    EXPECT_FALSE(control<QSpinBox>("spUser1Max")->isEnabled());
    EXPECT_FALSE(control<QAbstractButton>("cbUser1Avg")->isEnabled());
    EXPECT_FALSE(control<QAbstractButton>("cbRegional")->isEnabled());
    EXPECT_FALSE(control<QAbstractButton>("cbLessThan")->isEnabled());
    EXPECT_FALSE(control<QAbstractButton>("cbEmailPing")->isChecked());
    EXPECT_FALSE(control<QLabel>("Label1")->isEnabled());
    // The telnet address is taken from the login URL's address.
    EXPECT_EQ(settings.Telnet.TelnetIP, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(control<QLineEdit>("edTelnetIP")->text(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(control<QLabel>("Label18")->text().startsWith(QStringLiteral("Version 6.3       1 Jan")));
}

TEST_F(DialogFixture, PartnerRadiosWithoutKeysShowTheOtherChoice)
{
    open("[Graph]\nDots=0\nStairs=1\n");
    EXPECT_TRUE(control<QRadioButton>("rbLines")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("rbDots")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("rbRamp")->isChecked());
    dialog->show();
    control<QRadioButton>("rbDots")->click();
    EXPECT_FALSE(control<QRadioButton>("rbLines")->isChecked());
    dialog->close();
    EXPECT_TRUE(settings.Graph.Dots);
}

// A number the file may hold and the control cannot show would be changed by opening and closing the dialog.
TEST_F(DialogFixture, EveryNumberControlHoldsExactlyTheRangeOfItsKey)
{
    open();
    for (const ControlBinding &b : configurationBindings()) {
        QWidget *w = dialog->binder().control(b.control);
        qint64 lowest = 0, highest = 0;
        if (qobject_cast<QSpinBox *>(w) || qobject_cast<QSlider *>(w)) {
            lowest = w->property("minimum").toLongLong();
            highest = w->property("maximum").toLongLong();
        } else if (auto *combo = qobject_cast<QComboBox *>(w); combo && b.kind == BindingKind::ItemIndex)
            highest = combo->count() - 1;
        else
            continue;
        const KeyRange range = findSettingsKey(b.section, b.key)->range;
        EXPECT_EQ(lowest, range.bounded ? range.min : INT_MIN) << b.control;
        EXPECT_EQ(highest, range.bounded ? range.max : INT_MAX) << b.control;
    }
}
