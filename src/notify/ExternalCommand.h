#pragma once
// The alarm's external action as the user typed it: a telnet script file
// (".sh", sent to the router) or a program with its arguments, started
// directly, never through a shell, so nothing in the text is expanded or run
// as a command of its own.
//
// Words are split like a POSIX shell would split them, without any expansion:
// blanks separate words; '...' keeps everything literally; "..." keeps
// everything but \" and \\; a backslash outside quotes keeps the next
// character. A text that as a whole names an existing file is that file, so a
// program path with blanks needs no quotes.
#include <QString>
#include <QStringList>

class ExternalCommand {
public:
    enum class Kind {
        Unknown, // no such file, not executable, or the text cannot be split
        Script,  // an existing ".sh" file (any case): a telnet script
        Program, // an executable file, with arguments
    };

    static ExternalCommand parse(const QString &text);

    // The words of text; false when a quote is left open.
    static bool splitWords(const QString &text, QStringList *words);

    Kind kind() const { return m_kind; }
    const QString &text() const { return m_text; }
    const QString &program() const { return m_program; }
    const QStringList &arguments() const { return m_arguments; }

    // Starts the program on its own, in its own folder; false when it could
    // not be started. There is no portable way to ask a program on Linux to
    // open minimised, so that wish is not passed on.
    bool startDetached(QString *error = nullptr) const;

private:
    Kind m_kind = Kind::Unknown;
    QString m_text;
    QString m_program;
    QStringList m_arguments;
};
