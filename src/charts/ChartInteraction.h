#pragma once
// The mouse on the charts: left-button drags in the six modes (look back in
// time, shift or stretch the vertical axis), with the axis floors, polling
// paused while the button is down and resumed on release (or when the release
// never comes: grab lost, window hidden or deactivated), Ctrl or locked drags
// copying the horizontal range to the other charts, the wheel ignored, and
// the timeline zoom x1 .. x128.
#include "charts/ChartTable.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <set>

class ChartSet;
class QCustomPlot;
class QLabel;
class QMouseEvent;
class QTimer;
class QWidget;
struct TSettings;

class ChartInteraction : public QObject {
    Q_OBJECT
public:
    // The screen cursors of a drag, numbered as the cursor table holds them.
    enum DragCursor { NormalCursor = 0, cursorEW = 3, cursorNSEW = 4, cursorN = 5, cursorNS = 6, cursorNO = 7,
                      cursorNEW = 8 };

    ChartInteraction(ChartSet &charts, TSettings &settings, QObject *parent = nullptr);

    // Installs the handlers on every chart that shares them.
    void attachAll();
    void attach(int chart);
    // A tone chart's release ends a drag as on the time charts (Chart27,
    // Chart28, Chart29, Chart22), but its range is never the time charts'
    // page; with drags, its press starts one too, so a full page can be
    // dragged back in time (Chart22, Chart28), with the same guard against a
    // release that never comes.
    void attachToneChart(int chart, bool drags);

    // The polling timer paused during a drag; runButtonDown says whether it runs again.
    void setPollTimer(QTimer *timer, std::function<bool()> runButtonDown);
    // The panel showing "x" and the zoom factor.
    void setFactorPanel(QLabel *panel);
    // The window previews every key: a key pressed anywhere in it, whatever
    // has the focus, is the last key state a drag's release reads.
    void watchKeys(QWidget *window);

    // Handlers, public so the window and tests can drive them.
    void Chart1MouseDown(int chart, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Chart1MouseUp(int chart, int x);
    void ChartHasScrolled(int chart);
    // The wheel on a chart: handled, and nothing moves.
    static bool Chart1MouseWheel() { return true; }
    void FormKeyDown(Qt::KeyboardModifiers modifiers);
    void mnuExpandClick();
    void mnuRestoreClick();
    // A pin button clicked: its chart pans horizontally only while pinned.
    void pinClicked(int chart, bool down);

    bool dragging() const { return m_dragChart != 0; }
    // Polling stopped by a drag that has not ended yet.
    bool pollingPaused() const { return m_paused; }
    DragCursor cursor() const { return m_cursor; }
    int timelineExpandFactor() const;
    bool chartScrolled() const { return m_scrolled; }

    // The off-scale rule used on release: box checked and the latest figure
    // above the axis maximum (at or above it on the telnet counter charts).
    QMap<QString, bool> indicatorStates() const;

    static bool isToneChart(int chart);

signals:
    void systemMessage(const QString &text);
    void indicatorsChanged(const QMap<QString, bool> &states);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onPress(int chart, QMouseEvent *event);
    void onRelease(int chart, QMouseEvent *event);
    // Ends a drag whose button-up never arrived.
    void releaseLost(int chart);
    void applyCursor(int chart);
    void copyBottomRange(int fromChart);
    void setGridSide(int chart, int x);

    ChartSet &m_charts;
    TSettings &m_settings;
    QPointer<QTimer> m_pollTimer;
    std::function<bool()> m_runButtonDown;
    QPointer<QLabel> m_factorPanel;
    QPointer<QWidget> m_keyWindow;
    std::set<int> m_attached;

    int m_dragChart = 0; // the chart under a left-button drag, 0 when none
    bool m_paused = false;
    bool m_ctrl = false, m_shift = false, m_alt = false;
    bool m_ctrlKeyDown = false;
    bool m_scrolled = false;
    bool m_inScroll = false;
    DragCursor m_cursor = NormalCursor;
    QMap<int, std::pair<double, double>> m_savedRight; // right max, min at mouse-down
    double m_savedLeftMin = 0;
    double m_savedRightMin = 0;
};
