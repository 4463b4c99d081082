// The program itself, polling every second, against a router that floods
// it: (a) a telnet shell streaming 10 MB/s of output, without line ends and
// with lines, and (b) a web server answering the status page with a chunked
// reply that declares 1 GiB (streamed, never held here). For each: the
// largest gap between polls (each status-page request the router sees, and
// each poll's trace line), the program's peak resident memory (VmHWM) and
// how long a SIGTERM sent in the middle of the flood takes to end it.
//
//   build/bench/bench_hostile_router [flood seconds] [telnet MB/s]
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int listenLoopback(quint16 *port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(fd, 16) != 0)
        return -1;
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

// A connection accepted within 100 ms, or -1.
int acceptSoon(int listener)
{
    pollfd p{listener, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0)
        return -1;
    const int fd = ::accept(listener, nullptr, nullptr);
    if (fd >= 0) {
        timeval tv{0, 200000};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    return fd;
}

bool sendAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EAGAIN)
            return true; // the client is not keeping up: this piece is skipped
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// The router's web server: each request is a poll (stamped), answered with a
// small page or with the head of a 1 GiB chunk and as much of it as the
// program takes.
struct WebRouter {
    bool hostile = false;
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<double> polls;
    std::atomic<long long> bodyBytes{0};
    Clock::time_point start = Clock::now();
    quint16 port = 0;
    int listener = -1;
    std::thread acceptor;
    std::vector<std::thread> connections;

    void begin()
    {
        listener = listenLoopback(&port);
        acceptor = std::thread([this] {
            while (!stop) {
                const int fd = acceptSoon(listener);
                if (fd >= 0)
                    connections.emplace_back([this, fd] { serve(fd); });
            }
        });
    }
    void end()
    {
        stop = true;
        acceptor.join();
        for (std::thread &t : connections)
            t.join();
        ::close(listener);
    }
    void serve(int fd)
    {
        QByteArray head;
        char buf[4096];
        while (!stop && !head.contains("\r\n\r\n")) {
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN))
                break;
            if (n > 0)
                head.append(buf, n);
        }
        if (head.contains("\r\n\r\n")) {
            if (head.contains("stattbl.htm")) {
                std::lock_guard g(lock);
                polls.push_back(secondsSince(start));
            }
            if (!hostile) {
                const QByteArray page = "<html><body>ADSL line status</body></html>";
                sendAll(fd, "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: "
                                + QByteArray::number(page.size()) + "\r\n\r\n" + page,
                        size_t(page.size()) + 80);
            } else {
                const QByteArray start = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n40000000\r\n";
                bool open = sendAll(fd, start.constData(), size_t(start.size()));
                const QByteArray block(64 * 1024, 'a');
                for (long long sent = 0; open && !stop && sent < (1LL << 30); sent += block.size()) {
                    const ssize_t n = ::send(fd, block.constData(), size_t(block.size()), MSG_NOSIGNAL);
                    if (n < 0 && errno == EAGAIN)
                        continue;
                    open = n > 0;
                    bodyBytes += std::max<ssize_t>(n, 0);
                }
            }
        }
        ::close(fd);
    }
};

// The router's telnet shell: whoever connects gets the stream at the given
// rate until they go; what they send is read and ignored.
struct TelnetRouter {
    QByteArray line; // repeated for ever
    double bytesPerSecond = 10e6;
    std::atomic<bool> stop{false};
    std::atomic<long long> sent{0};
    std::atomic<int> connections{0};
    quint16 port = 0;
    int listener = -1;
    std::thread thread;
    std::mutex lock;
    std::vector<double> commands; // each poll's statistics command, stamped
    Clock::time_point start = Clock::now();

    void begin()
    {
        listener = listenLoopback(&port);
        thread = std::thread([this] {
            QByteArray piece;
            while (piece.size() < 100 * 1024)
                piece += line;
            while (!stop) {
                const int fd = acceptSoon(listener);
                if (fd < 0)
                    continue;
                ++connections;
                const Clock::time_point from = Clock::now();
                long long mine = 0;
                char buf[4096];
                QByteArray input;
                bool open = sendAll(fd, "login: ", 7);
                while (open && !stop) {
                    ssize_t got;
                    while ((got = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT)) > 0)
                        input.append(buf, got);
                    qsizetype at;
                    while ((at = input.indexOf("avsar_modem_stats")) >= 0) {
                        std::lock_guard g(lock);
                        commands.push_back(secondsSince(start));
                        input.remove(0, at + 17);
                    }
                    if (input.size() > 4096)
                        input = input.right(64);
                    const long long due = (long long)(secondsSince(from) * bytesPerSecond);
                    if (mine < due) {
                        const size_t n = size_t(std::min<long long>(piece.size(), due - mine));
                        open = sendAll(fd, piece.constData(), n);
                        mine += (long long)n;
                        sent += (long long)n;
                    } else {
                        QThread::usleep(2000);
                    }
                    char probe;
                    const ssize_t r = ::recv(fd, &probe, 1, MSG_DONTWAIT | MSG_PEEK);
                    if (r == 0)
                        open = false;
                }
                ::close(fd);
            }
        });
    }
    void end()
    {
        stop = true;
        thread.join();
        ::close(listener);
    }
};

struct Figures {
    int polls = 0;
    double gap = 0;
    int tracePolls = 0;
    double traceGap = 0;
    long peakKiB = -1;
    double termSeconds = -1;
    bool ended = false;
    long long streamed = 0;
    int telnetConnections = 0;
    int commands = 0;
    double commandGap = 0;
};

Figures runProgram(const QString &binDir, double floodSeconds, bool hostileWeb, TelnetRouter *telnet)
{
    Figures out;
    QTemporaryDir dir;
    WebRouter web;
    web.hostile = hostileWeb;
    web.begin();
    if (telnet) {
        telnet->start = web.start;
        telnet->begin();
    }

    const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    QFile settings(ini);
    settings.open(QIODevice::WriteOnly);
    settings.write(QStringLiteral("[Router]\nLogin=http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm\n"
                                  "LogOut=http://127.0.0.1:%1/setup.cgi?todo=logout\nUsername=admin\nV1234=1\n"
                                  "cbLogin=0\nTelnet=%2\n"
                                  "[Alarm]\nRebootURL=http://127.0.0.1:%1/setup.cgi?todo=reboot\n"
                                  "[Telnet]\nTelnetIP=127.0.0.1\nTelnetPort=%3\nLoginTelnet=1\nUseHttpDebug=0\n"
                                  "DGTeamTimeout=10\nV123=1\nAuto=0\n[Ping]\nPingHost=127.0.0.1\n"
                                  "[System]\nSystemMessages=1\nShowSystem=1\nSample=1\nConf=1\nAutoStart=1\n"
                                  "AutoStartDelay=1\nLogFile=%4/log.txt\n[Capture]\nFolder=%4\n")
                       .arg(web.port)
                       .arg(telnet ? 1 : 0)
                       .arg(telnet ? telnet->port : 23)
                       .arg(dir.path())
                       .toUtf8());
    settings.close();

    QProcess program;
    if (!startProgram(program, binDir, ini, trace)) {
        web.end();
        if (telnet)
            telnet->end();
        return out;
    }

    // Trace lines, stamped as they appear.
    FileFollower watch;
    watch.file.setFileName(trace);
    std::vector<std::pair<double, QByteArray>> traced;
    const auto check = [&] {
        for (const QByteArray &line : watch.newLines())
            traced.emplace_back(secondsSince(web.start), line);
    };
    const auto follow = [&](double until) {
        while (secondsSince(web.start) < until) {
            check();
            QThread::msleep(2);
        }
    };
    const auto polls = [&] {
        std::lock_guard g(web.lock);
        return web.polls;
    };
    // The flood runs from the first poll on (the telnet session connects with it).
    for (int i = 0; i < 3000 && polls().empty(); ++i)
        follow(secondsSince(web.start) + 0.01);
    const double from = secondsSince(web.start);
    follow(from + floodSeconds);
    const double to = secondsSince(web.start);
    out.peakKiB = residentKiBOf(program.processId(), "VmHWM:");

    QElapsedTimer term;
    term.start();
    ::kill(pid_t(program.processId()), SIGTERM);
    out.ended = program.waitForFinished(60000);
    out.termSeconds = term.nsecsElapsed() / 1e9;
    if (!out.ended) {
        program.kill();
        program.waitForFinished(5000);
    }
    check();

    const std::vector<double> seen = polls();
    out.polls = countIn(seen, from, to);
    out.gap = largestGap(seen, from, to);
    // Messages and status-bar changes: a poll that fails writes one or more, a quiet one none.
    std::vector<double> marks;
    for (const auto &[t, line] : traced)
        if (line.startsWith("status0: ") || line.startsWith("msg: "))
            marks.push_back(t);
    out.tracePolls = countIn(marks, from, to);
    out.traceGap = largestGap(marks, from, to);
    out.streamed = hostileWeb ? web.bodyBytes.load() : telnet ? telnet->sent.load() : 0;
    out.telnetConnections = telnet ? telnet->connections.load() : 0;
    if (telnet) {
        std::lock_guard g(telnet->lock);
        const std::vector<double> &stamps = telnet->commands;
        out.commands = countIn(stamps, from, to);
        out.commandGap = largestGap(stamps, from, to);
    }
    web.end();
    if (telnet)
        telnet->end();
    return out;
}

void print(const char *what, const Figures &f, const char *streamedWhat)
{
    std::printf("%s\n", what);
    std::printf("  polls seen by the router: %d, largest gap %.2f s (aim: at most 2 s, one Sample late)\n", f.polls,
                f.gap);
    std::printf("  trace lines (messages and status, one or more per poll while it fails): %d, largest gap %.2f s\n",
                f.tracePolls, f.traceGap);
    std::printf("  %s: %.1f MB\n", streamedWhat, f.streamed / 1e6);
    if (f.telnetConnections > 0)
        std::printf("  telnet connections: %d; statistics commands received: %d, largest gap %.2f s\n",
                    f.telnetConnections, f.commands, f.commandGap);
    std::printf("  peak resident memory (VmHWM): %.1f MiB (aim: under 200 MB)\n", f.peakKiB / 1024.0);
    std::printf("  SIGTERM in the flood: %s in %.2f s (aim: within 2 s)\n", f.ended ? "ended" : "NOT ended",
                f.termSeconds);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double floodSeconds = argc > 1 ? std::max(2.0, std::atof(argv[1])) : 20.0;
    const double rate = (argc > 2 ? std::max(0.1, std::atof(argv[2])) : 10.0) * 1e6;
    const QString binDir = QCoreApplication::applicationDirPath() + QStringLiteral("/..");

    std::printf("The program polling every second for %.0f s against a hostile router on loopback\n", floodSeconds);
    const QByteArray line = "Rx SNR tone table 0123456789 abcdefghijklmnopqrstuvwxyz 0123456789 abcdefghijk\r\n";
    const std::pair<const char *, QByteArray> shells[] = {
        {"(a) telnet shell streaming output without line ends", QByteArray(line.size(), 'x')},
        {"(a) telnet shell streaming lines", line},
        // Every few bytes a reply seems complete: the parsers run on the whole terminal.
        {"(a) telnet shell streaming prompts", "\r\n#"},
    };
    for (const auto &[what, stream] : shells) {
        TelnetRouter t;
        t.line = stream;
        t.bytesPerSecond = rate;
        print(what, runProgram(binDir, floodSeconds, false, &t), "streamed by the shell");
    }
    print("(b) status page answered with a chunked reply declaring 1 GiB", runProgram(binDir, floodSeconds, true, nullptr),
          "body bytes the program took");
    return 0;
}
