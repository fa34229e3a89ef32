#include "tests/support/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace q30x::test {
namespace {

constexpr auto kLifetime = std::chrono::minutes(1);

// A listening socket on 127.0.0.1 with a port of the system's choice.
int listenLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("listen failed");
    }
    port = ntohs(address.sin_port);
    return fd;
}

void sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;  // the client gave up: nothing to tell it any more
        sent += static_cast<std::size_t>(n);
    }
}

// The path of the request line, once the whole header has arrived.
std::string readRequestPath(int fd) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        pollfd poller{fd, POLLIN, 0};
        if (::poll(&poller, 1, 5000) <= 0) return {};
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return {};
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const auto first = request.find(' ');
    const auto second = request.find(' ', first + 1);
    if (first == std::string::npos || second == std::string::npos) return {};
    return request.substr(first + 1, second - first - 1);
}

}  // namespace

HttpServer::HttpServer() : listener_(listenLoopback(port_)), thread_([this] { run(); }) {}

HttpServer::~HttpServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
    for (auto& connection : connections_) connection.join();
    ::close(listener_);
}

void HttpServer::serve(const std::string& path, CannedResponse response) {
    std::lock_guard lock(mutex_);
    responses_[path] = std::move(response);
}

std::string HttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int HttpServer::requests(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

bool HttpServer::waitForRequests(const std::string& path, int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return requests_[path] >= count; });
}

bool HttpServer::pause(std::chrono::milliseconds ms) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, ms, [this] { return stopping_; });
}

void HttpServer::run() {
    const auto end = std::chrono::steady_clock::now() + kLifetime;
    while (std::chrono::steady_clock::now() < end) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        pollfd poller{listener_, POLLIN, 0};
        if (::poll(&poller, 1, 20) <= 0) continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        connections_.emplace_back([this, connection] {
            answer(connection);
            ::close(connection);
        });
    }
}

void HttpServer::answer(int connection) {
    const std::string path = readRequestPath(connection);
    CannedResponse response{404, "not here", {}, {}, false, false};
    {
        std::lock_guard lock(mutex_);
        ++requests_[path];
        if (const auto found = responses_.find(path); found != responses_.end()) response = found->second;
    }
    changed_.notify_all();
    if (!pause(response.delay)) return;
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " Canned\r\nConnection: close\r\n";
    if (!response.withoutLength) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    if (!response.location.empty()) head += "Location: " + response.location + "\r\n";
    head += "\r\n";
    sendAll(connection, head);
    sendAll(connection, response.closeMidBody ? response.body.substr(0, response.body.size() / 2) : response.body);
}

std::string refusedUrl(const std::string& path) {
    int port = 0;
    // A port the system just handed out: once closed, connections to it are refused.
    ::close(listenLoopback(port));
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

}  // namespace q30x::test
