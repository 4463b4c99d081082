// The small settings dialogs: what each shows, what each of its answers
// stores, and that a keyboard and a screen reader can use every control.
#include "DialogTestSupport.h"
#include "TestSupport.h"
#include "configuration/TForm10.h"
#include "configuration/TForm14.h"
#include "configuration/TForm4.h"
#include "configuration/TForm6.h"
#include "configuration/TForm8.h"
#include "configuration/TForm9.h"
#include "configuration/UserLabelDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <functional>
#include <optional>
#include <gtest/gtest.h>
#include <memory>

using namespace dialogtest;

namespace {

struct DialogCase {
    const char *objectName;
    const char *caption;
    std::function<QDialog *(TSettings &)> make;
};

void PrintTo(const DialogCase &c, std::ostream *os) { *os << c.objectName; }

const DialogCase kDialogs[] = {
    {"TForm4", "Veltrano - DateTime Help", [](TSettings &) -> QDialog * { return new TForm4; }},
    {"TForm6", "Veltrano - Select e-mail client", [](TSettings &s) -> QDialog * { return new TForm6(s); }},
    {"TForm8", "DG834 Auto detection...", [](TSettings &s) -> QDialog * { return new TForm8(s); }},
    {"TForm9", "Veltrano Netgear Configuration...", [](TSettings &s) -> QDialog * { return new TForm9(s); }},
    {"TForm10", "Veltrano Log Options...", [](TSettings &s) -> QDialog * { return new TForm10(s); }},
    {"TForm12", "User Defined (2) Label....", [](TSettings &s) -> QDialog * { return new UserLabelDialog(2, s); }},
    {"TForm13", "User Defined (1) Label...", [](TSettings &s) -> QDialog * { return new UserLabelDialog(1, s); }},
    {"TForm14", "Reset Incremental Count At...", [](TSettings &s) -> QDialog * { return new TForm14(s); }},
};

struct EveryDialog : ::testing::TestWithParam<DialogCase> {};

} // namespace

TEST_P(EveryDialog, HasItsNameAndCaptionAndEveryControlIsNamedForScreenReaders)
{
    TSettings s = defaults();
    std::unique_ptr<QDialog> d(GetParam().make(s));
    d->show();
    EXPECT_EQ(d->objectName(), QLatin1String(GetParam().objectName));
    EXPECT_EQ(d->windowTitle(), QLatin1String(GetParam().caption));
    EXPECT_EQ(unnamedControls(d.get()), QStringList());
    // Something in it takes the keyboard focus.
    EXPECT_TRUE(d->focusWidget() || d->nextInFocusChain() != d.get());
}

INSTANTIATE_TEST_SUITE_P(SmallDialogs, EveryDialog, ::testing::ValuesIn(kDialogs));

// ---- date-time help --------------------------------------------------------

TEST(DateTimeHelp, ListsTheFormatLettersIndentedWithBlankLinesBetweenGroups)
{
    const QStringList lines = TForm4::helpText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], QStringLiteral(" ddd          = Day of the week (Mon, Tue)."));
    EXPECT_EQ(lines[5], QStringLiteral(" yy and yyyy  = 2 and 4-digit year."));
    EXPECT_EQ(lines[6], QString());
    EXPECT_EQ(lines[7], QStringLiteral(" hh           = Hours"));
    EXPECT_EQ(lines[9], QStringLiteral("                  if it immediately follows hh)"));
    EXPECT_EQ(lines[11], QString());
    EXPECT_EQ(lines[13], QStringLiteral(" literally."));
    TForm4 help;
    EXPECT_TRUE(help.Memo1->isReadOnly());
    EXPECT_EQ(help.Memo1->toPlainText(), TForm4::helpText());
}

// ---- e-mail client ---------------------------------------------------------

TEST(EmailClientDialog, ShowsTheChoiceAndEveryWayOfClosingStoresIt)
{
    TSettings s = defaults();
    s.Email.UseDefault = true;
    s.Email.Client = QStringLiteral("/usr/bin/old-mailer");
    for (auto close : std::initializer_list<std::function<void(TForm6 &)>>{
             [](TForm6 &d) { d.btnClose->click(); },
             [](TForm6 &d) { QTest::keyClick(&d, Qt::Key_Escape); },
             [](TForm6 &d) { d.close(); }}) {
        s.Email.UseDefault = true;
        TForm6 d(s);
        d.show();
        EXPECT_TRUE(d.rbUseDefault->isChecked());
        EXPECT_FALSE(d.edEmailClient->isEnabled());
        EXPECT_FALSE(d.btnBrowse->isEnabled());
        d.rbSelect->click();
        EXPECT_TRUE(d.edEmailClient->isEnabled());
        EXPECT_TRUE(d.btnBrowse->isEnabled());
        d.edEmailClient->setText(QStringLiteral("/usr/bin/new-mailer"));
        close(d);
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(s.Email.UseDefault);
        EXPECT_EQ(s.Email.Client, QStringLiteral("/usr/bin/new-mailer"));
    }
}

// ---- router detection and log options questions -----------------------------

namespace {

enum class Press { Ok, Cancel, CloseBox };

struct AdviceCase {
    const char *name;
    Press press;
    bool dontShowAgain;
    bool dg834Before;
    bool dg834After;
    bool adviseAfter;
};

void PrintTo(const AdviceCase &c, std::ostream *os) { *os << c.name; }

void press(AdviceDialog &d, Press p)
{
    if (p == Press::Ok)
        d.btnOK->click();
    else if (p == Press::Cancel)
        d.btnCancel->click();
    else
        d.close();
}

const AdviceCase kAdviceCases[] = {
    {"OkConfirmsAndKeepsAsking", Press::Ok, false, false, true, true},
    {"OkWithDontShowAgain", Press::Ok, true, false, true, false},
    {"CancelTurnsTheSearchOff", Press::Cancel, false, true, false, true},
    {"CancelWithDontShowAgain", Press::Cancel, true, true, false, false},
    {"CloseBoxLeavesTheSearchAlone", Press::CloseBox, true, true, true, false},
};

struct DetectionQuestion : ::testing::TestWithParam<AdviceCase> {};

} // namespace

TEST_P(DetectionQuestion, Dg834DialogStoresIsDg834AndAdvise)
{
    const AdviceCase &c = GetParam();
    TSettings s = defaults();
    s.System.IsDG834 = c.dg834Before;
    s.System.Advise = true;
    s.System.Advise1 = true;
    int calls = 0;
    AdviceDialog::Answer answer{};
    QWidget opener;
    opener.setGeometry(200, 100, 400, 300);
    QPointer<TForm8> d = TForm8::ask(&opener, s, TForm8::pollingText(), [&](AdviceDialog::Answer a) {
        ++calls;
        answer = a;
        // The answer is stored before the caller hears of it.
        EXPECT_EQ(s.System.IsDG834, c.dg834After);
    });
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("Veltrano has detected a Netgear DG834 series router."));
    EXPECT_EQ(d->Label2->text(),
              QStringLiteral("Press 'OK' to confirm this is correct\nand to use Veltrano' built-in accurate search function."));
    EXPECT_EQ(d->pos(), QPoint(270, 200));
    EXPECT_TRUE(d->isModal() || d->windowModality() != Qt::NonModal);
    d->cbAdvise->setChecked(c.dontShowAgain);
    press(*d, c.press);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(answer, c.press == Press::Ok ? AdviceDialog::Answer::Ok
                      : c.press == Press::Cancel ? AdviceDialog::Answer::Cancel
                                                 : AdviceDialog::Answer::Closed);
    EXPECT_EQ(s.System.IsDG834, c.dg834After);
    EXPECT_EQ(s.System.Advise, c.adviseAfter);
    EXPECT_TRUE(s.System.Advise1);
    EXPECT_TRUE(testsupport::waitFor([&] { return d.isNull(); }, 2000)) << "the dialog deletes itself";
}

TEST_P(DetectionQuestion, NetgearConfigurationDialogStoresIsDg834AndAdvise1)
{
    const AdviceCase &c = GetParam();
    TSettings s = defaults();
    s.System.IsDG834 = c.dg834Before;
    s.System.Advise = true;
    s.System.Advise1 = true;
    int calls = 0;
    QWidget opener;
    QPointer<TForm9> d = TForm9::ask(&opener, s, [&](AdviceDialog::Answer) { ++calls; });
    EXPECT_EQ(d->Label1->text(), QStringLiteral("Veltrano is currently configured for a Netgear DG834 series router."));
    EXPECT_EQ(d->Label2->text(), QStringLiteral("Press 'Cancel' if this is not correct."));
    d->cbAdvise1->setChecked(c.dontShowAgain);
    press(*d, c.press);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(s.System.IsDG834, c.dg834After);
    EXPECT_EQ(s.System.Advise1, c.adviseAfter);
    EXPECT_TRUE(s.System.Advise);
}

INSTANTIATE_TEST_SUITE_P(Answers, DetectionQuestion, ::testing::ValuesIn(kAdviceCases));

TEST(DetectionQuestion, OnlyAContentAttributeNamingADg834Counts)
{
    EXPECT_TRUE(TForm8::pageNamesDg834(QStringLiteral("<meta name=\"x\" content=\"DG834GT Router\">")));
    EXPECT_FALSE(TForm8::pageNamesDg834(QStringLiteral("<title>DG834</title>")));
    EXPECT_FALSE(TForm8::pageNamesDg834(QStringLiteral("content='DG834'")));
    EXPECT_FALSE(TForm8::pageNamesDg834(QString()));
}

TEST(LogOptionsWarning, IsNeededOnlyWhenNothingWouldWriteToAnEnabledLog)
{
    struct Row {
        bool log, atSample, atEvery, alarmBox, state, advise, needed;
    };
    const Row rows[] = {
        {true, false, false, false, false, true, true},
        {false, false, false, false, false, true, false},
        {true, true, false, false, false, true, false},
        {true, false, true, false, false, true, false},
        {true, false, false, true, false, true, false},
        {true, false, false, false, true, true, false},
        {true, false, false, false, false, false, false},
    };
    for (const Row &r : rows) {
        TSettings s = defaults();
        s.System.Log = r.log;
        s.Log.LogAtSample = r.atSample;
        s.Log.LogAtEvery = r.atEvery;
        s.Log.LogState = r.state;
        s.Log.Advise = r.advise;
        EXPECT_EQ(TForm10::needed(s, r.alarmBox), r.needed)
            << r.log << r.atSample << r.atEvery << r.alarmBox << r.state << r.advise;
    }
}

TEST(LogOptionsWarning, YesCarriesOnAndCancelOrTheCloseBoxEndsRun)
{
    for (const Press p : {Press::Ok, Press::Cancel, Press::CloseBox}) {
        TSettings s = defaults();
        s.Log.Advise = true;
        QWidget opener;
        std::optional<bool> carryOn;
        QPointer<TForm10> d = TForm10::ask(&opener, s, [&](bool go) { carryOn = go; });
        EXPECT_EQ(d->Label1->text(), QStringLiteral("The Log is enabled but no log schedule or alarm option is selected."));
        EXPECT_EQ(d->Label2->text(), QStringLiteral("Continue anyway?"));
        EXPECT_EQ(d->btnOK->text(), QStringLiteral("Yes"));
        d->cbAdvise2->setChecked(true);
        press(*d, p);
        ASSERT_TRUE(carryOn.has_value());
        EXPECT_EQ(*carryOn, p == Press::Ok);
        EXPECT_EQ(d->LogWarningCancelled, p != Press::Ok);
        EXPECT_FALSE(s.Log.Advise);
    }
}

// ---- user-defined figure labels ---------------------------------------------

TEST(UserLabelDialog, EachFigureUsesItsOwnKeysAndControlNames)
{
    TSettings s = defaults();
    s.Graph.UserLabel = QStringLiteral("Errors");
    s.Graph.UserLabel2 = QStringLiteral("Line Att");
    s.Graph.DiffUserDef1 = true;
    s.Graph.RawUserDef1 = false;

    UserLabelDialog one(1, s);
    EXPECT_EQ(one.edUserLabel->objectName(), QStringLiteral("edUserLabel"));
    EXPECT_EQ(one.rbRawUserDef->objectName(), QStringLiteral("rbRawUserDef"));
    EXPECT_EQ(one.edUserLabel->text(), QStringLiteral("Errors"));
    EXPECT_TRUE(one.rbRawUserDef->isChecked());

    UserLabelDialog two(2, s);
    EXPECT_EQ(two.edUserLabel->objectName(), QStringLiteral("edUserLabel2"));
    EXPECT_EQ(two.rbDiffUserDef->objectName(), QStringLiteral("rbDiffUserDef1"));
    EXPECT_EQ(two.edUserLabel->text(), QStringLiteral("Line Att"));
    EXPECT_TRUE(two.rbDiffUserDef->isChecked());
    EXPECT_EQ(two.Label1->text(), QStringLiteral("Type a label for this graph..."));
}

TEST(UserLabelDialog, OkStoresLabelAndPlotChoiceThenHandsTheLabelOn)
{
    TSettings s = defaults();
    s.Graph.UserLabel2 = QStringLiteral("User-def 2");
    QWidget opener;
    opener.setGeometry(10, 20, 300, 200);
    QString handedOn;
    bool diffWhenHandedOn = false;
    QPointer<UserLabelDialog> d = UserLabelDialog::open(2, &opener, s, [&](const QString &label) {
        handedOn = label;
        diffWhenHandedOn = s.Graph.DiffUserDef1;
    });
    EXPECT_EQ(d->pos(), QPoint(110, 220));
    d->edUserLabel->setText(QStringLiteral("Line Att"));
    d->rbDiffUserDef->click();
    d->btnOK->click();
    EXPECT_EQ(handedOn, QStringLiteral("Line Att"));
    EXPECT_TRUE(diffWhenHandedOn);
    EXPECT_EQ(s.Graph.UserLabel2, QStringLiteral("Line Att"));
    EXPECT_TRUE(s.Graph.DiffUserDef1);
    EXPECT_FALSE(s.Graph.RawUserDef1);
    EXPECT_EQ(s.Graph.UserLabel, QStringLiteral("User-def 1"));
}

TEST(UserLabelDialog, CancelChangesNothingAndEveryShowingReloadsTheLabel)
{
    TSettings s = defaults();
    s.Graph.UserLabel = QStringLiteral("Errors");
    bool handedOn = false;
    UserLabelDialog d(1, s);
    d.show();
    d.edUserLabel->setText(QStringLiteral("Typed but cancelled"));
    d.rbDiffUserDef->click();
    d.btnCancel->click();
    EXPECT_EQ(s.Graph.UserLabel, QStringLiteral("Errors"));
    EXPECT_FALSE(s.Graph.DiffUserDef);
    EXPECT_FALSE(handedOn);

    // Changed elsewhere meanwhile: the next showing shows the current label.
    s.Graph.UserLabel = QStringLiteral("CRC count");
    d.show();
    EXPECT_EQ(d.edUserLabel->text(), QStringLiteral("CRC count"));
    EXPECT_TRUE(d.rbRawUserDef->isChecked());
}

// ---- incremental count reset time --------------------------------------------

TEST(ResetTimeDialog, ShowsTheStoredTimeAndOkWritesItAsHoursAndMinutes)
{
    struct Row {
        const char *stored;
        QTime shown;
    };
    for (const Row &r : {Row{"21:45", QTime(21, 45)}, Row{"7:05", QTime(7, 5)}, Row{"garbage", QTime(3, 0)}}) {
        TSettings s = defaults();
        s.Telnet.ResetIncAt = QLatin1String(r.stored);
        TForm14 d(s);
        d.show();
        EXPECT_EQ(d.DateTimePicker1->time(), r.shown) << r.stored;
        EXPECT_EQ(d.Label1->text(), QStringLiteral("Reset Rx and Tx incremental values daily at..."));
    }
    TSettings s = defaults();
    QWidget main;
    main.setGeometry(100, 100, 800, 600);
    QPointer<TForm14> d = TForm14::open(&main, s);
    EXPECT_EQ(d->pos(), main.geometry().center() + QPoint(-150, -100));
    d->DateTimePicker1->setTime(QTime(4, 7));
    d->btnOK->click();
    EXPECT_EQ(s.Telnet.ResetIncAt, QStringLiteral("04:07"));
}

TEST(ResetTimeDialog, ClosingWithoutOkKeepsTheStoredTime)
{
    TSettings s = defaults();
    s.Telnet.ResetIncAt = QStringLiteral("03:00");
    TForm14 d(s);
    d.show();
    d.DateTimePicker1->setTime(QTime(11, 11));
    d.close();
    EXPECT_EQ(s.Telnet.ResetIncAt, QStringLiteral("03:00"));
}
