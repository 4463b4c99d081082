#pragma once
// The value types of the settings file and the C++ type each is held in.
#include <QString>
#include <QTime>
#include <QtGlobal>

// A colour as the settings file and the charts know it: 0x00BBGGRR, or one of
// the system colours (0xFF0000nn, nn the system colour index), clNone or clDefault.
using TColor = quint32;

enum class KeyType {
    Bool,       // "1"/"0"; any number other than 0 is true
    Int,        // decimal (or $hex) text
    Float,      // text with the locale's decimal sign
    Text,       // stored unchanged
    SearchText, // may hold CR and LF, escaped as "%£%" and "%$%" in the file
    Password,   // stored scrambled by EnDeCrypt
    NumberText, // a number kept as text (ports, time-outs)
    Colour,     // colour identifier ("clNavy") or "$00BBGGRR"
    Flags,      // "0"/"1" per chart; its length is that of its default
    ClockTime,  // "HH:mm"
    LocaleTime, // a time of day in the locale's long time format
};

template <KeyType T> struct SettingValue;
template <> struct SettingValue<KeyType::Bool> { using type = bool; };
template <> struct SettingValue<KeyType::Int> { using type = int; };
template <> struct SettingValue<KeyType::Float> { using type = double; };
template <> struct SettingValue<KeyType::Text> { using type = QString; };
template <> struct SettingValue<KeyType::SearchText> { using type = QString; };
template <> struct SettingValue<KeyType::Password> { using type = QString; };
template <> struct SettingValue<KeyType::NumberText> { using type = QString; };
template <> struct SettingValue<KeyType::Colour> { using type = TColor; };
template <> struct SettingValue<KeyType::Flags> { using type = QString; };
template <> struct SettingValue<KeyType::ClockTime> { using type = QString; };
template <> struct SettingValue<KeyType::LocaleTime> { using type = QTime; };

template <KeyType T> using SettingValueT = typename SettingValue<T>::type;
