#include "SignalQuitter.h"

#include <QSocketNotifier>
#include <csignal>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace routersim {

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void onSignal(int signalNumber)
{
    const int saved = errno;
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
    errno = saved;
}

} // namespace

SignalQuitter::SignalQuitter(QObject *parent) : QObject(parent) {}

SignalQuitter::~SignalQuitter()
{
    if (m_notifier) {
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        ::close(g_pipe[0]);
        ::close(g_pipe[1]);
        g_pipe[0] = g_pipe[1] = -1;
    }
}

bool SignalQuitter::install(QString *error)
{
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        if (error)
            *error = QString("cannot set up signal handling: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalQuitter::onReadable);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    return true;
}

void SignalQuitter::onReadable()
{
    char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1)
        emit signalled(byte);
}

} // namespace routersim
