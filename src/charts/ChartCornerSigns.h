#pragma once
// The over-range signs of a chart's two vertical axes, in its top-right
// corner under the capture cameras. They sit over the chart, so the chart
// keeps its whole page, and never take mouse events from it.
#include <QString>
#include <QWidget>

class QCustomPlot;
class QLabel;

class ChartCornerSigns : public QWidget {
    Q_OBJECT
public:
    // leftSign, rightSign: the over-range signs' names ("Image136"); empty for none.
    ChartCornerSigns(QCustomPlot *plot, const QString &leftSign, const QString &rightSign);

    bool hasSign(const QString &name) const;
    // A sign shows only while it is set and its axis is visible.
    void setOverRange(const QString &name, bool on);
    bool overRangeShown(const QString &name) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void place();

    QCustomPlot *m_plot;
    QString m_leftName, m_rightName;
    bool m_leftOn = false, m_rightOn = false;
    QLabel *m_left = nullptr;
    QLabel *m_right = nullptr;
};
