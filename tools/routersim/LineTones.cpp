#include "LineTones.h"

#include <algorithm>
#include <cmath>

namespace routersim {

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

double roundTenth(double v)
{
    return std::round(v * 10.0) / 10.0;
}

} // namespace

void LineTones::reset()
{
    for (int i = 0; i < kTones; ++i) {
        double snr = 0;
        if (i >= 6 && i < 32)
            snr = 38.0 - (i - 6) * 0.2;
        else if (i > 32)
            snr = 50.0 - (i - 33) * 0.085;
        snr = roundTenth(std::max(0.0, snr));
        // About 3 dB per bit above a 6 dB margin and the coding gap.
        const int bits = snr <= 0 ? 0 : std::clamp(static_cast<int>((snr - 15.75) / 3.0), 0, 15);
        m_snr[static_cast<size_t>(i)] = snr;
        m_bits[static_cast<size_t>(i)] = bits;
        m_hlog[static_cast<size_t>(i)] = roundTenth(-(18.0 + i * 0.09));
    }
}

bool LineTones::validate(int tone, const QString &what, const QString &value, QString *error)
{
    if (tone < 0 || tone >= kTones)
        return fail(error, QString("tone is 0 to %1").arg(kTones - 1));
    bool ok = false;
    if (what.compare("bits", Qt::CaseInsensitive) == 0) {
        const int v = value.toInt(&ok);
        if (!ok || v < 0 || v > 15)
            return fail(error, "bits is a whole number 0 to 15");
        return true;
    }
    const double v = value.toDouble(&ok);
    if (what.compare("snr", Qt::CaseInsensitive) == 0) {
        if (!ok || v < 0 || v > 63.5)
            return fail(error, "snr is 0 to 63.5 (dB)");
        return true;
    }
    if (what.compare("hlog", Qt::CaseInsensitive) == 0) {
        if (!ok || v < -96 || v > 0)
            return fail(error, "hlog is -96 to 0 (dB)");
        return true;
    }
    return fail(error, "tone values are bits, snr or hlog");
}

bool LineTones::set(int tone, const QString &what, const QString &value, QString *error)
{
    if (!validate(tone, what, value, error))
        return false;
    const auto i = static_cast<size_t>(tone);
    if (what.compare("bits", Qt::CaseInsensitive) == 0)
        m_bits[i] = value.toInt();
    else if (what.compare("snr", Qt::CaseInsensitive) == 0)
        m_snr[i] = value.toDouble();
    else
        m_hlog[i] = value.toDouble();
    return true;
}

} // namespace routersim
