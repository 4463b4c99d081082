// Writes the fuzz targets' starting corpora from the router simulator's own
// pages and telnet replies, so every run starts from text a router sends.
// Usage: make_seeds <corpus folder> <settings file>...
#include "PageBuilder.h"
#include "RequestHandler.h"
#include "RouterState.h"
#include "TelnetBehaviour.h"
#include "TelnetReplies.h"
#include "acquisition/TerminalBuffer.h"

#include <QDir>
#include <QFile>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace routersim;

namespace {

// Empty strings for the targets' leading string fields: a backslash and
// any other byte end a string at once.
QByteArray emptyStrings(int count)
{
    return QByteArray("\\\n").repeated(count);
}

class Corpus {
public:
    explicit Corpus(const QString &root) : m_root(root) {}

    void add(const char *target, const QByteArray &bytes)
    {
        const QString folder = m_root + QLatin1Char('/') + QLatin1String(target);
        QDir().mkpath(folder);
        QFile f(folder + QStringLiteral("/seed-%1").arg(++m_count, 3, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "make_seeds: cannot write %s\n", qPrintable(f.fileName()));
            std::exit(1);
        }
    }

private:
    QString m_root;
    int m_count = 0;
};

QByteArray transcript(RouterState &state, TelnetFamily family, const QStringList &commands)
{
    TelnetBehaviour behaviour;
    behaviour.family = family;
    TelnetReplies replies(state, behaviour);
    QByteArray bytes;
    for (const QString &c : commands)
        bytes += c.toLatin1() + "\r\n" + replies.run(c).text + behaviour.prompt().toLatin1();
    TerminalBuffer buffer;
    buffer.append(QString::fromLatin1(bytes));
    return buffer.text().toLatin1();
}

// The page as chunks of varying size, one with an extension, as routers send it.
QByteArray chunked(const QByteArray &body)
{
    QByteArray wire = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: chunked\r\n"
                      "Set-Cookie: SESSIONID=4f2a9c; Path=/; HttpOnly\r\n\r\n";
    qsizetype size = 1;
    for (qsizetype at = 0; at < body.size(); at += size, size = size * 3 + 1) {
        const QByteArray piece = body.mid(at, size);
        wire += QByteArray::number(piece.size(), 16) + (at == 0 ? ";name=value" : "") + "\r\n" + piece + "\r\n";
    }
    return wire + "0\r\n\r\n";
}

// The reply target's two leading bytes: the piece size and the bounds.
QByteArray replySeed(char piece, char bounds, const QByteArray &wire)
{
    return QByteArray(1, piece) + bounds + wire;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder> [settings file...]\n");
        return 2;
    }
    Corpus corpus(QString::fromLocal8Bit(argv[1]));

    // Two line states: the defaults and odd figures a router has been seen to send.
    RouterState plain;
    RouterState odd;
    QString error;
    for (const auto &[name, value] : {std::pair{"RxSync", "99999999999"}, {"TxSync", "81E8"}, {"RxNoise", "-3.5"},
                                      {"TxNoise", "4294967290"}, {"uptime", "12:30:05"}, {"DataSent", "8,128"},
                                      {"linemode", "ADSL2+"}, {"path", "fast"}, {"state", "Disconnected"}})
        odd.set(QString::fromLatin1(name), QString::fromLatin1(value), &error);

    for (RouterState *state : {&plain, &odd}) {
        const PageBuilder pages(*state);
        for (ProfileId profile : Profile::all()) {
            for (PageKind kind : {PageKind::Status, PageKind::WanAddress, PageKind::Connection, PageKind::Log,
                                  PageKind::Link, PageKind::Events}) {
                const QByteArray page = pages.build(profile, kind);
                if (page.isEmpty())
                    continue;
                if (kind == PageKind::Status) {
                    corpus.add("figure_search", emptyStrings(3) + page);
                    corpus.add("http_reply", replySeed(0, 0, chunked(page)));
                    corpus.add("http_reply", replySeed(7, 1, chunked(page.left(600))));
                }
                corpus.add("http_reply", replySeed(0, 0, RequestHandler::response(200, page)));
                if (kind == PageKind::Log || kind == PageKind::Events)
                    corpus.add("router_log", page);
                else
                    corpus.add("line_status", emptyStrings(1) + page);
            }
        }
        corpus.add("telnet_parsers",
                   transcript(*state, TelnetFamily::Ar7,
                              {QStringLiteral("cat /proc/avalanche/avsar_modem_stats"), QStringLiteral(" ifconfig")}));
        corpus.add("telnet_parsers", transcript(*state, TelnetFamily::Adslctl,
                                                {QStringLiteral("/usr/sbin/adslctl info --stats"),
                                                 QStringLiteral(" ifconfig"), QStringLiteral("adslctl info --SNR")}));
        // The same replies as the router's telnet daemon sends them: option
        // negotiation first, then the log-in and the commands' output.
        const QByteArray negotiation("\xff\xfd\x18\xff\xfb\x01\xff\xfb\x03\xff\xfa\x18\x01\xff\xf0");
        corpus.add("telnet_receive", negotiation + "login: admin\r\nPassword: \r\n# "
                                         + transcript(*state, TelnetFamily::Ar7,
                                                      {QStringLiteral("cat /proc/avalanche/avsar_modem_stats")}));
        corpus.add("telnet_parsers",
                   transcript(*state, TelnetFamily::AdslInfo,
                              {QStringLiteral("adsl info"), QStringLiteral("adsl perf"),
                               QStringLiteral("adsl defects"), QStringLiteral(" ifconfig")}));
    }

    // A line without end, doubled IAC bytes in binary output, a negotiation
    // flood, and compression the client never asked for.
    corpus.add("telnet_receive", QByteArray(4000, 'x') + QByteArray(8, '\xff'));
    corpus.add("telnet_receive", QByteArray("\x00\x01\xff\xff\r\x00\r\n\x80\xfe").repeated(200));
    corpus.add("telnet_receive", QByteArray("\xff\xfd\x63\xff\xfb\x01\xff\xfc\x01").repeated(300));
    corpus.add("telnet_receive", QByteArray("ok\xff\xfa\x56\xff\xf0") + qCompress(QByteArray(5000, 'z')).mid(4));

    // Replies besides the pages: a refusal, interim replies, cookies that
    // expire, and no length at all.
    corpus.add("http_reply", replySeed(0, 0, RequestHandler::badRequest()));
    corpus.add("http_reply", replySeed(3, 1,
                                       "HTTP/1.1 100 Continue\r\n\r\n"
                                           + RequestHandler::response(401, "<html>401</html>",
                                                                      "WWW-Authenticate: Basic realm=\"DG834\"\r\n"
                                                                      "Set-Cookie: sid=; Max-Age=0\r\n")));
    corpus.add("http_reply", replySeed(1, 1,
                                       "HTTP/1.0 200 OK\r\nSet-Cookie: a=1; Expires=Thu, 01 Jan 1970 00:00:00 GMT\r\n"
                                       "Set-Cookie: b=2; expires=Fri, 01-Jan-2027 00:00:00 GMT\r\n\r\n<html></html>"));

    // Numbers: the figures a router shows beside doubles at the type's edges.
    const double edges[] = {16.168, 6.5, DBL_MAX, -DBL_MAX, DBL_MIN, DBL_TRUE_MIN, 999999999999999.9, 0.1, NAN};
    const char *figures[] = {"6.5", "8128", "-3.5", "4294967290", "81E8", "99999999999", "8,128", "1.7976931348623157E308"};
    for (size_t i = 0; i < std::size(edges); ++i) {
        QByteArray seed(10, '\0');
        seed[0] = char(1 + i % 15);
        seed[1] = char(i * 2 + (i % 2));
        std::memcpy(seed.data() + 2, &edges[i], sizeof(double));
        corpus.add("number_format", seed + figures[i % std::size(figures)]);
    }

    for (int i = 2; i < argc; ++i) {
        QFile f(QString::fromLocal8Bit(argv[i]));
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray text = f.readAll();
            corpus.add("settings_file", QByteArray(1, '\0') + text);
            corpus.add("settings_file", QByteArray(1, '\1') + text.left(4000));
        }
    }

    // Files that once read differently after their first save (the leading
    // byte picks the locale): a header without a name and no key under it.
    for (const QByteArray &file : {QByteArray("\n[]"), QByteArray("\x01;note\n[ ]\n[Ping]\nMax=9\n"),
                                   QByteArray(QByteArray(1, '\0') + "[Ping]\nMax=9\n[]\n;tail\n")})
        corpus.add("settings_file", file);
    // Lines a save once erased or merged: a comment on the last line, lines
    // without "=", a key and a section written twice, the ends of a range.
    for (const QByteArray &file :
         {QByteArray(QByteArray(1, '\0') + "[System]\nSample=5\n; the last line"),
          QByteArray("\x01[Graph]\r\nUserlabel=x\r\nnot a setting\r\n[half\r\n# the end\r\n"),
          QByteArray(QByteArray(1, '\0') + "[System]\nSample=5\n sample = 6\n[Ping]\nMax=9\n[SYSTEM]\nPoints=60\n"),
          QByteArray(QByteArray(1, '\0') + "[Graph]\nUser1Min=-2147483648\nUser1Max=2147483647\n[Mine]\nkey\n")})
        corpus.add("settings_file", file);

    for (const char *path : {"/RxNoise.jpg", "/veltrano.htm", "/sub/deep.png", "/in/deep.png", "/out/secret.txt",
                             "/../outside/secret.txt", "/veltrano.ini", "/blocked.txt", "/", "/old.tmp",
                             "//RxNoise.jpg", "/./sub/../RxNoise.jpg", "/loop/x"})
        corpus.add("web_request", emptyStrings(7) + "GET\\\n127.0.0.1\\\n" + path);
    return 0;
}
