#include "configuration/LiveBinder.h"

#include "configuration/ControlEdits.h"
#include "configuration/SettingsBinder.h"
#include "settings/SettingsKeys.h"

#include <QWidget>
#include <algorithm>

LiveBinder::LiveBinder(SettingsHub &hub, QObject *parent) : QObject(parent), m_hub(hub)
{
    connect(&m_hub, &SettingsHub::changed, this, &LiveBinder::onChanged);
}

void LiveBinder::bind(QWidget *root, const std::vector<LiveBinding> &rows)
{
    for (const LiveBinding &row : rows) {
        const QList<QWidget *> found = root->findChildren<QWidget *>(QLatin1String(row.control));
        if (found.isEmpty())
            m_problems << QStringLiteral("%1: no such control").arg(QLatin1String(row.control));
        for (QWidget *w : found)
            bindControl(w, row.section, row.key, row.kind);
    }
}

void LiveBinder::bindControl(QWidget *w, const char *section, const char *key, BindingKind kind)
{
    const KeySpec *spec = findSettingsKey(section, key);
    if (!spec || !SettingsBinder::fits(w, *spec, kind)) {
        m_problems << QStringLiteral("%1: %2").arg(w->objectName(), spec ? QStringLiteral("the control cannot hold the key")
                                                                          : QStringLiteral("no such key"));
        return;
    }
    m_entries.push_back({w, spec, kind, settingKey(spec->section, spec->key)});
    m_loading = true;
    SettingsBinder::loadWidget(w, *spec, kind, m_hub.settings());
    m_loading = false;
    // The one connection through which this control edits its setting.
    connectEdited(w, this, [this, w] { edited(w); }, EditSignal::AnyChange);
}

void LiveBinder::follow(const std::vector<SettingFollower> &followers)
{
    for (const SettingFollower &f : followers)
        for (const QString &key : f.keys) {
            // A misspelt key would leave its follower deaf: it is reported.
            const QString section = key.section(QLatin1Char('/'), 0, 0);
            const QString name = key.section(QLatin1Char('/'), 1);
            const bool known = name == QLatin1String("*")
                                   ? std::any_of(settingsKeys().begin(), settingsKeys().end(),
                                                 [&](const KeySpec &k) { return section == QLatin1String(k.section); })
                                   : findSettingsKey(qPrintable(section), qPrintable(name)) != nullptr;
            if (!known)
                m_problems << QStringLiteral("%1: no such key to follow").arg(key);
        }
    m_followers.insert(m_followers.end(), followers.begin(), followers.end());
}

bool LiveBinder::reads(const SettingFollower &f, const SettingKeys &changed)
{
    for (const QString &key : f.keys) {
        if (!key.endsWith(QLatin1String("/*"))) {
            if (changed.contains(key))
                return true;
            continue;
        }
        const QStringView section = QStringView(key).chopped(1); // "Section/"
        for (const QString &c : changed)
            if (c.startsWith(section))
                return true;
    }
    return false;
}

void LiveBinder::applyAll()
{
    for (const SettingFollower &f : m_followers)
        f.apply();
}

QList<QWidget *> LiveBinder::controls(const QString &key) const
{
    QList<QWidget *> found;
    for (const Entry &e : m_entries)
        if (e.widget && e.name == key)
            found << e.widget;
    return found;
}

void LiveBinder::edited(QWidget *w)
{
    if (m_loading)
        return;
    for (const Entry &e : m_entries)
        if (e.widget == w) {
            m_hub.change([&](TSettings &s) { SettingsBinder::commitWidget(w, *e.key, e.kind, s); });
            return;
        }
}

void LiveBinder::onChanged(const SettingKeys &keys)
{
    m_loading = true;
    for (const Entry &e : m_entries)
        if (e.widget && keys.contains(e.name) && !SettingsBinder::shows(e.widget, *e.key, e.kind, m_hub.settings()))
            SettingsBinder::loadWidget(e.widget, *e.key, e.kind, m_hub.settings());
    m_loading = false;
    for (const SettingFollower &f : m_followers)
        if (reads(f, keys))
            f.apply();
}
