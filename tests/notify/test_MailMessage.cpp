// The e-mail's MIME text: addresses from the settings, headers that cannot be
// split by what the settings hold, encoded non-ASCII text, attachment lines.
#include "notify/MailMessage.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QList<QByteArray> headerLines(const QByteArray &message)
{
    QList<QByteArray> lines = message.left(message.indexOf("\r\n\r\n") + 2).split('\n');
    lines.removeLast(); // after the last line end
    return lines;
}

// Decodes the encoded words of a header field body (what a mail reader does).
QString decodeWords(const QByteArray &field)
{
    static const QRegularExpression word(QStringLiteral(R"(=\?UTF-8\?B\?([A-Za-z0-9+/=]*)\?=)"));
    QByteArray utf8;
    QString text = QString::fromLatin1(field);
    text.remove(QStringLiteral("\r\n "));
    auto it = word.globalMatch(text);
    if (!it.hasNext())
        return text;
    while (it.hasNext())
        utf8 += QByteArray::fromBase64(it.next().captured(1).toLatin1());
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(MailMessage, AddressesParseOrAreRejected)
{
    struct Case {
        const char *text;
        bool ok;
        const char *address;
        const char *name;
    };
    const Case cases[] = {
        {"ann@x.test", true, "ann@x.test", ""},
        {"  <ann@x.test> ", true, "ann@x.test", ""},
        {"Ann Smith <ann@x.test>", true, "ann@x.test", "Ann Smith"},
        {"\"Smith, \\\"Ann\\\"\" <ann@x.test>", true, "ann@x.test", "Smith, \"Ann\""},
        {"ann.b+alarm@[127.0.0.1]", true, "ann.b+alarm@[127.0.0.1]", ""},
        {"ann@x.test\r\nBcc: evil@z.test", false, "", ""},
        {"Ann\r\nBcc: evil@z.test <ann@x.test>", false, "", ""},
        {"ann@x.test>", false, "", ""},
        {"ann@x.test bob@y.test", false, "", ""},
        {"ann@x.test\nRCPT TO:<evil@z.test>", false, "", ""},
        {"ann\xc3\xa9@x.test", false, "", ""},
        {"@x.test", false, "", ""},
        {"ann@", false, "", ""},
        {"ann", false, "", ""},
        {"ann@x..test", false, "", ""},
    };
    for (const Case &c : cases) {
        const auto a = MailMessage::parseAddress(QString::fromUtf8(c.text));
        ASSERT_EQ(a.has_value(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(a->address, QString::fromUtf8(c.address)) << c.text;
            EXPECT_EQ(a->name, QString::fromUtf8(c.name)) << c.text;
        }
    }
}

TEST(MailMessage, AddressListSplitsOutsideQuotesAndNamesTheBadEntry)
{
    const auto list = MailMessage::parseAddressList(
        QStringLiteral("ops@y.test; \"Smith, Ann\" <ann@x.test>, , bob@y.test"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3);
    EXPECT_EQ(list->at(1).name, QStringLiteral("Smith, Ann"));
    EXPECT_EQ(list->at(2).address, QStringLiteral("bob@y.test"));

    QString bad;
    EXPECT_FALSE(MailMessage::parseAddressList(QStringLiteral("ops@y.test, x@y.test\r\nBcc: e@z.test"), &bad));
    EXPECT_EQ(bad, QStringLiteral("x@y.test\r\nBcc: e@z.test"));
    EXPECT_TRUE(MailMessage::parseAddressList(QStringLiteral(" ;, ")).value().isEmpty());
}

TEST(MailMessage, SettingsTextNeverStartsAHeaderOfItsOwn)
{
    MailMessage m;
    m.setFrom(MailAddress{QStringLiteral("Mon\ritor\nBcc: a@z.test"), QStringLiteral("vt@x.test")});
    m.setTo({MailAddress{QStringLiteral("Ops\r\nX-Evil: 1"), QStringLiteral("ops@y.test")}});
    m.setSubject(QStringLiteral("Hi\r\nBcc: evil@z.test\r\n\r\nfake body"));
    m.setBody(QStringLiteral("line\r\n"));
    const QByteArray bytes = m.toBytes();
    QStringList names;
    for (const QByteArray &line : headerLines(bytes)) {
        ASSERT_TRUE(line.endsWith('\r')) << line.constData(); // no bare LF
        if (!line.startsWith(' '))
            names << QString::fromLatin1(line.left(line.indexOf(':')));
    }
    EXPECT_EQ(names, (QStringList{"Date", "From", "To", "Subject", "Message-ID", "MIME-Version", "Content-Type",
                                  "Content-Transfer-Encoding"}));
    EXPECT_TRUE(bytes.contains("Subject: Hi  Bcc: evil@z.test    fake body\r\n"));
    EXPECT_TRUE(bytes.contains("From: \"Mon itor Bcc: a@z.test\" <vt@x.test>\r\n"));
}

TEST(MailMessage, NonAsciiTextIsEncodedInShortAsciiLines)
{
    const QString texts[] = {
        QStringLiteral("St\u00f6rung der Leitung \u2013 Rauschabstand gefallen \u2713 ") + QString(60, QChar(0x00e9)),
        QStringLiteral("plain but looks =?encoded?= to a reader"),
        QString(950, QLatin1Char('x')),
        QStringLiteral("\U0001F4E7 mail"),
    };
    for (const QString &t : texts) {
        const QByteArray field = MailMessage::encodeText(t);
        for (const QByteArray &line : field.split('\n')) {
            EXPECT_LE(line.size(), 78) << t.toStdString();
            for (char c : line)
                EXPECT_TRUE(uchar(c) < 0x80) << t.toStdString();
        }
        EXPECT_EQ(decodeWords(field), t);
    }
    EXPECT_EQ(MailMessage::encodeText(QStringLiteral("Data from Veltrano")), QByteArray("Data from Veltrano"));
}

TEST(MailMessage, AttachmentsAreBase64InShortLinesWithSafeNames)
{
    MailMessage m;
    m.setTo({MailAddress{{}, QStringLiteral("ops@y.test")}});
    m.setBody(QStringLiteral("b\r\n"));
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += char(i % 256);
    m.addAttachment({QStringLiteral("veltrano-Noise.png"), bytes});
    m.addAttachment({QStringLiteral("j\u00fcrgen \"log\".txt"), QByteArray("x")});
    const QByteArray text = m.toBytes();
    for (const QByteArray &line : text.split('\n'))
        EXPECT_LE(line.size(), 998);
    EXPECT_TRUE(text.contains("Content-Type: image/png; name=\"veltrano-Noise.png\"\r\n"));
    EXPECT_TRUE(text.contains("filename*=UTF-8''j%C3%BCrgen%20%22log%22.txt\r\n"));
    const QByteArray b64 = bytes.toBase64();
    EXPECT_TRUE(text.contains(b64.left(76) + "\r\n" + b64.mid(76, 76) + "\r\n"));
}

TEST(MailMessage, BodyOnlyMessageIsNotMultipart)
{
    MailMessage m;
    m.setTo({MailAddress{{}, QStringLiteral("ops@y.test")}});
    m.setBody(QStringLiteral("a\nb\r\n"));
    const QByteArray text = m.toBytes();
    EXPECT_FALSE(text.contains("multipart"));
    EXPECT_TRUE(text.endsWith("Content-Transfer-Encoding: 7bit\r\n\r\na\r\nb\r\n"));
}
