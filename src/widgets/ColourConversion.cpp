#include "widgets/ColourConversion.h"

#include "settings/ColourNames.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor systemColour(unsigned index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0: // scroll bar
    case 15: // button face
    case 4: // menu
    case 30: // menu bar
    case 22: // 3D light
        return pal.color(QPalette::Button);
    case 1: // desktop
    case 12: // application workspace
        return pal.color(QPalette::Dark);
    case 2: // active caption
    case 13: // highlight
    case 29: // menu highlight
    case 27: // gradient active caption
        return pal.color(QPalette::Highlight);
    case 14: // highlight text
    case 9: // caption text
        return pal.color(QPalette::HighlightedText);
    case 5: // window
        return pal.color(QPalette::Base);
    case 7: // menu text
    case 8: // window text
    case 18: // button text
    case 19: // inactive caption text
        return pal.color(QPalette::WindowText);
    case 16: // button shadow
    case 21: // 3D dark shadow
    case 6: // window frame
        return pal.color(QPalette::Shadow);
    case 17: // grey text
        return pal.color(QPalette::Disabled, QPalette::Text);
    case 20: // button highlight
        return pal.color(QPalette::Light);
    case 23: // tool-tip text
        return pal.color(QPalette::ToolTipText);
    case 24: // tool-tip background
        return pal.color(QPalette::ToolTipBase);
    case 26: // hot light
        return pal.color(QPalette::Link);
    default: // borders and inactive captions
        return pal.color(QPalette::Mid);
    }
}

} // namespace

QColor toQColor(TColor colour)
{
    if (colour == colours::clNone || colour == colours::clDefault)
        return {};
    if ((colour & 0xFF000000u) == colours::clSystemColor)
        return systemColour(colour & 0xFFu);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}
