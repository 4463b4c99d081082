#pragma once
// A file name pattern (the per-day log name, the capture date-time part)
// stays inside its folder and is a valid file name everywhere: none of
// \\ / : * ? " < > | and no "..".
#include <QValidator>

bool isSafeFileNamePattern(const QString &pattern);

class FileNamePatternValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};
