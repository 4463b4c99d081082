#pragma once
// The schedule button beside Run: its drop-down starts monitoring now, or
// only during the capture hours, or now but plotting only during them.
#include "acquisition/RunSchedule.h"
#include "settings/TSettings.h"

#include <QToolButton>

class QAction;
class QMenu;

class ScheduleRunButton : public QToolButton {
    Q_OBJECT
public:
    ScheduleRunButton(const TSettings &settings, QWidget *parent = nullptr);

    QMenu *popupSched = nullptr;
    QAction *mnuRunNow = nullptr;
    QAction *mnuRunSched = nullptr;
    QAction *mnuSchedulePlotOnly = nullptr;

    // popupSchedPopup: the hours in the captions, the scheduled items only
    // with capture between hours.
    void popupSchedPopup();

signals:
    // Run in this mode (the window hands it to Run, which sets the flags).
    void runRequested(ScheduleMode mode);

private:
    const TSettings &m_settings;
};
