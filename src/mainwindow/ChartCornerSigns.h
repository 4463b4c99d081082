#pragma once
// The small signs in a chart's top-right corner: the over-range sign of each
// vertical axis and the three capture cameras (capture active, capture
// enabled but outside its hours, daily capture). They sit over the chart,
// so the chart keeps its whole page, and never take mouse events from it.
#include <QPixmap>
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

    void setCameras(bool active, bool inactive, bool daily);
    void setDailyPicture(const QPixmap &picture);
    bool activeCameraShown() const;
    bool inactiveCameraShown() const;
    bool dailyCameraShown() const;

    // The daily-capture camera with the capture time written on it.
    static QPixmap dailyCameraPicture(const QString &time);
    static QPixmap cameraPicture(bool active);

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
    QLabel *m_active = nullptr;
    QLabel *m_inactive = nullptr;
    QLabel *m_daily = nullptr;
};
