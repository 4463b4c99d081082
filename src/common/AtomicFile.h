#pragma once
// A file that is rewritten whole: written to a temporary file beside it and
// renamed over it only once every byte is on the disk, so a full disk or any
// other failure leaves the old file as it was and says why.
//
// QSaveFile alone does not do this: its writes go into a buffer, and a buffer
// that fails to flush inside commit() is not reported, so a small file
// (under the buffer's size) on a full disk is renamed over the old one empty.
// The bytes therefore go straight to the descriptor, which also keeps the
// system's reason when a write stops part-way.
#include <QFileDevice>
#include <QString>
#include <memory>

class QSaveFile;
class QFile;

class AtomicFile {
public:
    // tempPath empty: a unique temporary name beside the file, the file's
    // permissions kept. Otherwise that file is written and then renamed.
    explicit AtomicFile(const QString &path, const QString &tempPath = QString());
    ~AtomicFile(); // not committed: the temporary file goes
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    bool open();
    void setPermissions(QFileDevice::Permissions permissions);
    // False from the first failure on; the rest is not written.
    bool write(const QByteArray &bytes);
    // Flushes, syncs and checks, then renames. On failure the old file stays.
    bool commit();
    // Drops the temporary file; the old file stays.
    void cancel();
    // Why the last step failed: the system's own text.
    QString errorString() const { return m_error; }

    // The whole content in one go.
    static bool writeFile(const QString &path, const QByteArray &bytes, QString *error,
                          QFileDevice::Permissions permissions = {});

private:
    bool fail(const QString &why);
    QFileDevice *device() const;

    QString m_path;
    QString m_tempPath;
    std::unique_ptr<QSaveFile> m_save;
    std::unique_ptr<QFile> m_temp;
    QString m_error;
    bool m_failed = false;
    bool m_done = false;
};
