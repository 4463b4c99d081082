#include "webserver/SocketProgress.h"

#include <cstddef>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace SocketProgress {

bool bytesTaken(int fd, quint64 *bytes)
{
    tcp_info info {};
    socklen_t len = sizeof info;
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &len) != 0)
        return false;
    // Kernels before 4.1 do not fill the count.
    if (len < offsetof(tcp_info, tcpi_bytes_acked) + sizeof info.tcpi_bytes_acked)
        return false;
    *bytes = info.tcpi_bytes_acked;
    return true;
}

} // namespace SocketProgress
