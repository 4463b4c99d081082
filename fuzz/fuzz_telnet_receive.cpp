// The telnet receive path as a router drives it: bytes cut into pieces
// anywhere (inside negotiation, between CR and LF), some pieces sent many
// times over so lines and the terminal can outgrow their bounds, through the
// protocol layer into the terminal buffer. Checks that nothing grows past
// its bound and that what goes back is never more than twice what came.
#include "acquisition/TelnetReceiver.h"
#include "acquisition/TerminalBuffer.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider p(data, size);
    TelnetReceiver receiver;
    TerminalBuffer terminal;
    qint64 in = 0;
    qint64 out = 0;
    while (p.remaining_bytes() > 0) {
        const auto length = p.ConsumeIntegralInRange<size_t>(1, 4096);
        const int times = p.ConsumeBool() ? p.ConsumeIntegralInRange(1, 40) : 1;
        const std::string piece = p.ConsumeBytesAsString(length);
        for (int i = 0; i < times && receiver.failure().isEmpty(); ++i) {
            const QString text = receiver.receive(piece.data(), qsizetype(piece.size()));
            in += qint64(piece.size());
            out += receiver.takeOutgoing().size();
            check(text.size() <= qsizetype(piece.size()));
            check(out <= 2 * in);
            const QString shown = terminal.append(text);
            check(shown.size() <= text.size());
            check(terminal.lastLine().size() <= TerminalBuffer::kMaxLineChars);
            check(terminal.charCount() <= TerminalBuffer::kMaxChars);
            check(terminal.lineCount() <= TerminalBuffer::kMaxLines);
            if (p.ConsumeBool()) {
                // A command typed meanwhile: IAC doubled, nothing else.
                receiver.send(QByteArray::fromStdString(piece.substr(0, 64)));
                check(receiver.takeOutgoing().size() <= 128);
            }
        }
    }
    // The count kept matches the text held.
    check(terminal.charCount() == terminal.text().size() - 2 * (terminal.lineCount() - 1));
    return 0;
}
