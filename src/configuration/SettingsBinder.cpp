#include "configuration/SettingsBinder.h"

#include "configuration/ColourButton.h"
#include "settings/SettingsHub.h"
#include "settings/SettingsKeys.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>
#include <QWidget>

namespace {

const QString kClockFormat = QStringLiteral("HH:mm");

bool isTextKey(KeyType t)
{
    return t == KeyType::Text || t == KeyType::SearchText || t == KeyType::Password || t == KeyType::NumberText;
}

// A number a control gives back: within the key's range when it has one.
std::optional<int> numberInRange(const QString &text, const KeySpec &key)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok || (key.range.bounded && (v < key.range.min || v > key.range.max)))
        return std::nullopt;
    return int(v);
}

// ref() hands out writable references; loading and comparing only read through them.
TSettings &readable(const TSettings &s) { return const_cast<TSettings &>(s); }

QTime clockTimeOf(const QString &text)
{
    // A hand-edited file may drop the leading zero of the hour.
    const QTime t = QTime::fromString(text.trimmed(), QStringLiteral("H:mm"));
    return t.isValid() ? t : QTime(0, 0);
}

} // namespace

SettingsBinder::SettingsBinder(QWidget *root, const std::vector<ControlBinding> &table)
{
    for (const ControlBinding &b : table) {
        const KeySpec *key = findSettingsKey(b.section, b.key);
        QWidget *w = root->findChild<QWidget *>(QLatin1String(b.control));
        if (!key || !w) {
            m_problems << QStringLiteral("%1: %2").arg(QLatin1String(b.control),
                                                       key ? QStringLiteral("no such control")
                                                           : QStringLiteral("no such key"));
            continue;
        }
        if (!fits(w, *key, b.kind)) {
            m_problems << QStringLiteral("%1: the control cannot hold the key").arg(QLatin1String(b.control));
            continue;
        }
        m_entries.push_back({&b, key, w});
    }
}

bool SettingsBinder::fits(const QWidget *w, const KeySpec &key, BindingKind kind)
{
    return (qobject_cast<const QAbstractButton *>(w) && !qobject_cast<const ColourButton *>(w)
            && key.type == KeyType::Bool)
           || (qobject_cast<const QSpinBox *>(w) && key.type == KeyType::Int)
           || (qobject_cast<const QSlider *>(w) && key.type == KeyType::Int)
           || (qobject_cast<const QTimeEdit *>(w) && key.type == KeyType::ClockTime)
           || (qobject_cast<const ColourButton *>(w) && key.type == KeyType::Colour)
           || (qobject_cast<const QComboBox *>(w) && kind == BindingKind::ItemIndex && key.type == KeyType::Int)
           || (qobject_cast<const QComboBox *>(w) && isTextKey(key.type))
           || (qobject_cast<const QLineEdit *>(w) && (isTextKey(key.type) || key.type == KeyType::Int));
}

QWidget *SettingsBinder::control(const char *name) const
{
    for (const Entry &e : m_entries)
        if (qstrcmp(e.binding->control, name) == 0)
            return e.widget;
    return nullptr;
}

void SettingsBinder::load(const TSettings &s) const
{
    for (const Entry &e : m_entries)
        loadEntry(e, s);
}

void SettingsBinder::loadControl(const char *control, const TSettings &s) const
{
    for (const Entry &e : m_entries)
        if (qstrcmp(e.binding->control, control) == 0)
            loadEntry(e, s);
}

void SettingsBinder::loadKeys(const QSet<QString> &keys, const TSettings &s) const
{
    for (const Entry &e : m_entries)
        if (keys.contains(settingKey(e.key->section, e.key->key)) && !shows(e.widget, *e.key, e.binding->kind, s))
            loadEntry(e, s);
}

void SettingsBinder::loadEntry(const Entry &e, const TSettings &s) const
{
    loadWidget(e.widget, *e.key, e.binding->kind, s);
}

bool SettingsBinder::shows(const QWidget *w, const KeySpec &k, BindingKind kind, const TSettings &constSettings)
{
    TSettings &s = readable(constSettings);
    if (auto *colour = qobject_cast<const ColourButton *>(w))
        return colour->colour() == k.ref<KeyType::Colour>(s);
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->isChecked() == k.ref<KeyType::Bool>(s);
    if (auto *spin = qobject_cast<const QSpinBox *>(w))
        return spin->value() == k.ref<KeyType::Int>(s);
    if (auto *slider = qobject_cast<const QSlider *>(w))
        return slider->value() == k.ref<KeyType::Int>(s);
    if (auto *time = qobject_cast<const QTimeEdit *>(w))
        return time->time() == clockTimeOf(k.ref<KeyType::ClockTime>(s));
    if (auto *combo = qobject_cast<const QComboBox *>(w))
        return kind == BindingKind::ItemIndex ? combo->currentIndex() == k.ref<KeyType::Int>(s)
                                              : combo->currentText() == k.ref<KeyType::Text>(s);
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->text()
               == (k.type == KeyType::Int ? QString::number(k.ref<KeyType::Int>(s)) : k.ref<KeyType::Text>(s));
    return true;
}

void SettingsBinder::loadWidget(QWidget *w, const KeySpec &k, BindingKind kind, const TSettings &constSettings)
{
    TSettings &s = readable(constSettings);
    if (auto *colour = qobject_cast<ColourButton *>(w)) {
        colour->setColour(k.ref<KeyType::Colour>(s));
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        button->setChecked(k.ref<KeyType::Bool>(s));
    } else if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        spin->setValue(k.ref<KeyType::Int>(s)); // the control clamps to its range
    } else if (auto *slider = qobject_cast<QSlider *>(w)) {
        slider->setValue(k.ref<KeyType::Int>(s));
    } else if (auto *time = qobject_cast<QTimeEdit *>(w)) {
        time->setTime(clockTimeOf(k.ref<KeyType::ClockTime>(s)));
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (kind == BindingKind::ItemIndex)
            combo->setCurrentIndex(qBound(0, k.ref<KeyType::Int>(s), combo->count() - 1));
        else
            combo->setCurrentText(k.ref<KeyType::Text>(s));
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->setText(k.type == KeyType::Int ? QString::number(k.ref<KeyType::Int>(s)) : k.ref<KeyType::Text>(s));
    }
}

QStringList SettingsBinder::commit(CommitGroup group, TSettings &s) const
{
    QStringList refused;
    for (const Entry &e : m_entries)
        if (e.binding->group == group && e.binding->kind != BindingKind::LoadOnly && !commitEntry(e, s))
            refused << QLatin1String(e.binding->control);
    return refused;
}

bool SettingsBinder::commitEntry(const Entry &e, TSettings &s) const
{
    return commitWidget(e.widget, *e.key, e.binding->kind, s);
}

bool SettingsBinder::commitWidget(const QWidget *w, const KeySpec &k, BindingKind kind, TSettings &s)
{
    if (auto *colour = qobject_cast<const ColourButton *>(w)) {
        k.ref<KeyType::Colour>(s) = colour->colour();
    } else if (auto *button = qobject_cast<const QAbstractButton *>(w)) {
        k.ref<KeyType::Bool>(s) = button->isChecked();
    } else if (auto *spin = qobject_cast<const QSpinBox *>(w)) {
        k.ref<KeyType::Int>(s) = spin->value();
    } else if (auto *slider = qobject_cast<const QSlider *>(w)) {
        k.ref<KeyType::Int>(s) = slider->value();
    } else if (auto *time = qobject_cast<const QTimeEdit *>(w)) {
        k.ref<KeyType::ClockTime>(s) = time->time().toString(kClockFormat);
    } else if (auto *combo = qobject_cast<const QComboBox *>(w)) {
        if (kind == BindingKind::ItemIndex)
            k.ref<KeyType::Int>(s) = qMax(0, combo->currentIndex());
        else
            k.ref<KeyType::Text>(s) = combo->currentText();
    } else if (auto *edit = qobject_cast<const QLineEdit *>(w)) {
        if (k.type == KeyType::Int || (k.type == KeyType::NumberText && k.range.bounded)) {
            // A number that is not one, or out of range, never replaces a good value.
            const std::optional<int> v = numberInRange(edit->text(), k);
            if (!v)
                return false;
            if (k.type == KeyType::Int)
                k.ref<KeyType::Int>(s) = *v;
            else
                k.ref<KeyType::Text>(s) = QString::number(*v);
        } else {
            k.ref<KeyType::Text>(s) = edit->text();
        }
    }
    return true;
}
