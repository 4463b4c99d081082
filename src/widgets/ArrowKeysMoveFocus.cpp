#include "widgets/ArrowKeysMoveFocus.h"

#include <QAbstractButton>
#include <QKeyEvent>

ArrowKeysMoveFocus::ArrowKeysMoveFocus(QObject *parent) : QObject(parent) {}

void ArrowKeysMoveFocus::watch(QAbstractButton *button) { button->installEventFilter(this); }

bool ArrowKeysMoveFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!button)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    QWidget *next = forward ? button->nextInFocusChain() : button->previousInFocusChain();
    // Skip what cannot take the focus, as Tab does.
    while (next && next != button && (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisibleTo(button->window())
                                      || !next->isEnabled()))
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    if (next && next != button)
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
