#pragma once
// Small helpers shared by the test programs.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class QLineEdit;
class QWidget;

namespace testsupport {

QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &bytes);

// Lines of an ini file that hold a key (a value may itself contain '=').
int keyLineCount(const QByteArray &ini);

// Text typed into an edit as a user types it: a bound edit takes it as an edit.
void typeText(QLineEdit *edit, const QString &text);

// Typed key by key over what the edit held.
void typeOver(QLineEdit *edit, const QString &text);

// The value of [section] key in an ini file's text, "(missing)" when it has none.
QString iniValue(const QByteArray &ini, const char *section, const char *key);

// Settings pieces put together as one file: each section once, where it first
// appears, and a key given twice with its later value, so a fixture's settings
// can come first and a test's own after them (the program reads only the
// first of two equal sections). Comments and blank lines are left out.
QByteArray settingsFile(const QByteArray &pieces);

// Shows the page a widget sits on, through every level of tabs.
void showPageOf(QWidget *widget);

// Deletes (later) every message box a test left open.
void discardMessageBoxes();

// Runs the event loop until pred() holds or timeoutMs passes; returns pred().
template <typename Pred>
bool waitFor(Pred pred, int timeoutMs = 5000);

} // namespace testsupport

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

template <typename Pred>
bool testsupport::waitFor(Pred pred, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs)
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}
