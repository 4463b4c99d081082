#include "acquisition/HttpReplyReader.h"

#include "common/VisibleText.h"

#include <algorithm>
#include <limits>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool allDigits(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A Content-Length value; more digits than a qint64 holds reads as the
// largest length, which no allowance admits.
std::optional<qint64> parseLength(QByteArrayView text)
{
    if (!allDigits(text))
        return std::nullopt;
    qint64 v = 0;
    for (char c : text) {
        const int d = c - '0';
        if (v > (std::numeric_limits<qint64>::max() - d) / 10)
            return std::numeric_limits<qint64>::max();
        v = v * 10 + d;
    }
    return v;
}

// The blank line that ends a head: CR LF CR LF, or bare LF line ends as
// small embedded servers send them (browsers read both, and mixtures).
// Returns the offset just past it, or -1 when the head goes on; *end is where
// the head's last line ends. The scan starts at a line end at or after `from`.
qsizetype headEnd(const QByteArray &text, qsizetype from, qsizetype *end)
{
    for (qsizetype nl = text.indexOf('\n', from); nl >= 0; nl = text.indexOf('\n', nl + 1)) {
        if (nl + 1 < text.size() && text[nl + 1] == '\n') {
            *end = nl;
            return nl + 2;
        }
        if (nl + 2 < text.size() && text[nl + 1] == '\r' && text[nl + 2] == '\n') {
            *end = nl;
            return nl + 3;
        }
    }
    return -1;
}

// A CR that is not followed by an LF, in text[from, to). Such a CR ends no
// line, so a head made with them has no lines to read: it is malformed, not
// a reply still on its way. A CR last before `to` waits for its next byte.
bool bareCr(const QByteArray &text, qsizetype from, qsizetype to)
{
    for (qsizetype cr = text.indexOf('\r', from); cr >= 0 && cr + 1 < to; cr = text.indexOf('\r', cr + 1)) {
        if (text[cr + 1] != '\n')
            return true;
    }
    return false;
}

} // namespace

HttpReplyReader::HttpReplyReader(qint64 maxBodyBytes, qint64 maxHeadBytes)
    : m_maxBody(qMax<qint64>(0, maxBodyBytes)), m_maxHead(qMax<qint64>(4, maxHeadBytes))
{
}

QString HttpReplyReader::malformedText()
{
    return QStringLiteral("Malformed HTTP reply");
}

QString HttpReplyReader::tooLargeText(qint64 maxBodyBytes)
{
    return QStringLiteral("Reply larger than %1 bytes").arg(maxBodyBytes);
}

QString HttpReplyReader::printableReason(QByteArrayView text)
{
    // Router text is Latin-1: a bounded piece of it, its controls escaped as in every pane.
    const QByteArrayView shown = text.trimmed();
    return VisibleText::escaped(QString::fromLatin1(shown.first(std::min(shown.size(), kMaxReasonChars))));
}

std::optional<HttpReplyHead> HttpReplyReader::parseHead(QByteArrayView head)
{
    const QList<QByteArray> lines = head.toByteArray().split('\n');
    qsizetype first = 0;
    // Some servers leave a blank line after an interim reply.
    while (first < lines.size() && lines[first].trimmed().isEmpty())
        ++first;
    if (first == lines.size())
        return std::nullopt;

    // "HTTP/1.1 200 OK": version, a three-digit code, an optional reason.
    const QByteArray statusLine = lines[first].trimmed();
    const qsizetype space = statusLine.indexOf(' ');
    if (!statusLine.startsWith("HTTP/") || space < 0)
        return std::nullopt;
    const QByteArray rest = statusLine.mid(space + 1).trimmed();
    const QByteArray code = rest.left(3);
    if (code.size() != 3 || !allDigits(code) || (rest.size() > 3 && rest[3] != ' ' && rest[3] != '\t'))
        return std::nullopt;
    HttpReplyHead h;
    h.status = code.toInt();
    if (h.status < 100 || h.status > 599)
        return std::nullopt;
    h.reason = printableReason(QByteArrayView(rest).sliced(3));

    for (qsizetype i = first + 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            const auto length = parseLength(value);
            // Two different lengths leave the body's end unknown.
            if (!length || (h.contentLength >= 0 && h.contentLength != *length))
                return std::nullopt;
            h.contentLength = *length;
        } else if (name == "transfer-encoding") {
            for (const QByteArray &coding : value.split(','))
                h.chunked = h.chunked || coding.trimmed().toLower() == "chunked";
        } else if (name == "set-cookie") {
            h.setCookies.append(value);
        }
    }
    return h;
}

HttpReplyReader::ChunkSize HttpReplyReader::parseChunkSize(QByteArrayView line, qint64 limit, qint64 *size)
{
    const qsizetype semicolon = line.indexOf(';');
    const QByteArrayView digits = (semicolon < 0 ? line : line.first(semicolon)).trimmed();
    if (digits.isEmpty())
        return ChunkSize::Malformed;
    for (char c : digits) {
        if (hexDigit(c) < 0)
            return ChunkSize::Malformed;
    }
    qint64 v = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        // v * 16 + d <= limit, without computing past it.
        if (v > limit / 16 || v * 16 > limit - d)
            return ChunkSize::TooLarge;
        v = v * 16 + d;
    }
    *size = v;
    return ChunkSize::Ok;
}

HttpReplyReader::State HttpReplyReader::feed(QByteArrayView in)
{
    while (m_state == State::Reading && !in.isEmpty()) {
        qsizetype used = 0;
        std::optional<QByteArray> line;
        switch (m_phase) {
        case Phase::Head:
            used = takeHead(in);
            break;
        case Phase::Length:
            used = qsizetype(qMin<qint64>(in.size(), m_head.contentLength - m_body.size()));
            m_body.append(in.first(used));
            if (m_body.size() == m_head.contentLength)
                finish();
            break;
        case Phase::UntilClose:
            used = in.size();
            if (m_body.size() > m_maxBody - used) {
                fail(tooLargeText(m_maxBody));
                break;
            }
            m_body.append(in);
            break;
        case Phase::ChunkSize: {
            used = takeLine(in, kMaxChunkLineBytes, &line);
            if (!line)
                break;
            qint64 size = 0;
            switch (parseChunkSize(*line, m_maxBody - m_body.size(), &size)) {
            case ChunkSize::Malformed:
                fail(malformedText());
                break;
            case ChunkSize::TooLarge:
                fail(tooLargeText(m_maxBody));
                break;
            case ChunkSize::Ok:
                // The last chunk ends the body; trailers, if any, are not needed.
                if (size == 0) {
                    finish();
                } else {
                    m_chunkLeft = size;
                    m_phase = Phase::ChunkData;
                }
                break;
            }
            break;
        }
        case Phase::ChunkData:
            used = qsizetype(qMin<qint64>(in.size(), m_chunkLeft));
            m_body.append(in.first(used));
            m_chunkLeft -= used;
            if (m_chunkLeft == 0)
                m_phase = Phase::ChunkEnd;
            break;
        case Phase::ChunkEnd:
            used = takeLine(in, 0, &line);
            if (line && !line->isEmpty())
                fail(malformedText());
            else if (line)
                m_phase = Phase::ChunkSize;
            break;
        case Phase::Done:
            return m_state;
        }
        in = in.sliced(used);
    }
    return m_state;
}

qsizetype HttpReplyReader::takeHead(QByteArrayView in)
{
    // Only as much as the head allowance has room for is kept.
    const qint64 limit = m_maxHead - m_headBytes;
    const qsizetype take = qsizetype(qMin<qint64>(in.size(), qMax<qint64>(0, limit - m_line.size())));
    const qsizetype searchFrom = qMax<qsizetype>(0, m_line.size() - 2);
    const qsizetype crFrom = qMax<qsizetype>(0, m_line.size() - 1);
    m_line.append(in.first(take));
    qsizetype end = 0;
    const qsizetype after = headEnd(m_line, searchFrom, &end);
    // Only the head is looked at: a body may hold any bytes.
    if (bareCr(m_line, crFrom, after < 0 ? m_line.size() : after)) {
        fail(malformedText());
        return take;
    }
    if (after < 0) {
        if (m_line.size() >= limit)
            fail(QStringLiteral("Reply header too large"));
        return take;
    }
    const qsizetype used = take - (m_line.size() - after);
    const std::optional<HttpReplyHead> head = parseHead(QByteArrayView(m_line).first(end));
    m_headBytes += after;
    m_line.clear();
    if (!head) {
        fail(malformedText());
    } else if (head->status >= 200) {
        m_head = *head;
        m_headDone = true;
        startBody();
    }
    // An interim reply (100 Continue and the like): the real one follows.
    return used;
}

qsizetype HttpReplyReader::takeLine(QByteArrayView in, qint64 maxBytes, std::optional<QByteArray> *line)
{
    const qsizetype newline = in.indexOf('\n');
    const qsizetype take = newline < 0 ? in.size() : newline + 1;
    // The line, its CR and its LF.
    if (m_line.size() > maxBytes + 2 - take) {
        fail(malformedText());
        return take;
    }
    m_line.append(in.first(take));
    if (newline < 0)
        return take;
    m_line.chop(1);
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    *line = std::move(m_line);
    m_line = QByteArray();
    return take;
}

void HttpReplyReader::startBody()
{
    if (m_head.status == 204 || m_head.status == 304) {
        finish();
    } else if (m_head.chunked) {
        m_phase = Phase::ChunkSize;
    } else if (m_head.contentLength > m_maxBody) {
        fail(tooLargeText(m_maxBody));
    } else if (m_head.contentLength == 0) {
        finish();
    } else if (m_head.contentLength > 0) {
        m_phase = Phase::Length;
    } else {
        m_phase = Phase::UntilClose;
    }
}

HttpReplyReader::State HttpReplyReader::close()
{
    if (m_state != State::Reading)
        return m_state;
    if (m_phase == Phase::UntilClose)
        finish();
    else if (headDone())
        fail(QStringLiteral("Connection closed before the reply was complete"));
    else
        fail(QStringLiteral("Connection closed gracefully."));
    return m_state;
}

void HttpReplyReader::fail(const QString &why)
{
    // A failed reply has no body, whatever part of it came.
    m_state = State::Failed;
    m_error = why;
    m_line.clear();
    m_body.clear();
}

void HttpReplyReader::finish()
{
    m_state = State::Done;
    m_phase = Phase::Done;
    m_line.clear();
}
