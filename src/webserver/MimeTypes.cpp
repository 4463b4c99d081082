#include "webserver/MimeTypes.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>

namespace {

struct Entry {
    const char *extension;
    const char *type;
};

// Known here so that a machine without the shared MIME database still labels
// pages and chart images correctly.
constexpr Entry kOwnList[] = {
    {"htm", "text/html"},      {"html", "text/html"},       {"txt", "text/plain"},
    {"css", "text/css"},       {"js", "application/javascript"}, {"xml", "text/xml"},
    {"csv", "text/csv"},       {"json", "application/json"}, {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},    {"jpe", "image/jpeg"},       {"png", "image/png"},
    {"gif", "image/gif"},      {"bmp", "image/bmp"},        {"ico", "image/x-icon"},
    {"svg", "image/svg+xml"},  {"pdf", "application/pdf"},  {"zip", "application/zip"},
};

} // namespace

QString MimeTypes::GetMIMEType(const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    for (const Entry &e : kOwnList)
        if (ext == QLatin1String(e.extension))
            return QLatin1String(e.type);
    if (!ext.isEmpty()) {
        const QMimeType t = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
        if (t.isValid() && !t.isDefault())
            return t.name();
    }
    return QStringLiteral("application/octet-stream");
}
