#pragma once
// The terminal pane's text as the telnet parsers read it: what the router
// sent, split into lines at each CR, the lines joined with CR LF. The
// window's pane only mirrors it; parser offsets are measured here.
#include <QString>
#include <QStringList>

class TerminalBuffer {
public:
    // Generous caps; beyond them the oldest lines go, a block at a time.
    static constexpr int kMaxLines = 20000;
    static constexpr int kDropBlock = 2000;
    static constexpr qsizetype kMaxChars = 2 * 1024 * 1024;
    // No router line is this long: text beyond it on one line is not kept,
    // and lineTooLong() tells the session to give up on the router.
    static constexpr qsizetype kMaxLineChars = 64 * 1024;

    // One received chunk. Each CR ends the current line and starts a new
    // empty one; a LF right after a CR is dropped, also when the CR ended
    // the previous chunk; NULs (telnet's CR NUL) are dropped. Text without
    // a CR continues the last line. Returns what the pane must append, with
    // "\n" for each new line.
    QString append(const QString &chunk);
    // Adds a line of its own after the last one, as the pane's line list
    // does; later text continues it. Returns what the pane must append.
    QString addLine(const QString &line);
    // Empties the buffer. Neither this nor addLine() forgets a CR that
    // ended the last chunk: its LF is still dropped when it arrives.
    void clear();

    QString text() const { return m_lines.join(QStringLiteral("\r\n")); }
    // Lines, counting the last (possibly empty) one.
    int lineCount() const { return static_cast<int>(m_lines.size()); }
    QString lastLine() const { return m_lines.constLast(); }
    // The last line, trimmed of blanks and control characters, is the prompt.
    bool endsAtPrompt(const QString &prompt) const;
    // Lines dropped by the caps since the last clear.
    int droppedLines() const { return m_dropped; }
    // Characters held, line ends not counted.
    qsizetype charCount() const { return m_chars; }
    // Text was cut off the last line at kMaxLineChars (until a CR or clear()).
    bool lineTooLong() const { return m_lineCut; }

    // Blanks and control characters off both ends, as the router texts are compared.
    static QString trimmed(const QString &s);

private:
    void enforceCap();

    QStringList m_lines{QString()};
    bool m_afterCr = false;
    bool m_lineCut = false;
    int m_dropped = 0;
    qsizetype m_chars = 0;
};
