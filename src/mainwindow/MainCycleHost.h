#pragma once
// The main window's side of a polling cycle: each step handed to the part of
// the window that owns it.
#include "acquisition/PollingCycleHost.h"

class TForm1;

class MainCycleHost : public PollingCycleHost {
public:
    explicit MainCycleHost(TForm1 &form) : m_form(form) {}

    void systemMessage(const QString &text) override;
    void iconNoise(TColor colour) override;
    void trayHintStep() override;

private:
    TForm1 &m_form;
};
