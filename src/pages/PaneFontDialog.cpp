#include "pages/PaneFontDialog.h"

#include <QFontDatabase>
#include <QFontInfo>

#include "widgets/ColourConversion.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

PaneFontDialog::PaneFontDialog(const QFont &font, const QColor &colour, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FontDialog1"));
    setWindowTitle(tr("Font"));
    auto *layout = new QVBoxLayout(this);
    m_fonts = new QFontDialog(font, this);
    m_fonts->setOptions(QFontDialog::NoButtons);
    m_fonts->setWindowFlags(Qt::Widget);
    layout->addWidget(m_fonts);
    auto *row = new QHBoxLayout;
    btnColour = new QPushButton(tr("Colour..."), this);
    btnColour->setObjectName(QStringLiteral("btnColour"));
    row->addWidget(btnColour);
    row->addStretch(1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    row->addWidget(buttons);
    layout->addLayout(row);
    setColour(colour);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnColour, &QPushButton::clicked, this, [this] {
        auto *picker = new QColorDialog(m_colour, this);
        picker->setAttribute(Qt::WA_DeleteOnClose);
        connect(picker, &QColorDialog::colorSelected, this, &PaneFontDialog::setColour);
        picker->open();
    });
}

QFont PaneFontDialog::selectedFont() const { return m_fonts->currentFont(); }

void PaneFontDialog::setColour(const QColor &colour)
{
    m_colour = colour.isValid() ? colour : QColor(Qt::black);
    QPixmap swatch(16, 16);
    swatch.fill(m_colour);
    btnColour->setIcon(QIcon(swatch));
    btnColour->setAccessibleDescription(m_colour.name());
}

QFont PaneFontDialog::fontOf(const TSettings &s)
{
    QFont font(s.System.MemoFontName, qMax(1, s.System.MemoFontSize));
    const int style = s.System.MemoFontStyle;
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
    // Router output is laid out in columns: a family that is missing here falls
    // back to the system's fixed font rather than a proportional one.
    font.setStyleHint(QFont::TypeWriter);
    const QStringList fixedFamilies{QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                                    QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
    for (const QString &family : fixedFamilies) {
        if (QFontInfo(font).fixedPitch())
            break;
        font.setFamily(family);
    }
    return font;
}

QColor PaneFontDialog::colourOf(const TSettings &s)
{
    const QColor colour = toQColor(s.System.MemoColour);
    return colour.isValid() ? colour : QColor(Qt::black);
}

void PaneFontDialog::store(TSettings &s, const QFont &font, const QColor &colour)
{
    s.System.MemoFontName = font.family();
    s.System.MemoFontSize = qBound(1, font.pointSize(), 72);
    s.System.MemoFontStyle =
        (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0);
    // Settings colours are 0x00BBGGRR.
    s.System.MemoColour = TColor(colour.red()) | TColor(colour.green()) << 8 | TColor(colour.blue()) << 16;
}

void PaneFontDialog::apply(const QList<QPlainTextEdit *> &panes, const TSettings &s)
{
    const QFont font = fontOf(s);
    const QColor colour = colourOf(s);
    for (QPlainTextEdit *pane : panes) {
        if (!pane)
            continue;
        pane->setFont(font);
        QPalette palette = pane->palette();
        palette.setColor(QPalette::Text, colour);
        pane->setPalette(palette);
    }
}

void PaneFontDialog::choose(QWidget *parent, TSettings &s, const std::function<void()> &applyFonts)
{
    auto *dialog = new PaneFontDialog(fontOf(s), colourOf(s), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    TSettings *settings = &s;
    connect(dialog, &QDialog::finished, parent, [settings, dialog, applyFonts](int result) {
        if (result == QDialog::Accepted)
            store(*settings, dialog->selectedFont(), dialog->selectedColour());
        applyFonts();
    });
    dialog->open();
}
