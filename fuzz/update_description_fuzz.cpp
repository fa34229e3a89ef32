// Any bytes as the update description a server sends, read the way the
// update check reads it: the online round (download, stored file, version,
// image address), then a second click that finds the stored description.
// A newer version must be offered exactly when the description says so, and
// only an http or https image address may ever be fetched.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unistd.h>

#include "firmware/update_check.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "tests/support/queued_update_page.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/recording_target.h"

using namespace q30x;

namespace {

constexpr const char* kDescriptionUrl = "https://updates.invalid/update.xml";

// Serves the input as the description; every image fetch succeeds.
struct Server final : Downloader {
    std::span<const uint8_t> description;
    std::vector<std::string> imagesFetched;
    DownloadResult download(const std::string& url, const std::string& target, const DownloadLimits& limits,
                            const std::function<bool()>&) override {
        if (url != kDescriptionUrl) {
            imagesFetched.push_back(url);
            return writeFileAtomic(target, {}, FileAccess::Private) == FileError::None ? DownloadResult::Ok : DownloadResult::WriteFailed;
        }
        if (description.size() > limits.maxBytes) return DownloadResult::TooLarge;
        return writeFileAtomic(target, description, FileAccess::Private) == FileError::None ? DownloadResult::Ok
                                                                       : DownloadResult::WriteFailed;
    }
};

struct World {
    Server server;
    test::RecordingLauncher launcher;
    fuzz::SilentMessages messages;
    test::RecordingTarget window;
    LanguageState language{0, 0, 2};
    test::QueuedUpdatePage page;
    UpdateCheck check{{server, launcher, messages, window, fuzz::folders(), language}, page, kDescriptionUrl,
                      chooseUpdateFolder(fuzz::folders().program, fuzz::folders().working)};
    World() {
        messages.answer = true;
        check.start();
    }

    // The window's thread: every answer handled until the check is idle.
    std::vector<UpdateAnswer> answers() {
        std::vector<UpdateAnswer> handled;
        while (!check.idle()) {
            // A round that never answers is a hang: libFuzzer's time-out reports it.
            const std::optional<test::QueuedUpdatePage::Posted> p = page.next(std::chrono::hours(1));
            fuzz::expect(p.has_value(), "an answer to every round");
            handled.push_back(p->answer);
            check.onAnswer(p->round, p->answer);
        }
        return handled;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static World world;
    ::unlink(world.check.descriptionPath().c_str());
    world.server.description = std::span(data, size);
    world.server.imagesFetched.clear();
    world.launcher.launched.clear();
    world.window.clear();
    world.page.timeouts.clear();
    constexpr std::u16string_view kInstalled = u"12";
    const bool served = size <= kDescriptionLimits.maxBytes;
    const UpdateDescription expected = served ? parseUpdateDescription(std::span(data, size)) : UpdateDescription{};
    const bool newer = served && expected.current > versionNumber(kInstalled);
    const bool fetchable = newer && isDownloadAddress(expected.newfile);

    fuzz::expect(world.check.StartUpdateCheck(kInstalled) == 1, "the first click to start a round");
    const std::vector<UpdateAnswer> answers = world.answers();
    const std::vector<UpdateAnswer> expectedAnswers =
        !served  ? std::vector{UpdateAnswer::Unreachable}
        : !newer ? std::vector{UpdateAnswer::Latest}
                 : std::vector{UpdateAnswer::Newer, fetchable ? UpdateAnswer::ImageReady : UpdateAnswer::ImageFailed};
    fuzz::expect(answers == expectedAnswers, "the round's answers to follow the description");
    fuzz::expect(world.server.imagesFetched == (fetchable ? std::vector{expected.newfile} : std::vector<std::string>{}),
                 "only the description's http or https image fetched");
    fuzz::expect(world.launcher.launched.size() == (fetchable ? 1u : 0u), "the burner started only with an image");

    // The second click reads what the first one stored.
    fuzz::expect(world.check.StartUpdateCheck(kInstalled) == 1, "the second click to offer or start a round");
    world.answers();
    fuzz::expect(world.launcher.launched.size() == (fetchable ? 1u : 0u) + (newer ? 1u : 0u),
                 "a stored newer description to start the burner");
    return 0;
}
