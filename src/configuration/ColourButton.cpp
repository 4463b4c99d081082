#include "configuration/ColourButton.h"

#include "widgets/ColourConversion.h"
#include "settings/ColourNames.h"

#include <QColorDialog>

ColourButton::ColourButton(QWidget *parent) : QPushButton(parent)
{
    setMinimumWidth(90);
    connect(this, &QPushButton::clicked, this, &ColourButton::pick);
    setColour(0);
}

void ColourButton::setColour(TColor colour)
{
    m_colour = colour;
    const QColor c = toQColor(colour);
    // The name is spoken and shown, so the colour is not told by the fill alone.
    const QString name = colours::nameOf(colour).value_or(c.name()).mid(0);
    setText(name.startsWith(QLatin1String("cl")) ? name.mid(2) : name);
    const QColor ink = c.lightness() < 128 ? Qt::white : Qt::black;
    setStyleSheet(QStringLiteral("background-color: %1; color: %2;").arg(c.name(), ink.name()));
}

// The picker is opened without a nested event loop; the choice arrives later.
void ColourButton::pick()
{
    auto *dialog = new QColorDialog(toQColor(m_colour), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("ColorDialog1"));
    connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor &c) {
        const TColor picked = TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
        setColour(picked);
        emit colourChanged(picked);
    });
    dialog->open();
}
