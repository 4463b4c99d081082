#pragma once
// GIF encoding through giflib: Qt reads GIF but cannot write it.
#include <QByteArray>
#include <QString>

class QImage;

class GifWriter {
public:
    // One frame, global colour table. Pictures of up to 256 colours (charts
    // usually are) keep their exact colours; others go through giflib's
    // median-cut quantiser. Empty, with *error set, on failure.
    static QByteArray encode(const QImage &image, QString *error = nullptr);
};
