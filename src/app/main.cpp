// Veltrano: a line monitor for ADSL routers.
#include "mainwindow/TForm1.h"
#include "platform/SessionEnd.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrano"));
    QApplication::setApplicationDisplayName(QStringLiteral("Veltrano"));

    // Any argument (its text is not read) or Shift held at start-up means a safe start.
    const bool safeStart = argc > 1 || (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);

    // Installed first, so an early SIGTERM waits in the pipe for the window instead of killing the process.
    SessionEnd sessionEnd;
    TForm1 form(safeStart);
    QObject::connect(&sessionEnd, &SessionEnd::endRequested, &form, &QWidget::close);
    form.show();
    return app.exec();
}
