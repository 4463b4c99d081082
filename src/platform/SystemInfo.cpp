#include "platform/SystemInfo.h"

#include <QSysInfo>
#include <sys/resource.h>

QString GetWindowsVersion()
{
    return QSysInfo::prettyProductName() + QStringLiteral(" (version ") + QSysInfo::kernelVersion() + QStringLiteral(")");
}

void SetPriorityLevel(int level)
{
    // The usual "below normal" of a desktop: a nice value of 5.
    if (level == 1)
        setpriority(PRIO_PROCESS, 0, 5);
    else if (level == 2)
        setpriority(PRIO_PROCESS, 0, 0);
}
