#include "mainwindow/MainCycleHost.h"

#include "mainwindow/TForm1.h"

void MainCycleHost::systemMessage(const QString &text) { m_form.SystemMessage(text); }

void MainCycleHost::iconNoise(TColor colour) { m_form.IconNoise(colour); }

void MainCycleHost::trayHintStep() { m_form.setTrayHint(); }
