#pragma once
// The table of settings keys: section, key, type, default, range and the
// TSettings member each one fills. The load and the save both walk it.
#include "settings/SettingTypes.h"
#include "settings/TSettings.h"

#include <QtGlobal>
#include <vector>

enum class KeyAccess {
    ReadWrite,
    ReadOnly,  // read at start-up, never written back
    WriteOnly, // written by every save; the Configuration dialog reads it
};

enum class ComputedDefault {
    None,                   // the literal defaultText
    SameAs,                 // the value just loaded for another key
    LocaleUsesDecimalComma, // true when the locale's decimal sign is ","
    ProgramPathTxt,         // the program's path with ".txt"
    ProgramPathHtmLower,    // the program's path with ".htm", its file name in lower case
    ProgramFolder,          // the program's folder, no trailing separator
    ScreenCentreTop,        // screen height div 2 - 230
    ScreenCentreLeft,       // screen width div 2 - 325
    NowHHmm,                // the time of the load, "HH:mm"
    NowLongTime,            // the time of the load
};

struct KeyRange {
    bool bounded;
    qint64 min;
    qint64 max;
};

struct KeySpec {
    const char *section;  // as in the file, e.g. "585Telnet"
    const char *key;      // as read
    const char *writeKey; // as written (differs from key only in case)
    KeyType type;
    KeyAccess access;
    const char *defaultText; // file form of a literal default
    ComputedDefault computed;
    void *(*sameAs)(TSettings &); // the member a SameAs default copies
    KeyRange range;
    void *(*member)(TSettings &);

    template <KeyType T> SettingValueT<T> &ref(TSettings &s) const
    {
        return *static_cast<SettingValueT<T> *>(member(s));
    }
};

// Every key in load order (the write-only keys in their place in the table).
const std::vector<KeySpec> &settingsKeys();

// The sections in the order a new file gets them.
const std::vector<const char *> &settingsSectionWriteOrder();

// The key as read, matched without regard to case; nullptr when unknown.
// Where a key is read twice ([Ping] Max) the last entry is returned.
const KeySpec *findSettingsKey(const char *section, const char *key);
