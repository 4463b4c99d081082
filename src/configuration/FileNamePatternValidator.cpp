#include "configuration/FileNamePatternValidator.h"

bool isSafeFileNamePattern(const QString &pattern)
{
    // Characters no file name may hold on the systems the files are copied to, and "..".
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    for (QChar c : pattern)
        if (refused.contains(c))
            return false;
    return !pattern.contains(QLatin1String(".."));
}

QValidator::State FileNamePatternValidator::validate(QString &input, int &) const
{
    return isSafeFileNamePattern(input) ? Acceptable : Invalid;
}
