#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <ostream>
#include <poll.h>
#include <sstream>

#include "app/input_hooks.h"
#include "app/input_source_choice.h"
#include "cli/commands.h"
#include "device/presence.h"
#include "platform/input_sources.h"
#include "platform/messages.h"

namespace q30x::cli {
namespace {

constexpr int kDefaultSeconds = 10;

// The hooks' target: every message, one line each, as it arrives.
class PrintingWindow final : public MessageTarget {
public:
    explicit PrintingWindow(std::ostream& out) : out_(out) {}
    void post(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        char line[96];
        if (message == msg::kInputEvent && wParam == 1)
            std::snprintf(line, sizeof line, "2027 key pressed (flags 0x%02lx)", static_cast<long>(lParam));
        else if (message == msg::kInputEvent)
            std::snprintf(line, sizeof line, "2027 input 0x%lx", static_cast<unsigned long>(wParam));
        else if (message == msg::kHookInput && lParam != 0)
            std::snprintf(line, sizeof line, "1034 key 0x%02lx flags 0x%02lx", static_cast<unsigned long>(wParam),
                          static_cast<long>(lParam));
        else
            std::snprintf(line, sizeof line, "%u 0x%lx 0x%lx", message, static_cast<unsigned long>(wParam),
                          static_cast<long>(lParam));
        std::lock_guard lock(mutex_);
        out_ << line << "\n" << std::flush;
    }
    intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        post(message, wParam, lParam);
        return 0;
    }
    void line(const std::string& text) {
        std::lock_guard lock(mutex_);
        out_ << text << "\n" << std::flush;
    }

private:
    std::mutex mutex_;
    std::ostream& out_;
};

bool parseCodes(const std::string& text, std::vector<int32_t>& codes) {
    std::stringstream words(text);
    std::string word;
    while (std::getline(words, word, ',')) {
        char* end = nullptr;
        long code = std::strtol(word.c_str(), &end, 16);
        if (word.empty() || *end || code <= 0) return false;
        codes.push_back(static_cast<int32_t>(code));
    }
    return true;
}

int runWatch(Invocation& call) {
    int seconds = kDefaultSeconds;
    if (call.args.size() > 1 || (call.args.size() == 1 && (seconds = std::atoi(call.args[0].c_str())) <= 0)) {
        call.err << "usage: q30xctl watch [SECONDS]\n";
        return kExitUsage;
    }
    std::vector<int32_t> intercept;
    if (call.has("intercept") && !parseCodes(call.options["intercept"], intercept)) {
        call.err << "q30xctl: --intercept takes input codes in hex, comma-separated (0x207,0x20A01)\n";
        return kExitUsage;
    }
    PrintingWindow window(call.out);
    std::ostream& err = call.err;
    FallbackInputSource source(makeEvdevInputSource(), makeX11RawInputSource(),
                               [&err](const std::string& text) { err << "q30xctl: " << text << "\n"; });
    InputHooks hooks(source);
    hooks.setStatistics(1, 1);
    if (!hooks.installHooks(&window)) {
        call.err << "q30xctl: no desktop input can be read: neither the event devices nor an X display\n";
        return kExitFailure;
    }
    window.line(source.canSwallow() ? "input: event devices (buttons can be intercepted)"
                                    : "input: X11 raw events (observe only)");
    for (int32_t code : intercept) hooks.addIntercept(code);

    auto notifications = makeSystemDeviceNotifications();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd wait{notifications->descriptor(), POLLIN, 0};
        if (::poll(&wait, wait.fd >= 0 ? 1 : 0, static_cast<int>(left.count())) <= 0) continue;
        for (const auto& n : notifications->takePending()) {
            const char* what = isMouseArrival(n) ? "Q30X arrived" : isMouseRemoval(n) ? "Q30X removed" : "other device";
            window.line(std::string("device: ") + what + " " + n.devicePath);
        }
    }
    hooks.removeHooks();
    return kExitOk;
}

}  // namespace

const Command kWatchCommand = {
    "watch", "[SECONDS]", "print what the input hooks and the device notifications see",
    "Installs the global input hooks with click and key statistics on and prints\n"
    "every message they post (2027, 1034) and every USB arrival and removal, for\n"
    "SECONDS (default 10). The first line names the input backend in use. With\n"
    "--intercept CODES (hex input codes, e.g. 0x207,0x20A01) those buttons are\n"
    "intercepted, as an advanced action would have them.",
    runWatch};

}  // namespace q30x::cli
