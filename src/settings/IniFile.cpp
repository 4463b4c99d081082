#include "settings/IniFile.h"

#include <QByteArrayView>
#include <utility>
#include <vector>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimBlanks(QByteArrayView v)
{
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && isBlank(v.back()))
        v.chop(1);
    return v;
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// One line of the file and what it is to the reader.
struct Line {
    enum Kind : unsigned char { Other, Header, Key };

    QByteArray text;   // without its line ending
    QByteArray ending; // "\r\n", "\n", "\r", or empty on an unterminated last line
    Kind kind = Other;
    qsizetype nameFrom = 0; // the section's or the key's name, blanks trimmed
    qsizetype nameSize = 0;
    qsizetype valueFrom = 0; // a key's value, after "=" and the blanks that follow it

    Line(QByteArray t, QByteArray e) : text(std::move(t)), ending(std::move(e)) { classify(); }

    QByteArrayView name() const { return QByteArrayView(text).sliced(nameFrom, nameSize); }
    QByteArrayView value() const { return trimBlanks(QByteArrayView(text).sliced(valueFrom)); }
    bool isBlankLine() const { return trimBlanks(text).isEmpty(); }

    void classify()
    {
        kind = Other;
        nameFrom = nameSize = valueFrom = 0;
        const QByteArrayView all(text);
        qsizetype i = 0;
        while (i < all.size() && isBlank(all[i]))
            ++i;
        if (i == all.size() || all[i] == ';' || all[i] == '#')
            return; // blank or a comment
        if (all[i] == '[') {
            // A "[" line without its "]" is no header, and no key either.
            const qsizetype close = all.indexOf(']', i + 1);
            if (close >= 0)
                setName(Header, all.sliced(i + 1, close - i - 1));
            return;
        }
        const qsizetype eq = all.indexOf('=', i);
        if (eq < 0)
            return;
        const QByteArrayView key = trimBlanks(all.sliced(i, eq - i));
        if (key.isEmpty())
            return;
        setName(Key, key);
        valueFrom = eq + 1;
        while (valueFrom < all.size() && isBlank(all[valueFrom]))
            ++valueFrom;
    }

    void setName(Kind k, QByteArrayView within)
    {
        const QByteArrayView trimmed = trimBlanks(within);
        kind = k;
        nameFrom = trimmed.isEmpty() ? 0 : trimmed.data() - text.constData();
        nameSize = trimmed.size();
    }
};

} // namespace

struct IniFile::Impl {
    std::vector<Line> lines;
    std::vector<qsizetype> headers; // the header lines' indexes, in file order
    QByteArray newline = "\n";     // for lines the writer adds: the file's own line ending

    // The section's first header as an index into headers, or -1.
    qsizetype findSection(QByteArrayView section) const
    {
        for (size_t h = 0; h < headers.size(); ++h)
            if (sameName(lines[size_t(headers[h])].name(), section))
                return qsizetype(h);
        return -1;
    }

    // The lines of a section: from its header (exclusive) to the next header.
    std::pair<qsizetype, qsizetype> sectionLines(qsizetype h) const
    {
        const size_t next = size_t(h) + 1;
        return {headers[size_t(h)] + 1, next < headers.size() ? headers[next] : qsizetype(lines.size())};
    }

    void append(QByteArray text, QByteArray ending)
    {
        lines.emplace_back(std::move(text), std::move(ending));
        if (lines.back().kind == Line::Header)
            headers.push_back(qsizetype(lines.size()) - 1);
    }

    // A key line (never a header) before the line at index at.
    void insertKeyLine(qsizetype at, QByteArray text)
    {
        lines.emplace(lines.begin() + at, std::move(text), newline);
        for (qsizetype &h : headers)
            if (h >= at)
                ++h;
    }

    void terminateLastLine()
    {
        if (!lines.empty() && lines.back().ending.isEmpty())
            lines.back().ending = newline;
    }
};

IniFile::IniFile() : d(std::make_unique<Impl>()) {}
IniFile::~IniFile() = default;

void IniFile::parse(const QByteArray &bytes)
{
    d->lines.clear();
    d->headers.clear();
    d->newline = "\n";
    bool newlineSeen = false;
    constexpr QByteArrayView kBom("\xEF\xBB\xBF");
    const QByteArrayView all(bytes);
    qsizetype i = 0;
    while (i < all.size()) {
        // A byte-order mark is dropped wherever a line starts (files pasted
        // together keep one per part): left in, it would hide a section
        // header and move the keys below it into the section above.
        while (all.sliced(i).startsWith(kBom))
            i += kBom.size();
        qsizetype end = i;
        while (end < all.size() && all[end] != '\n' && all[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < all.size())
            next += all.sliced(next).startsWith("\r\n") ? 2 : 1;
        if (next == i)
            break; // nothing but marks after the last line
        QByteArray ending = all.sliced(end, next - end).toByteArray();
        if (!newlineSeen && !ending.isEmpty()) {
            d->newline = ending;
            newlineSeen = true;
        }
        d->append(all.sliced(i, end - i).toByteArray(), std::move(ending));
        i = next;
    }
}

std::optional<QByteArray> IniFile::value(const char *section, const char *key) const
{
    const qsizetype h = d->findSection(section);
    if (h < 0)
        return std::nullopt;
    const auto [from, to] = d->sectionLines(h);
    for (qsizetype i = from; i < to; ++i) {
        const Line &line = d->lines[size_t(i)];
        if (line.kind == Line::Key && sameName(line.name(), key))
            return line.value().toByteArray();
    }
    return std::nullopt;
}

void IniFile::setValue(const char *section, const char *key, const QByteArray &value)
{
    QByteArray v = value;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == '\r' || v[i] == '\n') {
            v.truncate(i);
            break;
        }
    }
    const QByteArray newLine = QByteArray(key) + '=' + v;

    const qsizetype h = d->findSection(section);
    if (h < 0) {
        // A new section goes at the end, two blank lines below what is there.
        if (!d->lines.empty()) {
            d->terminateLastLine();
            int blanks = 0;
            for (auto it = d->lines.rbegin(); it != d->lines.rend() && blanks < 2 && it->isBlankLine(); ++it)
                ++blanks;
            for (; blanks < 2; ++blanks)
                d->append(QByteArray(), d->newline);
        }
        d->append('[' + QByteArray(section) + ']', d->newline);
        d->append(newLine, d->newline);
        return;
    }

    const auto [from, to] = d->sectionLines(h);
    qsizetype lastFilled = from - 1; // the header
    for (qsizetype i = from; i < to; ++i) {
        Line &line = d->lines[size_t(i)];
        if (line.kind == Line::Key && sameName(line.name(), key)) {
            // The key keeps its spelling and the blanks around "="; a value
            // that reads the same leaves the line as it is.
            if (line.value() != trimBlanks(v)) {
                line.text = line.text.left(line.valueFrom) + v;
                line.classify();
            }
            return;
        }
        if (!line.isBlankLine())
            lastFilled = i;
    }
    Line &last = d->lines[size_t(lastFilled)];
    if (last.ending.isEmpty())
        last.ending = d->newline;
    d->insertKeyLine(lastFilled + 1, newLine);
}

QByteArray IniFile::serialize() const
{
    QByteArray out;
    qsizetype size = 0;
    for (const Line &line : d->lines)
        size += line.text.size() + line.ending.size();
    out.reserve(size);
    for (const Line &line : d->lines) {
        out += line.text;
        out += line.ending;
    }
    return out;
}
