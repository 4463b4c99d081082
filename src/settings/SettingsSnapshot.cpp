#include "settings/SettingsSnapshot.h"

#include "settings/SettingsKeys.h"

namespace {

QVariant valueOf(const KeySpec &k, TSettings &s)
{
    switch (k.type) {
    case KeyType::Bool: return k.ref<KeyType::Bool>(s);
    case KeyType::Int: return k.ref<KeyType::Int>(s);
    case KeyType::Float: return k.ref<KeyType::Float>(s);
    case KeyType::Colour: return k.ref<KeyType::Colour>(s);
    case KeyType::LocaleTime: return k.ref<KeyType::LocaleTime>(s);
    default: return k.ref<KeyType::Text>(s); // every other type is held as text
    }
}

} // namespace

QString settingKey(const char *section, const char *key)
{
    return QLatin1String(section) + QLatin1Char('/') + QLatin1String(key);
}

SettingsSnapshot::SettingsSnapshot(const TSettings &constSettings)
{
    // The key table hands out writable references; a snapshot only reads through them.
    auto &s = const_cast<TSettings &>(constSettings);
    const auto &keys = settingsKeys();
    m_values.reserve(keys.size());
    for (const KeySpec &k : keys)
        m_values.push_back(valueOf(k, s));
    m_captureFlags = s.CaptureTelnetFlags;
    m_logFlags = s.LogTelnetFlags;
}

SettingKeys SettingsSnapshot::advanceTo(const TSettings &now)
{
    SettingsSnapshot after(now);
    SettingKeys changed;
    const auto &keys = settingsKeys();
    for (size_t i = 0; i < keys.size(); ++i)
        if (m_values[i] != after.m_values[i])
            changed.insert(settingKey(keys[i].section, keys[i].key));
    // The decoded flags are the working copy of the two flag strings.
    if (m_captureFlags != after.m_captureFlags)
        changed.insert(QStringLiteral("CaptureTelnet/CaptureTelnet"));
    if (m_logFlags != after.m_logFlags)
        changed.insert(QStringLiteral("CaptureTelnet/LogTelnet"));
    *this = std::move(after);
    return changed;
}
