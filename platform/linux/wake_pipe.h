#pragma once
#include <fcntl.h>
#include <unistd.h>

namespace q30x {

// Wakes a reader thread blocked in poll(): it polls readFd() beside its
// devices and ends when that becomes readable.
class WakePipe {
public:
    WakePipe() = default;
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;
    ~WakePipe() { close(); }

    bool open() { return ::pipe2(fds_, O_CLOEXEC) == 0; }
    int readFd() const { return fds_[0]; }
    void wake() {
        char c = 0;
        [[maybe_unused]] auto n = ::write(fds_[1], &c, 1);
    }
    void close() {
        for (int& fd : fds_) {
            if (fd >= 0) ::close(fd);
            fd = -1;
        }
    }

private:
    int fds_[2] = {-1, -1};
};

}  // namespace q30x
