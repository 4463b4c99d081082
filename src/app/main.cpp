// Veltrano: a line monitor for ADSL routers.
#include "mainwindow/TForm1.h"
#include "platform/SessionEnd.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QSplashScreen>
#include <QTimer>

namespace {

QPixmap splashPicture()
{
    QPixmap pm(541, 191);
    pm.fill(QColor(0, 40, 110));
    QPainter p(&pm);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Liberation Sans"), 28, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(0, 30, 541, 70), Qt::AlignCenter, QStringLiteral("Veltrano"));
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 11));
    p.drawText(QRect(0, 110, 541, 40), Qt::AlignCenter, QStringLiteral("Please wait while Veltrano loads..."));
    return pm;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrano"));

    QSplashScreen splash(splashPicture());
    splash.show();
    QApplication::processEvents();

    // Any argument (its text is not read) or Shift held at start-up means a safe start.
    const bool safeStart = argc > 1 || (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);

    // Installed first, so an early SIGTERM waits for the window instead of killing the process.
    SessionEnd sessionEnd;
    bool endRequestedEarly = false;
    auto early = QObject::connect(&sessionEnd, &SessionEnd::endRequested, [&] { endRequestedEarly = true; });

    TForm1 form(safeStart);
    QObject::disconnect(early);
    QObject::connect(&sessionEnd, &SessionEnd::endRequested, &form, &TForm1::requestEnd);
    form.show();
    splash.close();
    // Closed from inside the event loop, so the application's quit takes effect.
    if (endRequestedEarly)
        QTimer::singleShot(0, &form, &TForm1::requestEnd);
    return app.exec();
}
