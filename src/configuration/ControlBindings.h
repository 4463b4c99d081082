#pragma once
// The Configuration dialog's control-to-setting table: which control holds
// which key, and in which commit group it is copied back.
#include "configuration/CommitGroup.h"

#include <vector>

enum class BindingKind {
    Value,     // check state, text, number, time or colour, by the control and the key's type
    ItemIndex, // a combo box's item index as an integer key
    LoadOnly,  // loaded at creation; its own handler writes the key
};

struct ControlBinding {
    const char *control; // object name in the page's form
    const char *section;
    const char *key;
    CommitGroup group;
    BindingKind kind = BindingKind::Value;
};

const std::vector<ControlBinding> &configurationBindings();
