#pragma once
// Small dialogs open at a fixed offset from their opener's top-left corner and
// are asked without blocking: they are window-modal, delete themselves when
// closed and report their answer through a callback.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QDialog;
class QWidget;

namespace dialogs {

// Places the dialog at the opener window's top-left corner plus offset and
// shows it window-modal (no nested event loop).
void openAt(QDialog *dialog, QWidget *opener, QPoint offset);

// The same, placed by the opener window's centre plus offset.
void openFromCentre(QDialog *dialog, QWidget *opener, QPoint offset);

// Where a window asked for at `wanted` (its client area) goes on a screen whose
// free area is `available`: as large as `preferred` where the screen has room,
// never smaller than `minimum`, moved so that its frame stays on the screen
// (the top-left corner wins when even the minimum does not fit).
QRect fitOnScreen(const QRect &wanted, const QSize &preferred, const QSize &minimum, const QRect &available,
                  const QMargins &frame);

// Qt labels break lines at LF only; texts of the program use CR LF.
QString plainLines(const QString &text);

} // namespace dialogs
