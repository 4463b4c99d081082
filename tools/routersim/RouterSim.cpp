#include "RouterSim.h"

#include "CommandInterpreter.h"
#include "ControlServer.h"
#include "HttpServer.h"
#include "Scenario.h"
#include "TelnetServer.h"

#include <QSaveFile>

namespace routersim {

RouterSim::RouterSim(QObject *parent)
    : QObject(parent), m_handler(m_state, m_auth, m_failures),
      m_interpreter(std::make_unique<CommandInterpreter>(*this))
{
    // The debug page turns telnet on; with access "debug" the daemon then listens.
    m_handler.setTelnetEnabledHook([this] { applyListening(); });
    m_driftTimer.setInterval(1000);
    connect(&m_driftTimer, &QTimer::timeout, this, [this] {
        if (m_drift)
            m_drift->advance(m_state);
    });
}

RouterSim::~RouterSim()
{
    stop();
}

bool RouterSim::parseBindAddress(const QString &text, QHostAddress *address, QString *error)
{
    QHostAddress a;
    const bool parsed = a.setAddress(text.trimmed());
    bool isV4 = false;
    const quint32 v4 = parsed ? a.toIPv4Address(&isV4) : 0;
    if (!parsed || !isV4 || a.protocol() != QAbstractSocket::IPv4Protocol || (v4 >> 8) != 0x7f0000u
        || (v4 & 0xffu) == 0 || (v4 & 0xffu) == 255) {
        if (error)
            *error = QString("refusing to bind %1: only 127.0.0.1 to 127.0.0.254 are allowed").arg(text);
        return false;
    }
    if (address)
        *address = a;
    return true;
}

bool RouterSim::start(const RouterSimOptions &options, QString *error)
{
    stop();
    const auto failed = [this, error](const QString &why) {
        if (error)
            *error = why;
        stop();
        return false;
    };

    QString why;
    if (!parseBindAddress(options.bind, &m_address, &why))
        return failed(why);
    const auto profile = Profile::fromName(options.profile);
    if (!profile)
        return failed(QString("unknown profile '%1' (v1234, v5, st585, other)").arg(options.profile));
    m_handler.setProfile(*profile);

    AuthMode mode = Profile::defaultNeedsLogin(*profile) ? AuthMode::Required : AuthMode::None;
    if (options.auth) {
        const auto parsed = AuthPolicy::parseMode(*options.auth);
        if (!parsed)
            return failed(QString("unknown auth mode '%1' (required, none, any)").arg(*options.auth));
        mode = *parsed;
    }
    m_auth.set(mode, options.user.value_or(Profile::defaultUser(*profile)),
               options.password.value_or(Profile::defaultPassword(*profile)));

    m_telnet = TelnetBehaviour();
    m_telnet.family = TelnetBehaviour::familyFor(*profile);
    if (options.telnetFamily) {
        const auto family = TelnetBehaviour::familyFromName(*options.telnetFamily);
        if (!family)
            return failed(QString("unknown telnet family '%1' (ar7, adslctl, adslinfo, st585)").arg(*options.telnetFamily));
        m_telnet.family = *family;
    }
    if (options.telnetLogin) {
        const auto login = TelnetBehaviour::loginFromName(*options.telnetLogin);
        if (!login)
            return failed(QString("unknown telnet login '%1' (none, password, user)").arg(*options.telnetLogin));
        m_telnet.login = *login;
    }
    m_telnet.user = m_auth.user();
    m_telnet.password = m_auth.password();
    m_state.setTelnetEnabled(false);

    if (!options.journalFile.isEmpty() && !m_journal.openFile(options.journalFile, &why))
        return failed(why);

    // The scenario is checked whole and applied before the first request
    // can come in.
    if (!options.scenarioFile.isEmpty()) {
        QList<Scenario::Line> lines;
        if (!Scenario::load(options.scenarioFile, &lines, &why))
            return failed(why);
        for (const Scenario::Line &l : lines) {
            const QStringList reply = execute(l.command);
            if (!reply.isEmpty() && reply.first().startsWith("error"))
                return failed(QString("scenario %1, line %2: %3").arg(options.scenarioFile).arg(l.number)
                                  .arg(reply.first()));
        }
    }

    m_http = std::make_unique<HttpServer>(m_handler, m_journal);
    if (!m_http->listen(m_address, options.httpPort, &why))
        return failed(why);
    if (options.telnet) {
        m_telnetServer = std::make_unique<TelnetServer>(m_telnet, m_state, m_journal);
        connect(m_telnetServer.get(), &TelnetServer::accessChanged, this, &RouterSim::applyListening);
        if (!m_telnetServer->listen(m_address, options.telnetPort, &why))
            return failed(why);
    }
    applyListening();
    if (options.control) {
        m_control = std::make_unique<ControlServer>([this](const QString &line) { return execute(line); });
        if (!m_control->listen(m_address, options.controlPort, &why))
            return failed(why);
    }
    if (!options.readyFile.isEmpty() && !writeReadyFile(options.readyFile, &why))
        return failed(why);
    return true;
}

void RouterSim::stop()
{
    for (const QPointer<QTimer> &t : std::as_const(m_timers))
        delete t.data();
    m_timers.clear();
    setDrift(std::nullopt);
    if (m_control)
        m_control->close();
    if (m_http)
        m_http->close();
    if (m_telnetServer)
        m_telnetServer->close();
    m_control.reset();
    m_http.reset();
    m_telnetServer.reset();
    m_journal.closeFile();
}

bool RouterSim::isRunning() const
{
    return m_http != nullptr;
}

quint16 RouterSim::httpPort() const
{
    return m_http ? m_http->port() : 0;
}

quint16 RouterSim::controlPort() const
{
    return m_control ? m_control->port() : 0;
}

quint16 RouterSim::telnetPort() const
{
    return m_telnetServer ? m_telnetServer->port() : 0;
}

int RouterSim::telnetSessions() const
{
    return m_telnetServer ? m_telnetServer->sessionCount() : 0;
}

void RouterSim::dropTelnetSessions()
{
    if (m_telnetServer)
        m_telnetServer->dropAll();
}

int RouterSim::openHttpConnections() const
{
    return m_http ? m_http->connectionCount() : 0;
}

void RouterSim::setHttpIdleTimeout(int ms)
{
    if (m_http)
        m_http->setIdleTimeout(ms);
}

QStringList RouterSim::execute(const QString &line)
{
    const QStringList reply = m_interpreter->execute(line);
    applyListening();
    return reply;
}

void RouterSim::applyListening()
{
    QString why;
    if (m_http && !m_http->setAccepting(!m_failures.isDown(), &why))
        qWarning("routersim: %s", qPrintable(why));
    const bool telnetOn = !m_telnet.isDown()
                          && (m_telnet.access == TelnetAccess::Always || m_state.telnetEnabled());
    if (m_telnetServer && !m_telnetServer->setAccepting(telnetOn, &why))
        qWarning("routersim: %s", qPrintable(why));
}

void RouterSim::schedule(qint64 ms, const QString &command)
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer, command] {
        const QStringList reply = execute(command);
        if (!reply.isEmpty() && reply.first().startsWith("error"))
            qWarning("routersim: timed step '%s': %s", qPrintable(command), qPrintable(reply.first()));
        m_timers.removeAll(timer);
        timer->deleteLater();
    });
    m_timers.append(timer);
    timer->start(static_cast<int>(ms));
}

void RouterSim::setDrift(std::optional<quint32> seed)
{
    m_driftTimer.stop();
    m_drift.reset();
    if (!seed)
        return;
    m_drift = std::make_unique<LineDrift>(*seed, m_state);
    m_driftTimer.start();
}

QString RouterSim::driftStatus() const
{
    return m_drift ? m_drift->describe() : QStringLiteral("off");
}

void RouterSim::requestQuit()
{
    QMetaObject::invokeMethod(this, &RouterSim::quitRequested, Qt::QueuedConnection);
}

bool RouterSim::writeReadyFile(const QString &path, QString *error) const
{
    // Written whole and renamed into place, so a script polling for the
    // file never reads half of it.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = QString("cannot write ready file %1: %2").arg(path, f.errorString());
        return false;
    }
    QByteArray text = "http=" + QByteArray::number(httpPort()) + '\n';
    if (m_control)
        text += "control=" + QByteArray::number(controlPort()) + '\n';
    if (m_telnetServer)
        text += "telnet=" + QByteArray::number(telnetPort()) + '\n';
    f.write(text);
    if (!f.commit()) {
        if (error)
            *error = QString("cannot write ready file %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

} // namespace routersim
