#include <curl/curl.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "platform/downloader.h"
#include "platform/files.h"

namespace q30x {
namespace {

struct Transfer {
    std::FILE* file = nullptr;
    std::size_t written = 0;
    std::size_t maxBytes = 0;
    bool tooLarge = false;
    const std::function<bool()>* cancelled = nullptr;
};

std::size_t writeBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer.written + bytes > transfer.maxBytes) {
        transfer.tooLarge = true;
        return 0;  // anything short of `bytes` makes libcurl stop
    }
    transfer.written += bytes;
    return std::fwrite(data, 1, bytes, transfer.file);
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& transfer = *static_cast<Transfer*>(user);
    return (*transfer.cancelled)() ? 1 : 0;
}

class CurlDownloader final : public Downloader {
public:
    CurlDownloader() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlDownloader() override { curl_global_cleanup(); }

    DownloadResult download(const std::string& url, const std::string& target, const DownloadLimits& limits,
                            const std::function<bool()>& cancelled) override {
        // Locked while it fills, like every temporary, and taken away by the
        // next download of the same file if this process dies meanwhile.
        const TemporaryFile temporaryFile = createTemporaryBeside(target, FileAccess::Private);
        if (temporaryFile.descriptor < 0) return DownloadResult::WriteFailed;
        const std::string& temporary = temporaryFile.path;
        Transfer transfer;
        transfer.file = ::fdopen(temporaryFile.descriptor, "wb");
        if (!transfer.file) {
            ::close(temporaryFile.descriptor);
            ::unlink(temporary.c_str());
            return DownloadResult::WriteFailed;
        }
        transfer.maxBytes = limits.maxBytes;
        transfer.cancelled = &cancelled;

        CURL* curl = curl_easy_init();
        DownloadResult result = DownloadResult::Failed;
        if (curl) {
            configure(curl, url, limits, transfer);
            result = outcome(curl_easy_perform(curl), transfer);
            curl_easy_cleanup(curl);
        }
        const bool flushed = std::fflush(transfer.file) == 0 && ::fsync(::fileno(transfer.file)) == 0;
        if (result == DownloadResult::Ok && !flushed) result = DownloadResult::WriteFailed;
        // Renamed while still locked, so that no sweep takes it first.
        if (result == DownloadResult::Ok && std::rename(temporary.c_str(), target.c_str()) != 0)
            result = DownloadResult::WriteFailed;
        if (result != DownloadResult::Ok) ::unlink(temporary.c_str());
        std::fclose(transfer.file);
        return result;
    }

private:
    static void configure(CURL* curl, const std::string& url, const DownloadLimits& limits, Transfer& transfer) {
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS, long{CURLPROTO_HTTP | CURLPROTO_HTTPS});
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS, long{CURLPROTO_HTTP | CURLPROTO_HTTPS});
#endif
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long{limits.connectTimeoutMs});
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long{limits.totalTimeoutMs});
        // A known size over the cap is refused before its body is read.
        curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // time-outs must not raise SIGALRM in a threaded program
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }

    static DownloadResult outcome(CURLcode code, const Transfer& transfer) {
        if (transfer.tooLarge) return DownloadResult::TooLarge;
        switch (code) {
        case CURLE_OK: return DownloadResult::Ok;
        case CURLE_UNSUPPORTED_PROTOCOL: return DownloadResult::Refused;
        case CURLE_FILESIZE_EXCEEDED: return DownloadResult::TooLarge;
        case CURLE_ABORTED_BY_CALLBACK: return DownloadResult::Cancelled;
        case CURLE_WRITE_ERROR: return DownloadResult::WriteFailed;
        default: return DownloadResult::Failed;
        }
    }
};

}  // namespace

std::unique_ptr<Downloader> makeCurlDownloader() { return std::make_unique<CurlDownloader>(); }

}  // namespace q30x
