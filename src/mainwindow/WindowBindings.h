#pragma once
// The main window's control-to-setting table. A name may stand for several
// controls that show one setting (a chart's "Check to plot graph" box and its
// switch on the Options page share their names); every one of them edits the
// setting and follows it.
#include "configuration/LiveBinder.h"

#include <vector>

const std::vector<LiveBinding> &windowBindings();
