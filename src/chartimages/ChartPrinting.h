#pragma once
// Printing a chart: the picture printed (at the image size when [Graph]
// PrintImage is set, else at the chart's screen size), and its placement on
// the page, scaled by the printer's resolution over the screen's so that the
// chart keeps its size on paper.
#include "settings/TSettings.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QCustomPlot;
class QPaintDevice;

struct PrintScale {
    int x = 1;
    int y = 1;
};

class ChartPrinting {
public:
    // Printer dots per inch over screen dots per inch, whole numbers, at least 1.
    static PrintScale scaleFactors(int printerDpiX, int printerDpiY, int screenDpiX, int screenDpiY);
    // Where the picture goes on the page: (0, 0) and its size times the factors.
    static QRect targetRect(const QSize &picture, const PrintScale &scale);

    // The chart's size on screen; the configured image size for a chart
    // never laid out.
    static QSize screenSize(const QCustomPlot *plot, const TSettings &s);
    // The size printed: resized as the capture images are when PrintImage is
    // set (anchored charts print at their screen size).
    static QSize printSize(const QSize &screen, const TSettings &s, bool anchored);
    // The chart drawn on its own background colour.
    static QImage render(QCustomPlot *plot, const QSize &size);

    // One page: the picture stretched over targetRect. False with the reason
    // when the device could not be painted on.
    static bool printPicture(QPaintDevice &device, const QImage &picture, int screenDpiX, int screenDpiY,
                             QString *error);
};
