#include "common/HtmlToText.h"

#include <QHash>
#include <algorithm>
#include <array>

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiAlnum(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9');
}

bool isHtmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Elements that start and end a line of their own.
bool isBlock(const QString &name)
{
    static const QStringList blocks = {
        QStringLiteral("address"), QStringLiteral("article"), QStringLiteral("aside"), QStringLiteral("blockquote"),
        QStringLiteral("body"), QStringLiteral("caption"), QStringLiteral("center"), QStringLiteral("dd"),
        QStringLiteral("dir"), QStringLiteral("div"), QStringLiteral("dl"), QStringLiteral("dt"),
        QStringLiteral("fieldset"), QStringLiteral("figcaption"), QStringLiteral("figure"), QStringLiteral("footer"),
        QStringLiteral("form"), QStringLiteral("frameset"), QStringLiteral("h1"), QStringLiteral("h2"),
        QStringLiteral("h3"), QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6"),
        QStringLiteral("header"), QStringLiteral("hr"), QStringLiteral("html"), QStringLiteral("legend"),
        QStringLiteral("li"), QStringLiteral("main"), QStringLiteral("menu"), QStringLiteral("nav"),
        QStringLiteral("noframes"), QStringLiteral("ol"), QStringLiteral("p"), QStringLiteral("section"),
        QStringLiteral("tbody"), QStringLiteral("tfoot"), QStringLiteral("thead"), QStringLiteral("ul"),
    };
    return blocks.contains(name);
}

const QHash<QString, char32_t> &entityTable()
{
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> t;
        // Latin-1 names in code order from 160.
        static const char *const latin1[] = {
            "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect", "uml", "copy", "ordf", "laquo",
            "not", "shy", "reg", "macr", "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot",
            "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",
            "Atilde", "Auml", "Aring", "AElig", "Ccedil", "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute",
            "Icirc", "Iuml", "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash",
            "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde",
            "auml", "aring", "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc",
            "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash", "ugrave",
            "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml"};
        char32_t code = 160;
        for (const char *name : latin1)
            t.insert(QString::fromLatin1(name), code++);
        // A non-breaking space reads as a plain blank (see the header).
        t.insert(QStringLiteral("nbsp"), U' ');
        t.insert(QStringLiteral("NBSP"), U' ');
        const std::pair<const char *, char32_t> others[] = {
            {"amp", U'&'}, {"AMP", U'&'}, {"lt", U'<'}, {"LT", U'<'}, {"gt", U'>'}, {"GT", U'>'},
            {"quot", U'"'}, {"QUOT", U'"'}, {"apos", U'\''}, {"euro", 0x20AC}, {"trade", 0x2122},
            {"hellip", 0x2026}, {"ndash", 0x2013}, {"mdash", 0x2014}, {"lsquo", 0x2018}, {"rsquo", 0x2019},
            {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bull", 0x2022}};
        for (const auto &[name, c] : others)
            t.insert(QString::fromLatin1(name), c);
        return t;
    }();
    return table;
}

} // namespace

struct HtmlToText::Builder {
    explicit Builder(const QString &html) : h(html) { out.m_sourceSize = int(html.size()); }

    const QString &h;
    HtmlToText out;

    QList<std::pair<int, int>> pendingBreaks; // source of each line break still to come
    int pendingTabs = 0;
    std::pair<int, int> tabSource;
    bool pendingSpace = false;
    std::pair<int, int> spaceSource;
    bool lineHasContent = false;
    QChar last;
    int preDepth = 0;
    bool dropNewline = false; // right after <pre> or <textarea>
    bool inHead = false;
    QList<int> cellsInRow; // one per open table

    void append(QChar c, int s, int e)
    {
        out.m_text += c;
        out.m_start << s;
        out.m_end << e;
        last = c;
    }

    void flushPending()
    {
        for (const auto &[s, e] : std::as_const(pendingBreaks)) {
            append(QLatin1Char('\r'), s, e);
            append(QLatin1Char('\n'), s, e);
            lineHasContent = false;
        }
        pendingBreaks.clear();
        for (int k = 0; k < pendingTabs; ++k) {
            for (QChar c : {u' ', u'\t', u' '})
                append(c, tabSource.first, tabSource.second);
            lineHasContent = true;
        }
        pendingTabs = 0;
        if (pendingSpace)
            append(QLatin1Char(' '), spaceSource.first, spaceSource.second);
        pendingSpace = false;
    }

    void visible(QChar c, int s, int e)
    {
        flushPending();
        append(c, s, e);
        lineHasContent = true;
    }

    void collapsibleSpace(int s, int e)
    {
        const QString &t = out.m_text;
        const bool afterSeparator = t.size() >= 2 && t[t.size() - 2] == u'\t' && last == u' ';
        if (pendingSpace || !lineHasContent || !pendingBreaks.isEmpty() || pendingTabs > 0 || afterSeparator)
            return;
        pendingSpace = true;
        spaceSource = {s, e};
    }

    // End of the current line when it holds anything (block elements).
    void blockBoundary(int s, int e)
    {
        pendingSpace = false;
        pendingTabs = 0;
        if (lineHasContent && pendingBreaks.isEmpty())
            pendingBreaks << std::pair{s, e};
    }

    // A line break that always counts (<br>, a line break inside <pre>).
    void hardBreak(int s, int e)
    {
        pendingSpace = false;
        pendingTabs = 0;
        pendingBreaks << std::pair{s, e};
    }

    void cell(int s, int e)
    {
        pendingSpace = false;
        if (cellsInRow.isEmpty())
            cellsInRow << 0;
        if (++cellsInRow.last() > 1) {
            if (pendingTabs == 0)
                tabSource = {s, e};
            ++pendingTabs;
        }
    }

    // Decodes the entity at i; false (nothing consumed) when there is none.
    bool entity(int i, int *endOut, QString *decoded) const
    {
        const int n = int(h.size());
        int j = i + 1;
        if (j < n && h[j] == u'#') {
            ++j;
            const bool hex = j < n && (h[j] == u'x' || h[j] == u'X');
            if (hex)
                ++j;
            const int digitsStart = j;
            char32_t value = 0;
            bool overflow = false;
            while (j < n) {
                const QChar c = h[j];
                int d = -1;
                if (c >= u'0' && c <= u'9')
                    d = c.unicode() - u'0';
                else if (hex && c >= u'a' && c <= u'f')
                    d = c.unicode() - u'a' + 10;
                else if (hex && c >= u'A' && c <= u'F')
                    d = c.unicode() - u'A' + 10;
                if (d < 0)
                    break;
                value = value * (hex ? 16 : 10) + char32_t(d);
                overflow = overflow || value > 0x10FFFF;
                ++j;
            }
            if (j == digitsStart)
                return false;
            if (j < n && h[j] == u';')
                ++j;
            if (overflow || value == 0 || (value >= 0xD800 && value <= 0xDFFF))
                value = 0xFFFD;
            *decoded = QString::fromUcs4(&value, 1);
            *endOut = j;
            return true;
        }
        while (j < n && j - i <= 8 && isAsciiAlnum(h[j]))
            ++j;
        if (j >= n || h[j] != u';' || j == i + 1)
            return false;
        const auto it = entityTable().constFind(h.mid(i + 1, j - i - 1));
        if (it == entityTable().constEnd())
            return false;
        const char32_t value = it.value();
        *decoded = QString::fromUcs4(&value, 1);
        *endOut = j + 1;
        return true;
    }

    // Text between tags, [i, end), in the current mode.
    void text(int i, int end, bool pre)
    {
        while (i < end) {
            const QChar c = h[i];
            if (dropNewline) {
                dropNewline = false;
                if (c == u'\r' && i + 1 < end && h[i + 1] == u'\n') {
                    i += 2;
                    continue;
                }
                if (c == u'\n' || c == u'\r') {
                    ++i;
                    continue;
                }
            }
            if (c == u'&') {
                int next = i + 1;
                QString decoded;
                if (entity(i, &next, &decoded)) {
                    for (QChar d : std::as_const(decoded))
                        visible(d, i, next);
                    i = next;
                    continue;
                }
                visible(c, i, i + 1);
                ++i;
                continue;
            }
            if (pre && (c == u'\r' || c == u'\n')) {
                const int e = c == u'\r' && i + 1 < end && h[i + 1] == u'\n' ? i + 2 : i + 1;
                hardBreak(i, e);
                i = e;
                continue;
            }
            if (!pre && isHtmlSpace(c))
                collapsibleSpace(i, i + 1);
            else
                visible(c, i, i + 1);
            ++i;
        }
    }

    // Index of the end tag "</name" at or after from (case-insensitive); -1 when absent.
    int findEndTag(int from, const QString &name) const
    {
        const QString needle = QStringLiteral("</") + name;
        for (qsizetype k = h.indexOf(needle, from, Qt::CaseInsensitive); k >= 0;
             k = h.indexOf(needle, k + 1, Qt::CaseInsensitive)) {
            const qsizetype after = k + needle.size();
            if (after >= h.size() || !isAsciiAlnum(h[after]))
                return int(k);
        }
        return -1;
    }

    // One past the '>' that closes the tag whose name ends at i; quoted
    // attribute values may hold '>'. The source's end when it is not closed.
    int tagEnd(int i) const
    {
        const int n = int(h.size());
        bool afterEquals = false;
        while (i < n) {
            const QChar c = h[i];
            if (c == u'>')
                return i + 1;
            if (c == u'=') {
                afterEquals = true;
            } else if (afterEquals && (c == u'"' || c == u'\'')) {
                const qsizetype close = h.indexOf(c, i + 1);
                if (close < 0)
                    return n;
                i = int(close);
                afterEquals = false;
            } else if (!isHtmlSpace(c)) {
                afterEquals = false;
            }
            ++i;
        }
        return n;
    }

    void startTag(const QString &name, int s, int e, int *next)
    {
        if (name == QLatin1String("script") || name == QLatin1String("style") || name == QLatin1String("title")) {
            const int close = findEndTag(e, name);
            *next = close < 0 ? int(h.size()) : tagEnd(close + 2 + int(name.size()));
            return;
        }
        if (name == QLatin1String("textarea")) {
            blockBoundary(s, e);
            const int close = findEndTag(e, name);
            const int contentEnd = close < 0 ? int(h.size()) : close;
            dropNewline = true;
            if (!inHead)
                text(e, contentEnd, true);
            dropNewline = false;
            if (close < 0) {
                *next = int(h.size());
                return;
            }
            *next = tagEnd(close + 2 + int(name.size()));
            blockBoundary(close, *next);
            return;
        }
        if (name == QLatin1String("head")) {
            inHead = true;
        } else if (name == QLatin1String("body")) {
            inHead = false;
            blockBoundary(s, e);
        } else if (name == QLatin1String("br")) {
            hardBreak(s, e);
        } else if (name == QLatin1String("pre") || name == QLatin1String("listing")) {
            blockBoundary(s, e);
            ++preDepth;
            dropNewline = true;
        } else if (name == QLatin1String("table")) {
            blockBoundary(s, e);
            cellsInRow << 0;
        } else if (name == QLatin1String("tr")) {
            blockBoundary(s, e);
            if (cellsInRow.isEmpty())
                cellsInRow << 0;
            cellsInRow.last() = 0;
        } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
            cell(s, e);
        } else if (isBlock(name)) {
            blockBoundary(s, e);
        }
    }

    void endTag(const QString &name, int s, int e)
    {
        if (name == QLatin1String("head")) {
            inHead = false;
        } else if (name == QLatin1String("pre") || name == QLatin1String("listing")) {
            preDepth = std::max(0, preDepth - 1);
            dropNewline = false;
            blockBoundary(s, e);
        } else if (name == QLatin1String("table")) {
            blockBoundary(s, e);
            if (!cellsInRow.isEmpty())
                cellsInRow.removeLast();
        } else if (name == QLatin1String("tr")) {
            blockBoundary(s, e);
        } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
            pendingSpace = false;
        } else if (name == QLatin1String("br")) {
            hardBreak(s, e); // "</br>" acts as <br> in browsers
        } else if (isBlock(name)) {
            blockBoundary(s, e);
        }
    }

    void run()
    {
        const int n = int(h.size());
        int i = 0;
        int textStart = 0;
        const auto flushText = [&](int end) {
            if (!inHead)
                text(textStart, end, preDepth > 0);
        };
        while (i < n) {
            if (h[i] != u'<') {
                ++i;
                continue;
            }
            const QChar c1 = i + 1 < n ? h[i + 1] : QChar();
            const QChar c2 = i + 2 < n ? h[i + 2] : QChar();
            int next = -1;
            if (c1 == u'!' && c2 == u'-' && i + 3 < n && h[i + 3] == u'-') {
                flushText(i);
                const qsizetype close = h.indexOf(QStringLiteral("-->"), i + 4);
                next = close < 0 ? n : int(close) + 3;
            } else if (c1 == u'!' || c1 == u'?') {
                flushText(i);
                const qsizetype close = h.indexOf(QLatin1Char('>'), i + 2);
                next = close < 0 ? n : int(close) + 1;
            } else if (isAsciiLetter(c1) || (c1 == u'/' && isAsciiLetter(c2))) {
                flushText(i);
                const bool end = c1 == u'/';
                int j = i + (end ? 2 : 1);
                const int nameStart = j;
                while (j < n && isAsciiAlnum(h[j]))
                    ++j;
                const QString name = h.mid(nameStart, j - nameStart).toLower();
                const int e = tagEnd(j);
                next = e;
                if (end)
                    endTag(name, i, e);
                else
                    startTag(name, i, e, &next);
            }
            if (next < 0) { // a '<' that starts no markup is text
                ++i;
                continue;
            }
            i = next;
            textStart = next;
        }
        flushText(n);
    }
};

HtmlToText HtmlToText::render(const QString &html)
{
    Builder b(html);
    b.run();
    return std::move(b.out);
}

int HtmlToText::sourceStart(int textOffset) const
{
    if (textOffset < 0)
        return 0;
    return textOffset < m_start.size() ? m_start[textOffset] : m_sourceSize;
}

int HtmlToText::sourceEnd(int textOffset) const
{
    if (textOffset < 0)
        return 0;
    return textOffset < m_end.size() ? m_end[textOffset] : m_sourceSize;
}

std::pair<int, int> HtmlToText::sourceRange(int textStart, int textEnd) const
{
    textStart = std::clamp(textStart, 0, int(m_text.size()));
    textEnd = std::clamp(textEnd, textStart, int(m_text.size()));
    const int s = sourceStart(textStart);
    if (textEnd == textStart)
        return {s, s};
    return {s, sourceEnd(textEnd - 1)};
}

int HtmlToText::textOffsetAt(int sourceOffset) const
{
    const auto it = std::lower_bound(m_start.cbegin(), m_start.cend(), sourceOffset);
    return int(it - m_start.cbegin());
}
