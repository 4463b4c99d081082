#pragma once
// 1-based string helpers with the clamping rules of the router-text parsers:
// positions count from 1, "not found" is 0, a negative or zero count gives an
// empty result and indexes past either end are clamped rather than failing.
#include <QString>

namespace pas {

// Position (1-based) of the first occurrence of sub in s; 0 when absent or sub is empty.
int pos(const QString &sub, const QString &s);

// As pos, but the search starts at the 1-based offset; 0 when offset < 1 or past the end.
int posEx(const QString &sub, const QString &s, int offset);

// count characters of s from the 1-based index. index < 1 is treated as 1;
// count <= 0 or index past the end gives an empty string; the result is cut at the end of s.
QString copy(const QString &s, int index, int count);

// Characters of s from the 1-based index to the end (copy with an unbounded count).
QString copyFrom(const QString &s, int index);

// A position computed from settings offsets, saturated to int: a bias near
// INT_MAX must give a position past the end, not a wrapped negative one.
int index(qint64 position);

} // namespace pas
