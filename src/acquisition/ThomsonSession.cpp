#include "acquisition/ThomsonSession.h"

#include "common/RouterAddress.h"

ThomsonSession::ThomsonSession(TSettings &settings, TelnetFigures &figures, QObject *parent)
    : QObject(parent), m_settings(settings), m_figures(figures)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] { deliver(false); });
    connect(&m_client, &TelnetClient::dataReceived, this, &ThomsonSession::onData);
    connect(&m_client, &TelnetClient::dropped, this,
            [this](const QString &why) { emit systemMessage(QStringLiteral("ST585 ") + why); });
    connect(&m_client, &TelnetClient::connected, this, [this] {
        if (auto next = std::exchange(m_onConnect, nullptr))
            next();
    });
    connect(&m_client, &TelnetClient::connectFailed, this, [this](const QString &why) {
        if (!m_onConnect)
            return;
        m_onConnect = nullptr;
        if (!m_settings.System.SuppressErrors)
            emit systemMessage(why + QStringLiteral("  ST585 Telnet Error"));
        if (auto next = std::exchange(m_next, nullptr))
            next(QString(), false);
    });
    connect(&m_client, &TelnetClient::disconnected, this, [this] {
        setUp(false);
        // A wait in progress ends with what has come.
        if (m_expect != Expect::None)
            deliver(false);
    });
}

ThomsonSession::~ThomsonSession()
{
    m_client.disconnect(this);
}

void ThomsonSession::setUp(bool up)
{
    if (m_up == up)
        return;
    m_up = up;
    emit sessionChanged(up);
}

// ---- waits --------------------------------------------------------------------------

void ThomsonSession::expect(Expect kind, const QString &text, Reply next)
{
    m_expect = kind;
    m_expectText = text;
    m_next = std::move(next);
    m_timeout.start(m_timeoutMs);
    // What came already may answer at once; the answer runs from the event
    // loop. A connection that is gone ends the wait there and then.
    QTimer::singleShot(0, this, [this, generation = m_generation] {
        if (generation != m_generation)
            return;
        onData(QString());
        if (m_expect != Expect::None && !m_client.isConnected())
            deliver(false);
    });
}

void ThomsonSession::onData(const QString &text)
{
    if (text.size() > kMaxBufferChars - m_buffer.size()) {
        // The wait under way ends with what came, as when the router closes.
        m_client.drop(QStringLiteral("Session dropped: more than %1 characters without the awaited reply.")
                          .arg(kMaxBufferChars));
        return;
    }
    m_buffer += text;
    if (m_expect == Expect::None)
        return;
    const qsizetype at = m_buffer.indexOf(m_expectText);
    if (at < 0)
        return;
    QString got;
    if (m_expect == Expect::Contains) {
        got = m_buffer.left(at + m_expectText.size());
        m_buffer.remove(0, at + m_expectText.size());
    } else {
        got = m_buffer.left(at);
        m_buffer.remove(0, at + m_expectText.size());
    }
    m_timeout.stop();
    m_expect = Expect::None;
    if (auto next = std::exchange(m_next, nullptr))
        next(got, true);
}

void ThomsonSession::deliver(bool ok)
{
    m_timeout.stop();
    m_expect = Expect::None;
    // A wait that ran out gives what arrived.
    const QString got = std::exchange(m_buffer, QString());
    if (auto next = std::exchange(m_next, nullptr))
        next(got, ok);
}

void ThomsonSession::send(const QString &text)
{
    m_client.send(text.toLatin1());
}

// ---- log-in -------------------------------------------------------------------------

void ThomsonSession::login(std::function<void()> next)
{
    m_buffer.clear();
    const QString host = GetMainIPAddress(m_settings.Router.Login);
    bool ok = false;
    const int port = m_settings._585Telnet.TelnetPort.trimmed().toInt(&ok);
    m_onConnect = [this, next] {
        emit systemMessage(QStringLiteral("ST585 Logging into telnet..."));
        expect(Expect::Line, QStringLiteral("\r\n"),
               [this, next](const QString &first, bool) { afterFirstLine(first, next); });
    };
    // A failed connect ends the log-in through this wait's continuation.
    m_next = [next](const QString &, bool) { next(); };
    m_client.connectToHost(host, quint16(ok && port > 0 && port < 65536 ? port : 23), m_timeoutMs);
}

void ThomsonSession::afterFirstLine(const QString &first, std::function<void()> next)
{
    if (first.contains(QLatin1String("ession"))) {
        // The router's only session is taken: nothing is sent.
        if (!m_settings.System.SuppressErrors)
            emit systemMessage(first + QStringLiteral(" ** ST585 Telnet Login Error (session in use)**"));
        m_client.disconnectFromHost();
        next();
        return;
    }
    // The router asks "Username :"; "name:" is accepted as well.
    const auto whenAsked = [this](const QString &word, std::function<void()> then) {
        if (!waitsForRequests()) {
            then();
            return;
        }
        expect(Expect::Contains, word, [then](const QString &, bool) { then(); });
    };
    const auto passwordStep = [this, whenAsked, next] {
        whenAsked(QStringLiteral("word"), [this, next] {
            send(m_settings.Router.Password + QStringLiteral("\r\n"));
            expect(Expect::Line, QStringLiteral("\r\n"), [this, next](const QString &line, bool) {
                emit systemMessage(line);
                expect(Expect::Until, QStringLiteral(">"), [this, next](const QString &, bool prompt) {
                    setUp(prompt && m_client.isConnected());
                    if (!m_up) {
                        emit systemMessage(QStringLiteral("ST585 Telnet log-in failed: no prompt."));
                        m_client.disconnectFromHost();
                        next();
                        return;
                    }
                    const auto loggedIn = [this, next] {
                        emit systemMessage(QStringLiteral("ST585 Logged in - telnet."));
                        next();
                    };
                    if (m_timeoutSent) {
                        loggedIn();
                        return;
                    }
                    m_timeoutSent = true;
                    send(QStringLiteral("env set var=SESSIONTIMEOUT value=0\r\n"));
                    expect(Expect::Until, QStringLiteral(">"), [this, loggedIn](const QString &reply, bool) {
                        emit memo5Text(reply);
                        loggedIn();
                    });
                });
            });
        });
    };
    whenAsked(QStringLiteral("name"), [this, passwordStep] {
        send(m_settings.Router.Username + QStringLiteral("\r\n"));
        expect(Expect::Line, QStringLiteral("\r\n"), [this, passwordStep](const QString &line, bool) {
            emit systemMessage(line);
            passwordStep();
        });
    });
}

// ---- refresh ------------------------------------------------------------------------

bool ThomsonSession::ThomsonBitloading()
{
    if (m_busy)
        return false;
    m_busy = true;
    const quint64 generation = ++m_generation;
    ++m_refreshCount;
    const double twoHours = 60.0 / std::max(m_settings._585Telnet.BitsEvery, 1) * 120;
    const auto start = [this, generation] {
        if (generation != m_generation)
            return;
        if (m_up) {
            commands();
            return;
        }
        login([this, generation] {
            if (generation != m_generation)
                return;
            if (m_up)
                commands();
            else
                finish();
        });
    };
    if (m_refreshCount > twoHours) {
        m_refreshCount = 0;
        setUp(false);
        m_client.disconnectFromHost();
        emit systemMessage(QStringLiteral("ST585 : Refresh telnet - Logout."));
        QTimer::singleShot(kReloginPauseMs, this, start);
    } else {
        start();
    }
    return true;
}

void ThomsonSession::commands()
{
    const quint64 generation = m_generation;
    // The statistics of this refresh decide the upstream band of the next one.
    const int upTones = m_settings._585Telnet.AnnexM585 ? 64 : 32;
    m_buffer.clear();
    send(QStringLiteral("adsl debug bitloadinginfo\r\n"));
    expect(Expect::Until, QStringLiteral(">"), [this, generation, upTones](const QString &table, bool tableOk) {
        if (generation != m_generation)
            return;
        m_bitText = QStringLiteral("adsl debug bitloadinginfo\r\n") + table;
        emit bitTableText(m_bitText);
        m_buffer.clear();
        send(QStringLiteral("adsl info expand=enabled\r\n"));
        expect(Expect::Until, QStringLiteral(">"), [this, generation, tableOk, upTones](const QString &stats,
                                                                                        bool statsOk) {
            if (generation != m_generation)
                return;
            emit memo5Text(stats);
            ThomsonRefresh r;
            r.upTones = upTones;
            // Only a table that reached the prompt is stored: a cut reply
            // would read as a burst of bitswaps.
            const auto bits = tableOk ? thomson::bitTable(m_bitText) : std::nullopt;
            if (bits) {
                r.tablesRead = true;
                r.swapTotal = thomson::applyBitTable(*bits, m_figures, m_refreshCount >= 2);
            }
            r.statistics = thomson::statistics(statsOk ? stats : QString());
            if (statsOk)
                m_settings._585Telnet.AnnexM585 = r.statistics.annexM;
            m_busy = false;
            if (r.tablesRead)
                emit refreshed(r);
            else
                emit refreshFailed();
        });
    });
}

void ThomsonSession::finish()
{
    m_busy = false;
    emit refreshFailed();
}

// ---- lines, close -------------------------------------------------------------------

bool ThomsonSession::sendLine(const QString &line, std::function<void(const QString &)> done)
{
    if (m_busy)
        return false;
    m_busy = true;
    const quint64 generation = ++m_generation;
    const auto exchange = [this, line, done, generation] {
        if (generation != m_generation)
            return;
        if (!m_up) {
            m_busy = false;
            if (done)
                done(QString());
            return;
        }
        m_buffer.clear();
        send(line + QStringLiteral("\r\n"));
        // The prompt after a command is "{" + user + "}=>".
        expect(Expect::Until, QStringLiteral("}=>"), [this, done](const QString &reply, bool) {
            m_busy = false;
            if (done)
                done(reply);
        });
    };
    if (m_up)
        exchange();
    else
        login(exchange);
    return true;
}

void ThomsonSession::closeSession(bool restore, std::function<void(const QString &)> done)
{
    // Whatever was under way ends here.
    ++m_generation;
    m_timeout.stop();
    m_expect = Expect::None;
    m_next = nullptr;
    m_onConnect = nullptr;
    m_busy = true;
    const auto close = [this, done](const QString &reply) {
        logout();
        if (done)
            done(reply);
    };
    if (!(m_up && restore && m_client.isConnected())) {
        close(QString());
        return;
    }
    m_buffer.clear();
    send(QStringLiteral("env set var=SESSIONTIMEOUT value=120\r\n"));
    expect(Expect::Until, QStringLiteral(">"), [close](const QString &reply, bool) { close(reply); });
}

void ThomsonSession::logout()
{
    ++m_generation;
    m_timeout.stop();
    m_expect = Expect::None;
    m_next = nullptr;
    m_onConnect = nullptr;
    m_busy = false;
    setUp(false);
    m_client.disconnectFromHost();
}
