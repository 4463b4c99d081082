#pragma once
// Qt lets arrow keys press the next button of an exclusive group, as in a set
// of radio buttons. On a toolbar pair such as Run and Stop that turns a stray
// arrow key into a command; watched buttons only pass the focus on instead.
#include <QObject>

class QAbstractButton;

class ArrowKeysMoveFocus : public QObject {
    Q_OBJECT
public:
    explicit ArrowKeysMoveFocus(QObject *parent = nullptr);
    void watch(QAbstractButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
