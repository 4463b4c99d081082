#pragma once
// Controls a window draws smaller than they can be drawn: captions cut, rows
// run into each other, spin and combo boxes squeezed to lines. A page that
// cannot hold its controls must scroll instead.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QApplication>
#include <QWidget>
#include <functional>

namespace testsupport {

// Brings `page` to the front through every tab widget that holds it.
inline void bringForward(QWidget *page)
{
    for (QWidget *w = page; w && w->parentWidget(); w = w->parentWidget())
        if (auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget()))
            if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
                tabs->setCurrentWidget(w);
}

// Brings every visible page of the tab widgets under `root` forward in turn
// and gathers what `check` finds on it, each prefixed by the page's tab text;
// `root` itself is checked once more, without tabs, at the end.
inline QStringList onEveryPage(QWidget *root, const std::function<QStringList(QWidget *page)> &check)
{
    QStringList found;
    QList<QTabWidget *> all = root->findChildren<QTabWidget *>();
    if (auto *tabs = qobject_cast<QTabWidget *>(root))
        all.prepend(tabs);
    for (QTabWidget *tabs : all)
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i))
                continue;
            bringForward(tabs->widget(i));
            QApplication::processEvents();
            for (const QString &f : check(tabs->widget(i)))
                found << tabs->tabText(i) + QStringLiteral(": ") + f;
        }
    found << check(root);
    found.removeDuplicates();
    return found;
}

// The visible controls under `root` drawn below their minimum (or, for
// buttons and one-line labels, below their whole caption), each as
// "name (text): width x height < needed".
inline QStringList crushedControls(QWidget *root)
{
    QStringList out;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        auto *label = qobject_cast<QLabel *>(w);
        auto *button = qobject_cast<QAbstractButton *>(w);
        const bool control = button || (label && !label->text().isEmpty() && label->pixmap().isNull())
                             || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QComboBox *>(w)
                             || qobject_cast<QLineEdit *>(w) || qobject_cast<QSlider *>(w)
                             || qobject_cast<QGroupBox *>(w);
        // The parts of spin and combo boxes are their owners' business.
        if (!control || qobject_cast<QAbstractSpinBox *>(w->parentWidget())
            || qobject_cast<QComboBox *>(w->parentWidget()) || qobject_cast<QTabBar *>(w->parentWidget()))
            continue;
        if (w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored
            || w->sizePolicy().verticalPolicy() == QSizePolicy::Ignored)
            continue;
        QSize need = w->minimumSizeHint().expandedTo(w->minimumSize());
        if (label && label->wordWrap())
            need = QSize(0, label->heightForWidth(label->width()));
        else if ((button && !button->text().isEmpty()) || label)
            need.setWidth(qMax(need.width(), w->sizeHint().width()));
        // A pixel of rounding is no fault.
        if (w->width() + 1 < need.width() || w->height() + 1 < need.height()) {
            QString text = button ? button->text() : label ? label->text() : QString();
            out << QStringLiteral("%1 (%2): %3 x %4 < %5 x %6")
                       .arg(w->objectName(), text.left(40))
                       .arg(w->width())
                       .arg(w->height())
                       .arg(need.width())
                       .arg(need.height());
        }
    }
    return out;
}

} // namespace testsupport
