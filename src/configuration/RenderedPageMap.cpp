#include "configuration/RenderedPageMap.h"

#include <QTextDocument>
#include <algorithm>

namespace {

// Characters that show something: not blanks, line or paragraph breaks, nor
// the frame and object markers of a QTextDocument.
bool visible(QChar c)
{
    const char16_t u = c.unicode();
    if (c.isSpace() || u == 0xFFFC || (u >= 0xFDD0 && u <= 0xFDEF))
        return false;
    return c.category() != QChar::Other_Control;
}

struct Glyph {
    int at;
    QChar c;
};

// How far ahead the alignment looks for a character one side has and the
// other has not (a list bullet, an image's text).
constexpr int kLookAhead = 40;

} // namespace

RenderedPageMap::RenderedPageMap(const QTextDocument &document, const HtmlToText &rendered) : m_rendered(rendered)
{
    QList<Glyph> doc;
    const int count = document.characterCount();
    for (int p = 0; p < count; ++p)
        if (const QChar c = document.characterAt(p); visible(c))
            doc.append({p, c});
    QList<Glyph> text;
    const QString &t = rendered.text();
    for (int i = 0; i < t.size(); ++i)
        if (visible(t[i]))
            text.append({i, t[i]});

    qsizetype i = 0;
    qsizetype j = 0;
    while (i < doc.size() && j < text.size()) {
        if (doc[i].c == text[j].c) {
            m_docPos.append(doc[i].at);
            m_textOffset.append(text[j].at);
            ++i;
            ++j;
            continue;
        }
        // Resynchronise on the nearer side.
        qsizetype skipText = 0;
        for (qsizetype k = 1; k <= kLookAhead && j + k < text.size(); ++k)
            if (text[j + k].c == doc[i].c) {
                skipText = k;
                break;
            }
        qsizetype skipDoc = 0;
        for (qsizetype k = 1; k <= kLookAhead && i + k < doc.size(); ++k)
            if (doc[i + k].c == text[j].c) {
                skipDoc = k;
                break;
            }
        if (skipText > 0 && (skipDoc == 0 || skipText <= skipDoc)) {
            j += skipText;
        } else if (skipDoc > 0) {
            i += skipDoc;
        } else {
            ++i;
            ++j;
        }
    }
}

int RenderedPageMap::textOffset(int docPos) const
{
    const auto it = std::lower_bound(m_docPos.cbegin(), m_docPos.cend(), docPos);
    if (it == m_docPos.cend() || *it != docPos)
        return -1;
    return m_textOffset[it - m_docPos.cbegin()];
}

std::optional<std::pair<int, int>> RenderedPageMap::sourceRange(int docStart, int docEnd) const
{
    if (docEnd <= docStart)
        return std::nullopt;
    const auto first = std::lower_bound(m_docPos.cbegin(), m_docPos.cend(), docStart);
    const auto last = std::lower_bound(m_docPos.cbegin(), m_docPos.cend(), docEnd);
    if (first == last)
        return std::nullopt;
    const int a = m_textOffset[first - m_docPos.cbegin()];
    const int b = m_textOffset[(last - 1) - m_docPos.cbegin()];
    if (b < a)
        return std::nullopt;
    return m_rendered.sourceRange(a, b + 1);
}
