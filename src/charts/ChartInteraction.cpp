#include "charts/ChartInteraction.h"

#include "charts/ChartRefresh.h"
#include "charts/ChartSet.h"
#include "notify/CaptureSchedule.h"
#include "settings/TSettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <qcustomplot.h>

namespace {

// The charts whose right axis is restored around a drag.
constexpr int kRightAxisCharts[] = {16, 1, 23, 24};

bool isCounterChart(int chart)
{
    return chart >= 4 && chart <= 15;
}

bool deepFloorChart(int chart)
{
    return chart == 1 || chart == 16 || chart == 18;
}

Qt::CursorShape shapeOf(ChartInteraction::DragCursor c)
{
    switch (c) {
    case ChartInteraction::cursorEW: return Qt::SizeHorCursor;
    case ChartInteraction::cursorNSEW: return Qt::SizeAllCursor;
    case ChartInteraction::cursorN: return Qt::UpArrowCursor;
    case ChartInteraction::cursorNS: return Qt::SizeVerCursor;
    case ChartInteraction::cursorNO: return Qt::ForbiddenCursor;
    case ChartInteraction::cursorNEW: return Qt::SplitVCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

ChartInteraction::ChartInteraction(ChartSet &charts, TSettings &settings, QObject *parent)
    : QObject(parent), m_charts(charts), m_settings(settings)
{
}

bool ChartInteraction::isToneChart(int chart)
{
    return chart == 21 || chart == 22 || chart == 26 || chart == 27 || chart == 28 || chart == 29;
}

void ChartInteraction::attachAll()
{
    for (const ChartDef &def : ChartTable::charts())
        if (def.timeChart)
            attach(def.number);
}

void ChartInteraction::attach(int chart)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot || m_attached.count(chart))
        return;
    m_attached.insert(chart);
    // The component drags; the wheel zooms nothing.
    plot->setInteractions(QCP::iRangeDrag);
    plot->axisRect()->setRangeDragAxes({plot->xAxis}, {plot->yAxis, plot->yAxis2});
    plot->axisRect()->setRangeZoom(Qt::Orientations());
    connect(plot, &QCustomPlot::mousePress, this, [this, chart](QMouseEvent *e) { onPress(chart, e); });
    connect(plot, &QCustomPlot::mouseRelease, this, [this, chart](QMouseEvent *e) { onRelease(chart, e); });
    connect(plot, &QCustomPlot::mouseWheel, this, [](QWheelEvent *e) { e->setAccepted(Chart1MouseWheel()); });
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis, plot->yAxis2})
        connect(axis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this, [this, chart] {
            if (m_dragChart == chart && !m_inScroll)
                ChartHasScrolled(chart);
        });
    plot->installEventFilter(this);
}

void ChartInteraction::attachToneChart(int chart, bool drags)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot || m_attached.count(chart))
        return;
    m_attached.insert(chart);
    if (drags) {
        connect(plot, &QCustomPlot::mousePress, this,
                [this, chart](QMouseEvent *e) { Chart1MouseDown(chart, e->button(), e->modifiers()); });
        // Its press holds polling too: a release that never comes must not hold it for good.
        plot->installEventFilter(this);
    }
    connect(plot, &QCustomPlot::mouseRelease, this, [this, chart](QMouseEvent *e) { onRelease(chart, e); });
}

void ChartInteraction::setPollTimer(QTimer *timer, std::function<bool()> runButtonDown)
{
    m_pollTimer = timer;
    m_runButtonDown = std::move(runButtonDown);
}

void ChartInteraction::setFactorPanel(QLabel *panel)
{
    m_factorPanel = panel;
    if (m_factorPanel) {
        m_factorPanel->setText(QStringLiteral("x%1").arg(timelineExpandFactor()));
        m_factorPanel->setVisible(timelineExpandFactor() > 1);
    }
}

int ChartInteraction::timelineExpandFactor() const
{
    return m_charts.timelineExpandFactor();
}

void ChartInteraction::watchKeys(QWidget *window)
{
    if (!window || m_keyWindow == window)
        return;
    m_keyWindow = window;
    qApp->installEventFilter(this);
}

bool ChartInteraction::eventFilter(QObject *watched, QEvent *event)
{
    // A key in the window, or on a chart (which has the focus once clicked), is the last key state.
    if (event->type() == QEvent::KeyPress) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (m_charts.numberOf(watched) != 0 || (w && m_keyWindow && w->window() == m_keyWindow))
            FormKeyDown(static_cast<QKeyEvent *>(event)->modifiers());
    }
    if (m_dragChart != 0 && watched == m_charts.chart(m_dragChart)) {
        switch (event->type()) {
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
        case QEvent::FocusOut:
            releaseLost(m_dragChart);
            break;
        case QEvent::MouseMove:
            // A move without the button means its release went elsewhere.
            if (!(static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton)) {
                releaseLost(m_dragChart);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ChartInteraction::releaseLost(int chart)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot || m_dragChart != chart)
        return;
    // The component still thinks the button is down; give it its release so
    // its drag ends, and ours with it.
    const QPointF at = plot->mapFromGlobal(QCursor::pos());
    QMouseEvent release(QEvent::MouseButtonRelease, at, plot->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &release);
    if (m_dragChart == chart) // the component did not pass it on
        Chart1MouseUp(chart, int(at.x()));
}

void ChartInteraction::onPress(int chart, QMouseEvent *event)
{
    Chart1MouseDown(chart, event->button(), event->modifiers());
}

void ChartInteraction::onRelease(int chart, QMouseEvent *event)
{
    // A Ctrl held at release also counts as the last key state (of the time charts).
    if ((event->modifiers() & Qt::ControlModifier) && !isToneChart(chart))
        m_ctrlKeyDown = true;
    Chart1MouseUp(chart, int(event->position().x()));
}

void ChartInteraction::FormKeyDown(Qt::KeyboardModifiers modifiers)
{
    m_ctrlKeyDown = modifiers.testFlag(Qt::ControlModifier);
}

void ChartInteraction::Chart1MouseDown(int chart, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot)
        return;
    m_ctrl = modifiers.testFlag(Qt::ControlModifier);
    m_shift = modifiers.testFlag(Qt::ShiftModifier);
    m_alt = modifiers.testFlag(Qt::AltModifier);
    // Ctrl on a tone chart says nothing about the time charts' next release.
    if (m_ctrl && !isToneChart(chart))
        m_ctrlKeyDown = true;
    const bool pinned = (chart == 3 && m_settings.Graph.User1Pin) || (chart == 19 && m_settings.Graph.User2Pin);

    for (int c : kRightAxisCharts) {
        const ChartAxis r = m_charts.rightAxis(c);
        m_savedRight[c] = {r.maximum(), r.minimum()};
    }
    m_savedLeftMin = m_charts.leftAxis(chart).minimum();
    m_savedRightMin = m_charts.rightAxis(chart).minimum();

    if (button != Qt::LeftButton)
        return;
    if (m_pollTimer && m_pollTimer->isActive()) {
        m_pollTimer->stop();
        m_paused = true;
    }
    m_dragChart = chart;

    // A page is Points long; the bitswap charts' pages are their own span of refreshes.
    const ChartSeries *first = m_charts.seriesAt(chart, 0);
    const ChartAxis bottom = m_charts.bottomAxis(chart);
    const qint64 page = isToneChart(chart) ? qint64(std::lround(bottom.maximum() - bottom.minimum()))
                                           : qint64(m_settings.System.Points);
    const bool full = first && first->count() >= page - 5;
    const bool vertical = m_shift || m_settings.Graph.AllowVerticalDrag;
    Qt::Orientations pan;
    if (full && (m_alt || pinned)) {
        m_cursor = cursorNEW;
        pan = Qt::Horizontal | Qt::Vertical;
    } else if (full && vertical) {
        m_cursor = cursorNSEW;
        pan = Qt::Horizontal | Qt::Vertical;
    } else if (!full && (pinned || m_alt)) {
        m_cursor = cursorN;
        pan = Qt::Vertical;
    } else if (!full && vertical) {
        m_cursor = cursorNS;
        pan = Qt::Vertical;
    } else if (!full) {
        m_cursor = cursorNO;
    } else {
        m_cursor = cursorEW;
        pan = Qt::Horizontal;
    }
    plot->axisRect()->setRangeDrag(pan);
    applyCursor(chart);
}

void ChartInteraction::applyCursor(int chart)
{
    if (QCustomPlot *plot = m_charts.chart(chart)) {
        if (m_cursor == NormalCursor)
            plot->unsetCursor();
        else
            plot->setCursor(shapeOf(m_cursor));
    }
}

void ChartInteraction::ChartHasScrolled(int chart)
{
    if (m_inScroll)
        return;
    m_inScroll = true;
    m_scrolled = true;
    ChartAxis left = m_charts.leftAxis(chart);
    ChartAxis right = m_charts.rightAxis(chart);
    // Pinned or Alt: the bottom stays, only the top moves.
    if (m_cursor == cursorN || m_cursor == cursorNEW) {
        left.trySetMinimum(m_savedLeftMin);
        right.trySetMinimum(m_savedRightMin);
    }
    if (right.minimum() < -0.1)
        right.trySetMinimum(-0.1);
    const double floor = deepFloorChart(chart) ? -5 : -0.1;
    if (left.minimum() < floor)
        left.trySetMinimum(floor);

    const QCustomPlot *plot = m_charts.chart(chart);
    const bool rightHidden = plot && !plot->yAxis2->visible();
    if (m_ctrl || rightHidden) {
        // A hidden overlay axis must not wander with the drag.
        for (int c : kRightAxisCharts) {
            const auto saved = m_savedRight.value(c, {0, 10});
            ChartAxis r = m_charts.rightAxis(c);
            r.setLimitsInSafeOrder(saved.second, saved.first);
        }
    }
    m_inScroll = false;
}

void ChartInteraction::Chart1MouseUp(int chart, int x)
{
    m_ctrl = m_shift = m_alt = false;
    const bool wasDragging = m_dragChart != 0;
    m_dragChart = 0;
    if (m_pollTimer && (wasDragging || m_paused)) {
        if (m_runButtonDown && m_runButtonDown())
            m_pollTimer->start();
        else
            m_pollTimer->stop();
    }
    m_paused = false;
    m_cursor = NormalCursor;
    applyCursor(chart);

    // Only a time chart's page is a page of the time charts.
    if (!isToneChart(chart) && m_scrolled && (m_ctrlKeyDown || m_settings.Graph.Locked)) {
        copyBottomRange(chart);
        m_scrolled = false;
        m_ctrlKeyDown = false;
    }
    emit indicatorsChanged(indicatorStates());
    setGridSide(chart, x);
    m_charts.replotAll();
}

void ChartInteraction::copyBottomRange(int fromChart)
{
    if (isToneChart(fromChart))
        return;
    const ChartAxis from = m_charts.bottomAxis(fromChart);
    const double min = from.minimum(), max = from.maximum();
    for (const ChartDef &def : ChartTable::charts()) {
        if (def.number == fromChart || isToneChart(def.number))
            continue;
        const ChartSeries *first = m_charts.seriesAt(def.number, 0);
        if (!first || first->count() < 1)
            continue;
        ChartAxis to = m_charts.bottomAxis(def.number);
        // In the order that never puts the minimum above the maximum.
        if (to.minimum() > max) {
            to.trySetMinimum(min);
            to.trySetMaximum(max);
        } else {
            to.trySetMaximum(max);
            to.trySetMinimum(min);
        }
    }
}

void ChartInteraction::setGridSide(int chart, int x)
{
    bool TSettings::TelnetKeys::*leftVisible = nullptr;
    switch (chart) {
    case 1: leftVisible = &TSettings::TelnetKeys::LeftVisible1; break;
    case 16: leftVisible = &TSettings::TelnetKeys::LeftVisible16; break;
    case 23: leftVisible = &TSettings::TelnetKeys::LeftVisible23; break;
    case 24: leftVisible = &TSettings::TelnetKeys::LeftVisible24; break;
    default: return;
    }
    QCustomPlot *plot = m_charts.chart(chart);
    bool left = m_settings.Telnet.*leftVisible;
    if (!plot->yAxis2->visible())
        left = true;
    else if (x < 100)
        left = true;
    else if (x > plot->width() - 100)
        left = false;
    else
        return;
    m_settings.Telnet.*leftVisible = left;
    plot->yAxis->grid()->setVisible(left);
    plot->yAxis2->grid()->setVisible(!left);
}

QMap<QString, bool> ChartInteraction::indicatorStates() const
{
    QMap<QString, bool> states;
    for (const ChartDef &def : ChartTable::charts()) {
        if (!def.timeChart || !m_charts.isCreated(def.number))
            continue;
        const bool box = CaptureSchedule::plotBoxChecked(m_settings, def.number);
        auto rule = [&](const ChartSeries *s, const ChartAxis &axis) {
            if (!box || !s || s->keptCount() == 0)
                return false;
            const double v = s->lastValue();
            return isCounterChart(def.number) ? v >= axis.maximum() : v > axis.maximum();
        };
        auto &charts = const_cast<ChartSet &>(m_charts);
        if (def.leftIndicator[0] != '\0')
            states.insert(QString::fromLatin1(def.leftIndicator),
                          rule(charts.valueSeries(def.number), charts.leftAxis(def.number)));
        if (def.rightIndicator[0] != '\0') {
            const ChartSeries *r = nullptr;
            for (size_t i = 0; i < def.series.size(); ++i)
                if (def.series[i].axis == AxisSide::Right)
                    r = charts.series(QLatin1String(def.series[i].name));
            states.insert(QString::fromLatin1(def.rightIndicator), rule(r, charts.rightAxis(def.number)));
        }
    }
    return states;
}

void ChartInteraction::mnuExpandClick()
{
    const int factor = timelineExpandFactor();
    if (factor >= 128)
        return;
    m_charts.setTimelineExpandFactor(factor * 2);
    m_charts.applyPageWidth();
    const int now = timelineExpandFactor();
    if (m_factorPanel) {
        m_factorPanel->setVisible(now > 1);
        m_factorPanel->setText(QStringLiteral("x%1").arg(now));
    }
    emit systemMessage(QStringLiteral("Expand timeline: x%1").arg(now));
}

void ChartInteraction::mnuRestoreClick()
{
    m_charts.setTimelineExpandFactor(1);
    m_charts.applyPageWidth();
    if (m_factorPanel) {
        m_factorPanel->hide();
        m_factorPanel->setText(QStringLiteral("x1"));
    }
    emit systemMessage(QStringLiteral("Restore timeline"));
}

void ChartInteraction::pinClicked(int chart, bool down)
{
    if (QCustomPlot *plot = m_charts.chart(chart))
        plot->axisRect()->setRangeDrag(down ? Qt::Horizontal : Qt::Horizontal | Qt::Vertical);
}
