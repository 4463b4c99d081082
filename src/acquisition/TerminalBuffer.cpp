#include "acquisition/TerminalBuffer.h"

#include <algorithm>

QString TerminalBuffer::append(const QString &chunk)
{
    QString display;
    display.reserve(chunk.size());
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
            display += QLatin1Char('\n');
        } else {
            m_lines.last() += c;
            display += c;
        }
    }
    enforceCap();
    return display;
}

QString TerminalBuffer::addLine(const QString &line)
{
    // A LF still due after the router's last CR is dropped when it comes.
    m_lines.append(line);
    enforceCap();
    return QLatin1Char('\n') + line;
}

void TerminalBuffer::clear()
{
    m_lines = QStringList{QString()};
    m_dropped = 0;
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
    if (m_lines.size() <= kMaxLines)
        return;
    const qsizetype drop = std::max<qsizetype>(kDropBlock, m_lines.size() - kMaxLines);
    m_lines.remove(0, drop);
    m_dropped += static_cast<int>(drop);
}
