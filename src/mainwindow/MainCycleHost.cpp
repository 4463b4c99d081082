#include "mainwindow/MainCycleHost.h"

#include "mainwindow/TForm1.h"

void MainCycleHost::systemMessage(const QString &text) { m_form.SystemMessage(text); }
