#include "acquisition/PingRunner.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <cmath>

namespace {

// iputils options a user may add. Count and deadline are ours (-c, -w); flood
// (-f) and anything not listed are refused.
const QString kPlainOptions = QStringLiteral("46AaBDdLnOqRrUv");
const QString kValueOptions = QStringLiteral("IilMmpQSstTW");

bool safeValue(const QString &word)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9._:%]{1,64}$"));
    return re.match(word).hasMatch();
}

} // namespace

PingRunner::PingRunner(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!m_process)
            return;
        m_killed = true;
        m_process->kill();
    });
}

PingRunner::~PingRunner()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
        delete m_process;
    }
}

bool PingRunner::validHost(const QString &host)
{
    if (host.isEmpty() || host.size() > 253)
        return false;
    QHostAddress address;
    if (host.contains(QLatin1Char(':')))
        return address.setAddress(host) && address.protocol() == QAbstractSocket::IPv6Protocol;
    static const QRegularExpression label(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    const QStringList labels = host.split(QLatin1Char('.'));
    for (const QString &l : labels) {
        if (!label.match(l).hasMatch())
            return false;
    }
    // All-digit dotted names must be a real IPv4 literal (no "999.1.1.1" or "1.2.3").
    static const QRegularExpression numeric(QStringLiteral("^[0-9.]+$"));
    if (numeric.match(host).hasMatch())
        return labels.size() == 4 && address.setAddress(host) && address.protocol() == QAbstractSocket::IPv4Protocol;
    return true;
}

std::optional<QStringList> PingRunner::safeOptions(const QString &text)
{
    const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.size() > 16)
        return std::nullopt;
    for (int i = 0; i < words.size(); ++i) {
        const QString &w = words[i];
        if (w.size() < 2 || w[0] != QLatin1Char('-') || w.size() > 64)
            return std::nullopt;
        // A cluster of plain options ("-nq"), or one value option with its
        // value attached ("-s56") or in the next word ("-s 56").
        for (int k = 1; k < w.size(); ++k) {
            const QChar c = w[k];
            if (kPlainOptions.contains(c))
                continue;
            if (!kValueOptions.contains(c))
                return std::nullopt;
            const QString attached = w.mid(k + 1);
            if (!attached.isEmpty()) {
                if (!safeValue(attached))
                    return std::nullopt;
            } else {
                if (i + 1 >= words.size() || !safeValue(words[i + 1]))
                    return std::nullopt;
                ++i;
            }
            break;
        }
    }
    return words;
}

QStringList PingRunner::arguments(int count, const QStringList &options, const QString &host)
{
    QStringList args{QStringLiteral("-n"), QStringLiteral("-c"), QString::number(count), QStringLiteral("-w"),
                     QString::number(deadlineSeconds(count))};
    args += options;
    args += host;
    return args;
}

PingResult PingRunner::parseOutput(const QStringList &lines)
{
    PingResult r;
    r.output = lines;
    static const QRegularExpression rtt(
        QStringLiteral("(?:rtt|round-trip) min/avg/max(?:/mdev)? = ([0-9.]+)/([0-9.]+)/"));
    static const QRegularExpression loss(QStringLiteral("(^|[^0-9.])100(\\.0+)?% packet loss"));
    for (const QString &line : lines) {
        const QRegularExpressionMatch m = rtt.match(line);
        if (m.hasMatch()) {
            bool ok = false;
            const double v = m.captured(2).toDouble(&ok);
            if (ok && std::isfinite(v)) {
                r.replied = true;
                r.value = v;
            }
        }
        if (loss.match(line).hasMatch())
            r.totalLoss = true;
    }
    if (r.totalLoss) {
        r.replied = false;
        r.value = 1000;
    }
    r.PingMs = int(std::lround(std::min(r.value, 1e9)));
    return r;
}

bool PingRunner::PingNow(const TSettings &settings)
{
    if (m_process)
        return false;
    emit outputCleared();
    const QString host = settings.Ping.PingHost.trimmed();
    m_host = host;
    m_alarmOn = settings.Ping.PingAlarm && settings.Ping.Ping && settings.Ping.ShowPing;
    m_alarmTimes = settings.Ping.PingTimes;
    if (!validHost(host)) {
        const QString text =
            host.isEmpty() ? QStringLiteral("Ping host not set: nothing is pinged.")
                           : QStringLiteral("Ping host refused (letters, digits, dots and hyphens or an IP address): ") + host;
        if (m_refusedSaid != host)
            emit systemMessage(text);
        m_refusedSaid = host;
        PingResult r;
        r.host = host;
        r.refused = true;
        r.output = QStringList{text};
        // A setting error is not a line failure: no count, no alarm with that text,
        // and no time to log.
        m_pingMs.reset();
        emit finished(r);
        return false;
    }
    m_refusedSaid.reset();
    QStringList options;
    if (const std::optional<QStringList> extra = safeOptions(settings.Ping.OtherPingParams)) {
        options = *extra;
        m_optionsSaid.reset();
    } else if (m_optionsSaid != settings.Ping.OtherPingParams) {
        m_optionsSaid = settings.Ping.OtherPingParams;
        emit systemMessage(QStringLiteral("Ping options ignored (not plain ping options): ") +
                           settings.Ping.OtherPingParams);
    }
    const int count = std::clamp(settings.Ping.PingNum, 1, 3);

    m_killed = false;
    m_buffer.clear();
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // the texts we look for are the C locale's
    m_process->setProcessEnvironment(env);
    // Read as it comes so a long output never fills the pipe.
    connect(m_process, &QProcess::readyRead, this, [this] { m_buffer += m_process->readAll(); });
    connect(m_process, &QProcess::finished, this, &PingRunner::onFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            onFinished();
    });
    m_timer.start(m_hardTimeoutMs >= 0 ? m_hardTimeoutMs : (deadlineSeconds(count) + 3) * 1000);
    m_process->start(m_program, arguments(count, options, host));
    return true;
}

void PingRunner::onFinished()
{
    if (!m_process)
        return;
    m_timer.stop();
    QProcess *p = m_process;
    m_process = nullptr;
    p->disconnect(this);
    m_buffer += p->readAll();
    const bool failedToStart = p->error() == QProcess::FailedToStart;
    const QString startError = p->errorString();
    p->deleteLater();

    QStringList lines = QString::fromLocal8Bit(m_buffer).split(QLatin1Char('\n'));
    for (QString &l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (failedToStart)
        lines << QStringLiteral("ping could not be started: ") + startError;
    PingResult r = parseOutput(lines);
    r.host = m_host;
    if (m_killed) {
        r.killed = true;
        r.replied = false;
        r.value = 1000;
        r.PingMs = 1000;
        r.output << QStringLiteral("ping did not end in time and was stopped");
    }
    finish(r);
}

void PingRunner::finish(PingResult result)
{
    m_pingMs = result.PingMs;
    // Only a ping that ran and saw every request lost says the line is down. A ping that
    // could not run (no program, no permission, unknown host) or that we had to stop
    // says nothing about the line: it is reported and leaves the count as it was.
    if (result.replied || (result.totalLoss && !result.killed)) {
        countLoss(result.totalLoss, m_alarmOn, m_alarmTimes, result.host);
    } else {
        const QString why = result.output.isEmpty() ? QStringLiteral("no output") : result.output.constLast();
        emit systemMessage(QStringLiteral("Ping of ") + result.host + QStringLiteral(" gave no result: ") + why);
    }
    emit finished(result);
}

void PingRunner::countLoss(bool lost, bool alarmOn, int times, const QString &host)
{
    if (!alarmOn) {
        m_failCount = 0;
        return;
    }
    m_failCount = lost ? m_failCount + 1 : 0;
    if (m_failCount >= times) {
        m_failCount = 0;
        emit alarmTriggered(alarmText(host));
    }
}
