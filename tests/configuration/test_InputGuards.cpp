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

// ---- password reveal ---------------------------------------------------------

namespace {

struct RevealTest : ::testing::Test {
    QWidget page;
    QLineEdit *edit = new QLineEdit(&page);
    QCheckBox *box = new QCheckBox(QStringLiteral("Show password in plain text"), &page);
    QString stored = QStringLiteral("quillfen");
    PasswordReveal *reveal = new PasswordReveal(box, edit, [this] { return stored; });

    void SetUp() override
    {
        edit->setEchoMode(QLineEdit::Password);
        page.show();
    }

    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox *>(w) || qobject_cast<PasswordPrompt *>(w))
                delete w;
    }

    // Checks the box and answers the question.
    void answer(const QString &typed, bool ok)
    {
        box->click();
        PasswordPrompt *prompt = reveal->Prompt.data();
        ASSERT_NE(prompt, nullptr);
        EXPECT_EQ(prompt->edPassword->echoMode(), QLineEdit::Password) << "nobody looking on sees it typed";
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password) << "still masked while the question is up";
        QTest::keyClicks(prompt->edPassword, typed);
        (ok ? prompt->btnOK : prompt->btnCancel)->click();
    }
};

} // namespace

TEST_F(RevealTest, TheRightPasswordShowsTheTextAndUncheckingMasksIt)
{
    answer(stored, true);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(openBox(), nullptr);
    box->click();
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
}

TEST_F(RevealTest, AWrongPasswordSaysSoAndUnchecksTheBox)
{
    answer(QStringLiteral("Quillfen"), true);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    QMessageBox *message = openBox();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), QStringLiteral("Incorrect Password."));
}

TEST_F(RevealTest, CancellingOrAnEmptyAnswerUnchecksSilently)
{
    for (const auto &[typed, ok] : {std::pair{QStringLiteral("quillfen"), false}, {QString(), true}}) {
        answer(typed, ok);
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
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
}
