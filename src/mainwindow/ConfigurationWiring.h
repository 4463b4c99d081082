#pragma once

#include <QString>
#include <functional>

class AlarmPage;
class BitLoadingRefresh;
class DialogOwner;
class Mailer;
class QWidget;
class SettingsHub;
class StatisticsLog;
class TForm2;
class WebServerPage;
struct RunState;
struct TSettings;

// The objects the Configuration dialog reaches in the window.
struct ConfigurationParts {
    TSettings &settings;
    RunState &run;
    const QString &settingsFilePath;
    const QString &buildStamp;
    SettingsHub &hub;
    StatisticsLog &log;
    Mailer &mailer;
    BitLoadingRefresh &bitsRefresh;
    AlarmPage &alarmPage;
    WebServerPage &webPage;
    DialogOwner &owner; // of the icon font and maintenance dialogs the Configuration dialog opens
};

// What the Configuration dialog asks of the window itself.
struct ConfigurationHost {
    std::function<bool()> save;           // every setting to the settings file; true when written
    std::function<void()> help;           // the help file
    std::function<void()> userFigurePage; // the first user figure's page to the front
    std::function<void()> memoFonts;      // the panes take the font settings
    std::function<void()> committed;      // the window's part of every commit, changed or not
};

// The Configuration dialog, made with the settings loaded, and what its requests run in the window.
// `window` parents it and owns the connections.
TForm2 *createConfiguration(QWidget *window, const ConfigurationParts &parts, const ConfigurationHost &host);
