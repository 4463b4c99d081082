#include "settings/SettingsKeys.h"

#include <QByteArray>

namespace {

// Section members that start with a digit carry a leading underscore.
constexpr const char *sectionName(const char *member) { return member[0] == '_' ? member + 1 : member; }

} // namespace

const std::vector<KeySpec> &settingsKeys()
{
#define D(text) text, ComputedDefault::None, nullptr
#define COMPUTED(kind) nullptr, ComputedDefault::kind, nullptr
#define SAME_AS(S2, M2) nullptr, ComputedDefault::SameAs, [](TSettings &s) -> void * { return &s.S2.M2; }
#define ANY KeyRange{false, 0, 0}
#define R(lo, hi) KeyRange{true, lo, hi}
#define VT_SECTION(S, NAME)
#define VT_SECTION_END(S)
// DEF and RANGE expand to several initialisers each, so they travel as the variadic tail.
#define VT_ENTRY(S, M, NAME, WNAME, TYPE, ACCESS, ...)                                                        \
    KeySpec{sectionName(#S), NAME, WNAME, KeyType::TYPE, KeyAccess::ACCESS, __VA_ARGS__,                      \
            [](TSettings &s) -> void * { return &s.S.M; }},
#define VT_KEY(S, M, NAME, TYPE, DEF, RANGE) VT_ENTRY(S, M, NAME, NAME, TYPE, ReadWrite, DEF, RANGE)
#define VT_KEY_WRITTEN_AS(S, M, NAME, TYPE, DEF, RANGE, WNAME) VT_ENTRY(S, M, NAME, WNAME, TYPE, ReadWrite, DEF, RANGE)
#define VT_KEY_READ_ONLY(S, M, NAME, TYPE, DEF, RANGE) VT_ENTRY(S, M, NAME, NAME, TYPE, ReadOnly, DEF, RANGE)
#define VT_KEY_WRITE_ONLY(S, M, NAME, TYPE, DEF, RANGE) VT_ENTRY(S, M, NAME, NAME, TYPE, WriteOnly, DEF, RANGE)
    static const std::vector<KeySpec> table = {
#include "settings/SettingsKeys.inc"
    };
#undef D
#undef COMPUTED
#undef SAME_AS
#undef ANY
#undef R
#undef VT_SECTION
#undef VT_SECTION_END
#undef VT_ENTRY
#undef VT_KEY
#undef VT_KEY_WRITTEN_AS
#undef VT_KEY_READ_ONLY
#undef VT_KEY_WRITE_ONLY
    return table;
}

const std::vector<const char *> &settingsSectionWriteOrder()
{
    static const std::vector<const char *> order = {
        "Search", "UpTime", "Router", "Graph", "Capture", "IPAddress", "Telnet", "System", "Alarm",
        "CaptureTelnet", "Log", "Email", "RouterLog", "Auth", "WebServer", "Bias", "Ping", "585Telnet",
    };
    return order;
}

const KeySpec *findSettingsKey(const char *section, const char *key)
{
    const KeySpec *found = nullptr;
    for (const KeySpec &k : settingsKeys())
        if (qstricmp(k.section, section) == 0 && qstricmp(k.key, key) == 0)
            found = &k;
    return found;
}
