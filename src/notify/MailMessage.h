#pragma once
// One notification e-mail as MIME text: the headers, a plain-text body and
// base64 attachments. Nothing from the settings reaches a header unchecked:
// addresses must parse as plain ASCII addresses, and free text (subject,
// display names) loses its control characters and is RFC 2047 encoded when
// it is not plain ASCII, so no CR or LF can start a header of its own.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

struct MailAddress {
    QString name;    // display name, may be empty
    QString address; // local@domain, ASCII
};

struct MailAttachment {
    QString fileName; // as the recipient sees it
    QByteArray bytes;
};

class MailMessage {
public:
    // One address: "a@b.c", "<a@b.c>" or "Name <a@b.c>" ("Name" may be quoted).
    static std::optional<MailAddress> parseAddress(const QString &text);
    // A list separated by commas or semicolons (outside quotes); empty entries
    // are skipped. nullopt when an entry does not parse; *bad then holds it.
    static std::optional<QList<MailAddress>> parseAddressList(const QString &text, QString *bad = nullptr);

    // Free text made fit for a header: control characters become blanks.
    static QString headerText(const QString &text);
    // A header field body for free text: itself when printable ASCII and
    // short, else UTF-8 encoded words folded onto continuation lines.
    static QByteArray encodeText(const QString &text);

    void setFrom(const std::optional<MailAddress> &from) { m_from = from; }
    void setTo(const QList<MailAddress> &to) { m_to = to; }
    void setSubject(const QString &subject) { m_subject = subject; }
    void setBody(const QString &body) { m_body = body; }
    void setDate(const QDateTime &date) { m_date = date; }
    void addAttachment(const MailAttachment &a) { m_attachments.append(a); }
    const QList<MailAttachment> &attachments() const { return m_attachments; }

    // The whole message, CR LF line ends; multipart/mixed only when there
    // are attachments.
    QByteArray toBytes() const;

private:
    static QByteArray formatAddress(const MailAddress &a);
    static QByteArray contentTypeFor(const QString &fileName);
    static QByteArray fileNameParameters(const QString &fileName, const QByteArray &param);
    static QByteArray base64Lines(const QByteArray &bytes);
    QByteArray bodyPart() const;

    std::optional<MailAddress> m_from;
    QList<MailAddress> m_to;
    QString m_subject;
    QString m_body;
    QDateTime m_date;
    QList<MailAttachment> m_attachments;
};
