#pragma once
// An ini document held in memory as its lines, bytes in and bytes out, edited
// in place the way the Windows profile functions edit a file. Section and key
// names match without regard to case, blanks around them trimmed; the first
// section of a name and the first key of a name in it are the ones read and
// written. Writing a value changes only that key's line: comments, lines
// without "=", later duplicates and unknown sections stay byte for byte. A
// key not there is added after the last non-blank line of its section, a
// section not there at the end of the file. Values are stored as they stand
// (no quotes added or removed), blanks around them trimmed on reading.
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
    // A value ends at its first line break: the rest could not stay on the key's line.
    void setValue(const char *section, const char *key, const QByteArray &value);

    QByteArray serialize() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
