#pragma once
// Keeps a window's controls and views in step with the settings hub. A row
// binds every control of a name to a key (several controls may show one
// setting: a chart's "Check to plot graph" box and its switch on the Options
// page); a user's edit of any of them is written through the hub, and every
// announced change reloads the controls of the changed keys and runs each
// follower that reads one of them. To show a setting somewhere new, add a row
// or a follower; there is no refresh function to call.
#include "configuration/ControlBindings.h"
#include "settings/SettingsHub.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;
struct KeySpec;

struct LiveBinding {
    const char *control; // object name; every control of that name under the root
    const char *section;
    const char *key;
    BindingKind kind = BindingKind::Value;
};

// A part of a window that depends on settings: the keys it reads ("Section/Key",
// or "Section/*" for every key of a section) and how it brings itself in line.
struct SettingFollower {
    QStringList keys;
    std::function<void()> apply;
};

class LiveBinder : public QObject {
    Q_OBJECT
public:
    explicit LiveBinder(SettingsHub &hub, QObject *parent = nullptr);

    // Binds the rows' controls found under root, loading each from its key.
    void bind(QWidget *root, const std::vector<LiveBinding> &rows);
    void bindControl(QWidget *control, const char *section, const char *key,
                     BindingKind kind = BindingKind::Value);
    void follow(const std::vector<SettingFollower> &followers);
    void follow(const QStringList &keys, std::function<void()> apply) { follow({{keys, std::move(apply)}}); }
    // Runs every follower once (start-up: the window built from the loaded settings).
    void applyAll();

    // Rows whose control or key was not found, or whose control cannot hold the key.
    QStringList problems() const { return m_problems; }
    // The controls bound to a key.
    QList<QWidget *> controls(const QString &key) const;

private:
    struct Entry {
        QPointer<QWidget> widget;
        const KeySpec *key;
        BindingKind kind;
        QString name; // "Section/Key"
    };
    void edited(QWidget *control);
    // Whether the follower reads one of the changed keys.
    static bool reads(const SettingFollower &f, const SettingKeys &changed);
    void onChanged(const SettingKeys &keys);

    SettingsHub &m_hub;
    std::vector<Entry> m_entries;
    std::vector<SettingFollower> m_followers;
    QStringList m_problems;
    bool m_loading = false;
};
