#pragma once
// Readable values of Qt types in GoogleTest failure messages; force-included
// into every test file.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &b, std::ostream *os) { *os << '"' << b.toStdString() << '"'; }
inline void PrintTo(const QDateTime &d, std::ostream *os) { *os << d.toString(Qt::ISODateWithMs).toStdString(); }
