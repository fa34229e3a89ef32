#include "platform/termination_signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace q30x {
namespace {

int pipeFds[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] auto n = ::write(pipeFds[1], &c, 1);
    errno = saved;
}

}  // namespace

int watchTerminationSignals() {
    if (pipeFds[0] >= 0) return pipeFds[0];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
    return pipeFds[0];
}

bool takeTerminationSignal() {
    bool arrived = false;
    char buffer[16];
    while (pipeFds[0] >= 0 && ::read(pipeFds[0], buffer, sizeof buffer) > 0) arrived = true;
    return arrived;
}

}  // namespace q30x
