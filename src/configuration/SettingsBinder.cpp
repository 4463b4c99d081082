#include "configuration/SettingsBinder.h"

#include "configuration/ColourButton.h"
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
        const bool fits = (qobject_cast<QAbstractButton *>(w) && !qobject_cast<ColourButton *>(w)
                           && key->type == KeyType::Bool)
                          || (qobject_cast<QSpinBox *>(w) && key->type == KeyType::Int)
                          || (qobject_cast<QSlider *>(w) && key->type == KeyType::Int)
                          || (qobject_cast<QTimeEdit *>(w) && key->type == KeyType::ClockTime)
                          || (qobject_cast<ColourButton *>(w) && key->type == KeyType::Colour)
                          || (qobject_cast<QComboBox *>(w) && b.kind == BindingKind::ItemIndex
                              && key->type == KeyType::Int)
                          || (qobject_cast<QComboBox *>(w) && isTextKey(key->type))
                          || (qobject_cast<QLineEdit *>(w) && (isTextKey(key->type) || key->type == KeyType::Int));
        if (!fits) {
            m_problems << QStringLiteral("%1: the control cannot hold the key").arg(QLatin1String(b.control));
            continue;
        }
        m_entries.push_back({&b, key, w});
    }
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

void SettingsBinder::loadEntry(const Entry &e, const TSettings &constSettings) const
{
    // ref() hands out a writable reference; loading only reads through it.
    auto &s = const_cast<TSettings &>(constSettings);
    const KeySpec &k = *e.key;
    QWidget *w = e.widget;
    if (auto *colour = qobject_cast<ColourButton *>(w)) {
        colour->setColour(k.ref<KeyType::Colour>(s));
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        button->setChecked(k.ref<KeyType::Bool>(s));
    } else if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        spin->setValue(k.ref<KeyType::Int>(s)); // the control clamps to its range
    } else if (auto *slider = qobject_cast<QSlider *>(w)) {
        slider->setValue(k.ref<KeyType::Int>(s));
    } else if (auto *time = qobject_cast<QTimeEdit *>(w)) {
        // A hand-edited file may drop the leading zero of the hour.
        const QTime t = QTime::fromString(k.ref<KeyType::ClockTime>(s).trimmed(), QStringLiteral("H:mm"));
        time->setTime(t.isValid() ? t : QTime(0, 0));
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (e.binding->kind == BindingKind::ItemIndex)
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
    const KeySpec &k = *e.key;
    QWidget *w = e.widget;
    if (auto *colour = qobject_cast<ColourButton *>(w)) {
        k.ref<KeyType::Colour>(s) = colour->colour();
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        k.ref<KeyType::Bool>(s) = button->isChecked();
    } else if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        k.ref<KeyType::Int>(s) = spin->value();
    } else if (auto *slider = qobject_cast<QSlider *>(w)) {
        k.ref<KeyType::Int>(s) = slider->value();
    } else if (auto *time = qobject_cast<QTimeEdit *>(w)) {
        k.ref<KeyType::ClockTime>(s) = time->time().toString(kClockFormat);
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (e.binding->kind == BindingKind::ItemIndex)
            k.ref<KeyType::Int>(s) = qMax(0, combo->currentIndex());
        else
            k.ref<KeyType::Text>(s) = combo->currentText();
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
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
