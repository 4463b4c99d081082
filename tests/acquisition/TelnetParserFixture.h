#pragma once
// What the terminal holds when the simulated router has answered a set of
// telnet commands, built from the simulator's own reply texts (no network),
// and default settings for the telnet parsers.
#include "RouterState.h"
#include "TelnetBehaviour.h"
#include "TelnetReplies.h"
#include "acquisition/TelnetParsers.h"
#include "acquisition/TerminalBuffer.h"
#include "settings/SettingsStore.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace telnettest {

class SimLine {
public:
    explicit SimLine(routersim::TelnetFamily family) { m_behaviour.family = family; }

    void set(const QString &name, const QString &value)
    {
        QString error;
        ASSERT_TRUE(m_state.set(name, value, &error)) << error.toStdString();
    }
    void tone(int tone, const QString &what, const QString &value)
    {
        QString error;
        ASSERT_TRUE(m_state.tones().set(tone, what, value, &error)) << error.toStdString();
    }
    routersim::RouterState &state() { return m_state; }
    QString prompt() const { return m_behaviour.prompt(); }

    // The commands typed at once after the pane was cleared: each echo
    // (after the previous prompt), its output, then the prompt.
    QString transcript(const QStringList &commands)
    {
        QByteArray bytes;
        for (const QString &c : commands)
            bytes += c.toLatin1() + "\r\n" + m_replies.run(c).text + m_behaviour.prompt().toLatin1();
        TerminalBuffer buffer;
        buffer.append(QString::fromLatin1(bytes));
        return buffer.text();
    }

private:
    routersim::RouterState m_state;
    routersim::TelnetBehaviour m_behaviour;
    routersim::TelnetReplies m_replies{m_state, m_behaviour};
};

inline TSettings defaultSettings()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
    TSettings s = settingsstore::load(env).settings;
    s.System.Regional = false;
    return s;
}

inline TelnetRequestFlags statsFlags(bool extended = false)
{
    TelnetRequestFlags f;
    f.StatsRequested = true;
    f.ExtendedRequested = extended;
    return f;
}

// A line of a pane that starts with the caption; empty when none does.
inline QString paneLine(const QStringList &pane, const QString &caption)
{
    for (const QString &l : pane)
        if (l.startsWith(caption))
            return l;
    return {};
}

} // namespace telnettest
