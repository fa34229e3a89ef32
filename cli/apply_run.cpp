#include "cli/apply_run.h"

#include <condition_variable>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <ostream>
#include <unistd.h>

#include "cli/device_link.h"
#include "device/apply_worker.h"
#include "platform/messages.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

// The progress window: a bar on a terminal, one line per point elsewhere,
// nothing when quiet.
class ConsoleProgress final : public MessageTarget {
public:
    enum class Style { Bar, Lines, None };
    ConsoleProgress(std::ostream& out, Style style) : out_(out), style_(style) {}
    void post(uint32_t message, uintptr_t wParam, intptr_t) override {
        if (message != msg::kApplyProgress || style_ == Style::None) return;
        const auto percent = static_cast<int>(wParam);
        if (style_ == Style::Lines) {
            out_ << "progress " << percent << "%\n" << std::flush;
            return;
        }
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << percent << "%"
             << (percent >= 100 ? "\n" : "") << std::flush;
    }
    intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        post(message, wParam, lParam);
        return 0;
    }

private:
    std::ostream& out_;
    Style style_;
};

// The main window as far as an apply goes: it waits for the outcome.
class Outcome final : public MessageTarget {
public:
    void post(uint32_t message, uintptr_t, intptr_t lParam) override {
        if (message != msg::kApplySucceeded && message != msg::kApplyFailed) return;
        std::lock_guard lock(mutex_);
        step_ = message == msg::kApplySucceeded ? kApplySucceeded : static_cast<int>(lParam);
        done_ = true;
        arrived_.notify_all();
    }
    intptr_t send(uint32_t, uintptr_t, intptr_t) override { return 0; }
    int wait() {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [this] { return done_; });
        return step_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    bool done_ = false;
    int step_ = kApplySucceeded;
};

void noteOnce(const std::string& text) { std::fprintf(stderr, "q30xctl: %s\n", text.c_str()); }

}  // namespace

int applyAndSave(Invocation& call, Session& session, ApplyOutput output) {
    DeviceLinkSetup device;
    if (!setUpLink(call, device)) return kExitUsage;
    if (!openMouse(call, device.link())) return kExitFailure;

    bool noDisplay = false;
    auto desktop = makeDesktopFor(device.isVirtual(), call.has("desktop"), noteOnce, noDisplay);
    if (noDisplay) call.err << "q30xctl: no X display: the pointer and wheel settings are not applied to the desktop\n";

    // The command line reads no desktop input: the intercept table is only written.
    QuietInputSource input(false);
    InputHooks hooks(input);
    const bool quiet = output == ApplyOutput::Quiet;
    const bool bar = !device.tracesToStandardOutput() && ::isatty(STDOUT_FILENO) && &call.out == &std::cout;
    ConsoleProgress progress(call.out, quiet ? ConsoleProgress::Style::None
                                       : bar ? ConsoleProgress::Style::Bar
                                             : ConsoleProgress::Style::Lines);
    Outcome outcome;
    ApplyWorker worker({device.link(), *session.state, *session.macros, session.language, hooks, *desktop,
                        device.trace()});
    worker.setMainWindow(&outcome);
    worker.start(&progress);
    worker.requestApply();
    const int step = outcome.wait();
    worker.stop();

    if (step != kApplySucceeded) {
        std::string text = toUtf8(applyFailureText(step));
        while (!text.empty() && text.back() == '\n') text.pop_back();
        call.err << text << "\n";
        return kExitStepBase + step;
    }
    const int profile = session.state->currentEntry + 1;
    if (!session.store->saveAfterApply()) {
        call.err << "q30xctl: profile " << profile << " is on the mouse but was not saved\n";
        return kExitFailure;
    }
    if (!quiet) call.out << "profile " << profile << " applied and saved\n";
    return kExitOk;
}

}  // namespace q30x::cli
