// Numbers written and read back: whatever finite double the program holds,
// the texts it writes for the settings file, the log and the captions are
// ones its reader takes back (the exact form to the same value), and any
// text the reader takes is a number it can write again.
// Input: a byte for the precision, one for the decimal sign (odd: comma)
// and the decimals, eight bytes of a double, then a text to read.
#include "common/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void readsBack(const QString &text, QChar decimal, const char *writer)
{
    bool ok = false;
    numfmt::parse(text, decimal, &ok);
    if (!ok) {
        std::fprintf(stderr, "fuzz_number_format: %s wrote \"%s\", which does not read back\n", writer,
                     qPrintable(text));
        std::abort();
    }
}

void writesAndReads(double value, int precision, int decimals, QChar decimal)
{
    if (!std::isfinite(value))
        return;
    readsBack(numfmt::general(value, decimal), decimal, "general");
    readsBack(numfmt::generalPrecision(value, precision, decimal), decimal, "generalPrecision");
    readsBack(numfmt::fixed(value, decimals, decimal), decimal, "fixed");
    const QString exact = numfmt::generalExact(value, decimal);
    bool ok = false;
    if (numfmt::parse(exact, decimal, &ok) != value || !ok) {
        std::fprintf(stderr, "fuzz_number_format: generalExact wrote \"%s\" for %.17g\n", qPrintable(exact), value);
        std::abort();
    }
    const float single = static_cast<float>(value);
    if (std::isfinite(single)) {
        const QString shortest = numfmt::shortestSingle(single, decimal);
        if (static_cast<float>(numfmt::parse(shortest, decimal, &ok)) != single || !ok) {
            std::fprintf(stderr, "fuzz_number_format: shortestSingle wrote \"%s\" for %.9g\n", qPrintable(shortest),
                         double(single));
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 10)
        return 0;
    const int precision = data[0] % 16;
    const QChar decimal = data[1] & 1 ? u',' : u'.';
    const int decimals = (data[1] >> 1) % 20;
    double value = 0;
    std::memcpy(&value, data + 2, sizeof value);
    writesAndReads(value, precision, decimals, decimal);

    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data) + 10, qsizetype(size - 10));
    bool ok = false;
    const double read = numfmt::parse(text, decimal, &ok);
    if (ok)
        writesAndReads(read, precision, decimals, decimal);
    return 0;
}
