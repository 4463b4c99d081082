#pragma once
// The statistics parsers of the three telnet firmware families. Each reads
// the whole terminal text of a reply that ended at the prompt (lines joined
// with CR LF, offsets 1-based as the router's layout is described), updates
// the telnet figures record and returns what the window must show or do.
// Pure apart from the clock (byte-base dates, the bitswap chart's pacing):
// no widget, no network.
//
// A label that is not in the reply is not found: its value falls back as
// each family says, and nothing is ever read from the start of the text in
// its place.
#include "acquisition/RunState.h"
#include "acquisition/TelnetFigures.h"
#include "acquisition/TelnetParseResult.h"
#include "acquisition/TelnetTypes.h"
#include "settings/TSettings.h"

#include <QString>
#include <vector>

// AR7 firmware ([Telnet] V123): "cat /proc/avalanche/avsar_modem_stats",
// " ifconfig" and the bit-loading tables.
TelnetParseResult ParseData(const QString &reply, const TSettings &settings, const TelnetRequestFlags &flags,
                            const SampleFigures &http, qint64 sampleCount, TelnetFigures &figures);

// adslctl firmware ([Telnet] V4): [Telnet] TelnetCmd, " ifconfig" and the
// "info --SNR/--Bits/--Hlog" tables.
TelnetParseResult ParseDataV4(const QString &reply, const TSettings &settings, const TelnetRequestFlags &flags,
                              const SampleFigures &http, qint64 sampleCount, TelnetFigures &figures);

// "adsl info" firmware ([Router] V5Telnet): "adsl info", "adsl perf",
// "adsl defects" and " ifconfig", parsed again at each of their prompts.
TelnetParseResult ParseDataV5(const QString &reply, const TSettings &settings, const TelnetRequestFlags &flags,
                              const SampleFigures &http, qint64 sampleCount, TelnetFigures &figures);

// The parsers the reply names, in the order ParseData, ParseDataV4,
// ParseDataV5; each sees the flags as the one before left them (the
// results' clears are applied to flags as they go).
std::vector<TelnetParseResult> ParseTelnetReply(const TelnetReply &reply, const TSettings &settings,
                                                TelnetRequestFlags &flags, const SampleFigures &http,
                                                qint64 sampleCount, TelnetFigures &figures);
