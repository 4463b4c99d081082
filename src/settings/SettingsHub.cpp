#include "settings/SettingsHub.h"

SettingsHub::SettingsHub(TSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings), m_announced(settings)
{
}

void SettingsHub::rebase() { m_announced = SettingsSnapshot(m_settings); }

void SettingsHub::sync()
{
    // A listener that changes settings in turn is heard after the current
    // announcement has reached everyone, so each listener sees changes in order.
    if (m_announcing) {
        m_pending = true;
        return;
    }
    m_announcing = true;
    do {
        m_pending = false;
        const SettingKeys keys = m_announced.advanceTo(m_settings);
        if (keys.isEmpty())
            break;
        ++m_announcements;
        emit changed(keys);
    } while (m_pending);
    m_announcing = false;
}
