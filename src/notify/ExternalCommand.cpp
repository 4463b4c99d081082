#include "notify/ExternalCommand.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool ExternalCommand::splitWords(const QString &text, QStringList *words)
{
    QStringList out;
    QString word;
    bool inWord = false;
    enum { None, Single, Double } quote = None;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quote == Single) {
            if (c == QLatin1Char('\''))
                quote = None;
            else
                word += c;
            continue;
        }
        if (quote == Double) {
            if (c == QLatin1Char('"')) {
                quote = None;
            } else if (c == QLatin1Char('\\') && i + 1 < text.size()
                       && (text.at(i + 1) == QLatin1Char('"') || text.at(i + 1) == QLatin1Char('\\'))) {
                word += text.at(++i);
            } else {
                word += c;
            }
            continue;
        }
        if (c.isSpace()) {
            if (inWord)
                out << word;
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == QLatin1Char('\''))
            quote = Single;
        else if (c == QLatin1Char('"'))
            quote = Double;
        else if (c == QLatin1Char('\\') && i + 1 < text.size())
            word += text.at(++i);
        else
            word += c;
    }
    if (quote != None)
        return false;
    if (inWord)
        out << word;
    if (words)
        *words = out;
    return true;
}

namespace {

bool isScriptFile(const QString &path)
{
    const QFileInfo fi(path);
    return fi.isFile() && path.toLower().endsWith(QLatin1String(".sh"));
}

// A name without a folder is looked up on the PATH, as a desktop would.
QString resolveProgram(const QString &name)
{
    if (name.isEmpty())
        return {};
    if (!name.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(name);
    const QFileInfo fi(name);
    return fi.isFile() && fi.isExecutable() ? fi.absoluteFilePath() : QString();
}

} // namespace

ExternalCommand ExternalCommand::parse(const QString &text)
{
    ExternalCommand c;
    c.m_text = text;
    const QString whole = text.trimmed();
    if (whole.isEmpty())
        return c;

    // The extension test uses the lower-cased name; the script keeps the name as typed.
    if (isScriptFile(whole)) {
        c.m_kind = Kind::Script;
        c.m_program = whole;
        return c;
    }
    const QFileInfo wholeFile(whole);
    if (wholeFile.isFile()) {
        if (wholeFile.isExecutable()) {
            c.m_kind = Kind::Program;
            c.m_program = wholeFile.absoluteFilePath();
        }
        return c;
    }

    QStringList words;
    if (!splitWords(whole, &words) || words.isEmpty())
        return c;
    const QString program = resolveProgram(words.first());
    if (program.isEmpty() || isScriptFile(program))
        return c;
    c.m_kind = Kind::Program;
    c.m_program = program;
    c.m_arguments = words.mid(1);
    return c;
}

bool ExternalCommand::startDetached(QString *error) const
{
    if (m_kind != Kind::Program) {
        if (error)
            *error = QStringLiteral("not a program");
        return false;
    }
    QProcess process;
    process.setProgram(m_program);
    process.setArguments(m_arguments);
    process.setWorkingDirectory(QFileInfo(m_program).absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    const bool ok = process.startDetached();
    if (!ok && error)
        *error = process.errorString();
    return ok;
}
