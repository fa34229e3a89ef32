#include "platform/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <algorithm>
#include <map>
#include <vector>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace q30x {
namespace {

// A peer that connects but does not finish its request is dropped once this
// many are waiting, oldest first, so a flood cannot pile up descriptors.
constexpr std::size_t kMaxPending = 16;

bool privateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return false;
    return (info.st_mode & 077) == 0 || ::chmod(path.c_str(), 0700) == 0;
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    return true;
}

class UnixSingleInstance final : public SingleInstance {
public:
    explicit UnixSingleInstance(std::string folder) : folder_(std::move(folder)) {}
    ~UnixSingleInstance() override {
        for (auto& [fd, received] : pending_) ::close(fd);
        if (listener_ >= 0) {
            ::close(listener_);
            ::unlink(socketPath().c_str());
        }
        if (epoll_ >= 0) ::close(epoll_);
        if (lock_ >= 0) ::close(lock_);
    }

    bool acquire() override {
        if (folder_.empty()) return true;  // nowhere private to coordinate: run alone rather than not at all
        lock_ = ::open((folder_ + "/q30x.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (lock_ < 0) return true;
        return ::flock(lock_, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
    }

    bool listen() override {
        sockaddr_un address;
        if (folder_.empty() || !socketAddress(socketPath(), address)) return false;
        ::unlink(address.sun_path);  // we hold the lock: any socket there is a dead copy's
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (listener_ < 0) return false;
        const mode_t previous = ::umask(0177);
        const bool bound = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::umask(previous);
        epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
        if (!bound || ::listen(listener_, 8) != 0 || epoll_ < 0 || !watch(listener_)) {
            ::close(listener_);
            listener_ = -1;
            return false;
        }
        return true;
    }

    int descriptor() const override { return epoll_; }

    int takeShowRequests() override {
        int requests = 0;
        epoll_event events[16];
        const int n = epoll_ >= 0 ? ::epoll_wait(epoll_, events, 16, 0) : 0;
        for (int i = 0; i < n; ++i) {
            const int fd = events[i].data.fd;
            if (fd == listener_) requests += acceptAll();
            else requests += readRequest(fd);
        }
        return requests;
    }

    bool requestShow() override {
        sockaddr_un address;
        if (folder_.empty() || !socketAddress(socketPath(), address)) return false;
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        const bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                          ::send(fd, kShowRequest, sizeof kShowRequest, MSG_NOSIGNAL) == sizeof kShowRequest;
        ::close(fd);
        return sent;
    }

private:
    std::string socketPath() const { return folder_ + "/q30x.sock"; }

    bool watch(int fd) {
        epoll_event event{};
        event.events = EPOLLIN | EPOLLRDHUP;
        event.data.fd = fd;
        return ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) == 0;
    }

    void drop(int fd) {
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
        ::close(fd);
        pending_.erase(fd);
        order_.erase(std::remove(order_.begin(), order_.end(), fd), order_.end());
    }

    // A peer usually sends its request right after connecting: it is read at once.
    int acceptAll() {
        int requests = 0;
        for (;;) {
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) return requests;
            ucred peer{};
            socklen_t size = sizeof peer;
            if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::getuid() ||
                !watch(fd)) {
                ::close(fd);
                continue;
            }
            if (order_.size() >= kMaxPending) drop(order_.front());
            pending_[fd] = {};
            order_.push_back(fd);
            requests += readRequest(fd);
        }
    }

    // 1 when the connection completed a valid request; the connection ends
    // either way once it has sent eight bytes, anything wrong, or hung up.
    int readRequest(int fd) {
        auto found = pending_.find(fd);
        if (found == pending_.end()) return 0;
        std::string& received = found->second;
        char buffer[16];
        for (;;) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0) {
                received.append(buffer, static_cast<std::size_t>(n));
                if (received.size() > sizeof kShowRequest) break;
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (received.size() < sizeof kShowRequest) return 0;  // wait for the rest
            }
            break;
        }
        const bool valid = received.size() == sizeof kShowRequest &&
                           std::memcmp(received.data(), kShowRequest, sizeof kShowRequest) == 0;
        drop(fd);
        return valid ? 1 : 0;
    }

    std::string folder_;
    int lock_ = -1;
    int listener_ = -1;
    int epoll_ = -1;
    std::map<int, std::string> pending_;
    std::vector<int> order_;
};

}  // namespace

std::string instanceFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        const std::string folder = std::string(runtime) + "/q30x";
        if (privateFolder(folder)) return folder;
    }
    const std::string folder = "/tmp/q30x-" + std::to_string(::getuid());
    return privateFolder(folder) ? folder : std::string();
}

std::unique_ptr<SingleInstance> makeSingleInstance(const std::string& folder) {
    return std::make_unique<UnixSingleInstance>(folder);
}

}  // namespace q30x
