#include "mainwindow/ChartColour.h"

#include "settings/ColourNames.h"

#include <QGuiApplication>

namespace {

// The nearest palette entry for each Windows system colour index.
QColor systemColour(unsigned index, const QPalette &p)
{
    switch (index) {
    case 0: return p.color(QPalette::Button);                              // scroll bar
    case 1: return p.color(QPalette::Window);                              // desktop
    case 2: return p.color(QPalette::Highlight);                           // active caption
    case 3: return p.color(QPalette::Mid);                                 // inactive caption
    case 4: return p.color(QPalette::Window);                              // menu
    case 5: return p.color(QPalette::Base);                                // window
    case 6: return p.color(QPalette::Shadow);                              // window frame
    case 7: return p.color(QPalette::WindowText);                          // menu text
    case 8: return p.color(QPalette::Text);                                // window text
    case 9: return p.color(QPalette::HighlightedText);                     // caption text
    case 10: return p.color(QPalette::Window);                             // active border
    case 11: return p.color(QPalette::Window);                             // inactive border
    case 12: return p.color(QPalette::Dark);                               // application workspace
    case 13: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);
    case 15: return p.color(QPalette::Button);                             // button face
    case 16: return p.color(QPalette::Dark);                               // button shadow
    case 17: return p.color(QPalette::Disabled, QPalette::Text);           // grey text
    case 18: return p.color(QPalette::ButtonText);
    case 19: return p.color(QPalette::Disabled, QPalette::WindowText);     // inactive caption text
    case 20: return p.color(QPalette::Light);                              // button highlight
    case 21: return p.color(QPalette::Shadow);                             // 3D dark shadow
    case 22: return p.color(QPalette::Midlight);                           // 3D light
    case 23: return p.color(QPalette::ToolTipText);                        // info text
    case 24: return p.color(QPalette::ToolTipBase);                        // info background
    case 26: return p.color(QPalette::Link);                               // hot light
    case 27: return p.color(QPalette::Highlight);                          // gradient active caption
    case 28: return p.color(QPalette::Mid);                                // gradient inactive caption
    case 29: return p.color(QPalette::Highlight);                          // menu highlight
    case 30: return p.color(QPalette::Window);                             // menu bar
    default: return p.color(QPalette::Window);
    }
}

} // namespace

QColor chartcolour::toQColor(TColor colour)
{
    return toQColor(colour, QGuiApplication::palette());
}

QColor chartcolour::toQColor(TColor colour, const QPalette &palette)
{
    if (colour == colours::clNone)
        return QColor(Qt::transparent);
    if (colour == colours::clDefault)
        return palette.color(QPalette::Base);
    if ((colour & 0xFF000000u) == colours::clSystemColor)
        return systemColour(colour & 0xFFu, palette);
    // Any other high byte (palette-relative forms) still names the low 24 bits.
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

TColor chartcolour::fromQColor(const QColor &colour)
{
    const QColor c = colour.toRgb();
    return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}
