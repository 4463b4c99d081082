#pragma once
// A scenario file: the control commands, one per line, run when the
// simulator starts. Blank lines and lines starting with '#' are skipped;
// "at <delay> <command>" runs a command that long after the start.
#include <QList>
#include <QString>

namespace routersim {

class Scenario
{
public:
    struct Line {
        int number = 0; // 1-based line in the file, for messages
        QString command;
    };

    // Reads and checks every line; nothing is run. On error the message
    // names the file line.
    static bool parse(const QString &text, QList<Line> *lines, QString *error);
    static bool load(const QString &path, QList<Line> *lines, QString *error);
};

} // namespace routersim
