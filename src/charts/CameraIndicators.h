#pragma once
// The three capture pictures each chart carries in its top right corner:
// "Capture active" (scheduled capture on and allowed now), "Capture enabled"
// (on but outside the allowed hours) and the daily-capture camera with the
// time of day written on it.
#include "notify/CaptureSchedule.h"

#include <QObject>
#include <QPixmap>
#include <map>
#include <vector>

class ChartSet;
class QLabel;
class QWidget;

class CameraIndicators : public QObject {
    Q_OBJECT
public:
    enum class Picture { Active, Inactive, Daily };

    explicit CameraIndicators(ChartSet &charts, QObject *parent = nullptr);

    // Puts the pictures on every chart that has them (all hidden).
    void attach();
    // Shows and hides them as CheckCameras decided.
    void show(const std::vector<CameraIndicator> &states);
    // The daily camera with [Capture] CaptureAtTime written on it, on every chart.
    void UpdateCameraIcon(const QString &captureAtTime);

    QLabel *picture(int chart, Picture which) const;

    static QPixmap cameraPicture(bool active);
    static QPixmap oneShotPicture(const QString &time);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Set {
        QLabel *active = nullptr;
        QLabel *inactive = nullptr;
        QLabel *daily = nullptr;
    };
    void place(int chart);

    ChartSet &m_charts;
    std::map<int, Set> m_sets;
};
