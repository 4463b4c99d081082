#include "notify/MailMessage.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029;
}

bool isPrintableAscii(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

// Dot-atom local part; a host name or an IPv4 literal as the domain.
const QRegularExpression &addressPattern()
{
    static const QRegularExpression re(QStringLiteral(
        R"(^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*@)"
        R"(([A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*|\[[0-9.]+\])$)"));
    return re;
}

QString unquote(const QString &s)
{
    if (s.size() < 2 || !s.startsWith(QLatin1Char('"')) || !s.endsWith(QLatin1Char('"')))
        return s;
    QString out;
    const QString inner = s.mid(1, s.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == QLatin1Char('\\') && i + 1 < inner.size())
            ++i;
        out += inner[i];
    }
    return out;
}

QByteArray randomHex(int bytes)
{
    QByteArray raw(bytes, '\0');
    for (char &c : raw)
        c = char(QRandomGenerator::global()->bounded(256));
    return raw.toHex();
}

} // namespace

std::optional<MailAddress> MailMessage::parseAddress(const QString &text)
{
    const QString t = text.trimmed();
    for (QChar c : t)
        if (isControl(c))
            return std::nullopt;
    MailAddress a;
    const qsizetype open = t.lastIndexOf(QLatin1Char('<'));
    if (t.endsWith(QLatin1Char('>')) && open >= 0) {
        a.address = t.mid(open + 1, t.size() - open - 2).trimmed();
        a.name = unquote(t.left(open).trimmed());
    } else {
        a.address = t;
    }
    if (a.address.size() > 254 || !addressPattern().match(a.address).hasMatch())
        return std::nullopt;
    return a;
}

std::optional<QList<MailAddress>> MailMessage::parseAddressList(const QString &text, QString *bad)
{
    QStringList entries;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted && c == QLatin1Char('\\') && i + 1 < text.size()) {
            current += c;
            current += text[++i];
            continue;
        }
        if (!quoted && (c == QLatin1Char(',') || c == QLatin1Char(';'))) {
            entries << current;
            current.clear();
        } else {
            current += c;
        }
    }
    entries << current;

    QList<MailAddress> out;
    for (const QString &e : entries) {
        if (e.trimmed().isEmpty())
            continue;
        auto a = parseAddress(e);
        if (!a) {
            if (bad)
                *bad = e.trimmed();
            return std::nullopt;
        }
        out << *a;
    }
    return out;
}

QString MailMessage::headerText(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if (isControl(c))
            c = QLatin1Char(' ');
    return s;
}

QByteArray MailMessage::encodeText(const QString &text)
{
    const QString s = headerText(text);
    if (isPrintableAscii(s) && s.size() <= 900 && !s.contains(QLatin1String("=?")))
        return s.toLatin1();
    // Encoded words of 64 characters at most (39 bytes of UTF-8), never
    // splitting a character.
    QList<QByteArray> words;
    QByteArray chunk;
    const QList<uint> points = s.toUcs4();
    for (uint cp : points) {
        const QByteArray bytes = QString::fromUcs4(reinterpret_cast<const char32_t *>(&cp), 1).toUtf8();
        if (chunk.size() + bytes.size() > 39) {
            words << chunk;
            chunk.clear();
        }
        chunk += bytes;
    }
    if (!chunk.isEmpty() || words.isEmpty())
        words << chunk;
    QByteArray out;
    for (const QByteArray &w : words) {
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + w.toBase64() + "?=";
    }
    return out;
}

QByteArray MailMessage::formatAddress(const MailAddress &a)
{
    const QByteArray address = a.address.toLatin1();
    const QString name = headerText(a.name).trimmed();
    if (name.isEmpty())
        return address;
    if (isPrintableAscii(name) && !name.contains(QLatin1String("=?"))) {
        QByteArray q = name.toLatin1();
        q.replace('\\', "\\\\").replace('"', "\\\"");
        return '"' + q + "\" <" + address + '>';
    }
    return encodeText(name) + " <" + address + '>';
}

QByteArray MailMessage::contentTypeFor(const QString &fileName)
{
    const QString ext = fileName.section(QLatin1Char('.'), -1).toLower();
    if (ext == QLatin1String("png"))
        return "image/png";
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return "image/jpeg";
    if (ext == QLatin1String("gif"))
        return "image/gif";
    if (ext == QLatin1String("bmp"))
        return "image/bmp";
    if (ext == QLatin1String("txt") || ext == QLatin1String("log") || ext == QLatin1String("csv"))
        return "text/plain";
    return "application/octet-stream";
}

QByteArray MailMessage::fileNameParameters(const QString &fileName, const QByteArray &param)
{
    QString name = headerText(fileName);
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (isPrintableAscii(name) && !name.contains(QLatin1Char('"')) && name.size() <= 200)
        return param + "=\"" + name.toLatin1() + '"';
    // RFC 2231: charset, empty language, percent-encoded UTF-8.
    return param + "*=UTF-8''" + name.toUtf8().toPercentEncoding("!#$&+^`|~", "'()*");
}

QByteArray MailMessage::base64Lines(const QByteArray &bytes)
{
    const QByteArray b64 = bytes.toBase64();
    QByteArray out;
    out.reserve(b64.size() + b64.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < b64.size(); i += 76)
        out += b64.mid(i, 76) + "\r\n";
    return out;
}

QByteArray MailMessage::bodyPart() const
{
    QString text = m_body;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    bool plain = true;
    for (QChar c : text)
        if (c.unicode() > 0x7e || (c.unicode() < 0x20 && c != QLatin1Char('\r') && c != QLatin1Char('\n')
                                   && c != QLatin1Char('\t')))
            plain = false;
    for (const QString &line : text.split(QLatin1String("\r\n")))
        if (line.size() > 998)
            plain = false;
    if (plain)
        return "Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"
               + text.toLatin1();
    return "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n"
           + base64Lines(text.toUtf8());
}

QByteArray MailMessage::toBytes() const
{
    QByteArray h;
    const QDateTime date = m_date.isValid() ? m_date : QDateTime::currentDateTime();
    h += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    QByteArray domain = "veltrano.invalid";
    if (m_from) {
        h += "From: " + formatAddress(*m_from) + "\r\n";
        const QString d = m_from->address.section(QLatin1Char('@'), 1);
        if (!d.startsWith(QLatin1Char('[')))
            domain = d.toLatin1();
    }
    if (!m_to.isEmpty()) {
        QList<QByteArray> to;
        for (const MailAddress &a : m_to)
            to << formatAddress(a);
        h += "To: " + to.join(",\r\n ") + "\r\n";
    }
    h += "Subject: " + encodeText(m_subject) + "\r\n";
    h += "Message-ID: <" + randomHex(12) + '@' + domain + ">\r\n";
    h += "MIME-Version: 1.0\r\n";

    if (m_attachments.isEmpty())
        return h + bodyPart();

    // "=_" cannot occur in base64, nor in the 7-bit body by chance.
    const QByteArray boundary = "=_vt_" + randomHex(12);
    QByteArray m = h + "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n"
                   + "This is a multi-part message in MIME format.\r\n";
    m += "\r\n--" + boundary + "\r\n" + bodyPart();
    for (const MailAttachment &a : m_attachments) {
        m += "\r\n--" + boundary + "\r\n";
        m += "Content-Type: " + contentTypeFor(a.fileName) + "; " + fileNameParameters(a.fileName, "name") + "\r\n";
        m += "Content-Transfer-Encoding: base64\r\n";
        m += "Content-Disposition: attachment; " + fileNameParameters(a.fileName, "filename") + "\r\n\r\n";
        m += base64Lines(a.bytes);
    }
    m += "\r\n--" + boundary + "--\r\n";
    return m;
}
