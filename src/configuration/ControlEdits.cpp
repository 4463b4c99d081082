#include "configuration/ControlEdits.h"

#include "configuration/ColourButton.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>

bool connectEdited(QWidget *w, QObject *context, std::function<void()> slot, EditSignal which)
{
    const bool any = which == EditSignal::AnyChange;
    if (auto *colour = qobject_cast<ColourButton *>(w))
        QObject::connect(colour, &ColourButton::colourChanged, context, slot);
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        QObject::connect(button, any ? &QAbstractButton::toggled : &QAbstractButton::clicked, context, slot);
    else if (auto *spin = qobject_cast<QSpinBox *>(w))
        QObject::connect(spin, &QSpinBox::valueChanged, context, slot);
    else if (auto *slider = qobject_cast<QSlider *>(w))
        QObject::connect(slider, &QSlider::valueChanged, context, slot);
    else if (auto *time = qobject_cast<QTimeEdit *>(w))
        QObject::connect(time, &QTimeEdit::timeChanged, context, slot);
    else if (auto *combo = qobject_cast<QComboBox *>(w); combo && any)
        QObject::connect(combo, &QComboBox::currentTextChanged, context, slot);
    else if (combo)
        QObject::connect(combo, &QComboBox::activated, context, slot);
    else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        QObject::connect(edit, &QLineEdit::textEdited, context, slot);
        // Leaving an edit may refill or carry its text (ports, router addresses).
        if (!any)
            QObject::connect(edit, &QLineEdit::editingFinished, context, slot);
    } else
        return false;
    return true;
}
