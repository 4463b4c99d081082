#pragma once
// Where the main window opens (at its stored size brought within the screen, centred on
// it) and whether it stays above the others.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace windowplacement {

// The stored size, never under `minimum`, within `room` (the screen's free area less the title bar);
// the minimum wins over a screen smaller than it.
QSize openingSize(QSize stored, QSize minimum, QSize room);
// The top left corner that centres a frame of `size` on `area`.
QPoint centredOn(QSize size, const QRect &area);
// Resizes `window` to `stored` as above on the primary screen and centres it there; the stored
// position is kept, not applied.
void openCentred(QWidget *window, QSize stored);
// Keeps `window` above the others or lets it go; a shown window stays shown.
void keepOnTop(QWidget *window, bool onTop);

} // namespace windowplacement
