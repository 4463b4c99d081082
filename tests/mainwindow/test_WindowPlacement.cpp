// The main window's opening size and place.
#include "mainwindow/WindowPlacement.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(WindowPlacement, StoredSizeIsBoundedByTheRoomButNeverUnderTheMinimum)
{
    struct Case {
        QSize stored, minimum, room, expected;
    };
    const Case cases[] = {
        {{900, 600}, {760, 519}, {1920, 1050}, {900, 600}},   // fits: kept
        {{2560, 1400}, {760, 519}, {1366, 738}, {1366, 738}}, // from a larger screen: the room
        {{0, 0}, {760, 519}, {1920, 1050}, {760, 519}},       // nothing stored: the minimum
        {{1000, 300}, {760, 519}, {1920, 1050}, {1000, 519}}, // each side on its own
        {{1000, 700}, {760, 519}, {640, 450}, {760, 519}},    // a screen under the minimum
        {{-5, 800}, {760, 519}, {1024, 700}, {760, 700}},     // a negative stored side
    };
    for (const Case &c : cases)
        EXPECT_EQ(windowplacement::openingSize(c.stored, c.minimum, c.room), c.expected)
            << c.stored.width() << "x" << c.stored.height();
}

TEST(WindowPlacement, FrameIsCentredOnTheFreeArea)
{
    struct Case {
        QSize size;
        QRect area;
        QPoint expected;
    };
    const Case cases[] = {
        {{800, 600}, {0, 0, 1920, 1080}, {560, 240}},
        {{801, 601}, {0, 0, 1920, 1080}, {559, 239}},        // odd sides lean to the top left
        {{800, 600}, {1920, 30, 1280, 994}, {2160, 227}},    // a second screen, a panel at the top
        {{1400, 900}, {0, 0, 1280, 800}, {-60, -50}},        // larger than the area: overhangs evenly
    };
    for (const Case &c : cases)
        EXPECT_EQ(windowplacement::centredOn(c.size, c.area), c.expected);
}

TEST(WindowPlacement, StayingOnTopKeepsAShownWindowShownAndAHiddenOneHidden)
{
    for (bool shown : {true, false}) {
        QWidget window;
        if (shown)
            window.show();
        for (bool onTop : {true, true, false}) {
            windowplacement::keepOnTop(&window, onTop);
            EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
            EXPECT_EQ(window.isVisible(), shown);
        }
    }
}
