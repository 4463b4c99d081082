#include "widgets/ClickingButtonAccessible.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeySequence>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// The caption as spoken: "&&" is an ampersand, a lone "&" marks the mnemonic.
QString withoutMnemonic(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            out += text.at(i);
        else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
            out += text.at(++i);
    }
    return out;
}

// "Alt+" and the mnemonic's letter as written, as Qt speaks it.
QString mnemonicKey(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) != QLatin1Char('&'))
            return QKeySequence(Qt::ALT).toString(QKeySequence::NativeText) + text.at(i + 1);
        ++i;
    }
    return {};
}

QPushButton *withMenu(QAbstractButton *button)
{
    auto *push = qobject_cast<QPushButton *>(button);
    return push && push->menu() ? push : nullptr;
}

// The classes Qt gives its plain button interface. Qt asks for the interface
// while a button is being built, before it is made checkable, so every one of
// them gets this interface, which looks at the button afresh on each question.
QAccessibleInterface *clickingButtons(const QString &className, QObject *object)
{
    if (className != QLatin1String("QPushButton") && className != QLatin1String("QCheckBox")
        && className != QLatin1String("QRadioButton"))
        return nullptr;
    auto *button = qobject_cast<QAbstractButton *>(object);
    return button ? new ClickingButtonAccessible(button) : nullptr;
}

} // namespace

ClickingButtonAccessible::ClickingButtonAccessible(QAbstractButton *button) : QAccessibleWidget(button)
{
    addControllingSignal(button->isCheckable() ? QStringLiteral("toggled(bool)") : QStringLiteral("clicked()"));
}

void ClickingButtonAccessible::install()
{
    static bool installed = false;
    if (installed)
        return;
    // Factories installed later are asked first, so this one comes before Qt's.
    QAccessible::installFactory(clickingButtons);
    installed = true;
}

QAbstractButton *ClickingButtonAccessible::button() const { return qobject_cast<QAbstractButton *>(object()); }

QString ClickingButtonAccessible::text(QAccessible::Text t) const
{
    QString text;
    if (t == QAccessible::Name) {
        text = widget()->accessibleName();
        if (text.isEmpty())
            text = withoutMnemonic(button()->text());
    } else if (t == QAccessible::Accelerator) {
        if (auto *push = qobject_cast<QPushButton *>(button()); push && push->isDefault())
            text = QKeySequence(Qt::Key_Enter).toString(QKeySequence::NativeText);
        else
            text = mnemonicKey(button()->text());
    }
    return text.isEmpty() ? QAccessibleWidget::text(t) : text;
}

QAccessible::Role ClickingButtonAccessible::role() const
{
    QAbstractButton *b = button();
    if (withMenu(b))
        return QAccessible::ButtonMenu;
    if (!b->isCheckable())
        return QAccessible::Button;
    return b->autoExclusive() ? QAccessible::RadioButton : QAccessible::CheckBox;
}

QAccessible::State ClickingButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    QAbstractButton *b = button();
    state.checkable = b->isCheckable();
    state.checked = b->isChecked();
    if (auto *box = qobject_cast<const QCheckBox *>(b); box && !b->isChecked())
        state.checkStateMixed = box->checkState() == Qt::PartiallyChecked;
    state.pressed = b->isDown();
    if (auto *push = qobject_cast<const QPushButton *>(b))
        state.defaultButton = push->isDefault();
    state.hasPopup = withMenu(b) != nullptr;
    return state;
}

QRect ClickingButtonAccessible::rect() const
{
    QAbstractButton *b = button();
    if (!b->isVisible())
        return {};
    // A check box or radio button answers clicks on its mark and caption only.
    QStyle::SubElement clickable;
    if (qobject_cast<QCheckBox *>(b))
        clickable = QStyle::SE_CheckBoxClickRect;
    else if (qobject_cast<QRadioButton *>(b))
        clickable = QStyle::SE_RadioButtonClickRect;
    else
        return QAccessibleWidget::rect();
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    option.icon = b->icon();
    option.iconSize = b->iconSize();
    return b->style()->subElementRect(clickable, &option, b).translated(b->mapToGlobal(QPoint(0, 0)));
}

QStringList ClickingButtonAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled()) {
        const QAccessible::Role r = role();
        if (r == QAccessible::ButtonMenu)
            names << showMenuAction();
        else if (r == QAccessible::RadioButton || button()->isCheckable())
            names << toggleAction();
        else
            names << pressAction();
    }
    return names + QAccessibleWidget::actionNames();
}

void ClickingButtonAccessible::doAction(const QString &actionName)
{
    if (!widget()->isEnabled())
        return;
    QAbstractButton *b = button();
    if (actionName == pressAction() || actionName == showMenuAction()) {
        if (QPushButton *push = withMenu(b))
            push->showMenu();
        else if (b->isCheckable())
            b->click();
        else
            b->animateClick();
    } else if (actionName == toggleAction()) {
        // A click, not toggle(): only a click reaches the handlers wired to clicked.
        b->click();
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}

QStringList ClickingButtonAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == pressAction() || actionName == toggleAction())
        return {button()->shortcut().toString(QKeySequence::NativeText)};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
