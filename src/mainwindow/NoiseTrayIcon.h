#pragma once
// The tray icon: the downstream noise margin as digits on a small picture,
// red in the alarm and no-answer states, with its hint and menu. The same
// picture is the application icon and, when enabled, the taskbar overlay.
#include "settings/TSettings.h"

#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <optional>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

class NoiseTrayIcon : public QObject {
    Q_OBJECT
public:
    NoiseTrayIcon(const TSettings &settings, QObject *parent = nullptr);
    ~NoiseTrayIcon() override;

    // What IconNoise draws with, besides the settings.
    // A figure the router did not report this poll is NaN.
    struct Figures {
        float rxNoise = 0;
        float rxSync = 0;
        float telnetNoise = 0;
        float telnetSync = 0;
        bool iconAlarmState = false;
        QString userLabel1Caption; // Label5
        QString userLabel2Caption; // Label22
    };

    // Redraws tray, application and overlay icon; colour is the colour of the
    // latest noise point (only its equality with the alarm and no-answer colours matters).
    QIcon IconNoise(TColor colour, const Figures &figures);

    // The digits drawn for a value: one decimal, or a whole number (halves to even).
    static QString iconText(double value, bool integerOnly);
    // The hint shown when the pointer rests on the icon.
    static QString hintText(const TSettings &s, const Figures &f);
    static QPixmap basePicture(bool alarm);

    bool trayAvailable() const;
    // Stands in for the desktop's answer (tests run where there is no tray).
    void setTrayAvailable(bool available) { m_trayAvailable = available; }
    void setVisible(bool on);
    bool isVisible() const;
    // What the icon shows when the pointer rests on it (TrayIconMouseMove's hint).
    void showPointerHint(const QString &hint);
    QString toolTip() const;
    // The overlay exists only when the option was on at start-up.
    void setOverlayWindow(QWidget *window) { m_overlayWindow = window; }

    QMenu *SysTrayPopup = nullptr;
    QAction *RestoreVeltrano1 = nullptr;
    QAction *mnuShowNoise = nullptr;
    QAction *CloseVeltrano1 = nullptr;

signals:
    void restoreRequested();
    void closeRequested();
    // The user switched the digits on or off; the owner stores it and redraws.
    void showNoiseToggled(bool on);

private:
    const TSettings &m_settings;
    QSystemTrayIcon *m_tray = nullptr;
    QWidget *m_overlayWindow = nullptr;
    std::optional<bool> m_trayAvailable;
};
