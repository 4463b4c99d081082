#pragma once
// A Yes/Cancel question that does not block the event loop: polling and the
// timers go on while it is up. The answer arrives through the callbacks.
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

namespace confirmbox {

// Opens the question at the given screen position; onYes runs on Yes, onNo on
// anything else (Cancel, Escape, closing the box). Returns the open box.
QMessageBox *ask(QWidget *parent, const QString &objectName, const QString &text, const QPoint &at,
                 std::function<void()> onYes, std::function<void()> onNo = {});

// An information box with OK that does not block the event loop either.
QMessageBox *inform(QWidget *parent, const QString &objectName, const QString &text);

} // namespace confirmbox
