#pragma once
// Maps a selection in the rendered page (a QTextDocument made from the page's
// HTML) to the page source, through the one HTML-to-text renderer the
// polling cycle uses: the document's visible characters are aligned with the
// renderer's text, whose every character knows the source characters that
// produced it. Blanks and line breaks are left out of the alignment, as the
// two renderings space a page differently.
#include "common/HtmlToText.h"

#include <QList>
#include <optional>
#include <utility>

class QTextDocument;

class RenderedPageMap {
public:
    RenderedPageMap() = default;
    RenderedPageMap(const QTextDocument &document, const HtmlToText &rendered);

    // The source range [start, end) of the document selection [start, end):
    // from the source start of its first mapped character to the source end of
    // its last. Null when no character of the selection is mapped.
    std::optional<std::pair<int, int>> sourceRange(int docStart, int docEnd) const;

    // The renderer's text offset of a document position; -1 when unmapped.
    int textOffset(int docPos) const;

private:
    HtmlToText m_rendered;
    QList<int> m_docPos;     // mapped document positions, ascending
    QList<int> m_textOffset; // their text offsets
};
