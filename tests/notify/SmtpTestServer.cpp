#include "SmtpTestServer.h"

#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <algorithm>

namespace {

QString scriptPath()
{
    return QDir::cleanPath(qEnvironmentVariable("VELTRANO_TEST_DATA") + QStringLiteral("/../support/smtp_test_server.py"));
}

// aiosmtpd comes with the system's Python; a Python of the user's own may lack it.
QStringList pythonCandidates()
{
    QStringList c;
    const QString env = qEnvironmentVariable("VELTRANO_PYTHON");
    if (!env.isEmpty())
        c << env;
    c << QStringLiteral("/usr/bin/python3");
    const QString found = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (!found.isEmpty())
        c << found;
    c.removeDuplicates();
    return c;
}

} // namespace

SmtpTestServer::SmtpTestServer(Config config) : m_config(std::move(config)) {}

SmtpTestServer::~SmtpTestServer()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool SmtpTestServer::start(QString *why)
{
    QString reasons;
    for (const QString &python : pythonCandidates()) {
        if (!QFileInfo(python).isExecutable())
            continue;
        bool tryNext = false;
        QString r;
        if (startWith(python, &r, &tryNext))
            return true;
        reasons += python + QStringLiteral(": ") + r + QLatin1Char('\n');
        if (!tryNext)
            break;
    }
    *why = reasons.isEmpty() ? QStringLiteral("no python3 found") : reasons;
    return false;
}

bool SmtpTestServer::startWith(const QString &python, QString *why, bool *tryNext)
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{scriptPath(), QStringLiteral("--dir"), m_dir.path(), QStringLiteral("--user"), m_config.user,
                     QStringLiteral("--password"), m_config.password, QStringLiteral("--tls"), m_config.tls};
    if (m_config.authRequired)
        args << QStringLiteral("--auth-required");
    m_process->start(python, args);
    if (!m_process->waitForStarted(10000)) {
        *why = m_process->errorString();
        *tryNext = true;
        return false;
    }
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 30000) {
        if (m_process->canReadLine() || m_process->waitForReadyRead(200)) {
            while (m_process->canReadLine()) {
                const QByteArray line = m_process->readLine().trimmed();
                if (line.startsWith("READY ")) {
                    for (const QByteArray &field : line.mid(6).split(' ')) {
                        if (field.startsWith("port="))
                            m_port = field.mid(5).toInt();
                        else if (field.startsWith("cert="))
                            m_certFile = QString::fromLocal8Bit(field.mid(5));
                    }
                    return m_port > 0;
                }
                out += line + '\n';
            }
        }
        if (m_process->state() == QProcess::NotRunning)
            break;
    }
    m_process->waitForFinished(1000);
    *why = QString::fromLocal8Bit(out + m_process->readAllStandardOutput() + m_process->readAllStandardError());
    *tryNext = out.startsWith("NOAIOSMTPD");
    m_process->kill();
    m_process->waitForFinished(5000);
    return false;
}

QList<QJsonObject> SmtpTestServer::messages() const
{
    QList<std::pair<int, QJsonObject>> found;
    for (const QFileInfo &fi : QDir(m_dir.path()).entryInfoList({QStringLiteral("*.json")}, QDir::Files)) {
        const QJsonDocument doc = QJsonDocument::fromJson(testsupport::readAll(fi.filePath()));
        found.append({fi.completeBaseName().toInt(), doc.object()});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QJsonObject> out;
    for (const auto &f : found)
        out << f.second;
    return out;
}

QByteArray SmtpTestServer::raw(int index) const
{
    return testsupport::readAll(QDir(m_dir.path()).filePath(QString::number(index + 1) + QStringLiteral(".eml")));
}

QByteArray SmtpTestServer::file(const QString &name) const
{
    return testsupport::readAll(QDir(m_dir.path()).filePath(name));
}
