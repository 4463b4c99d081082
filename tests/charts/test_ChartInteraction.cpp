// Dragging the charts with the mouse: the six modes and their cursors, the
// axis floors, polling held while the button is down (and released when the
// button-up is lost), Ctrl drags copying the timeline, the zoom steps, and
// the grid side chosen by where the button comes up.
#include "ChartTestSupport.h"
#include "charts/ChartInteraction.h"
#include "charts/ChartSet.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

struct ChartInteractionTest : ::testing::Test {
    TSettings s = charttest::defaultSettings();
    ChartSet charts;
    QTimer poll;
    bool runDown = true;
    std::unique_ptr<ChartInteraction> ia;

    void SetUp() override
    {
        charts.applyStartup(s);
        ia = std::make_unique<ChartInteraction>(charts, s);
        ia->setPollTimer(&poll, [this] { return runDown; });
        ia->attachAll();
        poll.setInterval(60000);
        poll.start();
    }

    QCustomPlot *shown(int chart)
    {
        QCustomPlot *p = charts.chart(chart);
        p->resize(600, 300);
        p->show();
        p->replot();
        return p;
    }

    void fill(int chart, int n, double value = 5)
    {
        ChartSeries *first = charts.seriesAt(chart, 0);
        for (int i = 0; i < n; ++i)
            first->add(value, QStringLiteral(" p"));
    }

    static void send(QCustomPlot *p, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), QPointF(p->mapToGlobal(at)), button, buttons, mods);
        QApplication::sendEvent(p, &e);
    }

    // Press in the plot area, move by (dx, dy) in steps, optionally release.
    void drag(QCustomPlot *p, int dx, int dy, Qt::KeyboardModifiers mods = Qt::NoModifier, bool release = true)
    {
        const QPoint from = p->axisRect()->center();
        send(p, QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
        for (int step = 1; step <= 4; ++step)
            send(p, QEvent::MouseMove, from + QPoint(dx * step / 4, dy * step / 4), Qt::LeftButton, mods);
        if (release)
            send(p, QEvent::MouseButtonRelease, from + QPoint(dx, dy), Qt::NoButton, mods);
    }
};

} // namespace

TEST_F(ChartInteractionTest, MouseDownChoosesModeAndCursorByFullnessModifiersAndPins)
{
    struct Case {
        const char *name;
        int chart;
        int points; // Points is 250: full from 245
        Qt::KeyboardModifiers mods;
        bool allowVertical;
        bool pinned;
        ChartInteraction::DragCursor cursor;
        Qt::Orientations pan;
    };
    const Qt::Orientations both = Qt::Horizontal | Qt::Vertical;
    const Case cases[] = {
        {"full, plain", 1, 245, Qt::NoModifier, false, false, ChartInteraction::cursorEW, Qt::Horizontal},
        {"one short of full", 1, 244, Qt::NoModifier, false, false, ChartInteraction::cursorNO, {}},
        {"full with Alt", 1, 250, Qt::AltModifier, false, false, ChartInteraction::cursorNEW, both},
        {"full with Shift", 1, 250, Qt::ShiftModifier, false, false, ChartInteraction::cursorNSEW, both},
        {"full, vertical drag allowed", 2, 250, Qt::NoModifier, true, false, ChartInteraction::cursorNSEW, both},
        {"full, Alt beats Shift", 1, 250, Qt::AltModifier | Qt::ShiftModifier, false, false,
         ChartInteraction::cursorNEW, both},
        {"not full with Alt", 1, 3, Qt::AltModifier, false, false, ChartInteraction::cursorN, Qt::Vertical},
        {"not full with Shift", 1, 3, Qt::ShiftModifier, false, false, ChartInteraction::cursorNS, Qt::Vertical},
        {"pinned user chart, full", 3, 250, Qt::NoModifier, false, true, ChartInteraction::cursorNEW, both},
        {"pinned user chart, empty", 3, 0, Qt::NoModifier, false, true, ChartInteraction::cursorN, Qt::Vertical},
        {"unpinned user chart, empty", 3, 0, Qt::NoModifier, false, false, ChartInteraction::cursorNO, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        charts.seriesAt(c.chart, 0)->clear();
        fill(c.chart, c.points);
        s.Graph.AllowVerticalDrag = c.allowVertical;
        s.Graph.User1Pin = c.pinned;
        QCustomPlot *p = shown(c.chart);
        send(p, QEvent::MouseButtonPress, p->axisRect()->center(), Qt::LeftButton, c.mods);
        EXPECT_EQ(ia->cursor(), c.cursor);
        EXPECT_EQ(p->axisRect()->rangeDrag(), c.pan);
        EXPECT_EQ(p->cursor().shape() == Qt::ArrowCursor, false);
        send(p, QEvent::MouseButtonRelease, p->axisRect()->center(), Qt::NoButton);
        EXPECT_EQ(ia->cursor(), ChartInteraction::NormalCursor);
    }
}

TEST_F(ChartInteractionTest, DraggingUpwardsStopsAtEachChartsFloor)
{
    // Dragging the picture up moves the range down.
    const struct {
        int chart;
        double floor;
    } cases[] = {{1, -5}, {18, -5}, {16, -5}, {2, -0.1}, {20, -0.1}, {3, -0.1}, {17, -0.1}};
    s.Graph.AllowVerticalDrag = true;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chart);
        fill(c.chart, 250);
        charts.leftAxis(c.chart).setLimitsInSafeOrder(0, 10);
        QCustomPlot *p = shown(c.chart);
        drag(p, 0, -280);
        EXPECT_DOUBLE_EQ(charts.leftAxis(c.chart).minimum(), c.floor);
        EXPECT_GE(charts.rightAxis(c.chart).minimum(), -0.1);
    }
}

TEST_F(ChartInteractionTest, AltDragMovesOnlyTheTop)
{
    fill(1, 250);
    charts.leftAxis(1).setLimitsInSafeOrder(2, 10);
    QCustomPlot *p = shown(1);
    drag(p, 0, 100, Qt::AltModifier);
    EXPECT_DOUBLE_EQ(charts.leftAxis(1).minimum(), 2);
    EXPECT_GT(charts.leftAxis(1).maximum(), 10);
}

TEST_F(ChartInteractionTest, PollingHeldDuringDragAndResumedOnReleaseOnlyWhileRunDown)
{
    fill(1, 250);
    QCustomPlot *p = shown(1);
    drag(p, -100, 0, Qt::NoModifier, false);
    EXPECT_FALSE(poll.isActive());
    EXPECT_TRUE(ia->pollingPaused());
    send(p, QEvent::MouseButtonRelease, p->axisRect()->center(), Qt::NoButton);
    EXPECT_TRUE(poll.isActive());
    EXPECT_FALSE(ia->pollingPaused());

    // Stopped meanwhile: the release leaves polling off.
    drag(p, -50, 0, Qt::NoModifier, false);
    runDown = false;
    send(p, QEvent::MouseButtonRelease, p->axisRect()->center(), Qt::NoButton);
    EXPECT_FALSE(poll.isActive());

    // A right click does not hold polling.
    runDown = true;
    poll.start();
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(p->axisRect()->center()), QPointF(), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(p, &right);
    EXPECT_TRUE(poll.isActive());
}

TEST_F(ChartInteractionTest, PollingResumesWhenTheReleaseIsLost)
{
    const struct {
        const char *name;
        std::function<void(QCustomPlot *)> lose;
    } cases[] = {
        {"chart hidden", [](QCustomPlot *p) { p->hide(); }},
        {"window deactivated",
         [](QCustomPlot *p) {
             QEvent e(QEvent::WindowDeactivate);
             QApplication::sendEvent(p, &e);
         }},
        {"focus taken away",
         [](QCustomPlot *p) {
             QFocusEvent e(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
             QApplication::sendEvent(p, &e);
         }},
        {"a move arrives with the button up",
         [](QCustomPlot *p) { send(p, QEvent::MouseMove, p->axisRect()->center(), Qt::NoButton); }},
    };
    fill(1, 250);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        poll.start();
        QCustomPlot *p = shown(1);
        drag(p, -60, 0, Qt::NoModifier, false);
        ASSERT_FALSE(poll.isActive());
        c.lose(p);
        EXPECT_TRUE(poll.isActive());
        EXPECT_FALSE(ia->dragging());
        EXPECT_EQ(ia->cursor(), ChartInteraction::NormalCursor);
        // The component's own drag has ended too: moves no longer pan.
        const double before = charts.bottomAxis(1).minimum();
        send(p, QEvent::MouseMove, p->axisRect()->center() + QPoint(-200, 0), Qt::LeftButton);
        EXPECT_DOUBLE_EQ(charts.bottomAxis(1).minimum(), before);
    }
}

TEST_F(ChartInteractionTest, CtrlDragCopiesTheTimelineToChartsWithPointsOnly)
{
    fill(1, 400);
    fill(2, 400);
    fill(16, 10);
    fill(21, 10); // a tone chart never follows
    const double emptyMin = charts.bottomAxis(18).minimum();
    const double toneMax = charts.bottomAxis(21).maximum();
    QCustomPlot *p = shown(1);
    drag(p, 200, 0, Qt::ControlModifier);
    const double min = charts.bottomAxis(1).minimum(), max = charts.bottomAxis(1).maximum();
    EXPECT_LT(min, 0);
    for (int chart : {2, 16}) {
        EXPECT_DOUBLE_EQ(charts.bottomAxis(chart).minimum(), min) << chart;
        EXPECT_DOUBLE_EQ(charts.bottomAxis(chart).maximum(), max) << chart;
    }
    EXPECT_DOUBLE_EQ(charts.bottomAxis(18).minimum(), emptyMin);
    EXPECT_DOUBLE_EQ(charts.bottomAxis(21).maximum(), toneMax);
    EXPECT_FALSE(ia->chartScrolled());

    // Without Ctrl (and not locked) the others stay; locked charts always follow.
    drag(p, 200, 0);
    EXPECT_NE(charts.bottomAxis(2).minimum(), charts.bottomAxis(1).minimum());
    s.Graph.Locked = true;
    drag(p, 100, 0);
    EXPECT_DOUBLE_EQ(charts.bottomAxis(2).minimum(), charts.bottomAxis(1).minimum());
}

TEST_F(ChartInteractionTest, CtrlCopyIntoARangeWhollyAboveKeepsMinimumBelowMaximum)
{
    fill(1, 2000);
    fill(2, 2000);
    charts.bottomAxis(2).setLimitsInSafeOrder(1700, 1950);
    charts.bottomAxis(1).setLimitsInSafeOrder(100, 350);
    QCustomPlot *p = shown(1);
    drag(p, 1, 0, Qt::ControlModifier);
    EXPECT_NEAR(charts.bottomAxis(2).minimum(), charts.bottomAxis(1).minimum(), 1e-9);
    EXPECT_NEAR(charts.bottomAxis(2).maximum(), charts.bottomAxis(1).maximum(), 1e-9);
}

TEST_F(ChartInteractionTest, HiddenOverlayAxisDoesNotWanderWithAVerticalDrag)
{
    s.Graph.AllowVerticalDrag = true;
    fill(1, 250);
    charts.chart(1)->yAxis2->setVisible(false);
    charts.rightAxis(1).setLimitsInSafeOrder(500, 8500);
    QCustomPlot *p = shown(1);
    drag(p, 0, 120);
    EXPECT_DOUBLE_EQ(charts.rightAxis(1).minimum(), 500);
    EXPECT_DOUBLE_EQ(charts.rightAxis(1).maximum(), 8500);
}

TEST_F(ChartInteractionTest, WheelZoomsNothing)
{
    fill(1, 250);
    QCustomPlot *p = shown(1);
    const QCPRange x = p->xAxis->range(), y = p->yAxis->range();
    QWheelEvent wheel(QPointF(p->axisRect()->center()), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(p, &wheel);
    EXPECT_EQ(p->xAxis->range(), x);
    EXPECT_EQ(p->yAxis->range(), y);
    EXPECT_TRUE(wheel.isAccepted());
}

TEST_F(ChartInteractionTest, ExpandAndRestoreTimeline)
{
    QLabel panel;
    ia->setFactorPanel(&panel);
    QSignalSpy messages(ia.get(), &ChartInteraction::systemMessage);
    for (int i = 0; i < 3; ++i)
        ia->mnuExpandClick();
    EXPECT_EQ(ia->timelineExpandFactor(), 8);
    for (int chart : {1, 17, 25, 28}) {
        const ChartAxis b = charts.bottomAxis(chart);
        EXPECT_DOUBLE_EQ(b.maximum() - b.minimum(), 31.25) << chart;
    }
    EXPECT_DOUBLE_EQ(charts.bottomAxis(21).maximum(), 512); // tones keep their width
    EXPECT_FALSE(panel.isHidden());
    EXPECT_EQ(panel.text(), QStringLiteral("x8"));
    EXPECT_EQ(messages.last().at(0).toString(), QStringLiteral("Expand timeline: x8"));

    for (int i = 0; i < 10; ++i)
        ia->mnuExpandClick();
    EXPECT_EQ(ia->timelineExpandFactor(), 128);

    ia->mnuRestoreClick();
    EXPECT_EQ(ia->timelineExpandFactor(), 1);
    EXPECT_DOUBLE_EQ(charts.bottomAxis(1).maximum() - charts.bottomAxis(1).minimum(), 250);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(panel.text(), QStringLiteral("x1"));
    EXPECT_EQ(messages.last().at(0).toString(), QStringLiteral("Restore timeline"));
}

TEST_F(ChartInteractionTest, ReleaseNearAnEdgeChoosesTheGridSide)
{
    const struct {
        const char *name;
        bool rightShown;
        int x;
        bool leftGrid;
    } cases[] = {
        {"near the left edge", true, 50, true},
        {"near the right edge", true, 550, false},
        {"in between keeps the last side", true, 300, false},
        {"right axis hidden", false, 550, true},
    };
    QCustomPlot *p = shown(1);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        p->yAxis2->setVisible(c.rightShown);
        ia->Chart1MouseDown(1, Qt::LeftButton, Qt::NoModifier);
        ia->Chart1MouseUp(1, c.x);
        EXPECT_EQ(p->yAxis->grid()->visible(), c.leftGrid);
        EXPECT_EQ(p->yAxis2->grid()->visible(), !c.leftGrid);
        EXPECT_EQ(bool(s.Telnet.LeftVisible1), c.leftGrid);
    }
}

TEST_F(ChartInteractionTest, ReleaseReevaluatesIndicatorsWithBoxAndCounterRules)
{
    s.Telnet.cbICRC = true;
    charts.leftAxis(1).setLimitsInSafeOrder(0, 10);
    charts.leftAxis(5).setLimitsInSafeOrder(0, 10);
    charts.series(QStringLiteral("Series1"))->add(10);
    charts.series(QStringLiteral("LineSeries2"))->add(10);
    QSignalSpy spy(ia.get(), &ChartInteraction::indicatorsChanged);
    ia->Chart1MouseUp(1, 300);
    ASSERT_EQ(spy.count(), 1);
    auto states = spy.last().at(0).value<QMap<QString, bool>>();
    EXPECT_FALSE(states.value(QStringLiteral("Image136"))); // equal is not above
    EXPECT_TRUE(states.value(QStringLiteral("Image117")));  // counters: at or above
    charts.series(QStringLiteral("Series1"))->add(10.5);
    s.Telnet.cbICRC = false;
    states = ia->indicatorStates();
    EXPECT_TRUE(states.value(QStringLiteral("Image136")));
    EXPECT_FALSE(states.value(QStringLiteral("Image117"))); // box clear
}

TEST_F(ChartInteractionTest, CtrlPressedBeforeAPlainDragStillSynchronises)
{
    fill(1, 400);
    fill(2, 400);
    QCustomPlot *p = shown(1);
    // As the system reports it: the state before the key, which the event itself adds.
    QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    QApplication::sendEvent(p, &ctrl);
    drag(p, 150, 0);
    EXPECT_DOUBLE_EQ(charts.bottomAxis(2).minimum(), charts.bottomAxis(1).minimum());
    // Used up by that release: the next plain drag leaves the others alone.
    drag(p, 150, 0);
    EXPECT_NE(charts.bottomAxis(2).minimum(), charts.bottomAxis(1).minimum());
}

// Ctrl pressed with the focus in an edit box of the window (not on the chart)
// makes the next drag copy the timeline; Ctrl in another window does not.
TEST_F(ChartInteractionTest, CtrlAnywhereInTheWindowReachesTheDraggedChart)
{
    QWidget window, otherWindow;
    ia->watchKeys(&window);
    fill(1, 400);
    fill(2, 400);
    for (const auto &[typedIn, copies] : {std::pair{new QLineEdit(&otherWindow), false},
                                          std::pair{new QLineEdit(&window), true}}) {
        charts.bottomAxis(2).setLimitsInSafeOrder(0, 250);
        QTest::keyPress(typedIn, Qt::Key_Control);
        drag(shown(1), 150, 0);
        EXPECT_EQ(charts.bottomAxis(2).minimum() == charts.bottomAxis(1).minimum(), copies) << copies;
    }
}
