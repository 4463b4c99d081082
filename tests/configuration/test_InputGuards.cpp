// Edits that take some characters only take them whether typed or pasted;
// a stored password is shown only to whoever types it into a masked field.
#include "DialogTestSupport.h"
#include "TestSupport.h"
#include "configuration/CharacterFilter.h"
#include "configuration/PasswordReveal.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

using namespace dialogtest;

namespace {

struct FilterCase {
    const char *name;
    CharacterFilter::Kind kind;
    const char *typed;
    const char *kept;
};

void PrintTo(const FilterCase &c, std::ostream *os) { *os << c.name; }

const FilterCase kFilterCases[] = {
    {"PortDigitsOnly", CharacterFilter::Kind::Digits, "2a5 ", "25"},
    {"PortRefusesSigns", CharacterFilter::Kind::Digits, "-23+", "23"},
    {"AddressDigitsAndDots", CharacterFilter::Kind::DottedAddress, "127.0.0.1:23", "127.0.0.123"},
    {"PatternRefusesColon", CharacterFilter::Kind::FileNamePattern, "hh:nn", "hhnn"},
    {"PatternRefusesEveryPathCharacter", CharacterFilter::Kind::FileNamePattern, "a\\b/c:d*e?f\"g<h>i|j", "abcdefghij"},
    {"PatternKeepsBlanksAndDashes", CharacterFilter::Kind::FileNamePattern, "dd mmm - yyyy", "dd mmm - yyyy"},
};

struct TypedOrPasted : ::testing::TestWithParam<FilterCase> {};

} // namespace

TEST_P(TypedOrPasted, RefusedCharactersNeverReachTheEdit)
{
    const FilterCase &c = GetParam();
    QLineEdit typed;
    CharacterFilter::install(&typed, c.kind);
    QTest::keyClicks(&typed, QLatin1String(c.typed));
    EXPECT_EQ(typed.text(), QLatin1String(c.kept));

    QLineEdit pasted;
    CharacterFilter::install(&pasted, c.kind);
    pasted.setText(QStringLiteral("1"));
    pasted.setCursorPosition(0);
    QApplication::clipboard()->setText(QLatin1String(c.typed));
    pasted.paste();
    EXPECT_EQ(pasted.text(), QLatin1String(c.kept) + QLatin1Char('1'));
    EXPECT_EQ(pasted.cursorPosition(), static_cast<int>(qstrlen(c.kept)));
    EXPECT_EQ(CharacterFilter::filtered(c.kind, QLatin1String(c.typed)), QLatin1String(c.kept));
}

INSTANTIATE_TEST_SUITE_P(Filters, TypedOrPasted, ::testing::ValuesIn(kFilterCases));

TEST(TypedOrPasted, TypingAColonIntoAPatternInsertsNothing)
{
    QLineEdit edit;
    CharacterFilter::install(&edit, CharacterFilter::Kind::FileNamePattern);
    edit.setText(QStringLiteral("hhnn"));
    edit.setCursorPosition(2);
    QTest::keyClick(&edit, Qt::Key_Colon);
    EXPECT_EQ(edit.text(), QStringLiteral("hhnn"));
    EXPECT_EQ(edit.cursorPosition(), 2);
}

// ---- password reveal ---------------------------------------------------------

namespace {

struct RevealTest : ::testing::Test {
    QWidget page;
    QLineEdit *edit = new QLineEdit(&page);
    QCheckBox *box = new QCheckBox(QStringLiteral("Show password in plain text"), &page);
    QString stored = QStringLiteral("quillfen");
    PasswordReveal *reveal = nullptr;

    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&page);
        layout->addWidget(edit);
        layout->addWidget(box);
        edit->setEchoMode(QLineEdit::Password);
        edit->setText(stored);
        reveal = new PasswordReveal(box, edit, [this] { return stored; });
        page.show();
    }

    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox *>(w) || qobject_cast<PasswordPrompt *>(w))
                delete w;
    }

    PasswordPrompt *checkTheBox()
    {
        box->click();
        return reveal->Prompt.data();
    }
};

} // namespace

TEST_F(RevealTest, TheRightPasswordTypedIntoAMaskedFieldShowsTheText)
{
    PasswordPrompt *prompt = checkTheBox();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->windowTitle(), QStringLiteral("Password..."));
    EXPECT_EQ(prompt->Label1->text(), QStringLiteral("Type Password"));
    EXPECT_EQ(prompt->edPassword->echoMode(), QLineEdit::Password) << "nobody looking on sees it typed";
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password) << "still masked while the question is up";
    EXPECT_EQ(unnamedControls(prompt), QStringList());
    QTest::keyClicks(prompt->edPassword, stored);
    prompt->btnOK->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(openBox(), nullptr);

    box->click(); // unchecking masks again, asking nothing
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(reveal->Prompt.isNull() || !reveal->Prompt->isVisible());
}

TEST_F(RevealTest, AWrongPasswordSaysSoAndUnchecksTheBox)
{
    PasswordPrompt *prompt = checkTheBox();
    ASSERT_NE(prompt, nullptr);
    prompt->edPassword->setText(QStringLiteral("guess"));
    prompt->btnOK->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    QMessageBox *message = openBox();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), QStringLiteral("Incorrect Password."));
}

TEST_F(RevealTest, CancellingOrAnEmptyAnswerUnchecksSilently)
{
    for (const bool cancel : {true, false}) {
        PasswordPrompt *prompt = checkTheBox();
        ASSERT_NE(prompt, nullptr);
        prompt->edPassword->setText(cancel ? stored : QString());
        (cancel ? prompt->btnCancel : prompt->btnOK)->click();
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(openBox(), nullptr);
    }
}

TEST_F(RevealTest, WithNoStoredPasswordTheBoxShowsTheTextAtOnce)
{
    stored.clear();
    box->click();
    EXPECT_EQ(reveal->Prompt.data(), nullptr);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
}

TEST(PasswordCheck, ComparesExactly)
{
    using R = PasswordPrompt::Result;
    EXPECT_EQ(PasswordPrompt::check("abc", "abc", true), R::Right);
    EXPECT_EQ(PasswordPrompt::check("ABC", "abc", true), R::Wrong);
    EXPECT_EQ(PasswordPrompt::check("abc ", "abc", true), R::Wrong);
    EXPECT_EQ(PasswordPrompt::check("abc", "abc", false), R::Cancelled);
    EXPECT_EQ(PasswordPrompt::check("", "abc", true), R::Cancelled);
}
