#pragma once
// What a screen reader or a switch device offers on a checkable button. Qt's
// own "Toggle" action flips the button with toggle(), which emits toggled but
// not clicked, so a handler wired to clicked never runs: a Stop put down that
// way left monitoring running. This interface gives the action a real click,
// so it runs the same handler, asks the same questions and leaves the same
// state as the mouse does. It speaks for every push button, check box and
// radio button made once install() has run, and answers as Qt's own would.
#include <QAccessibleWidget>

class QAbstractButton;

class ClickingButtonAccessible : public QAccessibleWidget {
public:
    explicit ClickingButtonAccessible(QAbstractButton *button);

    // Takes over from Qt's interface for buttons made from now on; once is enough.
    static void install();

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QRect rect() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QAbstractButton *button() const;
};
