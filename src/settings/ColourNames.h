#pragma once
// The 52 named colours of the settings file ("clNavy", "clBtnFace", ...) and
// the text form of every other colour ("$00BBGGRR").
#include "settings/SettingTypes.h"

#include <QString>
#include <optional>

namespace colours {

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The identifier of a named colour, or "$" and eight upper-case hex digits.
QString toText(TColor colour);

// An identifier (any case) or a number ("$00A79F85", "0x...", "255", "-16777201");
// nullopt when the text is neither.
std::optional<TColor> fromText(const QString &text);

// The identifier when the colour has one.
std::optional<QString> nameOf(TColor colour);

} // namespace colours
