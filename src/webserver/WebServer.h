#pragma once
// The built-in HTTP server: libmicrohttpd with one thread per connection. The
// request handler runs on those threads; it reads the web settings from a copy
// that the window thread keeps current (setSettings), counts itself in
// WebServing and hands its access-log lines over as a signal, which reaches
// receivers on other threads queued.
#include "webserver/WebServerSettings.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

struct MHD_Daemon;

struct WebServerConfig {
    QString address;                // empty: the machine's own address
    int port = 81;                  // 0: any free port
    int maxUsers = 10;              // simultaneous connections; at least 1
    int connectionTimeoutSecs = 30; // an idle connection is closed after this
    int stopWaitMs = 2000;          // stop() waits no longer than this
};

class WebServer : public QObject {
    Q_OBJECT
public:
    explicit WebServer(QObject *parent = nullptr);
    ~WebServer() override;

    // Binds and starts listening; on failure *error says why and the server
    // stays stopped. Starting a running server changes nothing.
    bool start(const WebServerConfig &config, QString *error);

    // Stops listening and closes every connection. Returns within about
    // stopWaitMs; false when the shut-down had to be left to finish on its own.
    bool stop();

    bool isActive() const { return m_daemon != nullptr; }
    // The bound address and port while active.
    QString address() const { return m_address; }
    int port() const { return m_port; }

    // Thread-safe: the handler's next request sees the new values.
    void setSettings(const WebServerSettings &settings);
    WebServerSettings settings() const;

    // The machine's own IPv4 addresses, loopback excluded.
    static QStringList localAddresses();

signals:
    // Emitted on a connection thread.
    void accessLogged(const QString &line);
    // A failure of the server itself while serving (reported as "Web Server Error.").
    void serverError(const QString &detail);

private:
    friend struct WebServerDetail; // the libmicrohttpd callbacks
    struct Shared;
    struct DaemonContext;
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<DaemonContext> m_context;
    MHD_Daemon *m_daemon = nullptr;
    QString m_address;
    int m_port = 0;
    int m_stopWaitMs = 2000;
};
