#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/device_link.h"
#include "cli/session.h"
#include "device/firmware_version.h"
#include "device/presence.h"
#include "firmware/update_check.h"
#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

using SteadyClock = std::chrono::steady_clock;

// The support page as the command line has it: timer 5 is a deadline the
// command waits for, and the check thread's answers queue up for it.
class ConsoleUpdatePage final : public UpdatePage {
public:
    struct Answer {
        uint32_t round;
        UpdateAnswer answer;
    };

    void startTimeout(uint32_t ms) override {
        std::lock_guard lock(mutex_);
        deadline_ = SteadyClock::now() + std::chrono::milliseconds(ms);
    }
    void stopTimeout() override {
        std::lock_guard lock(mutex_);
        deadline_.reset();
    }
    void postAnswer(uint32_t round, UpdateAnswer answer) override {
        std::lock_guard lock(mutex_);
        answers_.push_back({round, answer});
        arrived_.notify_all();
    }
    // The next answer, or nothing once the time-out has come first.
    std::optional<Answer> next() {
        std::unique_lock lock(mutex_);
        auto ready = [this] { return !answers_.empty(); };
        if (deadline_) arrived_.wait_until(lock, *deadline_, ready);
        else arrived_.wait(lock, ready);
        if (answers_.empty()) return std::nullopt;
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Answer> answers_;
    std::optional<SteadyClock::time_point> deadline_;
};

// The boxes the round would show, kept to be told; no question is confirmed,
// so nothing is downloaded beyond the description and no burner starts.
class ShownMessages final : public UserMessages {
public:
    struct Shown {
        std::string text;
        bool question;
    };
    void info(std::u16string_view text) override { shown.push_back({toUtf8(text), false}); }
    void standard(std::u16string_view text, std::u16string_view) override { info(text); }
    bool question(std::u16string_view text) override {
        shown.push_back({toUtf8(text), true});
        return false;
    }
    std::vector<Shown> shown;
};

// The main window: the round never closes it, since nothing is confirmed.
class NoWindow final : public MessageTarget {
public:
    void post(uint32_t, uintptr_t, intptr_t) override {}
    intptr_t send(uint32_t, uintptr_t, intptr_t) override { return 0; }
};

enum class Outcome { StoredNewer, Newer, Latest, Unreachable, TimedOut };

// One press of the update button, handled to its end as the window's thread would.
Outcome runRound(UpdateCheck& check, ConsoleUpdatePage& page, std::u16string_view installed) {
    if (!check.StartUpdateCheck(installed)) return Outcome::StoredNewer;
    std::optional<UpdateAnswer> last;
    while (!check.idle()) {
        const std::optional<ConsoleUpdatePage::Answer> answer = page.next();
        if (!answer) {
            check.onTimeout();
            return Outcome::TimedOut;
        }
        last = answer->answer;
        check.onAnswer(answer->round, answer->answer);
    }
    if (last == UpdateAnswer::Newer) return Outcome::Newer;
    return last == UpdateAnswer::Latest ? Outcome::Latest : Outcome::Unreachable;
}

int runUpdate(Invocation& call) {
    if (call.args.size() != 1 || call.args[0] != "check") {
        call.err << "usage: q30xctl update check\n";
        return kExitUsage;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    DeviceLinkSetup device;
    if (!setUpLink(call, device)) return kExitUsage;
    if (!openMouse(call, device.link())) return kExitFailure;
    const std::u16string installed = firmwareVersionText(firmwareVersionOf(call, device.link()));

    auto downloader = makeCurlDownloader();
    auto launcher = makeSystemProgramLauncher();
    ShownMessages messages;
    NoWindow window;
    ConsoleUpdatePage page;
    const std::string url = updateDescriptionUrl(std::getenv(kUpdateUrlVariable));
    UpdateCheck check({*downloader, *launcher, messages, window, session.folders, session.language}, page, url,
                      chooseUpdateFolder(session.folders.program, defaultCacheFolder()));
    check.start();
    const Outcome outcome = runRound(check, page, installed);
    check.stop();

    std::ostream& out = call.out;
    out << "installed firmware: " << versionNumber(installed) << " (" << toUtf8(firmwareVersionLabel(installed)) << ")\n";
    const UpdateDescription offered = readUpdateDescription(check.descriptionPath());
    if (outcome == Outcome::StoredNewer) {
        out << "offered firmware: " << offered.current << " (kept by an earlier check in " << check.descriptionPath()
            << "; not asked online)\n";
    } else {
        out << "update description: " << url << "\n";
        if (outcome == Outcome::TimedOut)
            out << "offered firmware: unknown (no answer within " << kUpdateTimeoutMs / 1000 << " seconds)\n";
        else if (outcome == Outcome::Unreachable) out << "offered firmware: unknown (the server cannot be reached)\n";
        else out << "offered firmware: " << offered.current << " (stored in " << check.descriptionPath() << ")\n";
    }
    if (outcome == Outcome::StoredNewer || outcome == Outcome::Newer)
        out << "firmware image: " << (offered.newfile.empty() ? "none named" : offered.newfile) << "\n";
    for (const ShownMessages::Shown& shown : messages.shown)
        out << (shown.question ? "the program asks: \"" : "the program says: \"") << shown.text << "\"\n";
    const std::string burner = std::string(kBurnerProgram) + " \"" + (session.language.chineseUi ? "1" : "0") + "\"";
    if (outcome == Outcome::Newer)
        out << "on OK it downloads the image to " << check.imagePath() << ", starts " << burner << " and ends\n";
    if (outcome == Outcome::StoredNewer)
        out << "on OK it starts " << burner << " with the image in " << check.imagePath()
            << (fileExists(check.imagePath()) ? "" : " (there is none)") << " and ends\n";
    return outcome == Outcome::Unreachable || outcome == Outcome::TimedOut ? kExitFailure : kExitOk;
}

}  // namespace

const Command kUpdateCommand = {
    "update", "check", "check once for newer firmware, as the support page's update button does",
    "Opens the mouse and reads its firmware version, then runs one round of the\n"
    "firmware update check without windows: a description kept by an earlier\n"
    "check that is already newer is answered at once; otherwise update.xml is\n"
    "fetched from the maker's site (or $Q30X_UPDATE_URL) into FWUpdate/new_version\n"
    "of the program folder (else of ~/.cache/TARVO/Q30X), with the program's\n"
    "two-second time-out. Prints the installed and the offered version, the\n"
    "image named, and what the program would show and do. Nothing is confirmed:\n"
    "no image is downloaded and no burner is started.\n"
    "Exit status 0 when the check was answered (newer or not), 1 when the mouse\n"
    "cannot be found or the server does not answer in time.",
    runUpdate};

}  // namespace q30x::cli
