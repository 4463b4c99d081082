#include "common/PascalString.h"

#include <limits>

namespace pas {

int pos(const QString &sub, const QString &s)
{
    return posEx(sub, s, 1);
}

int posEx(const QString &sub, const QString &s, int offset)
{
    if (sub.isEmpty() || offset < 1 || offset > s.size())
        return 0;
    return int(s.indexOf(sub, offset - 1, Qt::CaseSensitive)) + 1;
}

QString copy(const QString &s, int index, int count)
{
    // Work in qsizetype so index + count cannot overflow near INT_MAX.
    const qsizetype start = index < 1 ? 0 : qsizetype(index) - 1;
    if (count <= 0 || start >= s.size())
        return QString();
    return s.mid(start, qMin<qsizetype>(count, s.size() - start));
}

QString copyFrom(const QString &s, int index)
{
    return copy(s, index, std::numeric_limits<int>::max());
}

int index(qint64 position)
{
    return int(qBound(qint64(std::numeric_limits<int>::min()), position, qint64(std::numeric_limits<int>::max())));
}

} // namespace pas
