#pragma once

class PingPlotting;
class PingRunner;
class QObject;
class QPlainTextEdit;
struct RunState;

// Ping's output into the ping page's pane (`output` may be null) and its value onto the ping chart,
// unless plotting is suppressed. `context` owns the connections.
void wirePingOutput(QObject *context, PingRunner &ping, PingPlotting &plotting, QPlainTextEdit *output,
                    const RunState &run);
