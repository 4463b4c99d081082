#pragma once
// What the program asks of the operating system: its name and version, and
// the process priority.
#include <QString>

// "Debian GNU/Linux 12 (bookworm) (version 6.1.0-...)": product name and kernel version.
QString GetWindowsVersion();

// 1: below normal, 2: normal; any other level changes nothing. Failures are ignored.
void SetPriorityLevel(int level);
