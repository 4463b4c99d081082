#pragma once
// What the small dialogs opened from the Configuration dialog use of the
// window that owns the settings, so that they need not know that window.
#include "settings/TSettings.h"

#include <QString>

class DialogOwner {
public:
    virtual TSettings &settings() = 0;
    // The settings file, which the image clean-up never removes.
    virtual const QString &settingsFilePath() const = 0;
    // One line in the system messages.
    virtual void SystemMessage(const QString &text) = 0;
    // Redraws the tray icon in the given colour.
    virtual void IconNoise(TColor colour) = 0;

protected:
    ~DialogOwner() = default;
};
