#pragma once
// The one place a settings change is announced. Whoever changes a setting (a
// dialog's commit, a page's box, a chart menu, a handler, a load) does it
// through change() or calls sync() after writing; the hub compares every key
// with the values it last announced and tells its listeners which changed, so
// every control and view that shows one of them can follow at once.
#include "settings/SettingsSnapshot.h"

#include <QObject>

class SettingsHub : public QObject {
    Q_OBJECT
public:
    explicit SettingsHub(TSettings &settings, QObject *parent = nullptr);

    TSettings &settings() const { return m_settings; }

    // Runs a change and announces the keys it changed.
    template <typename F> void change(F &&f)
    {
        f(m_settings);
        sync();
    }
    // Announces every key changed since the last announcement (nothing when none is).
    void sync();
    // Takes the settings as they stand as announced, without telling anyone
    // (a load that every view is then built from).
    void rebase();
    // Announcements so far, for the curious (tests, traces).
    int announcements() const { return m_announcements; }

signals:
    // The keys a change has altered. A listener may change settings in turn;
    // that change is announced after this one reaches every listener.
    void changed(const SettingKeys &keys);

private:
    TSettings &m_settings;
    SettingsSnapshot m_announced;
    bool m_announcing = false;
    bool m_pending = false;
    int m_announcements = 0;
};
