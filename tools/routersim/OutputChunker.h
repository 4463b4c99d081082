#pragma once
// Cuts what the router writes into the pieces that go on the wire, so the
// program's telnet reader meets every way a reply can arrive: whole, a line
// at a time, split between CR and LF, or split anywhere.
#include "TelnetBehaviour.h"

#include <QByteArray>
#include <QList>
#include <random>

namespace routersim {

class OutputChunker
{
public:
    OutputChunker(ChunkMode mode, quint32 seed) : m_mode(mode), m_random(seed) {}

    // The pieces of one block of output, in order; joined they give the block.
    QList<QByteArray> split(const QByteArray &block);

private:
    ChunkMode m_mode;
    std::mt19937 m_random;
};

} // namespace routersim
