#pragma once
// A file written whole under a name that no file holds yet. The bytes go to a
// temporary file beside it and reach the disk first; the file then takes the
// first free name of a list in one step that fails, rather than replaces, when
// another file took that name in the meantime (another program included).
#include <QByteArray>
#include <QString>
#include <functional>

class NewFile {
public:
    // candidate(i) for i = first..last: the names to try, in order, all in one
    // folder. Returns the name taken and sets *taken to its i; on failure an
    // empty name and the reason in *error. The temporary file never stays.
    static QString write(const QByteArray &bytes, const std::function<QString(int)> &candidate, int first, int last,
                         int *taken, QString *error);
};
