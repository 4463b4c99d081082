#include "widgets/SplitMenuButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>

namespace {

class SplitMenuButtonAccessible : public QAccessibleWidget {
public:
    explicit SplitMenuButtonAccessible(SplitMenuButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    SplitMenuButton *button() const { return static_cast<SplitMenuButton *>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = button()->menu() != nullptr;
        s.pressed = button()->isDown();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        QString out = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && out.isEmpty())
            out = button()->text();
        return out;
    }

    QStringList actionNames() const override
    {
        if (!button()->isEnabled())
            return {};
        QStringList names{pressAction()};
        if (button()->menu())
            names << showMenuAction();
        return names;
    }

    void doAction(const QString &name) override
    {
        if (!button()->isEnabled())
            return;
        if (name == pressAction())
            button()->click();
        else if (name == showMenuAction() && button()->menu())
            button()->showMenu();
    }
};

QAccessibleInterface *splitMenuButtonFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("SplitMenuButton") && object && object->isWidgetType())
        return new SplitMenuButtonAccessible(static_cast<SplitMenuButton *>(object));
    return nullptr;
}

} // namespace

SplitMenuButton::SplitMenuButton(QWidget *parent) : QToolButton(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(splitMenuButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setPopupMode(QToolButton::MenuButtonPopup);
}
