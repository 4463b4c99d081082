#include "settings/ColourNames.h"

#include <array>

namespace {

struct NamedColour {
    const char *name;
    TColor value;
};

constexpr TColor sys(unsigned index) { return colours::clSystemColor | index; }

// The order matters where two names share a value: the first one is written.
constexpr std::array<NamedColour, 52> kNamed{{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", sys(10)}, {"clActiveCaption", sys(2)}, {"clAppWorkSpace", sys(12)},
    {"clBackground", sys(1)}, {"clBtnFace", sys(15)}, {"clBtnHighlight", sys(20)},
    {"clBtnShadow", sys(16)}, {"clBtnText", sys(18)}, {"clCaptionText", sys(9)},
    {"clDefault", colours::clDefault}, {"clGradientActiveCaption", sys(27)},
    {"clGradientInactiveCaption", sys(28)}, {"clGrayText", sys(17)}, {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)}, {"clHotLight", sys(26)}, {"clInactiveBorder", sys(11)},
    {"clInactiveCaption", sys(3)}, {"clInactiveCaptionText", sys(19)}, {"clInfoBk", sys(24)},
    {"clInfoText", sys(23)}, {"clMenu", sys(4)}, {"clMenuBar", sys(30)}, {"clMenuHighlight", sys(29)},
    {"clMenuText", sys(7)}, {"clNone", colours::clNone}, {"clScrollBar", sys(0)},
    {"cl3DDkShadow", sys(21)}, {"cl3DLight", sys(22)}, {"clWindow", sys(5)},
    {"clWindowFrame", sys(6)}, {"clWindowText", sys(8)},
}};

} // namespace

std::optional<QString> colours::nameOf(TColor colour)
{
    for (const auto &c : kNamed)
        if (c.value == colour)
            return QString::fromLatin1(c.name);
    return std::nullopt;
}

QString colours::toText(TColor colour)
{
    if (auto name = nameOf(colour))
        return *name;
    return QStringLiteral("$%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<TColor> colours::fromText(const QString &text)
{
    const QString t = text.trimmed();
    for (const auto &c : kNamed)
        if (t.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.value;

    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    // A colour is a 32-bit value; negative decimals are the system colours.
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        return std::nullopt;
    return static_cast<TColor>(static_cast<quint32>(v));
}
