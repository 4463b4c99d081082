#include "chartimages/ChartPrinting.h"

#include "chartimages/GraphImages.h"

#include <QPaintDevice>
#include <QPainter>
#include <qcustomplot.h>

PrintScale ChartPrinting::scaleFactors(int printerDpiX, int printerDpiY, int screenDpiX, int screenDpiY)
{
    const auto factor = [](int printer, int screen) { return screen > 0 ? qMax(1, printer / screen) : 1; };
    return {factor(printerDpiX, screenDpiX), factor(printerDpiY, screenDpiY)};
}

QRect ChartPrinting::targetRect(const QSize &picture, const PrintScale &scale)
{
    return QRect(0, 0, picture.width() * scale.x, picture.height() * scale.y);
}

QSize ChartPrinting::screenSize(const QCustomPlot *plot, const TSettings &s)
{
    if (!plot || !plot->testAttribute(Qt::WA_Resized) || plot->width() <= 0 || plot->height() <= 0)
        return QSize(qMax(1, s.Graph.GrWidth), qMax(1, s.Graph.GrHeight));
    return plot->size();
}

QSize ChartPrinting::printSize(const QSize &screen, const TSettings &s, bool anchored)
{
    if (anchored || !s.Graph.PrintImage)
        return screen;
    // The capture images' resizing rule, keyed on the print switch.
    TSettings resized = s;
    resized.Graph.CapturedImage = true;
    return GraphImages::imageSize(screen, QStringLiteral("Save"), resized);
}

QImage ChartPrinting::render(QCustomPlot *plot, const QSize &size)
{
    if (!plot || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const QBrush back = plot->background();
    image.fill(back.style() == Qt::NoBrush ? QColor(Qt::white) : back.color());
    {
        QCPPainter painter(&image);
        if (painter.isActive())
            plot->toPainter(&painter, size.width(), size.height());
    }
    // Drawing off screen laid the chart out at the picture's size.
    plot->replot(QCustomPlot::rpQueuedReplot);
    return image;
}

bool ChartPrinting::printPicture(QPaintDevice &device, const QImage &picture, int screenDpiX, int screenDpiY,
                                 QString *error)
{
    if (picture.isNull()) {
        if (error)
            *error = QStringLiteral("There is no picture of the chart to print.");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("The printer could not be started.");
        return false;
    }
    const PrintScale scale = scaleFactors(device.logicalDpiX(), device.logicalDpiY(), screenDpiX, screenDpiY);
    painter.drawImage(targetRect(picture.size(), scale), picture);
    // Ending the painter ends the job, whatever happened while drawing.
    return painter.end();
}
