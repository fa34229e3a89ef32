#pragma once
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace q30x::test {

// What the server answers for one path.
struct CannedResponse {
    int status = 200;
    std::string body;
    std::string location;                   // sent as Location: for redirects
    std::chrono::milliseconds delay{0};     // before the status line
    bool closeMidBody = false;              // announces the whole body, sends half, hangs up
    bool withoutLength = false;             // no Content-Length: the body ends where the connection does
};

// A tiny HTTP/1.1 server on 127.0.0.1 with canned answers, a thread per
// connection, so a slow answer holds up no other. It ends by itself after a minute at the latest, so a test that
// forgets it cannot hang the run; paths it does not know answer 404.
class HttpServer {
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    void serve(const std::string& path, CannedResponse response);
    // "http://127.0.0.1:<port>" + path.
    std::string url(const std::string& path) const;
    // How often `path` was asked for.
    int requests(const std::string& path) const;
    // Waits until `path` has been asked for `count` times; false after ten seconds.
    bool waitForRequests(const std::string& path, int count);

private:
    void run();
    void answer(int connection);
    // Sleeps `ms` unless the server is stopping; false when it is.
    bool pause(std::chrono::milliseconds ms);

    int port_ = 0;  // before the listener, which sets it
    int listener_ = -1;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, CannedResponse> responses_;
    std::map<std::string, int> requests_;
    bool stopping_ = false;
    std::vector<std::thread> connections_;
    std::thread thread_;
};

// An address on 127.0.0.1 where nothing listens: connections are refused.
std::string refusedUrl(const std::string& path);

}  // namespace q30x::test
