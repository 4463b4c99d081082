#pragma once
// How much of what a connection was sent its client has taken: the bytes the
// client's side has acknowledged. A reply that sits in a full socket because
// its client stopped reading makes no progress by this count, however large
// the buffers on the way.
#include <QtGlobal>

namespace SocketProgress {

// False when the system cannot tell for this socket.
bool bytesTaken(int fd, quint64 *bytes);

} // namespace SocketProgress
