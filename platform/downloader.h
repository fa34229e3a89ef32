#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace q30x {

// How a download ended. Only Ok leaves a file behind.
enum class DownloadResult {
    Ok,
    Refused,      // the address, or a redirect, is not http or https
    Failed,       // no connection, an error status, a cut-off body or the time-out
    TooLarge,     // the body is longer than allowed
    Cancelled,    // the caller gave up
    WriteFailed,  // the target's folder cannot take the file
};

struct DownloadLimits {
    uint32_t connectTimeoutMs;
    uint32_t totalTimeoutMs;
    std::size_t maxBytes;
};

// Fetches one address to one file, the stand-in for URLDownloadToFileW.
class Downloader {
public:
    virtual ~Downloader() = default;
    // Fetches `url` over http or https only (redirects too), with the TLS peer
    // verified, and replaces `target` whole only after the body arrived
    // complete: the bytes go beside it first. `cancelled` is polled while
    // the transfer runs, so a caller can end it early.
    virtual DownloadResult download(const std::string& url, const std::string& target, const DownloadLimits& limits,
                                    const std::function<bool()>& cancelled) = 0;
};

std::unique_ptr<Downloader> makeCurlDownloader();

}  // namespace q30x
