#pragma once
// The content type of a served file, by its extension: a small table of the
// types a web folder usually holds, then the system's MIME database, then
// "application/octet-stream". Safe from any thread.
#include <QString>

class MimeTypes {
public:
    static QString GetMIMEType(const QString &fileName);
};
