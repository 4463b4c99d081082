// Requests per second the built-in web server answers when N clients fetch a
// 50 KB image over kept-alive connections on loopback, beside nginx with one
// worker serving the same file when nginx is installed (the ratio is printed).
//
//   build/bench/bench_web [seconds per run] [clients...]
#include "HttpLoad.h"
#include "webserver/WebServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {

LoadResult timed(quint16 port, int clients, double seconds)
{
    std::atomic<bool> stop{false};
    std::thread timer([&] {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        stop = true;
    });
    const LoadResult r = httpload::run(port, "/image.png", clients, stop);
    timer.join();
    return r;
}

quint16 freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

double perSecond(const LoadResult &r) { return double(r.replies) / r.seconds; }

void print(const char *who, int clients, const LoadResult &r)
{
    std::printf("  %-10s %3d clients: %9.0f req/s  (%lld replies, %lld errors, %lld unanswered, %lld refused)\n", who,
                clients, perSecond(r), r.replies, r.errors, r.dropped, r.refused);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(0.5, std::atof(argv[1])) : 5.0;
    std::vector<int> clientCounts;
    for (int i = 2; i < argc; ++i)
        clientCounts.push_back(std::max(1, std::atoi(argv[i])));
    if (clientCounts.empty())
        clientCounts = {1, 4, 8};

    QTemporaryDir dir;
    QFile image(dir.filePath(QStringLiteral("image.png")));
    image.open(QIODevice::WriteOnly);
    QByteArray bytes(50 * 1024, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    image.write(bytes);
    image.close();
    QFile page(dir.filePath(QStringLiteral("page.htm")));
    page.open(QIODevice::WriteOnly);
    page.write("<html></html>");
    page.close();

    int most = 0;
    for (int n : clientCounts)
        most = std::max(most, n);
    WebServer server;
    WebServerSettings s;
    s.webPage = dir.filePath(QStringLiteral("page.htm"));
    server.setSettings(s);
    WebServerConfig cfg;
    cfg.address = QStringLiteral("127.0.0.1");
    cfg.port = 0;
    cfg.maxUsers = most + 2;
    cfg.perClientLimit = most + 2; // every client comes from 127.0.0.1 here
    QString error;
    if (!server.start(cfg, &error)) {
        std::fprintf(stderr, "the server did not start: %s\n", qPrintable(error));
        return 1;
    }

    // nginx with one worker, serving the same folder, where it is installed.
    const QString nginxPath = QStandardPaths::findExecutable(QStringLiteral("nginx"), {QStringLiteral("/usr/sbin"),
                                                                                     QStringLiteral("/usr/bin")});
    QProcess nginx;
    quint16 nginxPort = 0;
    if (!nginxPath.isEmpty()) {
        nginxPort = freePort();
        QFile conf(dir.filePath(QStringLiteral("nginx.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write(QStringLiteral("worker_processes 1;\nuser root;\ndaemon off;\npid %1/nginx.pid;\n"
                                  "error_log %1/nginx-error.log;\nevents { worker_connections 1024; }\n"
                                  "http { access_log off; sendfile on; tcp_nodelay on; keepalive_requests 10000000;\n"
                                  "  client_body_temp_path %1/tmp; proxy_temp_path %1/tmp; fastcgi_temp_path %1/tmp;\n"
                                  "  uwsgi_temp_path %1/tmp; scgi_temp_path %1/tmp;\n"
                                  "  server { listen 127.0.0.1:%2; root %1; } }\n")
                       .arg(dir.path())
                       .arg(nginxPort)
                       .toUtf8());
        conf.close();
        nginx.start(nginxPath, {QStringLiteral("-p"), dir.path(), QStringLiteral("-c"), conf.fileName()});
        bool up = nginx.waitForStarted(5000);
        for (int i = 0; up && i < 100; ++i) {
            const int fd = httpload::connectTo(nginxPort, nullptr);
            if (fd >= 0) {
                ::close(fd);
                break;
            }
            QThread::msleep(50);
        }
        if (!up || nginx.state() != QProcess::Running)
            nginxPort = 0;
    }

    std::printf("A 50 KB image over kept-alive connections on loopback, %.1f s a run\n", seconds);
    for (int n : clientCounts) {
        const LoadResult ours = timed(quint16(server.port()), n, seconds);
        print("Veltrano", n, ours);
        if (nginxPort) {
            const LoadResult theirs = timed(nginxPort, n, seconds);
            print("nginx (1)", n, theirs);
            std::printf("  ratio %.2f (aim at least 0.7)\n", perSecond(ours) / std::max(perSecond(theirs), 1.0));
        }
    }
    if (!nginxPort)
        std::printf("  nginx is not installed: no ratio\n");
    if (nginx.state() == QProcess::Running) {
        nginx.terminate();
        nginx.waitForFinished(5000);
    }
    server.stop();
    return 0;
}
