#include "acquisition/TerminalBuffer.h"

#include <algorithm>

QString TerminalBuffer::append(const QString &chunk)
{
    QString display;
    display.reserve(chunk.size());
    QString *last = &m_lines.last();
    for (QChar c : chunk) {
        const char16_t u = c.unicode();
        if (m_afterCr && u == '\n') {
            m_afterCr = false;
            continue;
        }
        if (u == 0)
            continue;
        m_afterCr = u == '\r';
        if (u == '\r') {
            m_lines.append(QString());
            last = &m_lines.last();
            m_lineCut = false;
            display += QLatin1Char('\n');
        } else if (last->size() >= kMaxLineChars) {
            m_lineCut = true;
        } else {
            *last += c;
            ++m_chars;
            display += c;
        }
    }
    enforceCap();
    return display;
}

QString TerminalBuffer::addLine(const QString &line)
{
    // A LF still due after the router's last CR is dropped when it comes.
    const QString kept = line.left(kMaxLineChars);
    m_lines.append(kept);
    m_lineCut = false;
    m_chars += kept.size();
    enforceCap();
    return QLatin1Char('\n') + kept;
}

void TerminalBuffer::clear()
{
    m_lines = QStringList{QString()};
    m_dropped = 0;
    m_chars = 0;
    m_lineCut = false;
}

QString TerminalBuffer::trimmed(const QString &s)
{
    qsizetype a = 0;
    qsizetype b = s.size();
    while (a < b && s[a].unicode() <= ' ')
        ++a;
    while (b > a && s[b - 1].unicode() <= ' ')
        --b;
    return s.mid(a, b - a);
}

bool TerminalBuffer::endsAtPrompt(const QString &prompt) const
{
    return trimmed(lastLine()) == prompt;
}

void TerminalBuffer::enforceCap()
{
    const bool tooManyLines = m_lines.size() > kMaxLines;
    const bool tooManyChars = m_chars > kMaxChars;
    if (!tooManyLines && !tooManyChars)
        return;
    // The oldest lines go in blocks, so the cost is paid seldom; the last
    // line always stays.
    qsizetype drop = tooManyLines ? std::max<qsizetype>(kDropBlock, m_lines.size() - kMaxLines) : 0;
    drop = std::min(drop, m_lines.size() - 1);
    qsizetype freed = 0;
    for (qsizetype i = 0; i < drop; ++i)
        freed += m_lines[i].size();
    if (tooManyChars)
        while (m_chars - freed > kMaxChars - kMaxChars / 8 && drop < m_lines.size() - 1)
            freed += m_lines[drop++].size();
    m_lines.remove(0, drop);
    m_chars -= freed;
    m_dropped += static_cast<int>(drop);
}
