#include "configuration/FileNamePatternValidator.h"

bool isSafeFileNamePattern(const QString &pattern)
{
    return !pattern.contains(QLatin1Char('/')) && !pattern.contains(QLatin1Char('\\'))
           && !pattern.contains(QLatin1String(".."));
}

QValidator::State FileNamePatternValidator::validate(QString &input, int &) const
{
    return isSafeFileNamePattern(input) ? Acceptable : Invalid;
}
