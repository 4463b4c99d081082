#pragma once
// A small HTTP load generator for the benchmarks: connections that each ask
// for one target over and over on a kept-alive connection, opening a new one
// when the server closes it. Loopback only.
#include <QByteArray>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
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

inline int connectTo(quint16 port, const char *source)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
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

} // namespace httpload
