#include "mainwindow/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace windowplacement {

QSize openingSize(QSize stored, QSize minimum, QSize room)
{
    return stored.expandedTo(minimum).boundedTo(room).expandedTo(minimum);
}

QPoint centredOn(QSize size, const QRect &area)
{
    QRect frame(QPoint(), size);
    frame.moveCenter(area.center());
    return frame.topLeft();
}

void openCentred(QWidget *window, QSize stored)
{
    stored = stored.expandedTo(window->minimumSize());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // A size kept from a larger screen is brought within this one, title bar included.
        const QSize room = screen->availableGeometry().size()
                           - QSize(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
        stored = openingSize(stored, window->minimumSize(), room);
    }
    window->resize(stored);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(centredOn(window->size(), screen->availableGeometry()));
}

void keepOnTop(QWidget *window, bool onTop)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // A change of flags hides the window.
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible)
        window->show();
}

} // namespace windowplacement
