#pragma once
// The visible text of an HTML page, as the page viewer shows it when all of it
// is selected, with a map from every text character back to the source
// characters that produced it. The polling cycle's "Use source B" searches
// and the figure teaching page both work on this text, so a position taught
// on one is found by the other.
//
// Rules (deterministic; no styles are applied):
// - Tags, comments, <!...> and <?...> are dropped; so are the contents of
//   <script>, <style>, <title> and <head> (up to </head> or <body>).
// - Entities are decoded: &amp; &lt; &gt; &quot; &apos;, the Latin-1 names
//   (&nbsp; gives a plain blank that is never collapsed) and &#N; / &#xH;.
//   An unknown or malformed entity stays as written.
// - Outside <pre> and <textarea> a run of blanks, tabs and line breaks is one
//   blank; it is dropped at the start and end of a line and next to a cell
//   separator.
// - Block elements (p, div, h1-h6, table, tr, ul, ol, li, form, center, hr, ...)
//   end the current line when it holds text; they never make empty lines.
//   <br> always ends a line, so "<br><br>" leaves an empty one.
// - A table cell after the first of its row is preceded by blank, TAB, blank,
//   empty cells included, so columns stay countable; trailing empty cells add
//   nothing. The three characters keep a number three characters away from
//   the number of the cell before it: a taught position is read from three
//   characters before the taught value, which must not hold digits.
// - <pre> and <textarea> keep their blanks and line breaks (a line break right
//   after the opening tag is dropped).
// - Line breaks are CR LF. The text never starts with a blank and never ends
//   with a blank or a line break.
// - Made-up characters (line breaks from tags, cell separators) map to the tag
//   that made them; a decoded entity maps to the whole entity.
#include <QList>
#include <QString>
#include <utility>

class HtmlToText {
public:
    static HtmlToText render(const QString &html);

    const QString &text() const { return m_text; }

    // Source range [start, end) (0-based) of the character at textOffset. For
    // textOffset == text().size() both are the source's length.
    int sourceStart(int textOffset) const;
    int sourceEnd(int textOffset) const;

    // The source characters that produced the text range [textStart, textEnd):
    // from the first one's start to the last one's end; an empty text range
    // gives an empty source range at sourceStart(textStart).
    std::pair<int, int> sourceRange(int textStart, int textEnd) const;

    // The first text offset whose character comes from sourceOffset or later
    // in the source; text().size() when none does.
    int textOffsetAt(int sourceOffset) const;

private:
    struct Builder;
    QString m_text;
    QList<int> m_start; // per text character
    QList<int> m_end;
    int m_sourceSize = 0;
};
