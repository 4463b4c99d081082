#include "acquisition/TelnetParsers.h"

std::vector<TelnetParseResult> ParseTelnetReply(const TelnetReply &reply, const TSettings &settings,
                                                TelnetRequestFlags &flags, const SampleFigures &http,
                                                qint64 sampleCount, TelnetFigures &figures)
{
    using Parser = TelnetParseResult (*)(const QString &, const TSettings &, const TelnetRequestFlags &,
                                         const SampleFigures &, qint64, TelnetFigures &);
    const std::pair<bool, Parser> parsers[] = {
        {reply.runAr7, &ParseData},
        {reply.runAdslctl, &ParseDataV4},
        {reply.runAdslInfo, &ParseDataV5},
    };
    std::vector<TelnetParseResult> results;
    for (const auto &[run, parse] : parsers) {
        if (!run)
            continue;
        results.push_back(parse(reply.text, settings, flags, http, sampleCount, figures));
        // The next parser sees the flags as this one left them.
        results.back().Clears.applyTo(flags);
    }
    return results;
}
