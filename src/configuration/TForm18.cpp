#include "configuration/TForm18.h"

#include "configuration/DialogOwner.h"
#include "configuration/DialogPlacement.h"
#include "widgets/ColourConversion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

struct NamedColour {
    const char *name;
    TColor value;
};

// The standard colours of a colour box, as 0x00BBGGRR.
constexpr NamedColour kStandardColours[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF},
};

QIcon swatch(TColor colour)
{
    QPixmap pm(16, 12);
    pm.fill(toQColor(colour));
    return QIcon(pm);
}

QComboBox *colourBox(QWidget *parent, const QString &name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    for (const NamedColour &c : kStandardColours)
        box->addItem(swatch(c.value), QString::fromLatin1(c.name), QVariant::fromValue<uint>(c.value));
    return box;
}

} // namespace

TForm18::TForm18(TSettings &settings, Redraw redraw, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_redraw(std::move(redraw))
{
    setObjectName(QStringLiteral("TForm18"));
    setWindowTitle(QStringLiteral("Icon Font"));

    Label1 = new QLabel(QStringLiteral("&Font:"), this);
    cbIconFont = new QComboBox(this);
    cbIconFont->setObjectName(QStringLiteral("cbIconFont"));
    cbIconFont->setMinimumWidth(200);
    Label2 = new QLabel(QStringLiteral("&Size:"), this);
    cbIconSize = new QComboBox(this);
    cbIconSize->setObjectName(QStringLiteral("cbIconSize"));
    cbIconSize->setEditable(true);
    cbIconSize->setInsertPolicy(QComboBox::NoInsert);
    for (int size = 5; size <= 10; ++size)
        cbIconSize->addItem(QString::number(size));
    // Typed and pasted text alike: a size is one or two digits.
    cbIconSize->lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), cbIconSize));
    Label3 = new QLabel(QStringLiteral("&Text colour:"), this);
    ColorBox1 = colourBox(this, QStringLiteral("ColorBox1"));
    Label4 = new QLabel(QStringLiteral("&Background colour:"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    ColorBox2 = colourBox(this, QStringLiteral("ColorBox2"));
    for (auto [label, buddy] : {std::pair{Label1, static_cast<QWidget *>(cbIconFont)},
                                {Label2, cbIconSize}, {Label3, ColorBox1}, {Label4, ColorBox2}})
        label->setBuddy(buddy);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));

    cbIconOpaque = new QCheckBox(QStringLiteral("Opaque background"), this);
    cbIconOpaque->setObjectName(QStringLiteral("cbIconOpaque"));
    cbIconBold = new QCheckBox(QStringLiteral("Bold"), this);
    cbIconBold->setObjectName(QStringLiteral("cbIconBold"));
    cbIntegerOnly = new QCheckBox(QStringLiteral("Round value to nearest whole number"), this);
    cbIntegerOnly->setObjectName(QStringLiteral("cbIntegerOnly"));
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnDefault = new QPushButton(QStringLiteral("Default"), this);
    btnDefault->setObjectName(QStringLiteral("btnDefault"));
    btnDefault->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cbIconFont, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(cbIconSize, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(ColorBox1, 2, 1);
    grid->addWidget(cbIconOpaque, 3, 0, 1, 2);
    grid->addWidget(Label4, 4, 0);
    grid->addWidget(ColorBox2, 4, 1);
    grid->addWidget(cbIconBold, 5, 0, 1, 2);
    grid->addWidget(cbIntegerOnly, 6, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnDefault);
    grid->addLayout(buttons, 7, 0, 1, 2);

    // The preview follows every choice made in a list, the size typed in, and the boxes.
    for (QComboBox *box : {cbIconFont, cbIconSize, ColorBox1, ColorBox2})
        connect(box, &QComboBox::activated, this, &TForm18::btntestClick);
    connect(cbIconSize->lineEdit(), &QLineEdit::editingFinished, this, &TForm18::btntestClick);
    connect(cbIconBold, &QCheckBox::clicked, this, &TForm18::btntestClick);
    connect(cbIconOpaque, &QCheckBox::clicked, this, &TForm18::cbIconOpaqueClick);
    connect(btnDefault, &QPushButton::clicked, this, &TForm18::btnDefaultClick);
    connect(btnOK, &QPushButton::clicked, this, &TForm18::btnOKClick);
    FormCreate();
    FormShow();
}

TForm18 *TForm18::open(QWidget *opener, TSettings &settings, Redraw redraw)
{
    auto *form = new TForm18(settings, std::move(redraw), opener);
    dialogs::openAt(form, opener, QPoint(100, 80));
    return form;
}

TForm18 *TForm18::open(QWidget *opener, DialogOwner &owner)
{
    DialogOwner *main = &owner;
    return open(opener, main->settings(), [main] { main->IconNoise(main->settings().Graph.NoiseColour); });
}

QStringList TForm18::fontList(const QStringList &systemFonts)
{
    QStringList fonts;
    for (const QString &f : systemFonts)
        if (!f.contains(QLatin1Char('@')))
            fonts << f;
    fonts << QStringLiteral("Arial Narrow");
    fonts.sort(Qt::CaseInsensitive);
    fonts.removeDuplicates();
    return fonts;
}

TColor TForm18::colourOf(const QComboBox *box) { return box->currentData().toUInt(); }

void TForm18::setColour(QComboBox *box, TColor colour)
{
    int index = box->findData(QVariant::fromValue<uint>(colour));
    if (index < 0) {
        // A colour of the settings file that is not a standard one keeps its own entry.
        box->addItem(swatch(colour), QStringLiteral("Custom"), QVariant::fromValue<uint>(colour));
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

void TForm18::FormCreate()
{
    const TSettings::SystemKeys &s = m_settings.System;
    cbIconSize->setEditText(QString::number(s.FontSize));
    cbIconOpaque->setChecked(s.FontOpaque);
    setColour(ColorBox1, s.Colour);
    setColour(ColorBox2, s.IconBackColour);
    cbIconBold->setChecked(s.FontStyle == 1);
    cbIntegerOnly->setChecked(s.IntegerOnly);
}

void TForm18::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TForm18::FormShow()
{
    const QString current = cbIconFont->count() ? cbIconFont->currentText() : m_settings.System.FontName;
    QStringList fonts = fontList(QFontDatabase::families());
    if (!fonts.contains(current))
        fonts << current;
    cbIconFont->clear();
    cbIconFont->addItems(fonts);
    cbIconFont->setCurrentIndex(cbIconFont->findText(current));
    Label4->setEnabled(cbIconOpaque->isChecked());
    ColorBox2->setEnabled(cbIconOpaque->isChecked());
}

void TForm18::store()
{
    TSettings::SystemKeys &s = m_settings.System;
    s.FontName = cbIconFont->currentText();
    // A size that is no number (or out of range) leaves the stored size alone.
    bool ok = false;
    const int size = cbIconSize->currentText().trimmed().toInt(&ok);
    if (ok && size >= 1 && size <= 72)
        s.FontSize = size;
    s.Colour = colourOf(ColorBox1);
    s.FontOpaque = cbIconOpaque->isChecked();
    s.IconBackColour = colourOf(ColorBox2);
    s.FontStyle = cbIconBold->isChecked() ? 1 : 0;
}

void TForm18::btntestClick()
{
    store();
    if (m_redraw)
        m_redraw();
}

void TForm18::cbIconOpaqueClick()
{
    Label4->setEnabled(cbIconOpaque->isChecked());
    ColorBox2->setEnabled(cbIconOpaque->isChecked());
    btntestClick();
}

void TForm18::btnDefaultClick()
{
    int index = cbIconFont->findText(QStringLiteral("Arial Narrow"));
    if (index < 0) {
        cbIconFont->addItem(QStringLiteral("Arial Narrow"));
        index = cbIconFont->count() - 1;
    }
    cbIconFont->setCurrentIndex(index);
    cbIconSize->setEditText(QStringLiteral("6"));
    setColour(ColorBox1, 0x00FFFF);
    cbIconOpaque->setChecked(false);
    Label4->setEnabled(false);
    ColorBox2->setEnabled(false);
    setColour(ColorBox2, 0x000000);
    cbIntegerOnly->setChecked(false);
    // The bold box is left as it is and decides the style.
    btntestClick();
}

void TForm18::btnOKClick()
{
    store();
    m_settings.System.IntegerOnly = cbIntegerOnly->isChecked();
    if (m_redraw)
        m_redraw();
    accept();
}
