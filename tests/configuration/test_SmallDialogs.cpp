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
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

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

enum class Press { Ok, Cancel, CloseBox };

void press(AdviceDialog &d, Press p)
{
    if (p == Press::Ok)
        d.btnOK->click();
    else if (p == Press::Cancel)
        d.btnCancel->click();
    else
        d.close();
}

} // namespace

TEST_P(EveryDialog, HasItsNameAndCaptionAndEveryControlIsNamedForScreenReaders)
{
    TSettings s = defaults();
    std::unique_ptr<QDialog> d(GetParam().make(s));
    d->show();
    EXPECT_EQ(d->objectName(), QLatin1String(GetParam().objectName));
    EXPECT_EQ(d->windowTitle(), QLatin1String(GetParam().caption));
    EXPECT_EQ(unnamedControls(d.get()), QStringList());
}

INSTANTIATE_TEST_SUITE_P(SmallDialogs, EveryDialog, ::testing::ValuesIn(kDialogs));

TEST(DateTimeHelp, ListsTheFormatLettersIndentedWithBlankLinesBetweenGroups)
{
    const QStringList lines = TForm4::helpText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 14);
    for (int blank : {0, 6, 11})
        EXPECT_EQ(lines[blank], QString());
    EXPECT_EQ(lines[1], QStringLiteral(" ddd          = Day of the week (Mon, Tue)."));
    EXPECT_EQ(lines[7], QStringLiteral(" hh           = Hours"));
    EXPECT_EQ(lines[9], QStringLiteral("                  if it immediately follows hh)"));
    EXPECT_EQ(lines[13], QStringLiteral(" literally."));
}

TEST(EmailClientDialog, EveryWayOfClosingStoresTheChoice)
{
    TSettings s = defaults();
    for (auto close : std::initializer_list<std::function<void(TForm6 &)>>{
             [](TForm6 &d) { d.btnClose->click(); }, [](TForm6 &d) { QTest::keyClick(&d, Qt::Key_Escape); },
             [](TForm6 &d) { d.close(); }}) {
        s.Email.UseDefault = true;
        s.Email.Client = QStringLiteral("/usr/bin/old-mailer");
        TForm6 d(s);
        d.show();
        EXPECT_FALSE(d.edEmailClient->isEnabled());
        EXPECT_FALSE(d.btnBrowse->isEnabled());
        d.rbSelect->click();
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

struct AdviceCase {
    const char *name;
    Press press;
    bool dontShowAgain, dg834Before, dg834After, adviseAfter;
};

void PrintTo(const AdviceCase &c, std::ostream *os) { *os << c.name; }

const AdviceCase kAdviceCases[] = {
    {"OkWithDontShowAgain", Press::Ok, true, false, true, false},
    {"CancelTurnsTheSearchOff", Press::Cancel, false, true, false, true},
    {"CloseBoxLeavesTheSearchAlone", Press::CloseBox, true, true, true, false},
};

struct DetectionQuestion : ::testing::TestWithParam<AdviceCase> {};

} // namespace

TEST_P(DetectionQuestion, Dg834DialogStoresIsDg834AndAdviseBeforeTheCallerHearsOfIt)
{
    const AdviceCase &c = GetParam();
    TSettings s = defaults();
    s.System.IsDG834 = c.dg834Before;
    int calls = 0;
    QWidget opener;
    opener.setGeometry(200, 100, 400, 300);
    QPointer<TForm8> d = TForm8::ask(&opener, s, TForm8::pollingText(), [&](AdviceDialog::Answer) {
        ++calls;
        EXPECT_EQ(s.System.IsDG834, c.dg834After);
        EXPECT_EQ(s.System.Advise, c.adviseAfter);
    });
    EXPECT_EQ(d->Label2->text(),
              QStringLiteral("Press 'OK' to confirm this is correct\nand to use Veltrano' built-in accurate search function."));
    EXPECT_EQ(d->pos(), QPoint(270, 200));
    d->cbAdvise->setChecked(c.dontShowAgain);
    press(*d, c.press);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(s.System.Advise1);
    EXPECT_TRUE(testsupport::waitFor([&] { return d.isNull(); }, 2000)) << "the dialog deletes itself";
}

INSTANTIATE_TEST_SUITE_P(Answers, DetectionQuestion, ::testing::ValuesIn(kAdviceCases));

TEST(DetectionQuestion, NetgearConfigurationDialogUsesItsOwnAdviseKey)
{
    TSettings s = defaults();
    s.System.IsDG834 = true;
    QWidget opener;
    QPointer<TForm9> d = TForm9::ask(&opener, s, {});
    EXPECT_EQ(d->Label2->text(), QStringLiteral("Press 'Cancel' if this is not correct."));
    d->cbAdvise1->setChecked(true);
    d->btnCancel->click();
    EXPECT_FALSE(s.System.IsDG834);
    EXPECT_FALSE(s.System.Advise1);
    EXPECT_TRUE(s.System.Advise);
}

TEST(LogOptionsWarning, IsNeededOnlyWhenNothingWouldWriteToAnEnabledLog)
{
    struct Row {
        bool log, atSample, atEvery, alarmBox, state, advise, needed;
    };
    for (const Row &r : {Row{true, false, false, false, false, true, true}, Row{false, false, false, false, false, true, false},
                         Row{true, true, false, false, false, true, false}, Row{true, false, true, false, false, true, false},
                         Row{true, false, false, true, false, true, false}, Row{true, false, false, false, true, true, false},
                         Row{true, false, false, false, false, false, false}}) {
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

TEST(LogOptionsWarning, TheCloseBoxEndsRunLikeCancel)
{
    TSettings s = defaults();
    QWidget opener;
    std::optional<bool> carryOn;
    QPointer<TForm10> d = TForm10::ask(&opener, s, [&](bool go) { carryOn = go; });
    d->cbAdvise2->setChecked(true);
    press(*d, Press::CloseBox);
    EXPECT_EQ(carryOn, std::optional<bool>(false));
    EXPECT_TRUE(d->LogWarningCancelled);
    EXPECT_FALSE(s.Log.Advise);
}

// ---- user-defined figure labels ---------------------------------------------

TEST(UserLabelDialog, OkStoresLabelAndPlotChoiceOfItsFigureThenHandsTheLabelOn)
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
    EXPECT_EQ(d->edUserLabel->objectName(), QStringLiteral("edUserLabel2"));
    EXPECT_EQ(d->rbDiffUserDef->objectName(), QStringLiteral("rbDiffUserDef1"));
    d->edUserLabel->setText(QStringLiteral("Line Att"));
    d->rbDiffUserDef->click();
    d->btnOK->click();
    EXPECT_EQ(handedOn, QStringLiteral("Line Att"));
    EXPECT_TRUE(diffWhenHandedOn) << "the chart title made from the label sees the choice";
    EXPECT_EQ(s.Graph.UserLabel2, QStringLiteral("Line Att"));
    EXPECT_FALSE(s.Graph.RawUserDef1);
    EXPECT_EQ(s.Graph.UserLabel, QStringLiteral("User-def 1"));
    EXPECT_FALSE(s.Graph.DiffUserDef);
}

TEST(UserLabelDialog, CancelChangesNothingAndEveryShowingReloadsTheLabel)
{
    TSettings s = defaults();
    s.Graph.UserLabel = QStringLiteral("Errors");
    UserLabelDialog d(1, s);
    d.show();
    d.edUserLabel->setText(QStringLiteral("Typed but cancelled"));
    d.rbDiffUserDef->click();
    d.btnCancel->click();
    EXPECT_EQ(s.Graph.UserLabel, QStringLiteral("Errors"));
    EXPECT_FALSE(s.Graph.DiffUserDef);

    s.Graph.UserLabel = QStringLiteral("CRC count"); // changed elsewhere meanwhile
    d.show();
    EXPECT_EQ(d.edUserLabel->text(), QStringLiteral("CRC count"));
    EXPECT_TRUE(d.rbRawUserDef->isChecked());
}

TEST(ResetTimeDialog, ShowsTheStoredTimeAndOnlyOkWritesIt)
{
    for (const auto &[stored, shown] : {std::pair{"21:45", QTime(21, 45)}, {"7:05", QTime(7, 5)}, {"junk", QTime(3, 0)}}) {
        TSettings s = defaults();
        s.Telnet.ResetIncAt = QLatin1String(stored);
        TForm14 d(s);
        d.show();
        EXPECT_EQ(d.DateTimePicker1->time(), shown) << stored;
        d.DateTimePicker1->setTime(QTime(11, 11));
        d.close();
        EXPECT_EQ(s.Telnet.ResetIncAt, QLatin1String(stored));
    }
    TSettings s = defaults();
    TForm14 d(s);
    d.DateTimePicker1->setTime(QTime(4, 7));
    d.btnOK->click();
    EXPECT_EQ(s.Telnet.ResetIncAt, QStringLiteral("04:07"));
}
