// At the dialog's default size, and as large as a 1366 x 768 screen lets it
// be, every page shows its buttons and boxes whole (a page scrolls rather
// than squeeze them); the dialog is placed and sized within the screen.
#include "ConfigTestSupport.h"
#include "LayoutCheck.h"
#include "configuration/DialogPlacement.h"

#include <QAbstractButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>

TEST_F(DialogFixture, EveryPageShowsItsButtonsWholeAtTheDefaultSize)
{
    // Telnet on, so the telnet pages show every control they have.
    TForm2 &form = open("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n");
    form.show();
    QApplication::processEvents();
    for (const QSize size : {form.minimumSize(), QSize(1366, 700)}) {
        form.resize(size);
        QApplication::processEvents();
        const QStringList cut = testsupport::onEveryPage(&form, [](QWidget *page) {
            QStringList found = testsupport::crushedControls(page);
            for (QAbstractButton *b : page->findChildren<QAbstractButton *>())
                if (b->isVisible() && !b->text().isEmpty() && b->width() < b->sizeHint().width())
                    found << b->text();
            return found;
        });
        EXPECT_TRUE(cut.isEmpty()) << form.width() << " x " << form.height() << ":\n"
                                   << cut.join(QLatin1Char('\n')).toStdString();
    }
}

// The dialog asks for the height at which none of its pages scrolls.
TEST_F(DialogFixture, ItsPreferredSizeLetsNoPageScroll)
{
    TForm2 &form = open("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n");
    form.show();
    form.resize(form.sizeHint().expandedTo(form.minimumSize()));
    QApplication::processEvents();
    QStringList scrolling;
    for (QScrollArea *area : form.findChildren<QScrollArea *>()) {
        if (!area->objectName().endsWith(QLatin1String("Scroll")))
            continue;
        testsupport::bringForward(area);
        QApplication::processEvents();
        if (area->verticalScrollBar()->maximum() > 0)
            scrolling << area->objectName();
    }
    EXPECT_EQ(scrolling, QStringList()) << "at " << form.width() << " x " << form.height();
}

TEST(DialogPlacement, FitsOnTheScreenWithinItsMinimum)
{
    const QMargins frame(2, 30, 2, 2);
    const QRect laptop(0, 0, 1366, 728); // 1366 x 768 less a 40 px panel
    struct Case {
        const char *what;
        QRect wanted;
        QSize preferred;
        QRect expected;
    };
    const QSize minimum(657, 556);
    const Case cases[] = {
        {"room everywhere: where asked, as large as preferred", QRect(333, 50, 657, 556), QSize(700, 640),
         QRect(333, 50, 700, 640)},
        {"first run below the main window: moved up, not off the bottom", QRect(333, 174, 657, 556), QSize(657, 556),
         QRect(333, 170, 657, 556)},
        {"taller than the screen: the screen's height", QRect(333, 174, 657, 556), QSize(657, 900),
         QRect(333, 30, 657, 696)},
        {"off the right edge: moved left", QRect(1000, 40, 657, 556), QSize(0, 0), QRect(707, 40, 657, 556)},
        {"above and left of the screen: moved in", QRect(-50, -20, 657, 556), QSize(0, 0), QRect(2, 30, 657, 556)},
        {"never below its minimum, top-left kept", QRect(0, 0, 657, 556), QSize(0, 0), QRect(2, 30, 657, 556)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(dialogs::fitOnScreen(c.wanted, c.preferred, minimum, laptop, frame), c.expected) << c.what;
    // A screen smaller than the minimum: the minimum, the title bar on the screen.
    EXPECT_EQ(dialogs::fitOnScreen(QRect(100, 100, 657, 556), QSize(), minimum, QRect(0, 0, 640, 480), frame),
              QRect(2, 30, 657, 556));
}
