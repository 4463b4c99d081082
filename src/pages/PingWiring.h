#pragma once

#include <QString>
#include <functional>

class PingPlotting;
class PingRunner;
class QObject;
class QPlainTextEdit;
struct RunState;

// Ping's output into the ping page's pane (`output` may be null) and its value onto the ping chart,
// unless plotting is suppressed. `context` owns the connections.
void wirePingOutput(QObject *context, PingRunner &ping, PingPlotting &plotting, QPlainTextEdit *output,
                    const RunState &run);

// Ping's messages and its failure alarm (`alarmTriggered` gets the alarm's kind), then its output as above.
void wirePing(QObject *context, PingRunner &ping, PingPlotting &plotting, QPlainTextEdit *output, const RunState &run,
              const std::function<void(const QString &)> &systemMessage,
              const std::function<void(const QString &)> &alarmTriggered);
