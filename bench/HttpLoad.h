#pragma once
// A small HTTP load generator for the benchmarks: connections that each ask
// for one target over and over on a kept-alive connection (opening a new one
// when the server closes it), connections that hold places and take nothing,
// and single requests as a browser makes them. Loopback only.
#include <QByteArray>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

struct LoadResult {
    long long replies = 0;  // complete 200 replies
    long long errors = 0;   // other statuses
    long long dropped = 0;  // connections closed with a request unanswered
    long long refused = 0;  // connections that could not be opened
    double seconds = 0;
};

namespace httpload {

inline int connectTo(quint16 port, const char *source, int receiveBuffer = 0)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    if (receiveBuffer > 0)
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    timeval tv{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    if (source) {
        sockaddr_in from{};
        from.sin_family = AF_INET;
        ::inet_pton(AF_INET, source, &from.sin_addr);
        ::bind(fd, reinterpret_cast<sockaddr *>(&from), sizeof from);
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// One reply: its status, or 0 when the connection ended first.
inline int readReply(int fd, std::string &buf)
{
    buf.clear();
    char chunk[65536];
    size_t headEnd = std::string::npos;
    long long length = 0;
    for (;;) {
        if (headEnd == std::string::npos) {
            headEnd = buf.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                const size_t at = buf.find("\r\nContent-Length:");
                const size_t at2 = at == std::string::npos ? buf.find("\r\ncontent-length:") : at;
                if (at2 != std::string::npos && at2 < headEnd)
                    length = std::atoll(buf.c_str() + at2 + 17);
            }
        }
        if (headEnd != std::string::npos && buf.size() >= headEnd + 4 + size_t(length))
            return std::atoi(buf.c_str() + 9);
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            return 0;
        buf.append(chunk, size_t(n));
    }
}

// Runs until stop is set; sources, when given, are the client addresses the
// connections take in turn.
inline LoadResult run(quint16 port, const QByteArray &target, int connections, const std::atomic<bool> &stop,
                      const std::vector<std::string> &sources = {})
{
    std::atomic<long long> replies{0}, errors{0}, dropped{0}, refused{0};
    const std::string request = "GET " + target.toStdString() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (int i = 0; i < connections; ++i)
        threads.emplace_back([&, i] {
            const char *source = sources.empty() ? nullptr : sources[size_t(i) % sources.size()].c_str();
            std::string buf;
            int fd = -1;
            while (!stop.load(std::memory_order_relaxed)) {
                if (fd < 0 && (fd = connectTo(port, source)) < 0) {
                    ++refused;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    continue;
                }
                if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size())) {
                    ::close(fd);
                    fd = -1;
                    ++dropped;
                    continue;
                }
                const int status = readReply(fd, buf);
                if (status == 200)
                    ++replies;
                else if (status == 0) {
                    ++dropped;
                    ::close(fd);
                    fd = -1;
                } else
                    ++errors;
            }
            if (fd >= 0)
                ::close(fd);
        });
    for (std::thread &t : threads)
        t.join();
    LoadResult r;
    r.replies = replies;
    r.errors = errors;
    r.dropped = dropped;
    r.refused = refused;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return r;
}

// Connections that hold places and take (almost) nothing: each sends its
// requests at once, then reads nothing, or readPerSecond bytes a second. One
// the server closes is opened again at once; each is also opened afresh
// after renewSeconds, as an attacker does who cannot see every close (a
// close waits behind the unread reply). Runs until stop is set; the
// connections take the sources in turn.
inline void stall(quint16 port, const QByteArray &requests, int connections, int readPerSecond, double renewSeconds,
                  const std::atomic<bool> &stop, const std::vector<std::string> &sources)
{
    struct Slot {
        int fd = -1;
        std::chrono::steady_clock::time_point opened;
    };
    std::vector<Slot> held(static_cast<size_t>(connections));
    const auto tick = std::chrono::milliseconds(50);
    std::vector<char> sink(size_t(std::max(1, readPerSecond / 20)));
    while (!stop.load(std::memory_order_relaxed)) {
        const auto now = std::chrono::steady_clock::now();
        for (size_t i = 0; i < held.size(); ++i) {
            Slot &slot = held[i];
            if (slot.fd >= 0) {
                pollfd p{slot.fd, POLLRDHUP, 0};
                const bool closed = ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR));
                if (closed || std::chrono::duration<double>(now - slot.opened).count() >= renewSeconds) {
                    ::close(slot.fd);
                    slot.fd = -1;
                }
            }
            if (slot.fd < 0) {
                slot.fd = connectTo(port, sources[i % sources.size()].c_str(), 4096);
                slot.opened = now;
                if (slot.fd >= 0)
                    ::send(slot.fd, requests.constData(), size_t(requests.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            }
            if (slot.fd >= 0 && readPerSecond > 0)
                ::recv(slot.fd, sink.data(), sink.size(), MSG_DONTWAIT);
        }
        std::this_thread::sleep_for(tick);
    }
    for (Slot &slot : held)
        if (slot.fd >= 0)
            ::close(slot.fd);
}

// One request on a new connection, as a browser makes it: true when the
// whole reply came, with 200, within the connection's read time-out.
inline bool fetchOnce(quint16 port, const char *source, const QByteArray &target)
{
    const int fd = connectTo(port, source);
    if (fd < 0)
        return false;
    const std::string request = "GET " + target.toStdString() + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    std::string buf;
    const bool ok = ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())
                    && readReply(fd, buf) == 200;
    ::close(fd);
    return ok;
}

} // namespace httpload
