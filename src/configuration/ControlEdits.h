#pragma once
// The signal by which a settings control says it was edited, whatever its
// class: a box's toggle, a spin's value, an edit's text, a picker's time, a
// colour box's colour.
#include <functional>

class QObject;
class QWidget;

enum class EditSignal {
    AnyChange, // also changes made by the program (a bound control is its setting's editor)
    UserEdit,  // only what the user does (clicks, typing, picking)
};

// Connects slot to the control's edit signal; false when the control has none.
bool connectEdited(QWidget *control, QObject *context, std::function<void()> slot, EditSignal which);
