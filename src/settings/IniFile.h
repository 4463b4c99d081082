#pragma once
// An ini document held in memory, bytes in and bytes out. Section and key
// names match without regard to case; values are stored as they stand (no
// quotes added or removed). Keys and comments the program does not know are
// kept, keys added later go to the end of their section, and new sections to
// the end of the file.
#include <QByteArray>
#include <memory>
#include <optional>

class IniFile {
public:
    IniFile();
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    // Replaces the document with the parsed bytes (a UTF-8 byte-order mark at the start of any line is dropped).
    void parse(const QByteArray &bytes);

    std::optional<QByteArray> value(const char *section, const char *key) const;
    void setValue(const char *section, const char *key, const QByteArray &value);

    QByteArray serialize() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
