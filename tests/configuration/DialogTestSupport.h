#pragma once
// Settings with their defaults and small finders for the dialog tests.
#include "AccessibilityCheck.h"
#include "settings/SettingsStore.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QWidget>

namespace dialogtest {

inline TSettings defaults()
{
    QTemporaryDir dir;
    return settingsstore::load(SettingsEnvironment::forFile(dir.filePath(QStringLiteral("none.ini")))).settings;
}

using testsupport::spokenName;

// Controls the keyboard can reach that nothing names.
inline QStringList unnamedControls(QWidget *dialog)
{
    QStringList out;
    for (QWidget *w : dialog->findChildren<QWidget *>()) {
        if (w->focusPolicy() & Qt::TabFocus) {
            // The parts of a combo or spin box (its edit, its list) are named through the box.
            QWidget *named = w;
            for (QWidget *p = w->parentWidget(); p && p != dialog; p = p->parentWidget())
                if (qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p))
                    named = p;
            if (spokenName(named).remove(QLatin1Char('&')).trimmed().isEmpty())
                out << w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
        }
    }
    return out;
}

inline QMessageBox *openBox(QWidget *parent = nullptr)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible() && (!parent || box->parent() == parent))
            return box;
    return nullptr;
}

template <typename T> T *openDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *d = qobject_cast<T *>(w); d && d->isVisible())
            return d;
    return nullptr;
}

} // namespace dialogtest
