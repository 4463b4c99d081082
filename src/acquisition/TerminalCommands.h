#pragma once
// What the telnet terminal sends: a typed line without its prompt, the lines
// of a script file, a figure label marked in a statistics pane, and the
// router's target noise margin change. Pure text rules; no session here.
#include <QString>
#include <QStringList>
#include <optional>

namespace terminalcommands {

// The command of the terminal's last line: the configured prompt (when the
// line starts with it) and the blanks after it removed, then one blank put in
// front as the router's shell expects. Empty when nothing was typed.
QString typedCommand(const QString &lastLine, const QString &prompt);

// The commands of a script: every line that is neither empty (blanks only
// count as empty) nor starts with "#"; line ends CR LF or LF.
QStringList scriptCommands(const QString &text);

// The label a user marked in a statistics pane: the trimmed selection, cut
// before its first ":" when that is not the first character. Nothing when the
// selection is empty or starts with a digit (a value, not its label).
std::optional<QString> markedLabel(const QString &selection);

// The user-defined command's default caption ("User defined 1"); a command
// equal to it counts as not set.
QString userCommandDefault(int which);

// The target noise margin change, checked and worked out.
struct TargetMargin {
    QString error;          // a message box text when the change is refused
    int value = 0;          // v: percent of the default margin (adslctl) or dB
    bool percent = false;   // the adslctl form
    QString confirmation;   // the question before sending
    QString command() const { return QStringLiteral("adslctl configure --snr ") + QString::number(value); }
    QString adjustedMessage() const { return QStringLiteral("SNR Target Adjusted to %1%").arg(value); }
};
TargetMargin targetMargin(const QString &unadjustedText, const QString &desiredText, bool adslctl);

// Panel33's text after a change; stamp is already formatted.
QString lastAdjustedText(const QString &stamp, bool utc, const QString &desiredText, const TargetMargin &m);

} // namespace terminalcommands
