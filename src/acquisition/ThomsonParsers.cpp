#include "acquisition/ThomsonParsers.h"

#include "common/PascalString.h"

#include <QRegularExpression>
#include <limits>

namespace thomson {

namespace {

// The trimmed text of width characters at the label's position + offset,
// ending at the line's end; empty when the label is not there.
QString field(const QString &text, const QString &label, int offset, int width)
{
    const int at = pas::pos(label, text);
    if (at < 1)
        return QString();
    QString v = pas::copy(text, at + offset, width);
    const qsizetype end = v.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (end >= 0)
        v.truncate(end);
    return v.trimmed();
}

QString padded(const QString &v)
{
    return v.leftJustified(5, QLatin1Char(' '));
}

} // namespace

std::optional<std::array<int, kTones>> bitTable(const QString &paneText)
{
    QString joined;
    const QStringList lines = paneText.mid(82).split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        QString part = line.mid(11, 32);
        part.remove(QLatin1Char('\r'));
        part.remove(QLatin1Char('\n'));
        joined += part;
    }
    if (joined.size() < 3 * (kTones - 1) + 2)
        return std::nullopt;
    std::array<int, kTones> bits{};
    for (int i = 0; i < kTones; ++i) {
        bool ok = false;
        const int v = joined.mid(3 * i, 2).trimmed().toInt(&ok, 10);
        bits[size_t(i)] = ok ? v : 0;
    }
    return bits;
}

int applyBitTable(const std::array<int, kTones> &bits, TelnetFigures &f, bool countSwaps)
{
    f.ToneSwapped.fill(0);
    int total = 0;
    for (size_t i = 0; i < size_t(kTones); ++i) {
        if (bits[i] != f.ToneBits[i] && countSwaps) {
            f.ToneSwapped[i] = 1;
            if (f.ToneSwapCount[i] < std::numeric_limits<quint32>::max())
                ++f.ToneSwapCount[i];
            ++total;
        }
        f.ToneBits[i] = bits[i];
    }
    return total;
}

Statistics statistics(const QString &text)
{
    Statistics s;
    s.annexM = pas::pos(QStringLiteral("Annex M"), text) > 1;
    if (text.size() < 11)
        return s;
    s.read = true;
    const auto pair = [&](const QString &label, const QString &name, const QString &unit) {
        s.down << name + padded(field(text, label, 30, 20)) + unit;
        s.up << name + padded(field(text, label, 50, 10)) + unit;
    };
    pair(QStringLiteral("Margin       (dB)            :"), QStringLiteral("Noise Margin:  "), QStringLiteral("  dB"));
    s.down << QStringLiteral("Bandwidth:     ") + padded(field(text, QStringLiteral("Downstream                 :"), 48, 10))
                  + QStringLiteral("  kbps");
    s.up << QStringLiteral("Bandwidth:     ") + padded(field(text, QStringLiteral("Upstream                   :"), 48, 10))
                + QStringLiteral("  kbps");
    pair(QStringLiteral("Attenuation  (dB)            :"), QStringLiteral("Attenuation:   "), QStringLiteral("  dB"));
    pair(QStringLiteral("OutputPower  (dBm)           :"), QStringLiteral("Power:         "), QStringLiteral("  dBm"));

    const auto errors = [&](QStringList &pane, const char *fec, const char *crc, const char *hec) {
        pane << QString() << QStringLiteral("Errors:");
        pane << QStringLiteral("   FEC:  ") + field(text, QLatin1String(fec), 25, 17);
        pane << QStringLiteral("   CRC:  ") + field(text, QLatin1String(crc), 25, 17);
        pane << QStringLiteral("   HEC:  ") + field(text, QLatin1String(hec), 25, 17);
    };
    errors(s.down, "Received FEC           :", "Received CRC           :", "Received HEC           :");
    // The router's own spelling of the last label.
    errors(s.up, "Transmitted FEC        :", "Transmitted CRC        :", "Tranmsitted HEC        :");
    s.down << QString() << QStringLiteral("Failures since last reset:");
    s.down << QStringLiteral("   LOF:  ") + field(text, QStringLiteral("Loss of frame          :"), 25, 10);
    s.down << QStringLiteral("   LOS:  ") + field(text, QStringLiteral("Loss of signal         :"), 25, 10);
    s.down << QStringLiteral("   ES :  ") + field(text, QStringLiteral("Errored seconds        :"), 25, 10);
    s.uptime = QStringLiteral("Uptime: ") + field(text, QStringLiteral("Uptime (days hh:mm:ss)       :"), 31, 20);
    if (const int at = pas::pos(QStringLiteral("DSL Type "), text); at > 0) {
        const QString after = pas::copy(text, at + 10, 100);
        const int colon = pas::pos(QStringLiteral(":"), after);
        if (colon > 0)
            s.dslType = pas::copy(after, colon + 1, 10).section(QLatin1Char('\r'), 0, 0).trimmed();
    }
    return s;
}

ToneRange toneRange(bool low, bool high, bool all)
{
    if (low)
        return {0, 255, 255};
    if (high)
        return {256, 512, 256};
    if (all)
        return {0, 512, 512};
    return {0, 256, 256};
}

} // namespace thomson
