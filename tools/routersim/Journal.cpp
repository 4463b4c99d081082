#include "Journal.h"

#include <QDateTime>

namespace routersim {

bool Journal::openFile(const QString &path, QString *error)
{
    closeFile();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = QString("cannot write journal %1: %2").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

void Journal::closeFile()
{
    if (m_file.isOpen())
        m_file.close();
}

QString Journal::escape(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (QChar c : field) {
        switch (c.unicode()) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

void Journal::record(const QString &channel, const QString &method, const QString &target,
                     const QString &credentials, const QString &result)
{
    const QString line = QStringList{QDateTime::currentDateTime().toString(Qt::ISODateWithMs), escape(channel),
                                     escape(method), escape(target), escape(credentials), escape(result)}
                             .join('\t');
    m_lines.append(line);
    if (m_lines.size() > kMaxLines)
        m_lines.remove(0, m_lines.size() - kMaxLines);
    if (m_file.isOpen()) {
        m_file.write(line.toUtf8() + '\n');
        m_file.flush();
    }
}

} // namespace routersim
