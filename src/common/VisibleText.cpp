#include "common/VisibleText.h"

#include <QChar>

bool VisibleText::isHidden(char32_t c)
{
    if (c >= 0xD800 && c <= 0xDFFF)
        return true;
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        break;
    }
    // Letters and marks that draw nothing.
    return c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0 || c == 0x180E || (c >= 0xFE00 && c <= 0xFE0F)
           || (c >= 0xE0100 && c <= 0xE01EF) || (c >= 0xFFF9 && c <= 0xFFFB);
}

QString VisibleText::escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            units = 2;
        }
        if (!isHidden(c)) {
            out.append(text.mid(i, units));
        } else {
            const char *prefix = c < 0x100 ? "\\x" : c < 0x10000 ? "\\u" : "\\U";
            const int width = c < 0x100 ? 2 : c < 0x10000 ? 4 : 8;
            out += QLatin1String(prefix) + QString::number(uint(c), 16).toUpper().rightJustified(width, QLatin1Char('0'));
        }
        i += units - 1;
    }
    return out;
}
