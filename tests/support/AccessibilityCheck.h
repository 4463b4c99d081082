#pragma once
// What a screen reader speaks for a control, and the controls of a window
// that the keyboard cannot reach or that nothing names.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

namespace testsupport {

// Its accessible name, its own text, or the text of a label that names it
// (or a widget holding it) as buddy.
inline QString spokenName(QWidget *w)
{
    if (!w->accessibleName().isEmpty())
        return w->accessibleName();
    if (auto *b = qobject_cast<QAbstractButton *>(w); b && !b->text().isEmpty())
        return b->text();
    for (QLabel *label : w->window()->findChildren<QLabel *>()) {
        QWidget *buddy = label->buddy();
        if (buddy == w || (buddy && buddy->isAncestorOf(w)))
            return label->text();
    }
    return {};
}

struct AccessibilityGaps {
    QStringList silent;      // controls nothing names
    QStringList unreachable; // controls Tab never reaches
};

// The named controls among widgets (buttons, edits, spin and combo boxes,
// sliders, text panes), each listed as "window.control". The inner parts of
// spin and combo boxes and Qt's own helpers are named through their owner.
inline AccessibilityGaps accessibilityGaps(const QList<QWidget *> &widgets)
{
    AccessibilityGaps gaps;
    for (QWidget *w : widgets) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
                             || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QComboBox *>(w)
                             || qobject_cast<QSlider *>(w) || qobject_cast<QPlainTextEdit *>(w)
                             || qobject_cast<QTextEdit *>(w);
        if (!control || !w->parentWidget() || qobject_cast<QAbstractSpinBox *>(w->parentWidget())
            || qobject_cast<QComboBox *>(w->parentWidget()) || w->objectName().startsWith(QLatin1String("qt_"))
            || w->objectName().isEmpty())
            continue;
        const QString name = w->window()->objectName() + QLatin1Char('.') + w->objectName();
        if (spokenName(w).remove(QLatin1Char('&')).trimmed().isEmpty())
            gaps.silent << name;
        if (!(w->focusPolicy() & Qt::TabFocus))
            gaps.unreachable << name;
    }
    return gaps;
}

} // namespace testsupport
