// Whatever answers at the router's address: its reply read by the HTTP
// client's reader whole and in pieces, and its cookies through the jar.
// Input: one byte for the piece size (0: whole), one for the bounds (odd:
// small ones, so the caps are crossed within the input), then the reply.
// Fails when the pieces change the outcome, when the reader holds more than
// its bounds, or when the jar's Cookie field outgrows its cap or carries a
// control byte into our next request.
#include "common/VisibleText.h"
#include "acquisition/HttpReplyReader.h"
#include "acquisition/RouterCookieJar.h"

#include <QDateTime>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_http_reply: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t piece = data[0];
    const bool small = data[1] & 1;
    const qint64 maxBody = small ? 700 : HttpReplyReader::kMaxBodyBytes;
    const qint64 maxHead = small ? 300 : HttpReplyReader::kMaxHeadBytes;
    const QByteArrayView wire(reinterpret_cast<const char *>(data) + 2, qsizetype(size - 2));

    HttpReplyReader whole(maxBody, maxHead);
    whole.feed(wire);
    HttpReplyReader pieces(maxBody, maxHead);
    for (qsizetype at = 0; at < wire.size() && pieces.state() == HttpReplyReader::State::Reading;) {
        const qsizetype n = piece == 0 ? wire.size() : qMin<qsizetype>(qsizetype(piece), wire.size() - at);
        pieces.feed(wire.sliced(at, n));
        at += n;
        check(pieces.bufferedBytes() <= maxBody + maxHead, "more held than the bounds");
    }
    whole.close();
    pieces.close();

    check(whole.state() == pieces.state(), "pieces change the outcome");
    check(whole.body() == pieces.body(), "pieces change the body");
    check(whole.error() == pieces.error(), "pieces change the reason");
    check(whole.headDone() == pieces.headDone(), "pieces change the head");
    check(whole.body().size() <= maxBody, "body beyond its cap");
    if (whole.state() == HttpReplyReader::State::Failed)
        check(!whole.error().isEmpty(), "a failure without a reason");
    if (!whole.headDone())
        return 0;
    const HttpReplyHead &head = whole.head();
    check(head.status >= 200 && head.status <= 599, "an interim or impossible status as the reply");
    check(head.reason.size() <= 4 * HttpReplyReader::kMaxReasonChars, "reason unbounded");
    for (QChar c : head.reason)
        check(!VisibleText::isHidden(c.unicode()), "reason not printable");
    if (whole.state() == HttpReplyReader::State::Done && !head.chunked && head.contentLength >= 0
        && head.status != 204 && head.status != 304)
        check(whole.body().size() == head.contentLength, "body not its declared length");

    // The jar across many replies with these cookies, as a router repeats them.
    static const QDateTime now(QDate(2026, 12, 6), QTime(8, 47, 39), Qt::UTC);
    const QString host = QStringLiteral("127.0.0.1");
    RouterCookieJar jar;
    for (int reply = 0; reply < 3; ++reply)
        jar.store(host, head.setCookies, now.addSecs(reply));
    const QByteArray field = jar.header(host, now);
    check(field.size() <= RouterCookieJar::kMaxFieldBytes, "cookie field beyond its cap");
    check(jar.count(host) <= RouterCookieJar::kMaxCookies, "more cookies than the cap");
    for (char c : field)
        check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f, "control byte in the cookie field");
    return 0;
}
