#include "settings/SettingsStore.h"

#include "common/AtomicFile.h"

#include "common/AnsiCodec.h"
#include "common/RegularFile.h"
#include "common/Clock.h"
#include "common/NumberFormat.h"
#include "settings/ColourNames.h"
#include "settings/EnDeCrypt.h"
#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cctype>
#include <limits>
#include <optional>

namespace {

// CR and LF of the multi-line search texts as the file holds them. The pound
// sign is the single byte 163; a file saved by a UTF-8 editor has it as C2 A3.
const QByteArray kEscapedCr = QByteArrayLiteral("%\xA3%");
const QByteArray kEscapedCrUtf8 = QByteArrayLiteral("%\xC2\xA3%");
const QByteArray kEscapedLf = QByteArrayLiteral("%$%");

QString keyLabel(const KeySpec &k) { return QStringLiteral("[%1] %2").arg(QLatin1String(k.section), QLatin1String(k.key)); }

// Integer text as the classic StrToInt reads it: optional sign, decimal, "$" or "0x" hex.
std::optional<qint64> parseInteger(const QByteArray &raw)
{
    QByteArray t = raw.trimmed();
    bool negative = false;
    if (t.startsWith('+') || t.startsWith('-')) {
        negative = t.startsWith('-');
        t.remove(0, 1);
    }
    if (t.isEmpty())
        return std::nullopt;
    int base = 10;
    if (t.startsWith('$')) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith("0x") || t.startsWith("0X")) {
        base = 16;
        t.remove(0, 2);
    }
    // One sign only, before the prefix: "$-8000000000000000" is not a number.
    if (t.isEmpty() || !std::isxdigit(static_cast<unsigned char>(t.front())))
        return std::nullopt;
    bool ok = false;
    const quint64 magnitude = t.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    // The magnitude is applied in unsigned arithmetic so the smallest 64-bit
    // value is reachable and nothing past it is.
    constexpr quint64 kMaxPositive = quint64(std::numeric_limits<qint64>::max());
    if (negative) {
        if (magnitude > kMaxPositive + 1)
            return std::nullopt;
        return magnitude == kMaxPositive + 1 ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
    }
    if (magnitude > kMaxPositive)
        return std::nullopt;
    return qint64(magnitude);
}

std::optional<int> parseInt32(const QByteArray &raw)
{
    const auto v = parseInteger(raw);
    if (!v || *v < INT32_MIN || *v > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(*v);
}

QByteArray unescapeSearchText(QByteArray bytes)
{
    bytes.replace(kEscapedCrUtf8, "\r");
    bytes.replace(kEscapedCr, "\r");
    bytes.replace(kEscapedLf, "\n");
    return bytes;
}

QByteArray escapeSearchText(QByteArray bytes)
{
    bytes.replace("\r", kEscapedCr);
    bytes.replace("\n", kEscapedLf);
    return bytes;
}

// A line break inside a one-line value would split the file's line; keep what
// a reader of that line would have seen.
QString firstLine(const QString &s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r' || s[i] == u'\n')
            return s.left(i);
    }
    return s;
}

QString toTimeText(const QTime &t, const QLocale &locale) { return t.toString(settingsstore::longTimeFormat(locale)); }

std::optional<QTime> parseTimeText(const QString &text, const QLocale &locale)
{
    const QString t = text.trimmed();
    const QStringList formats = {settingsstore::longTimeFormat(locale), locale.timeFormat(QLocale::ShortFormat),
                                 QStringLiteral("H:mm:ss"), QStringLiteral("H:mm"), QStringLiteral("h:mm:ss AP"),
                                 QStringLiteral("h:mm AP")};
    for (const QString &f : formats) {
        const QTime parsed = QTime::fromString(t, f);
        if (parsed.isValid())
            return parsed;
    }
    return std::nullopt;
}

// A time of day as the file keeps it, "HH:mm" (a hand-edited hour may lack its
// leading zero); nullopt for anything else, so it is never read as midnight.
std::optional<QString> clockTimeText(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d\\d)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt());
    if (!t.isValid())
        return std::nullopt;
    return t.toString(QStringLiteral("HH:mm"));
}

// The default of a key in its file form or computed from the environment.
struct Loader {
    const SettingsEnvironment &env;
    TSettings &s;
    QStringList &problems;

    QByteArray defaultBytes(const KeySpec &k) const
    {
        // Only a few defaults name a file; the path is worked out for those alone.
        const auto base = [this] { return settingspaths::programBase(env.settingsPath); };
        switch (k.computed) {
        case ComputedDefault::None:
            return QByteArray(k.defaultText);
        case ComputedDefault::LocaleUsesDecimalComma:
            return env.locale.decimalPoint() == QLatin1String(",") ? "1" : "0";
        case ComputedDefault::ProgramPathTxt:
            return ansi::encodeValue(base() + QStringLiteral(".txt"));
        case ComputedDefault::ProgramPathHtmLower: {
            // Only the file name is lowered: a folder's case matters on this system.
            const QFileInfo fi(base() + QStringLiteral(".htm"));
            return ansi::encodeValue(QDir(fi.absolutePath()).filePath(fi.fileName().toLower()));
        }
        case ComputedDefault::ProgramFolder:
            return ansi::encodeValue(settingspaths::programFolder(env.settingsPath));
        case ComputedDefault::ScreenCentreTop:
            return QByteArray::number(env.screenSize.height() / 2 - 230);
        case ComputedDefault::ScreenCentreLeft:
            return QByteArray::number(env.screenSize.width() / 2 - 325);
        case ComputedDefault::NowHHmm:
            return env.now.time().toString(QStringLiteral("HH:mm")).toLatin1();
        case ComputedDefault::NowLongTime:
            return ansi::encodeValue(toTimeText(env.now.time(), env.locale));
        case ComputedDefault::SameAs:
            break;
        }
        return {};
    }

    void report(const KeySpec &k, const QByteArray &raw, const QString &what)
    {
        problems << QStringLiteral("Settings: %1=%2 %3").arg(keyLabel(k), ansi::decodeValue(raw), what);
    }

    qint64 clamp(const KeySpec &k, qint64 v, const QByteArray &raw)
    {
        if (!k.range.bounded || (v >= k.range.min && v <= k.range.max))
            return v;
        const qint64 c = qBound(k.range.min, v, k.range.max);
        report(k, raw, QStringLiteral("is outside %1..%2; %3 is used.").arg(k.range.min).arg(k.range.max).arg(c));
        return c;
    }

    void loadKey(const KeySpec &k, const std::optional<QByteArray> &fileValue)
    {
        if (k.computed == ComputedDefault::SameAs && !fileValue) {
            copySameAs(k);
            return;
        }
        const QByteArray dflt = defaultBytes(k);
        const QByteArray raw = fileValue.value_or(dflt);
        const bool fromFile = fileValue.has_value();
        auto fallBack = [&](const char *why) {
            if (fromFile && !raw.trimmed().isEmpty())
                report(k, raw, QString::fromLatin1(why));
        };

        switch (k.type) {
        case KeyType::Bool: {
            auto v = parseInt32(raw);
            if (!v) {
                fallBack("is not a number; the default is used.");
                v = parseInt32(dflt);
            }
            k.ref<KeyType::Bool>(s) = v.value_or(0) != 0;
            break;
        }
        case KeyType::Int: {
            auto v = parseInt32(raw);
            if (!v) {
                fallBack("is not a number; the default is used.");
                v = parseInt32(dflt);
            }
            k.ref<KeyType::Int>(s) = static_cast<int>(clamp(k, v.value_or(0), raw));
            break;
        }
        case KeyType::Float: {
            bool ok = false;
            const QChar dec = env.locale.decimalPoint().at(0);
            double v = numfmt::parse(QString::fromLatin1(raw), dec, &ok);
            if (!ok) // tolerate a file written under another locale
                v = numfmt::parse(QString::fromLatin1(raw), dec == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.'), &ok);
            if (!ok) {
                fallBack("is not a number; the default is used.");
                v = numfmt::parse(QString::fromLatin1(dflt), QLatin1Char('.'), &ok);
            }
            k.ref<KeyType::Float>(s) = v;
            break;
        }
        case KeyType::Text:
            k.ref<KeyType::Text>(s) = ansi::decodeValue(raw);
            break;
        case KeyType::ClockTime: {
            std::optional<QString> t = clockTimeText(ansi::decodeValue(raw));
            if (!t) {
                fallBack("is not a time of day (HH:mm); the default is used.");
                t = clockTimeText(QString::fromLatin1(dflt));
            }
            k.ref<KeyType::ClockTime>(s) = t.value_or(QStringLiteral("00:00"));
            break;
        }
        case KeyType::Flags: {
            QString flags = ansi::decodeValue(raw);
            // A short string would leave later charts without a switch: pad from the default.
            // A short [Log] Log is the fix-ups' to replace as a whole.
            QString &member = k.ref<KeyType::Flags>(s);
            const QString def = QString::fromLatin1(dflt);
            if (flags.size() < def.size() && &member != &s.Log.Log)
                flags += def.mid(flags.size());
            member = flags;
            break;
        }
        case KeyType::SearchText:
            k.ref<KeyType::SearchText>(s) = ansi::decodeValue(unescapeSearchText(raw));
            break;
        case KeyType::Password:
            k.ref<KeyType::Password>(s) = ansi::decodeValue(EnDeCrypt(raw));
            break;
        case KeyType::NumberText: {
            QString text = ansi::decodeValue(raw).trimmed();
            if (k.range.bounded) {
                auto v = parseInteger(raw);
                if (!v) {
                    fallBack("is not a whole number; the default is used.");
                    v = parseInteger(dflt);
                    text = QString::fromLatin1(dflt);
                }
                const qint64 c = clamp(k, v.value_or(0), raw);
                if (c != *v)
                    text = QString::number(c);
            }
            k.ref<KeyType::NumberText>(s) = text;
            break;
        }
        case KeyType::Colour: {
            auto c = colours::fromText(ansi::decodeValue(raw));
            if (!c) {
                fallBack("is not a colour; the default is used.");
                c = colours::fromText(QString::fromLatin1(dflt));
            }
            k.ref<KeyType::Colour>(s) = c.value_or(colours::clBlack);
            break;
        }
        case KeyType::LocaleTime: {
            auto t = parseTimeText(ansi::decodeValue(raw), env.locale);
            if (!t) {
                fallBack("is not a time of day; the default is used.");
                t = env.now.time();
            }
            k.ref<KeyType::LocaleTime>(s) = *t;
            break;
        }
        }
    }

    void copySameAs(const KeySpec &k)
    {
        switch (k.type) {
        case KeyType::Bool:
            k.ref<KeyType::Bool>(s) = *static_cast<bool *>(k.sameAs(s));
            break;
        default:
            k.ref<KeyType::Text>(s) = *static_cast<QString *>(k.sameAs(s));
            break;
        }
    }
};

QByteArray encodeKey(const KeySpec &k, TSettings &s, const QLocale &locale)
{
    switch (k.type) {
    case KeyType::Bool:
        return k.ref<KeyType::Bool>(s) ? "1" : "0";
    case KeyType::Int:
        return QByteArray::number(k.ref<KeyType::Int>(s));
    case KeyType::Float:
        return numfmt::generalExact(k.ref<KeyType::Float>(s), locale.decimalPoint().at(0)).toLatin1();
    case KeyType::Text:
    case KeyType::NumberText:
    case KeyType::ClockTime:
    case KeyType::Flags:
        return ansi::encodeValue(firstLine(k.ref<KeyType::Text>(s)));
    case KeyType::SearchText:
        return escapeSearchText(ansi::encodeValue(k.ref<KeyType::SearchText>(s)));
    case KeyType::Password:
        return EnDeCrypt(ansi::encodeValue(k.ref<KeyType::Password>(s)));
    case KeyType::Colour:
        return colours::toText(k.ref<KeyType::Colour>(s)).toLatin1();
    case KeyType::LocaleTime:
        return ansi::encodeValue(toTimeText(k.ref<KeyType::LocaleTime>(s), locale));
    }
    return {};
}

// A scrambled password the file cannot hold: a line break or NUL inside, or
// blanks at either end that every reader trims away.
bool storablePassword(const QByteArray &scrambled)
{
    if (scrambled.contains('\r') || scrambled.contains('\n') || scrambled.contains('\0'))
        return false;
    return scrambled.trimmed().size() == scrambled.size();
}

QString flagsText(const std::array<bool, 17> &flags)
{
    QString out(17, QLatin1Char('0'));
    for (int i = 0; i < 17; ++i)
        if (flags[i])
            out[i] = QLatin1Char('1');
    return out;
}

} // namespace

SettingsEnvironment SettingsEnvironment::forFile(const QString &path)
{
    SettingsEnvironment env;
    env.settingsPath = path;
    env.now = Clock::currentDateTime();
    return env;
}

QString settingsstore::longTimeFormat(const QLocale &locale)
{
    // The locale's long time format without its time-zone part (a time of day has none).
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    QString f = locale.timeFormat(QLocale::LongFormat);
    f.remove(zone);
    f = f.trimmed();
    return f.isEmpty() ? QStringLiteral("HH:mm:ss") : f;
}

bool settingsstore::readFile(const QString &path, QByteArray *bytes, QString *error)
{
    bool missing = false;
    QString why;
    if (RegularFile::readAll(path, kMaxFileBytes, bytes, &why, &missing))
        return true;
    if (missing)
        return true;
    if (error)
        *error = why;
    return false;
}

SettingsLoadResult settingsstore::load(const SettingsEnvironment &env)
{
    SettingsLoadResult result;
    IniFile ini;
    QByteArray bytes;
    if (readFile(env.settingsPath, &bytes, &result.readError))
        ini.parse(bytes);
    if (!result.readError.isEmpty())
        result.problems << QStringLiteral("Settings: cannot read %1 (%2); the defaults are used.")
                               .arg(QDir::toNativeSeparators(env.settingsPath), result.readError);

    Loader loader{env, result.settings, result.problems};
    for (const KeySpec &k : settingsKeys())
        loader.loadKey(k, ini.value(k.section, k.key));
    applyFixUps(result.settings);
    return result;
}

void settingsstore::applyFixUps(TSettings &s)
{
    if (s.Log.Log.size() < 8)
        s.Log.Log = QStringLiteral("11111111");

    for (int i = 0; i < 17; ++i) {
        s.CaptureTelnetFlags[i] = s.CaptureTelnet.CaptureTelnet.mid(i, 1) == QLatin1String("1");
        s.LogTelnetFlags[i] = s.CaptureTelnet.LogTelnet.mid(i, 1) == QLatin1String("1");
    }

    // Image file names come from the user labels; keep them plain file names.
    auto fileNameFromLabel = [](QString label) {
        label.remove(QLatin1Char(' '));
        label.remove(QLatin1Char('/'));
        label.remove(QLatin1Char('\\'));
        while (label.startsWith(QLatin1Char('.')))
            label.remove(0, 1);
        return label;
    };
    s.Capture.UserFile = fileNameFromLabel(s.Graph.UserLabel);
    s.Capture.UserFile2 = fileNameFromLabel(s.Graph.UserLabel2);

    s.System.IsDG834 = s.Router.V1234 || s.Router.V5;

    if (s.System.Numbering != 0) {
        s.NumberDecimalChar = QLatin1Char(',');
        s.NumberGroupChar = QLatin1Char('.');
    } else {
        s.NumberDecimalChar = QLatin1Char('.');
        s.NumberGroupChar = QLatin1Char(',');
    }
}

SettingsSaveResult settingsstore::save(const TSettings &settings, const QString &path, const QLocale &locale,
                                       const std::function<void(int)> &progress)
{
    SettingsSaveResult result;
    const QString shown = QDir::toNativeSeparators(path);

    // Start from the file as it stands so keys and comments we do not know survive.
    IniFile ini;
    QFileInfo info(path);
    if (info.exists()) {
        if (!info.isFile()) {
            result.error = QStringLiteral("%1 is not a file.").arg(shown);
            return result;
        }
        // A file the user made read-only stays as it is, whoever runs the program.
        if (!(info.permissions() & QFileDevice::WriteOwner)) {
            result.error = QStringLiteral("%1 is read-only.").arg(shown);
            return result;
        }
        QByteArray bytes;
        QString why;
        if (!readFile(path, &bytes, &why)) {
            result.error = QStringLiteral("cannot read %1 (%2).").arg(shown, why);
            return result;
        }
        ini.parse(bytes);
    }

    TSettings s = settings;
    s.CaptureTelnet.CaptureTelnet = flagsText(s.CaptureTelnetFlags);
    s.CaptureTelnet.LogTelnet = flagsText(s.LogTelnetFlags);
    // Passwords the user chose not to remember are written empty; the session keeps them.
    if (!s.Router.RemLoginPass)
        s.Router.Password.clear();
    if (!s.Email.Rempass)
        s.Email.Pass.clear();
    if (!s.WebServer.WebRemPass)
        s.WebServer.WebPassword.clear();

    const auto &keys = settingsKeys();
    qsizetype writable = 0;
    for (const KeySpec &k : keys)
        writable += k.access != KeyAccess::ReadOnly;
    qsizetype written = 0;
    int reported = 0;

    for (const char *section : settingsSectionWriteOrder()) {
        for (const KeySpec &k : keys) {
            if (k.access == KeyAccess::ReadOnly || qstrcmp(k.section, section) != 0)
                continue;
            QByteArray value = encodeKey(k, s, locale);
            if (k.type == KeyType::Password && !storablePassword(value)) {
                result.warnings << QStringLiteral("The password of %1 holds characters the settings file "
                                                  "cannot keep; it is not remembered.")
                                       .arg(keyLabel(k));
                value.clear();
            }
            ini.setValue(k.section, k.writeKey, value);
            ++written;
            const int step = static_cast<int>(written * 20 / writable);
            while (progress && reported < step)
                progress(++reported * 5);
        }
    }

    QDir().mkpath(info.absolutePath());
    QString why;
    if (!AtomicFile::writeFile(path, ini.serialize(), &why, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        result.error = QStringLiteral("cannot write %1 (%2).").arg(shown, why);
        return result;
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    result.ok = true;
    return result;
}
