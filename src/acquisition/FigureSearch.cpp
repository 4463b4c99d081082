#include "acquisition/FigureSearch.h"

#include "acquisition/RouterNumbers.h"
#include "common/HtmlToText.h"
#include "common/NumberFormat.h"
#include "common/PascalString.h"
#include "common/WindowHelpers.h"

#include <QLocale>

using namespace RouterNumbers;

namespace {

// A negative margin that the router sent as an unsigned 32-bit number.
constexpr double kUnsignedNoiseLimit = 2140000000.0;
constexpr double kTwoTo31 = 2147483648.0;
constexpr double kMaxSync = 60000000.0;

const QString kSnMarginLabel = QStringLiteral("SN Margin (Up/Down) [dB]:");
const QString kBandwidthLabel = QStringLiteral(">Bandwidth (Up/Down)");
const QString kAttenuationLabel = QStringLiteral("Line Attenuation");
const QString kNoiseMarginLabel = QStringLiteral("Noise Margin");
const QString kConnectionSpeedLabel = QStringLiteral("Connection Speed");
const QString kCellEnd = QStringLiteral("</td>");
const QString kCellTag = QStringLiteral("ttext\">");
const QString kSt585ValueCell = QStringLiteral("'3'>");

QChar localeDecimal()
{
    const QString d = QLocale::system().decimalPoint();
    return d.isEmpty() ? QLatin1Char('.') : d.front();
}

// True when every character but the last is digits or in allowed.
bool validBeforeLast(const QString &value, const QString &allowed)
{
    const CharSet set{allowed};
    for (qsizetype i = 0; i + 1 < value.size(); ++i) {
        if (!set.has(value[i]))
            return false;
    }
    return true;
}

QString withoutBlanks(const QString &text)
{
    QString t = text;
    t.remove(QLatin1Char(' '));
    return t;
}

// Thousands separators for a label; a time such as 12:30:05 is shown as read.
QString grouped(const QString &text)
{
    return text.contains(QLatin1Char(':')) ? text.trimmed() : FormatThousands(text);
}

// The text before the first "<"; empty when there is none.
QString beforeTag(const QString &text)
{
    return pas::copy(text, 1, pas::pos(QStringLiteral("<"), text) - 1);
}

class Searcher {
public:
    Searcher(const QString &page, const TSettings &settings, const FigureSearchInput &input)
        : m_page(page), s(settings)
    {
        r.Figures = input.Figures;
        r.LastGoodRxNoise = input.LastGoodRxNoise;
        r.LastGoodRxSync = input.LastGoodRxSync;
        r.UserDiffBase1 = input.UserDiffBase1;
        r.UserDiffBase2 = input.UserDiffBase2;
        r.NotANumber = settings.Graph.NotANumber;
        r.NotANumber1 = settings.Graph.NotANumber1;
        m_dataSent = input.ThomsonDataSent;
        m_dataReceived = input.ThomsonDataReceived;
        m_dataUnit = input.ThomsonDataUnit;
    }

    FigureSearchResult run()
    {
        attenuation();
        if (!m_page.isEmpty()) {
            if (s.Graph.cbHNoise)
                rxNoise();
            if (s.Graph.cbUHNoise)
                txNoise();
            if (s.Graph.cbHSync)
                rxSync();
            if (s.Graph.cbUHSync)
                txSync();
            if (s.Router.ST585) {
                if (s.Graph.cbHUser)
                    user585();
            } else {
                if (s.Graph.cbHUser)
                    userPosition(1);
                if (s.Graph.cbHUser2)
                    userPosition(2);
            }
        }
        return r;
    }

private:
    enum class Method { St585, Dg834, Taught };

    Method method() const
    {
        if (s.Router.ST585)
            return Method::St585;
        return s.System.IsDG834 ? Method::Dg834 : Method::Taught;
    }

    // --- helpers -----------------------------------------------------------

    void logItem(HttpLogItem which, const QString &name, const QString &value)
    {
        const int flag = int(which);
        FigureLogItem &item = r.LogItems[size_t(flag)];
        item.Produced = flag < s.Log.Log.size() && s.Log.Log[flag] == u'1';
        item.Name = name;
        item.Value = value;
    }

    void noiseDone(HttpLogItem which, const QString &name, float figure, bool found)
    {
        logItem(which, name, found ? FormatNumber(figure, 3, 1) : QString());
        r.LogItems[size_t(which)].NotFound = !found;
    }

    void rxNoiseDone(bool found)
    {
        // A page without the row shows no figure, not "0 dB".
        r.Label2 = found ? numfmt::generalPrecision(r.Figures.RxNoise, 3, localeDecimal()) + QStringLiteral(" dB")
                         : QString();
        noiseDone(HttpLogItem::RxNoise, QStringLiteral("Rx-Noise"), r.Figures.RxNoise, found);
    }

    // shown: the text for the label (locale form); logged: the text as found.
    void rxSyncDone(const QString &shown, const QString &logged, bool bps, bool found)
    {
        r.Label4 = found ? FormatThousands(shown) + (bps ? QStringLiteral(" bps") : QStringLiteral(" Kbps")) : QString();
        logItem(HttpLogItem::RxSync, QStringLiteral("Rx-Sync"), found ? logged : QString());
        r.LogItems[size_t(HttpLogItem::RxSync)].NotFound = !found;
    }

    double corrected2to31(double v) const
    {
        return s.System.Correct && v > kUnsignedNoiseLimit ? v - kTwoTo31 : v;
    }

    double clampedSync(double v) const
    {
        if (!s.System.Correct)
            return v;
        return v > kMaxSync ? kMaxSync : (v < 0 ? 0 : v);
    }

    // Position of a label; 0 when the page does not hold it.
    int labelAt(const QString &label) const { return pas::pos(label, m_page); }

    // Characters of text from 1 past the first marker to the end; empty when
    // the marker is absent, so nothing is read from the text's start.
    static QString after(const QString &text, const QString &marker, int count)
    {
        const int at = pas::pos(marker, text);
        return at > 0 ? pas::copy(text, at + marker.size(), count) : QString();
    }

    // A DG834 window: count characters from the label + offset; with cutAfter
    // the part after the first "</td>". Null when the label or the cell end is
    // not on the page.
    std::optional<QString> dg834Window(const QString &label, int offset, int count, bool cutAfterCell) const
    {
        const int at = labelAt(label);
        if (at == 0)
            return std::nullopt;
        QString w = pas::copy(m_page, at + offset, count);
        if (cutAfterCell) {
            const int end = pas::pos(kCellEnd, w);
            if (end == 0)
                return std::nullopt;
            w = pas::copyFrom(w, end + 5);
        }
        return w;
    }

    // A SpeedTouch 585 value: count characters after the first marker in the
    // 50 from the label + offset. Null when the label or the marker is absent.
    std::optional<QString> st585Window(const QString &label, int offset, const QString &marker, int count) const
    {
        const int at = labelAt(label);
        if (at == 0)
            return std::nullopt;
        const QString w = pas::copy(m_page, at + offset, 50);
        if (pas::pos(marker, w) == 0)
            return std::nullopt;
        return after(w, marker, count);
    }

    struct Taught {
        bool found = false;
        QString text;  // after the validity step
        QString shown; // after the Regional step
        double value = 0;
    };

    // The position search of a standard figure up to its conversion.
    Taught taught(bool noise, const QString &text, int pos, int bias, double defaultValue, const QString &badValue)
    {
        Taught t;
        const std::optional<QString> run =
            FigureSearch::taughtRun(m_page, text, pos, noise ? TaughtSet::Noise : TaughtSet::Sync, s, bias);
        if (!run)
            return t;
        t.found = true;
        QString v = SwapComma(*run, s.System.Numbering);
        if (!validBeforeLast(v, noise ? QStringLiteral("-.") : QStringLiteral(".")))
            v = badValue;
        if (!noise && v.size() > 10)
            v = v.left(10) + QLatin1Char('^');
        t.text = v;
        t.shown = RegionalStep(v, s.System.Regional);
        t.value = t.shown.isEmpty() ? 0 : StrToFloatDef(t.shown, defaultValue);
        return t;
    }

    double scaledNoise(double v) const
    {
        v = corrected2to31(v);
        return s.Graph.Scale10 ? v / 10 : v;
    }

    double scaledSync(double v) const
    {
        v = clampedSync(v);
        return s.Graph.Scale1000 ? v / 1000 : v;
    }

    // The run of a label search normalised to a number text.
    QString normalised(const QString &run) const
    {
        return RegionalStep(SwapComma(run, s.System.Numbering), s.System.Regional);
    }

    // --- attenuation texts -------------------------------------------------

    void attenuation()
    {
        r.AttenuationUpText.clear();
        r.AttenuationDownText.clear();
        if (!s.Capture.OverlayAtt || m_page.isEmpty())
            return;
        if (s.Router.ST585) {
            if (const auto up = st585Window(kAttenuationLabel, 40, QStringLiteral(">"), 10))
                r.AttenuationUpText = FirstRun(*up, 9, kNumericSet);
            if (const auto down = st585Window(kAttenuationLabel, 43, QStringLiteral("/"), 15))
                r.AttenuationDownText = FirstRun(*down, 14, kNumericSet);
        } else if (s.System.IsDG834) {
            const int at = labelAt(kAttenuationLabel);
            if (at == 0)
                return;
            const auto cut = [](const QString &w, int count) {
                return pas::pos(kCellTag, w) > 0 ? after(w, kCellTag, count) : QString();
            };
            const QString down = cut(pas::copy(m_page, at + 16, 100), 100);
            if (!down.isEmpty())
                r.AttenuationDownText = normalised(FirstRun(down, 89, kNumericSet)).trimmed();
            const QString up = cut(cut(pas::copy(m_page, at + 16, 200), 200), 200);
            if (!up.isEmpty())
                r.AttenuationUpText = normalised(FirstRun(up, 89, kNumericSet)).trimmed();
        }
    }

    // --- line figures ------------------------------------------------------

    void rxNoise()
    {
        float &fig = r.Figures.RxNoise;
        bool found = false;
        switch (method()) {
        case Method::St585:
            if (const auto w = st585Window(kSnMarginLabel, 30, QStringLiteral("/"), 10)) {
                fig = float(corrected2to31(StrToFloatDef(normalised(FirstRun(*w, 9, kNumericSet)), 0)));
                found = true;
            }
            break;
        case Method::Dg834:
            // A page without the label (one cut short) has no figure: the
            // last good one stands in only for an implausible reading.
            if (const auto w = dg834Window(kNoiseMarginLabel, 15, 90, false)) {
                fig = float(corrected2to31(StrToFloatDef(normalised(FirstRun(*w, 89, kNumericSet)), 0)));
                if (fig < -10.0f || fig >= 45.0f)
                    fig = r.LastGoodRxNoise;
                if (fig > 0.0f && fig < 45.0f)
                    r.LastGoodRxNoise = fig;
                found = true;
            }
            break;
        case Method::Taught:
            if (s.Search.NoiseText.isEmpty())
                return;
            if (const Taught t = taught(true, s.Search.NoiseText, s.Search.NoisePos, s.Bias.RxNoiseBias, fig,
                                        QStringLiteral("000"));
                t.found) {
                fig = float(scaledNoise(t.value));
                found = true;
            }
            break;
        }
        rxNoiseDone(found);
    }

    void txNoise()
    {
        float &fig = r.Figures.TxNoise;
        bool found = false;
        switch (method()) {
        case Method::St585:
            if (const auto w = st585Window(kSnMarginLabel, 30, QStringLiteral(">"), 10)) {
                fig = float(scaledNoise(StrToFloatDef(normalised(FirstRun(*w, 9, kNumericSet)), 0)));
                found = true;
            }
            break;
        case Method::Dg834:
            if (const auto w = dg834Window(kNoiseMarginLabel, 25, 160, true)) {
                fig = float(corrected2to31(
                    StrToFloatDef(normalised(FirstRun(*w, int(w->size()) - 1, kNumericSet)), 0)));
                found = true;
            }
            break;
        case Method::Taught:
            if (s.Search.UNoiseText.isEmpty())
                return;
            if (const Taught t =
                    taught(true, s.Search.UNoiseText, s.Search.UNoisePos, 0, 0, QStringLiteral("00"));
                t.found) {
                fig = float(scaledNoise(t.value));
                found = true;
            }
            break;
        }
        noiseDone(HttpLogItem::TxNoise, QStringLiteral("Tx-Noise"), fig, found);
    }

    void rxSync()
    {
        float &fig = r.Figures.RxSync;
        switch (method()) {
        case Method::St585: {
            QString v;
            const auto w = st585Window(kBandwidthLabel, 36, QStringLiteral("/"), 15);
            if (w) {
                v = SwapComma(FirstRun(*w, 14, kSyncSet), s.System.Numbering);
                fig = float(StrToFloatDef(RegionalStep(v, s.System.Regional), 0));
            }
            rxSyncDone(RegionalStep(v, s.System.Regional), v, false, w.has_value());
            return;
        }
        case Method::Dg834: {
            QString run;
            // A page without the label has no figure, not the last good one.
            const auto w = dg834Window(kConnectionSpeedLabel, 20, 80, false);
            if (w) {
                // Converted as found: the DG834 writes plain digits.
                run = FirstRun(*w, 79, kSyncSet);
                double v = run.isEmpty() ? 0 : StrToFloatDef(run, r.LastGoodRxSync);
                fig = float(scaledSync(v));
                if (fig > -1.0f)
                    r.LastGoodRxSync = fig;
            }
            rxSyncDone(run, run, s.Graph.Scale1000, w.has_value());
            return;
        }
        case Method::Taught: {
            if (s.Search.SyncText.isEmpty())
                return;
            const Taught t = taught(false, s.Search.SyncText, s.Search.SyncPos, 0, 0, QStringLiteral("0000"));
            if (t.found)
                fig = float(scaledSync(t.value));
            rxSyncDone(t.shown, t.text, s.Graph.Scale1000, t.found);
            return;
        }
        }
    }

    void txSync()
    {
        float &fig = r.Figures.TxSync;
        QString logged;
        bool found = false;
        switch (method()) {
        case Method::St585:
            if (const auto w = st585Window(kBandwidthLabel, 40, QStringLiteral(">"), 10)) {
                logged = SwapComma(FirstRun(*w, 9, kNumericSet), s.System.Numbering);
                fig = float(StrToFloatDef(RegionalStep(logged, s.System.Regional), 0));
                found = true;
            }
            break;
        case Method::Dg834:
            if (const auto w = dg834Window(kConnectionSpeedLabel, 25, 200, true)) {
                logged = FirstRun(*w, int(w->size()) - 1, kSyncSet);
                fig = float(clampedSync(logged.isEmpty() ? 0 : StrToFloatDef(logged, 0)));
                found = true;
            }
            break;
        case Method::Taught: {
            if (s.Search.USyncText.isEmpty())
                return;
            const Taught t = taught(false, s.Search.USyncText, s.Search.USyncPos, 0, 0, QStringLiteral("0000"));
            if (t.found)
                fig = float(scaledSync(t.value));
            logged = t.text;
            found = t.found;
            break;
        }
        }
        logItem(HttpLogItem::TxSync, QStringLiteral("Tx-Sync"), logged);
        r.LogItems[size_t(HttpLogItem::TxSync)].NotFound = !found;
    }

    // --- user-defined figures ------------------------------------------------

    // Difference from the previous poll, then the integer divisor.
    static void diffAndScale(double &value, double &base, bool difference, int scale)
    {
        if (difference) {
            const double v = float(value);
            if (base == 0)
                base = v; // the first difference is 0
            value = v - base;
            base = v;
        }
        if (scale > 1)
            value /= scale;
    }

    void userPosition(int n)
    {
        const bool first = n == 1;
        const QString &text = first ? s.Search.UserText : s.Search.UserText2;
        if (text.isEmpty())
            return;
        const QString &label = first ? s.Graph.UserLabel : s.Graph.UserLabel2;
        double &value = first ? r.Figures.UserValue1 : r.Figures.UserValue2;

        QString t;
        const std::optional<QString> field =
            FigureSearch::taughtRun(m_page, text, first ? s.Search.UserPos : s.Search.UserPos2, TaughtSet::User, s);
        if (field) {
            const QString &run = *field;
            if (run.contains(QLatin1Char(':')))
                (first ? r.NotANumber : r.NotANumber1) = true;
            t = SwapComma(run, s.System.Numbering);
            if (!validBeforeLast(t, QStringLiteral(":.")))
                t = QStringLiteral("0000");
            if (t.size() > 12)
                t = t.left(12) + QLatin1Char('^');
            t = RegionalStep(t, s.System.Regional);
        }
        (first ? r.Label5 : r.Label22) = label + QStringLiteral("  ") + grouped(t);
        logItem(first ? HttpLogItem::User1 : HttpLogItem::User2, withoutBlanks(label), t);
        if (!field)
            return;
        value = t.isEmpty() ? 0 : StrToFloatDef(t, 0);
        if (first)
            diffAndScale(value, r.UserDiffBase1, s.Graph.DiffUserDef, s.Graph.ScaleUser1);
        else
            diffAndScale(value, r.UserDiffBase2, s.Graph.DiffUserDef1, s.Graph.ScaleUser2);
    }

    void user585()
    {
        const QString &userText = s.Search.UserText;
        if (userText.isEmpty() || userText == QLatin1String("User def"))
            return;
        const bool single = userText.contains(QLatin1String("Loss of L"));
        const bool counters = userText.contains(QLatin1String("Dat"));
        const QString unit = m_dataUnit.trimmed();
        const QString upUnit = pas::copy(unit, 2, 2);
        const QString downUnit = pas::copy(unit, 5, 2);

        // The value cell after the label.
        QString window;
        bool found = false;
        if (const int at = labelAt(userText); at > 0) {
            const QString w = pas::copy(m_page, at + int(userText.size()), 120);
            if (pas::pos(kSt585ValueCell, w) > 0) {
                window = after(w, kSt585ValueCell, 50);
                found = true;
            }
        }
        const int slash = pas::pos(QStringLiteral("/"), window);

        QString firstText;
        if (found) {
            const int end = single ? pas::pos(QStringLiteral("<"), window) : slash;
            firstText = normalised(pas::copy(window, 1, end - 1));
            if (!single)
                r.Figures.UserValue2 = 0;
        }
        r.Label5 = s.Graph.UserLabel + QStringLiteral("  ") + grouped(firstText);
        logItem(HttpLogItem::User1, counters ? QStringLiteral("Data(up)") : withoutBlanks(s.Graph.UserLabel),
                counters ? m_dataSent + upUnit : firstText);
        if (found)
            r.Figures.UserValue1 = StrToFloatDef(firstText, 0);

        if (counters) {
            r.TabSheet32Caption = QStringLiteral("Data Sent");
            r.TabSheet33Caption = QStringLiteral("Data Received");
            r.Label5 = QStringLiteral("Data (up) ") + m_dataSent + QLatin1Char(' ') + upUnit;
            r.Label22 = QStringLiteral("Data (down) ") + m_dataReceived + QLatin1Char(' ') + downUnit;
            const QString perSample = s.Graph.RawUserDef ? QString() : QStringLiteral(" (per sample)");
            const auto title = [&](const QString &what, const QString &u) {
                return what + QStringLiteral(" (") + (u == QLatin1String("GB") ? QStringLiteral("MB") : u)
                       + QLatin1Char(')') + perSample;
            };
            r.Chart3AxisTitle = title(QStringLiteral("Data sent"), upUnit);
            r.Chart19AxisTitle = title(QStringLiteral("Data received"), downUnit);
            // Counters in MB.
            r.Figures.UserValue1 = StrToFloatDef(m_dataSent, 0) * (upUnit == QLatin1String("GB") ? 1024 : 1);
            r.Figures.UserValue2 =
                StrToFloatDef(m_dataReceived, 0) * (downUnit == QLatin1String("GB") ? 1024 : 1);
            diffAndScale(r.Figures.UserValue2, r.UserDiffBase2, s.Graph.DiffUserDef1, s.Graph.ScaleUser2);
        }
        if (found || counters)
            diffAndScale(r.Figures.UserValue1, r.UserDiffBase1, s.Graph.DiffUserDef, s.Graph.ScaleUser1);

        QString secondText = QStringLiteral("0");
        if (!single && !counters) {
            secondText = found && slash > 0 ? normalised(beforeTag(pas::copy(window, slash + 1, 20))) : QString();
            r.Label22 = s.Graph.UserLabel2 + QStringLiteral("  ") + grouped(secondText);
            if (found) {
                r.Figures.UserValue2 = StrToFloatDef(secondText, 0);
                diffAndScale(r.Figures.UserValue2, r.UserDiffBase2, s.Graph.DiffUserDef1, s.Graph.ScaleUser2);
            }
        }
        logItem(HttpLogItem::User2, counters ? QStringLiteral("Data(down)") : withoutBlanks(s.Graph.UserLabel2),
                counters ? m_dataReceived + downUnit : secondText);
    }

    const QString &m_page;
    const TSettings &s;
    FigureSearchResult r;
    QString m_dataSent;
    QString m_dataReceived;
    QString m_dataUnit;
};

} // namespace

std::optional<QString> FigureSearch::taughtRun(const QString &page, const QString &text, int pos, TaughtSet set,
                                               const TSettings &settings, int bias)
{
    const QString window = pas::copy(page, pos, 75);
    const int at = pas::pos(text, window);
    if (at == 0)
        return std::nullopt;
    const QString field = pas::copy(window, pas::index(qint64(at) + 10 + bias), 22);
    const QString dec(settings.NumberDecimalChar);
    const QString grp(settings.NumberGroupChar);
    switch (set) {
    case TaughtSet::Noise:
        if (field.size() < 2)
            return QString();
        return FirstRun(field, int(field.size()), CharSet{QStringLiteral("-")}, CharSet{QStringLiteral("-") + dec});
    case TaughtSet::Sync:
        if (field.size() < 2)
            return QString();
        return FirstRun(field, int(field.size()), CharSet{}, CharSet{dec + grp});
    case TaughtSet::User:
        // User figures are never negative: no "-" here.
        return FirstRun(field, int(field.size()), CharSet{}, CharSet{QStringLiteral(":") + dec + grp});
    }
    return QString();
}

bool FigureSearch::rendersPage(const TSettings &settings)
{
    return settings.Search.LoopBack && !settings.System.IsDG834;
}

QString FigureSearch::preparePage(const QString &page, const TSettings &settings)
{
    QString p = page;
    if (settings.Search.UseSource)
        p.replace(QLatin1Char(';'), QStringLiteral(";\r\n"));
    if (rendersPage(settings))
        p = HtmlToText::render(p).text();
    return p;
}

FigureSearchResult FigureSearch::run(const QString &page, const TSettings &settings, const FigureSearchInput &input)
{
    return Searcher(page, settings, input).run();
}
