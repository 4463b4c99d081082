#pragma once
// The "Write Now" line of the alarm page: the WAN address and the logged
// figures, each after the log's separator; the statistics log stamps it.
#include "acquisition/RunState.h"
#include "acquisition/TelnetFigures.h"
#include "settings/TSettings.h"

#include <QString>

// wanAddress: what the window shows as the WAN address; blanks stand in when it is not a dotted IPv4 address.
QString writeNowLine(const TSettings &s, const RunState &run, const TelnetFigures &telnet, const QString &wanAddress);
