#pragma once
// The controls that sit on the chart pages: each chart's "Check to plot
// graph" box (no point is added while it is clear), the two pins that keep
// the user charts' minimum still, and which chart is showing (GetTopChart).
// The pins are their settings' editors; the boxes are bound to theirs by the
// window's binding table.
#include <QObject>
#include <QPointer>
#include <map>

class ChartInteraction;
class ChartSet;
class QCheckBox;
class QPushButton;
class QTabWidget;
class QWidget;
struct TSettings;

class ChartPageControls : public QObject {
    Q_OBJECT
public:
    ChartPageControls(ChartSet &charts, TSettings &settings, ChartInteraction &interaction,
                      QObject *parent = nullptr);

    // Puts the chart's box (and, on the user charts, its pin) above the chart on its page.
    void addControls(int chart, QWidget *page);
    // Pins from the settings.
    void applySettings();

    QCheckBox *box(int chart) const;
    QPushButton *btnUser1Pin = nullptr;
    QPushButton *btnUser2Pin = nullptr;

    // The setting a chart's box edits; nullptr for charts without one.
    static bool *boxSetting(TSettings &s, int chart);
    // The chart that is showing under the main page control; Chart1 when none is.
    static int GetTopChart(QTabWidget *pageControl, const ChartSet &charts);

private:
    ChartSet &m_charts;
    TSettings &m_settings;
    ChartInteraction &m_interaction;
    std::map<int, QPointer<QCheckBox>> m_boxes;
};
