#pragma once
// Reads one HTTP/1.x reply from its bytes as they arrive: interim 1xx replies
// are skipped, then the head, then the body by Content-Length, by chunks, or
// up to the end of the connection. No socket here: bytes in, state out.
//
// Every byte is counted against the bounds as it arrives, never after a
// chunk or the body completes, so whatever a router sends costs at most the
// head bound plus the body bound in memory. Sizes from the reply are read
// without overflow and checked against what is left of the allowance.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

struct HttpReplyHead {
    int status = 0;
    QString reason;            // printable, bounded (see printableReason)
    bool chunked = false;
    qint64 contentLength = -1; // -1 when none was given
    QList<QByteArray> setCookies; // Set-Cookie field values, in order
};

class HttpReplyReader {
public:
    enum class State { Reading, Done, Failed };

    // A router page is a few kilobytes; anything far bigger is not a status page.
    static constexpr qint64 kMaxBodyBytes = 8 * 1024 * 1024;
    // All heads of one reply together, interim ones included.
    static constexpr qint64 kMaxHeadBytes = 64 * 1024;
    // A chunk-size line with its extensions.
    static constexpr qint64 kMaxChunkLineBytes = 1024;

    explicit HttpReplyReader(qint64 maxBodyBytes = kMaxBodyBytes, qint64 maxHeadBytes = kMaxHeadBytes);

    // Takes the next bytes of the connection. Bytes after the reply's end are ignored.
    State feed(QByteArrayView bytes);
    // The connection ended: a body without a length is complete; anything else unfinished fails.
    State close();

    State state() const { return m_state; }
    bool headDone() const { return m_headDone; }
    const HttpReplyHead &head() const { return m_head; }
    // The body so far; empty once the reply failed.
    const QByteArray &body() const { return m_body; }
    // Why the reply failed ("Malformed HTTP reply", "Reply larger than 8388608 bytes", ...).
    const QString &error() const { return m_error; }
    // What the reader holds: the body so far and the unfinished line or head.
    qint64 bufferedBytes() const { return m_body.size() + m_line.size(); }

    // One head, status line and fields, without its blank line; nullopt when
    // it is not an HTTP reply head or its length fields make no sense.
    static std::optional<HttpReplyHead> parseHead(QByteArrayView head);

    enum class ChunkSize { Ok, Malformed, TooLarge };
    // A chunk-size line without its line end ("1a;name=value"): hex digits,
    // at most `limit`; *size is set when Ok.
    static ChunkSize parseChunkSize(QByteArrayView line, qint64 limit, qint64 *size);

    // Text from the reply made fit for a message: its first kMaxReasonChars
    // characters (Latin-1), controls and invisible characters escaped.
    static constexpr qsizetype kMaxReasonChars = 80;
    static QString printableReason(QByteArrayView text);

    static QString malformedText();
    static QString tooLargeText(qint64 maxBodyBytes);

private:
    enum class Phase { Head, Length, UntilClose, ChunkSize, ChunkData, ChunkEnd, Done };

    qsizetype takeHead(QByteArrayView in);
    qsizetype takeLine(QByteArrayView in, qint64 maxBytes, std::optional<QByteArray> *line);
    void startBody();
    void fail(const QString &why);
    void finish();

    qint64 m_maxBody;
    qint64 m_maxHead;
    State m_state = State::Reading;
    Phase m_phase = Phase::Head;
    HttpReplyHead m_head;
    bool m_headDone = false;
    QByteArray m_line;         // unfinished head or line
    qint64 m_headBytes = 0;    // bytes of interim heads already skipped
    qint64 m_chunkLeft = 0;
    QByteArray m_body;
    QString m_error;
};
