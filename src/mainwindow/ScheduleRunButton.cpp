#include "mainwindow/ScheduleRunButton.h"

#include <QMenu>

ScheduleRunButton::ScheduleRunButton(const TSettings &settings, QWidget *parent)
    : QToolButton(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("btnSchedRun"));
    setText(tr("Run on schedule"));
    setToolTip(tr("Run now, or run and plot during the scheduled capture hours"));
    setAccessibleName(tr("Run on schedule"));
    setPopupMode(QToolButton::InstantPopup);
    setFocusPolicy(Qt::StrongFocus);
    popupSched = new QMenu(this);
    popupSched->setObjectName(QStringLiteral("popupSched"));
    auto item = [this](const char *name, ScheduleMode mode) {
        QAction *a = popupSched->addAction(runschedule::menuCaption(mode, 0, 0));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, mode] { emit runRequested(mode); });
        return a;
    };
    mnuRunNow = item("mnuRunNow", ScheduleMode::Immediate);
    mnuRunSched = item("mnuRunSched", ScheduleMode::Waiting);
    mnuSchedulePlotOnly = item("mnuSchedulePlotOnly", ScheduleMode::PlotOnly);
    setMenu(popupSched);
    connect(popupSched, &QMenu::aboutToShow, this, &ScheduleRunButton::popupSchedPopup);
    popupSchedPopup();
}

void ScheduleRunButton::popupSchedPopup()
{
    const auto &c = m_settings.Capture;
    mnuRunSched->setText(runschedule::menuCaption(ScheduleMode::Waiting, c.FromHours, c.ToHours));
    mnuSchedulePlotOnly->setText(runschedule::menuCaption(ScheduleMode::PlotOnly, c.FromHours, c.ToHours));
    mnuRunSched->setEnabled(c.BetweenHours);
    mnuSchedulePlotOnly->setEnabled(c.BetweenHours);
}
