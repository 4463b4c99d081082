#include "OutputChunker.h"

namespace routersim {

QList<QByteArray> OutputChunker::split(const QByteArray &block)
{
    QList<QByteArray> pieces;
    if (block.isEmpty())
        return pieces;
    qsizetype start = 0;
    const auto cut = [&](qsizetype end) {
        if (end > start)
            pieces << block.mid(start, end - start);
        start = end;
    };
    switch (m_mode) {
    case ChunkMode::Whole:
        break;
    case ChunkMode::Line:
        for (qsizetype i = 0; i < block.size(); ++i)
            if (block[i] == '\n')
                cut(i + 1);
        break;
    case ChunkMode::CrLf:
        for (qsizetype i = 1; i < block.size(); ++i)
            if (block[i - 1] == '\r' && block[i] == '\n')
                cut(i);
        break;
    case ChunkMode::Random: {
        // Most CR/LF pairs are split; elsewhere about one cut in 40 characters.
        std::uniform_int_distribution<int> percent(0, 99);
        for (qsizetype i = 1; i < block.size(); ++i) {
            const bool crlf = block[i - 1] == '\r' && block[i] == '\n';
            if (percent(m_random) < (crlf ? 60 : 2))
                cut(i);
        }
        break;
    }
    }
    cut(block.size());
    return pieces;
}

} // namespace routersim
