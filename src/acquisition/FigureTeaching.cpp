#include "acquisition/FigureTeaching.h"

#include "acquisition/FigureSearch.h"
#include "acquisition/RouterNumbers.h"
#include "common/PascalString.h"

using namespace RouterNumbers;

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool hasDigit(const QString &text)
{
    for (const QChar c : text)
        if (isDigit(c))
            return true;
    return false;
}

// A search text must not end in the figure's own digits: the next poll's
// figure may have other digits.
QString withoutTrailingNumber(QString text)
{
    while (!text.isEmpty() && (isDigit(text.back()) || text.back() == u',' || text.back() == u'.'))
        text.chop(1);
    return text;
}

// S is TSettings or const TSettings.
template <typename S> auto &searchTextOf(TaughtFigure f, S &s)
{
    switch (f) {
    case TaughtFigure::RxNoise: return s.Search.NoiseText;
    case TaughtFigure::TxNoise: return s.Search.UNoiseText;
    case TaughtFigure::RxSync: return s.Search.SyncText;
    case TaughtFigure::TxSync: return s.Search.USyncText;
    case TaughtFigure::User1: return s.Search.UserText;
    case TaughtFigure::User2: break;
    }
    return s.Search.UserText2;
}

template <typename S> auto &positionOf(TaughtFigure f, S &s)
{
    switch (f) {
    case TaughtFigure::RxNoise: return s.Search.NoisePos;
    case TaughtFigure::TxNoise: return s.Search.UNoisePos;
    case TaughtFigure::RxSync: return s.Search.SyncPos;
    case TaughtFigure::TxSync: return s.Search.USyncPos;
    case TaughtFigure::User1: return s.Search.UserPos;
    case TaughtFigure::User2: break;
    }
    return s.Search.UserPos2;
}

TaughtSet setOf(TaughtFigure f)
{
    switch (f) {
    case TaughtFigure::RxNoise:
    case TaughtFigure::TxNoise: return TaughtSet::Noise;
    case TaughtFigure::RxSync:
    case TaughtFigure::TxSync: return TaughtSet::Sync;
    default: return TaughtSet::User;
    }
}

// The 585 preview's number: without its thousands comma, then with the
// locale's decimal comma under [System] Regional.
QString shown585(const QString &value, bool regional)
{
    QString v = value.trimmed();
    const qsizetype comma = v.indexOf(QLatin1Char(','));
    if (comma >= 0)
        v.remove(comma, 1);
    return RegionalStep(v, regional);
}

const QString kNoiseMargin = QStringLiteral("Noise Margin");
const QString kConnectionSpeed = QStringLiteral("Connection Speed");

// The test's DG834 label search: count characters from 50 past the label;
// afterCell keeps only what follows the first "</td>". Null when the label or
// the cell end is not on the page.
std::optional<QString> dg834Value(const QString &page, const QString &label, int count, bool afterCell,
                                  const CharSet &set)
{
    const int at = pas::pos(label, page);
    if (at == 0)
        return std::nullopt;
    QString w = pas::copy(page, at + 50, count);
    int examined = qMin(49, int(w.size()));
    if (afterCell) {
        const int end = pas::pos(QStringLiteral("</td>"), w);
        if (end == 0)
            return std::nullopt;
        w = pas::copyFrom(w, end + 5);
        examined = int(w.size()) - 1;
    }
    QString v = FirstRun(w, examined, set);
    const qsizetype comma = v.indexOf(QLatin1Char(','));
    if (comma >= 0)
        v[comma] = QLatin1Char('.');
    return v;
}

} // namespace

const QString &FigureTeaching::noSelectionText()
{
    static const QString t = QStringLiteral("No \"search text\" has been selected.");
    return t;
}

const QString &FigureTeaching::noValueText()
{
    static const QString t = QStringLiteral("The marked text does not contain a valid numerical value.");
    return t;
}

const QString &FigureTeaching::timeValueQuestion()
{
    static const QString t = QStringLiteral(
        "The marked text contains the \":\" character and is probably a time value.\r\n\r\n"
        "The value cannot be plotted on the graph but will appear on the Veltrano Toolbar.\r\n\r\nContinue?");
    return t;
}

const QString &FigureTeaching::selectLeftText()
{
    static const QString t = QStringLiteral("Please select text to the left of the values required.");
    return t;
}

const QString &FigureTeaching::invalidLabelText()
{
    static const QString t = QStringLiteral("Invalid \"search text\" has been selected (No numeric value found).");
    return t;
}

QString FigureTeaching::prefix(TaughtFigure figure)
{
    switch (figure) {
    case TaughtFigure::RxNoise: return QStringLiteral("Rx Noise: ");
    case TaughtFigure::TxNoise: return QStringLiteral("Tx Noise: ");
    case TaughtFigure::RxSync: return QStringLiteral("Rx Sync: ");
    case TaughtFigure::TxSync: return QStringLiteral("Tx Sync: ");
    default: return {};
    }
}

FigureMark FigureTeaching::mark(TaughtFigure figure, const QString &page, int selStart, int selLength,
                                const TSettings &settings)
{
    FigureMark m;
    if (selLength <= 0 || selStart < 0 || selStart >= page.size())
        return m;
    m.outcome = FigureMark::Outcome::NoValue;
    const bool user = isUserFigure(figure);
    // The search text ends three characters before the selection (user
    // figures: it runs into the selection, whose number is then cut off).
    QString text = pas::copy(page, selStart - 12, user ? 14 : 10);
    if (user || figure == TaughtFigure::RxNoise || figure == TaughtFigure::RxSync)
        text = withoutTrailingNumber(text);
    m.searchText = text;
    m.position = selStart - (user ? 35 : 30);

    // Read back the way the polling cycle will: from the search text in the
    // window of the position. A search text that is not there reads nothing.
    const QString window = pas::copy(page, m.position, 55);
    const int at = pas::pos(text, window);
    if (at == 0)
        return m;
    const QString candidate = pas::copy(window, at + 10, 20);
    const QString dec(settings.NumberDecimalChar);
    const QString grp(settings.NumberGroupChar);
    const CharSet start{user ? QString() : QStringLiteral("-")};
    const CharSet run{(user ? QString() : QStringLiteral("-")) + QStringLiteral(":") + dec + grp};
    qsizetype i = 0;
    while (i + 1 < candidate.size() && !start.has(candidate[i]))
        ++i;
    qsizetype end = i;
    while (end < candidate.size() && run.has(candidate[end]))
        ++end;
    m.collected = candidate.mid(i, end - i);
    if (!hasDigit(m.collected))
        return m;
    m.outcome = FigureMark::Outcome::Value;
    m.timeValue = m.collected.contains(QLatin1Char(':'));
    m.value = SwapComma(m.collected, settings.System.Numbering);
    return m;
}

void FigureTeaching::store(TaughtFigure figure, const FigureMark &mark, TSettings &settings)
{
    searchTextOf(figure, settings) = mark.searchText;
    positionOf(figure, settings) = mark.position;
}

bool &FigureTeaching::timeValueFlag(TaughtFigure figure, TSettings &settings)
{
    return figure == TaughtFigure::User2 ? settings.Graph.NotANumber1 : settings.Graph.NotANumber;
}

St585Mark FigureTeaching::markSt585(const QString &page, int selStart, const QString &selected,
                                    const TSettings &settings, const QString &dataSent, const QString &dataUnit)
{
    St585Mark m;
    if (selected.isEmpty())
        return m;
    if (isDigit(selected.front())) {
        m.outcome = St585Mark::Outcome::BeginsWithDigit;
        return m;
    }
    if (selected.front() == u'V' || selected.front() == u'U') {
        m.outcome = St585Mark::Outcome::NotALabel;
        return m;
    }
    m.outcome = St585Mark::Outcome::Label;
    m.userText = selected;
    m.buttonCaption = selected.left(11);
    m.userLabel = selected.left(12) + QStringLiteral(" (up)");
    m.userLabel2 = selected.contains(QLatin1String("Loss of Li")) ? QStringLiteral("Not Available")
                                                                  : selected.left(12) + QStringLiteral(" (down)");
    m.finalUserLabel = m.userLabel;
    m.finalUserLabel2 = m.userLabel2;

    // The value cell after the label; nothing when it is not there.
    const QString after = pas::copy(page, selStart + int(selected.size()) + 1, 120);
    const int cell = pas::pos(QStringLiteral("'3'>"), after);
    const QString window = cell > 0 ? pas::copy(after, cell + 4, 50) : QString();
    const bool single = selected.contains(QLatin1String("Loss of L"));
    const int slash = pas::pos(QStringLiteral("/"), window);
    const int end = single ? pas::pos(QStringLiteral("<"), window) : slash;
    const QString up = end > 0 ? pas::copy(window, 1, end - 1) : QString();
    if (single)
        m.finalUserLabel2 = QStringLiteral("-");
    if (selected.contains(QLatin1String("Dat")))
        m.finalUserLabel = QStringLiteral("Data (up) ") + dataSent + pas::copy(dataUnit, 2, 2);
    m.label33 = m.userLabel + QStringLiteral("  ") + shown585(up, settings.System.Regional);
    if (!single && slash > 0) {
        const QString rest = pas::copyFrom(window, slash + 1);
        const int lt = pas::pos(QStringLiteral("<"), rest);
        const QString down = lt > 0 ? pas::copy(rest, 1, lt - 1) : rest;
        m.label16 = m.userLabel2 + QStringLiteral("  ") + shown585(down, settings.System.Regional);
    }
    return m;
}

FigurePreview FigureTeaching::preview(const QString &page, const TSettings &settings)
{
    FigurePreview p;
    const TSettings &s = settings;
    for (int k = 0; k < 6; ++k) {
        const auto f = TaughtFigure(k);
        std::optional<QString> value;
        if (!isUserFigure(f) && s.System.IsDG834) {
            const bool noise = f == TaughtFigure::RxNoise || f == TaughtFigure::TxNoise;
            const bool rx = f == TaughtFigure::RxNoise || f == TaughtFigure::RxSync;
            const CharSet &set = f == TaughtFigure::RxSync ? kSyncSet : kNumericSet;
            value = dg834Value(page, noise ? kNoiseMargin : kConnectionSpeed, rx ? 50 : 200, !rx, set);
            if (!value)
                value = QString(); // the label is not on the page: it reads nothing
        } else {
            const QString &text = searchTextOf(f, s);
            const int pos = positionOf(f, s);
            if (text.isEmpty() || pos <= 0)
                continue;
            const std::optional<QString> run = FigureSearch::taughtRun(page, text, pos, setOf(f), s);
            value = run ? SwapComma(*run, s.System.Numbering) : QString();
            if (f == TaughtFigure::RxSync)
                p.rxSync = float(StrToFloatDef(RegionalStep(*value, s.System.Regional), 0));
        }
        p.values[size_t(k)] = value;
    }
    return p;
}
