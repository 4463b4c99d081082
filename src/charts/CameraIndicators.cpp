#include "charts/CameraIndicators.h"

#include "charts/ChartSet.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <qcustomplot.h>

namespace {

constexpr int kCameraCharts[] = {1,  18, 2,  20, 3,  19, 16, 17, 5,  6,  7,  4,  8,  9,  12, 11,
                                 10, 15, 14, 13, 23, 24, 30, 31, 21, 29, 22, 25, 26, 27, 28};
constexpr int kMargin = 4;

void drawCamera(QPainter &p, const QRect &r, const QColor &body)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(body);
    p.drawRoundedRect(r.adjusted(0, 3, 0, 0), 2, 2);
    p.drawRect(QRect(r.left() + r.width() / 2 - 3, r.top(), 6, 3));
    p.setBrush(Qt::white);
    const int d = qMin(r.width(), r.height()) / 2;
    p.drawEllipse(QRect(r.center().x() - d / 2, r.center().y() - d / 2 + 2, d, d));
}

} // namespace

CameraIndicators::CameraIndicators(ChartSet &charts, QObject *parent) : QObject(parent), m_charts(charts) {}

QPixmap CameraIndicators::cameraPicture(bool active)
{
    QPixmap pixmap(22, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    drawCamera(p, QRect(1, 1, 20, 14), active ? QColor(0, 160, 0) : QColor(150, 150, 150));
    return pixmap;
}

QPixmap CameraIndicators::oneShotPicture(const QString &time)
{
    QPixmap pixmap(34, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    drawCamera(p, QRect(20, 3, 13, 12), QColor(70, 110, 200));
    QFont font(QStringLiteral("Arial Narrow"));
    font.setPointSize(6);
    p.setFont(font);
    p.setPen(QColor(0, 128, 0));
    p.drawText(2, 10, time);
    return pixmap;
}

void CameraIndicators::attach()
{
    const QPixmap active = cameraPicture(true);
    const QPixmap inactive = cameraPicture(false);
    for (int chart : kCameraCharts) {
        QCustomPlot *plot = m_charts.chart(chart);
        if (!plot || m_sets.count(chart))
            continue;
        Set set;
        const auto make = [plot, chart](const QString &name, const QString &spoken, const QPixmap &pixmap) {
            auto *label = new QLabel(plot);
            label->setObjectName(name.arg(chart));
            label->setAccessibleName(spoken);
            label->setToolTip(spoken);
            label->setPixmap(pixmap);
            label->adjustSize();
            label->hide();
            return label;
        };
        set.active = make(QStringLiteral("CaptureActive%1"), tr("Capture active"), active);
        set.inactive = make(QStringLiteral("CaptureEnabled%1"), tr("Capture enabled"), inactive);
        set.daily = make(QStringLiteral("DailyCapture%1"), tr("Daily capture"), oneShotPicture(QString()));
        m_sets[chart] = set;
        plot->installEventFilter(this);
        place(chart);
    }
}

void CameraIndicators::place(int chart)
{
    const auto it = m_sets.find(chart);
    QCustomPlot *plot = m_charts.chart(chart);
    if (it == m_sets.end() || !plot)
        return;
    // Right to left from the corner: the schedule camera, then the daily one.
    int x = plot->width() - kMargin;
    for (QLabel *l : {it->second.active, it->second.daily}) {
        x -= l->width();
        l->move(x, kMargin);
        x -= kMargin;
    }
    it->second.inactive->move(it->second.active->pos());
}

bool CameraIndicators::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        place(m_charts.numberOf(watched));
    return QObject::eventFilter(watched, event);
}

void CameraIndicators::show(const std::vector<CameraIndicator> &states)
{
    for (const CameraIndicator &i : states) {
        const auto it = m_sets.find(i.chart);
        if (it == m_sets.end())
            continue;
        it->second.active->setVisible(i.active);
        it->second.inactive->setVisible(i.inactive);
        it->second.daily->setVisible(i.daily);
    }
}

void CameraIndicators::UpdateCameraIcon(const QString &captureAtTime)
{
    const QPixmap picture = oneShotPicture(captureAtTime);
    const QString spoken = tr("Daily capture at %1").arg(captureAtTime);
    for (auto &[chart, set] : m_sets) {
        set.daily->setPixmap(picture);
        set.daily->setAccessibleName(spoken);
        set.daily->setToolTip(spoken);
        set.daily->adjustSize();
        place(chart);
    }
}

QLabel *CameraIndicators::picture(int chart, Picture which) const
{
    const auto it = m_sets.find(chart);
    if (it == m_sets.end())
        return nullptr;
    switch (which) {
    case Picture::Active: return it->second.active;
    case Picture::Inactive: return it->second.inactive;
    case Picture::Daily: return it->second.daily;
    }
    return nullptr;
}
