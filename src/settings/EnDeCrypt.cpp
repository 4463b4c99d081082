#include "settings/EnDeCrypt.h"

QByteArray EnDeCrypt(const QByteArray &s)
{
    QByteArray out(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i)
        out[i] = static_cast<char>(255 - static_cast<unsigned char>(s[i]));
    return out;
}
