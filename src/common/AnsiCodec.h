#pragma once
// Windows-1252 ("ANSI") text as the settings file holds it. Decoding is
// lossless: the five bytes that code page leaves undefined map to the C1
// control characters of the same value, so every byte string survives a
// decode/encode round trip.
#include <QByteArray>
#include <QString>

namespace ansi {

QString decodeCp1252(const QByteArray &bytes);

// Characters outside Windows-1252 become '?' and clear *ok.
QByteArray encodeCp1252(const QString &text, bool *ok = nullptr);

bool isCp1252(const QString &text);

// A settings value: UTF-8 when the bytes are valid UTF-8 and hold a multi-byte
// sequence (a file edited in a UTF-8 editor), otherwise Windows-1252.
QString decodeValue(const QByteArray &bytes);

// Windows-1252 when every character fits, otherwise UTF-8. Text whose
// Windows-1252 bytes would read back as UTF-8 ("Ã©") is written as UTF-8 too.
QByteArray encodeValue(const QString &text);

} // namespace ansi
