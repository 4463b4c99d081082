#pragma once
// A tool button whose face runs its own command and whose arrow opens a menu.
// Qt speaks such a button as a menu whose first action opens the menu; this
// one is a button whose default action is its command, the menu a second one.
#include <QToolButton>

class SplitMenuButton : public QToolButton {
    Q_OBJECT
public:
    explicit SplitMenuButton(QWidget *parent = nullptr);
};
