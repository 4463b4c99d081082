#include "settings/IniFile.h"

// This is the one translation unit that compiles the library's template bodies.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <string>

struct IniFile::Impl {
    // Byte mode: values are not converted, so Windows-1252 text survives as it is.
    // CSimpleIniA compares section and key names without regard to case.
    CSimpleIniA ini{/*isUtf8=*/false, /*multiKey=*/false, /*multiLine=*/false};
    // The reader takes comment lines at the very start of the text as the
    // file's own comment, and any other comment as the next entry's.
    bool fileComment = false;
    Impl()
    {
        ini.SetUnicode(false);
        ini.SetSpaces(false);
        ini.SetQuotes(false);
    }
};

IniFile::IniFile() : d(std::make_unique<Impl>()) {}
IniFile::~IniFile() = default;

namespace {

// "[]" or "[ ]": the reader's name for the keys above the first header.
bool isEmptyHeader(QByteArrayView line)
{
    qsizetype i = 0;
    const auto blank = [&line](qsizetype at) { return line[at] == ' ' || line[at] == '\t'; };
    while (i < line.size() && blank(i))
        ++i;
    if (i == line.size() || line[i] != '[')
        return false;
    for (++i; i < line.size() && blank(i); ++i) {
    }
    return i < line.size() && line[i] == ']';
}

// The bytes as the reader is to see them.
QByteArray prepare(const QByteArray &bytes, bool hideEmptyHeaders)
{
    QByteArray data;
    data.reserve(bytes.size());
    constexpr QByteArrayView kBom("\xEF\xBB\xBF");
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    const QByteArrayView all(bytes);
    qsizetype i = 0;
    while (i < all.size()) {
        // A byte-order mark is dropped wherever a line starts (files pasted
        // together keep one per part): left in, it would hide a section
        // header and move the keys below it into the section above.
        while (all.sliced(i).startsWith(kBom))
            i += kBom.size();
        qsizetype end = i;
        while (end < all.size() && !isLineEnd(all[end]))
            ++end;
        const QByteArrayView line = all.sliced(i, end - i);
        // A "[" line without its "]" is no header; the reader would take the
        // next key's text as the section's name. Keep it as a comment.
        const QByteArrayView lead = line.trimmed();
        if ((lead.startsWith('[') && !lead.contains(']')) || (hideEmptyHeaders && isEmptyHeader(line)))
            data += ';';
        data += line;
        while (end < all.size() && isLineEnd(all[end]))
            data += all[end++];
        i = end;
    }
    // A NUL would end the parse early; nothing after it could be a valid line anyway.
    const qsizetype nul = data.indexOf('\0');
    if (nul >= 0)
        data.truncate(nul);
    return data;
}

} // namespace

void IniFile::parse(const QByteArray &bytes)
{
    QByteArray data = prepare(bytes, false);
    d->ini.Reset();
    d->ini.LoadData(data.constData(), static_cast<size_t>(data.size()));
    // A "[]" with no key under it names a section the writer cannot show
    // (it has no header) and the next read would not find: it stays as a
    // comment, so the file reads the same after every save.
    if (d->ini.GetSectionSize("") == 0) {
        data = prepare(bytes, true);
        d->ini.Reset();
        d->ini.LoadData(data.constData(), static_cast<size_t>(data.size()));
    }
    d->fileComment = data.startsWith(';') || data.startsWith('#');
}

std::optional<QByteArray> IniFile::value(const char *section, const char *key) const
{
    const char *v = d->ini.GetValue(section, key, nullptr);
    if (!v)
        return std::nullopt;
    return QByteArray(v);
}

void IniFile::setValue(const char *section, const char *key, const QByteArray &value)
{
    d->ini.SetValue(section, key, value.constData());
}

QByteArray IniFile::serialize() const
{
    std::string out;
    d->ini.Save(out, /*addSignature=*/false);
    QByteArray bytes = QByteArray::fromStdString(out);
    // A section's comment written first would read back as the file's
    // comment, and the next save would lay the file out differently: keep
    // it apart from the start with a blank line.
    if (!d->fileComment && (bytes.startsWith(';') || bytes.startsWith('#')))
        bytes.prepend('\n');
    return bytes;
}
