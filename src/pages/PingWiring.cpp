#include "pages/PingWiring.h"

#include "acquisition/PingRunner.h"
#include "acquisition/RunState.h"
#include "charts/PingPlotting.h"
#include "common/DateTimePattern.h"

#include <QPlainTextEdit>

void wirePingOutput(QObject *context, PingRunner &ping, PingPlotting &plotting, QPlainTextEdit *output,
                    const RunState &run)
{
    QObject::connect(&ping, &PingRunner::outputCleared, context, [output] {
        if (output)
            output->clear();
    });
    PingPlotting *p = &plotting;
    const RunState *r = &run;
    QObject::connect(&ping, &PingRunner::finished, context, [output, p, r](const PingResult &result) {
        if (output)
            output->setPlainText(result.output.join(QLatin1Char('\n')));
        // A ping that never ran has no time to plot.
        if (!r->PlotSuppressed && !result.refused)
            p->plotPing(result.value, dtp::format(r->PointLabelFormat, r->SampleStamp));
    });
}

void wirePing(QObject *context, PingRunner &ping, PingPlotting &plotting, QPlainTextEdit *output, const RunState &run,
              const std::function<void(const QString &)> &systemMessage,
              const std::function<void(const QString &)> &alarmTriggered)
{
    QObject::connect(&ping, &PingRunner::systemMessage, context, systemMessage);
    QObject::connect(&ping, &PingRunner::alarmTriggered, context, alarmTriggered);
    wirePingOutput(context, ping, plotting, output, run);
}
