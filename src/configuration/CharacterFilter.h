#pragma once
// Keeps refused characters out of an edit, whether they are typed or pasted:
// every change runs through the same filter, which drops the characters the
// edit does not take (with a beep for file-name patterns) and keeps the rest.
#include <QValidator>

class QLineEdit;

class CharacterFilter : public QValidator {
    Q_OBJECT
public:
    enum class Kind {
        Digits,          // port numbers
        DottedAddress,   // digits and "."
        FileNamePattern, // anything but \ / : * ? " < > |
    };

    explicit CharacterFilter(Kind kind, QObject *parent = nullptr);

    // Puts a filter of this kind on the edit (owned by the edit).
    static void install(QLineEdit *edit, Kind kind);

    static bool allowed(Kind kind, QChar c);
    // The text without the characters the kind refuses.
    static QString filtered(Kind kind, const QString &text);

    State validate(QString &input, int &pos) const override;

private:
    Kind m_kind;
};
