// The tray icon's font dialog: what it loads, what each preview stores and
// redraws, "Default", and sizes that are no number.
#include "DialogTestSupport.h"
#include "configuration/TForm18.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace dialogtest;

namespace {

struct IconFontTest : ::testing::Test {
    TSettings s = defaults();
    int redraws = 0;
    std::unique_ptr<TForm18> d;

    void open()
    {
        d = std::make_unique<TForm18>(s, [this] { ++redraws; });
        d->show();
    }
};

} // namespace

TEST_F(IconFontTest, LoadsEverySettingAndNamesEveryControl)
{
    s.System.FontSize = 8;
    s.System.Colour = 0x0000FF;
    s.System.IconBackColour = 0x123456; // no standard colour
    s.System.FontStyle = 3;             // bold italic is not "bold"
    open();
    EXPECT_EQ(d->cbIconFont->currentText(), QStringLiteral("Arial Narrow"));
    EXPECT_EQ(d->cbIconSize->currentText(), QStringLiteral("8"));
    EXPECT_EQ(d->ColorBox1->currentText(), QStringLiteral("Red"));
    EXPECT_EQ(TForm18::colourOf(d->ColorBox2), 0x123456u);
    EXPECT_FALSE(d->cbIconBold->isChecked());
    // The background colour only matters on an opaque background.
    EXPECT_FALSE(d->ColorBox2->isEnabled());
    EXPECT_EQ(TForm18::fontList({"Zeta", "@MS Gothic", "alpha"}), QStringList({"alpha", "Arial Narrow", "Zeta"}));
    EXPECT_EQ(unnamedControls(d.get()), QStringList());
    EXPECT_EQ(redraws, 0) << "opening alone changes nothing";
}

TEST_F(IconFontTest, EveryPreviewStoresAtOnceAndRedrawsTheTrayIcon)
{
    open();
    d->cbIconOpaque->click();
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(s.System.FontOpaque);
    EXPECT_TRUE(d->ColorBox2->isEnabled());

    d->cbIconBold->click();
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(s.System.FontStyle, 1);

    const int lime = d->ColorBox1->findText(QStringLiteral("Lime"));
    d->ColorBox1->setCurrentIndex(lime);
    emit d->ColorBox1->activated(lime);
    EXPECT_EQ(s.System.Colour, 0x00FF00u);

    d->cbIconSize->lineEdit()->setText(QStringLiteral("9"));
    emit d->cbIconSize->lineEdit()->editingFinished();
    EXPECT_EQ(s.System.FontSize, 9);
    EXPECT_GE(redraws, 4);

    // The rounding switch waits for OK.
    d->cbIntegerOnly->click();
    EXPECT_FALSE(s.System.IntegerOnly);
    d->btnOK->click();
    EXPECT_TRUE(s.System.IntegerOnly);
}

TEST_F(IconFontTest, DefaultRestoresTheFactoryLookButKeepsBold)
{
    s.System.FontName = QStringLiteral("DejaVu Sans");
    s.System.FontSize = 9;
    s.System.Colour = 0x0000FF;
    s.System.FontOpaque = true;
    s.System.IconBackColour = 0xFFFFFF;
    s.System.FontStyle = 1;
    s.System.IntegerOnly = true;
    open();
    d->btnDefault->click();
    EXPECT_EQ(s.System.FontName, QStringLiteral("Arial Narrow"));
    EXPECT_EQ(s.System.FontSize, 6);
    EXPECT_EQ(s.System.Colour, 65535u);
    EXPECT_FALSE(s.System.FontOpaque);
    EXPECT_EQ(s.System.IconBackColour, 0u);
    EXPECT_EQ(s.System.FontStyle, 1);
    EXPECT_FALSE(d->cbIntegerOnly->isChecked());
    EXPECT_TRUE(s.System.IntegerOnly) << "stored by OK only";
}

TEST_F(IconFontTest, ASizeThatIsNoNumberKeepsTheStoredSize)
{
    s.System.FontSize = 7;
    s.System.FontName = QStringLiteral("DejaVu Sans");
    open();
    d->cbIconFont->setCurrentIndex(d->cbIconFont->findText(QStringLiteral("Arial Narrow")));
    for (const char *text : {"", "0", "99"}) {
        d->cbIconSize->setEditText(QLatin1String(text));
        d->btntestClick();
        EXPECT_EQ(s.System.FontSize, 7) << text;
    }
    EXPECT_EQ(s.System.FontName, QStringLiteral("Arial Narrow"));

    // Typed and pasted text alike admit digits only.
    QLineEdit *edit = d->cbIconSize->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("1x2"));
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    edit->clear();
    QApplication::clipboard()->setText(QStringLiteral("8pt"));
    edit->paste();
    EXPECT_EQ(edit->text(), QString());
}
