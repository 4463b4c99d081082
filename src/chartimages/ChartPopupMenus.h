#pragma once
// The right-click menus of the charts, built from the chart table: one menu
// per popup kind (ChartPopup, TelnetPopup, PingPopup and the tone charts'
// small ones). Before a menu opens, its popup handler fills it for the chart
// it was opened on (statistics, checks, captions); the switch items then
// write their settings back and bring the charts in line.
//
// Copy, print, save-as, capture and the other commands that belong to other
// parts of the window are named hooks (ChartCommand): an item whose hook is
// not set shows disabled.
#include "acquisition/RunState.h"
#include "acquisition/TelnetFigures.h"
#include "settings/TSettings.h"

#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>

class AxisScaling;
class ChartInteraction;
class ChartSet;
class QAction;
class QMenu;
class QWidget;
class TelnetPlotting;

enum class ChartCommand {
    CaptureNow,       // "Capture Now [jpg]": the chart's image into the capture folder now
    ScheduledCapture, // the chart's scheduled-capture switch
    SaveAs,
    CopyToClipboard,
    Print,
    PrinterSetup,
    IncludeInLog,     // the chart's log switch
    GraphConfiguration,
    ChangeResetTime,  // "Change Time...": the incremental-count reset-time dialog
    BitsRefresh,
    BitSwapBefore,
    BitSwapAfter,
    LogBitSwap,
};

class ChartPopupMenus : public QObject {
    Q_OBJECT
public:
    struct Context {
        ChartSet &charts;
        TSettings &settings;
        RunState &run;
        TelnetFigures &telnet;
        AxisScaling &scaling;
        TelnetPlotting &telnetPlotting;
        ChartInteraction &interaction;
        std::function<bool()> monitoring; // the Run button is down
    };

    ChartPopupMenus(Context context, QWidget *parent);
    ~ChartPopupMenus() override;

    // Opens the chart's menu on right click (and the context-menu key).
    void attachAll();
    void attach(int chart);

    // Whether the bits page's Refresh button is enabled: the bits chart's
    // Refresh item follows it.
    void setBitsRefreshEnabled(std::function<bool()> enabled) { m_bitsRefreshEnabled = std::move(enabled); }
    // A hook for a command item; the item is enabled only while it has one.
    void setCommandHandler(ChartCommand command, std::function<void(int chart)> handler);

    // Whether the chart offers a menu: not a user chart whose figure is no
    // number, nor Chart19 titled "Not Available".
    bool hasPopup(int chart) const;
    // The popup handler for the chart, then the menu at the global position.
    void popup(int chart, const QPoint &globalPos);
    // The popup handler alone: fills the chart's menu. Returns that menu.
    QMenu *prepare(int chart);

    QMenu *menu(const QString &popupName) const;
    // Every popup menu (without their submenus).
    QList<QMenu *> menus() const;
    // An item of a popup by object name (the submenu's items included).
    QAction *action(const QString &popupName, const QString &itemName) const;
    int currentChart() const { return m_chart; }

    // The chart's "Include In Log" switch.
    static bool logSwitch(const TSettings &s, int chart);
    // Sets it; false for a chart the table does not know. A status-page chart's flag
    // beyond the end of [Log] Log first pads the string with "1".
    static bool setLogSwitch(TSettings &s, int chart, bool on);
    // The chart's scheduled-capture switch.
    static bool captureSwitch(const TSettings &s, int chart);
    // Writes "1" or "0" at the position of a flag string (padding with "0").
    static void setFlag(QString &flags, int tag, bool on);

    // Popup handlers, by the menu they fill.
    void ChartPopupPopup(int chart);
    void TelnetPopupPopup(int chart);
    void PingPopupPopup();
    void popupBitsPopup() { smallPopupPopup(21); }
    void PopupBitswapPopup() { smallPopupPopup(22); }
    void PopupSepBitswapPopup() { smallPopupPopup(29); }
    void thomsonbitspopupPopup() { smallPopupPopup(26); }
    void ThomsonBitSwapPopup(int chart) { smallPopupPopup(chart); }

signals:
    void systemMessage(const QString &text);

private:
    // The capture items of the tone charts' menus, and their own checks.
    void smallPopupPopup(int chart);
    QAction *add(QMenu *menu, const char *name, const QString &text, bool checkable = false);
    QAction *addCommand(QMenu *menu, const char *name, const QString &text, ChartCommand command,
                        bool checkable = false);
    void buildChartPopup();
    void buildTelnetPopup();
    void buildPingPopup();
    void buildSmallPopups();
    void addTimelineItems(QMenu *menu, const char *expand, const char *restore);
    void updateCommandItems(QMenu *menu);
    void setCaptureCaptions(QMenu *menu, bool mainPopup);

    // Switch items.
    void mnuSwapPlotsClick(bool on);
    void mnuTelnetSwapPlotsClick(bool on);
    void mnuShowSyncClick(bool on);
    void mnuTelnetShowSyncClick(bool on);
    void mnuShowGapsClick(bool on);
    void mnuRawDiffClick();
    void mnuHTTPAdjustAutoClick(bool on);
    void mnuShowIncrementalClick(bool on);
    void replot(int chart);

    Context m_ctx;
    QPointer<QWidget> m_parent;
    std::map<QString, QMenu *> m_menus;
    std::map<ChartCommand, std::function<void(int)>> m_handlers;
    // Command items with their command, for enabling.
    QMap<QAction *, ChartCommand> m_commands;
    int m_chart = 1;
    std::function<bool()> m_bitsRefreshEnabled;
};
