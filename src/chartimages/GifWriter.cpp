#include "chartimages/GifWriter.h"

#include <QHash>
#include <QImage>

#include <gif_lib.h>
#include <vector>

namespace {

int appendTo(GifFileType *gif, const GifByteType *data, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(data), length);
    return length;
}

QString gifError(int code)
{
    const char *text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("GIF error %1").arg(code);
}

// Exact palette; false when the picture holds more than 256 colours.
bool exactPalette(const QImage &rgb, std::vector<GifByteType> &indices, std::vector<GifColorType> &palette)
{
    QHash<QRgb, int> seen;
    const int w = rgb.width();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x] & 0xFFFFFFu;
            auto it = seen.constFind(c);
            if (it == seen.constEnd()) {
                if (seen.size() == 256)
                    return false;
                it = seen.insert(c, int(palette.size()));
                palette.push_back({GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
            }
            indices[size_t(y) * size_t(w) + size_t(x)] = GifByteType(it.value());
        }
    }
    return true;
}

bool quantised(const QImage &rgb, std::vector<GifByteType> &indices, std::vector<GifColorType> &palette)
{
    const size_t n = size_t(rgb.width()) * size_t(rgb.height());
    std::vector<GifByteType> r(n), g(n), b(n);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const size_t i = size_t(y) * size_t(rgb.width()) + size_t(x);
            r[i] = GifByteType(qRed(line[x]));
            g[i] = GifByteType(qGreen(line[x]));
            b[i] = GifByteType(qBlue(line[x]));
        }
    }
    int size = 256;
    palette.assign(256, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(unsigned(rgb.width()), unsigned(rgb.height()), &size, r.data(), g.data(), b.data(),
                          indices.data(), palette.data()) == GIF_ERROR)
        return false;
    palette.resize(size_t(qBound(1, size, 256)));
    return true;
}

} // namespace

QByteArray GifWriter::encode(const QImage &image, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return QByteArray();
    };
    if (image.isNull())
        return fail(QStringLiteral("The image is empty"));
    if (image.width() > 0xFFFF || image.height() > 0xFFFF)
        return fail(QStringLiteral("The image is too large for GIF"));

    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<GifByteType> indices(size_t(rgb.width()) * size_t(rgb.height()));
    std::vector<GifColorType> palette;
    if (!exactPalette(rgb, indices, palette) && !quantised(rgb, indices, palette))
        return fail(QStringLiteral("The image could not be reduced to 256 colours"));

    // A GIF colour table has a power-of-two size of at least 2.
    size_t tableSize = 2;
    while (tableSize < palette.size())
        tableSize *= 2;
    palette.resize(tableSize, GifColorType{0, 0, 0});
    ColorMapObject *map = GifMakeMapObject(int(tableSize), palette.data());
    if (!map)
        return fail(QStringLiteral("Out of memory"));

    QByteArray out;
    int code = 0;
    GifFileType *gif = EGifOpen(&out, appendTo, &code);
    if (!gif) {
        GifFreeMapObject(map);
        return fail(gifError(code));
    }
    bool ok = EGifPutScreenDesc(gif, rgb.width(), rgb.height(), 8, 0, map) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, rgb.width(), rgb.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < rgb.height(); ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * size_t(rgb.width()), rgb.width()) == GIF_OK;
    if (!ok)
        code = gif->Error;
    int closeCode = 0;
    if (EGifCloseFile(gif, &closeCode) != GIF_OK && ok) {
        ok = false;
        code = closeCode;
    }
    GifFreeMapObject(map);
    if (!ok)
        return fail(gifError(code));
    return out;
}
