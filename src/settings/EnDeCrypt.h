#pragma once
// The scrambling of the log-in secrets kept in the settings file: every byte
// is replaced by its complement (c becomes 255 - c). Applying it twice gives
// the text back.
#include <QByteArray>

QByteArray EnDeCrypt(const QByteArray &s);
