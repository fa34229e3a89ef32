#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>

#include "i18n/catalogue.h"
#include "platform/devices.h"
#include "platform/downloader.h"
#include "platform/manual_reset_event.h"
#include "platform/message_target.h"
#include "platform/paths.h"
#include "platform/user_messages.h"

namespace q30x {

// The maker's web site: the support page's web button opens it, and the
// update description lives on the same host.
inline constexpr std::string_view kMakerWebsite = "https://www.tarvo.com/";
inline constexpr std::string_view kUpdateDescriptionPath = "/software/q30X/update.xml";
// Replaces the whole description address (a test server, a mirror).
inline constexpr const char* kUpdateUrlVariable = "Q30X_UPDATE_URL";

// Relative to the program folder, or to the cache folder when the program
// folder cannot take files.
inline constexpr const char* kUpdateFolder = "FWUpdate/new_version";
inline constexpr const char* kUpdateDescriptionFile = "update.xml";
inline constexpr const char* kFirmwareImageFile = "TarvoGameDevice.bin";

// The support page's timer that answers for a server that is too slow.
inline constexpr uint32_t kUpdateTimer = 5;
inline constexpr uint32_t kUpdateTimeoutMs = 2000;

// A description is a few hundred bytes; an image fits the mouse's flash.
inline constexpr DownloadLimits kDescriptionLimits{5000, 10000, 64u << 10};
inline constexpr DownloadLimits kImageLimits{5000, 120000, 16u << 20};

// A version in text as _wtoi reads it (blanks, a sign, digits up to the
// first other character, INT_MAX or INT_MIN past the range), taken as an
// unsigned 32-bit number: "-5" is 4294967291.
uint32_t versionNumber(std::u16string_view text);

// The description's address: `override` when it is set and not empty, else
// the maker's host with the description's path.
std::string updateDescriptionUrl(const char* override);

// "FWUpdate/new_version" in the program folder when the program folder can
// take it, else the same path under `cacheFolder`.
std::string chooseUpdateFolder(const std::string& programFolder, const std::string& cacheFolder);

// Only these are ever fetched: the image address comes from outside.
bool isDownloadAddress(std::string_view url);

struct UpdateDescription {
    uint32_t current = 0;  // 0 when missing or unreadable: no update is offered
    std::string newfile;   // empty when missing
};
// A description's bytes, read through the catalogue's entry lookup.
UpdateDescription parseUpdateDescription(std::span<const uint8_t> bytes);
// The stored description; one over the download cap counts as none.
UpdateDescription readUpdateDescription(const std::string& path);

enum class UpdateText { Question, Latest, Unreachable, ImageFailed };
std::u16string_view updateText(UpdateText text, bool chinese);

// What a round of the check thread found, handed to the window's thread.
enum class UpdateAnswer : uintptr_t { Latest, Newer, Unreachable, ImageReady, ImageFailed };

// The support page as the check sees it: its time-out timer, and the
// mailbox that carries the thread's answers to the window's thread.
class UpdatePage {
public:
    virtual ~UpdatePage() = default;
    virtual void startTimeout(uint32_t ms) = 0;
    virtual void stopTimeout() = 0;
    // Queues the answer; the window's thread later passes it to onAnswer().
    virtual void postAnswer(uint32_t round, UpdateAnswer answer) = 0;
};

struct UpdateServices {
    Downloader& downloader;
    ProgramLauncher& launcher;
    UserMessages& messages;       // shown on the window's thread only
    MessageTarget& mainWindow;    // closed once the burner runs
    const Folders& folders;
    const LanguageState& language;
};

// The firmware update check: the button's start, the thread that goes
// online, the time-out and the hand-over to the burner. Everything but the
// thread runs on the window's thread, and only it shows messages.
class UpdateCheck {
public:
    UpdateCheck(UpdateServices services, UpdatePage& page, std::string descriptionUrl, std::string updateFolder);
    ~UpdateCheck() { stop(); }
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // Starts the check thread, which sleeps until a round is asked for.
    void start();
    // Ends the thread, cutting short a download in flight; returns when it has.
    void stop();

    // The update button. 0 when ignored (a round is in flight) or the stored
    // description's offer was declined; 1 when a round started or the burner
    // was asked for.
    int StartUpdateCheck(std::u16string_view installedVersionText);
    // Timer 5: the server took too long. The round's late answer is dropped.
    void onTimeout();
    // An answer the thread posted through the page.
    void onAnswer(uint32_t round, UpdateAnswer answer);
    // Starts the burner and closes the program; a burner that cannot be
    // started is told and the program runs on.
    bool LaunchBurner();

    bool idle() const { return updateIdle_ != 0; }
    std::string firmwareUrl() const;
    std::string descriptionPath() const;
    std::string imagePath() const;

private:
    enum class Request { Description, Image };

    // The check thread: sleeps on the trigger, one round per trigger.
    void UpdateCheckThread();
    std::function<bool()> abandonedTest(uint32_t round) const;
    UpdateAnswer fetchDescription(uint32_t round);
    UpdateAnswer fetchImage(uint32_t round);
    void finishRound();
    void show(UpdateText text);

    UpdateServices services_;
    UpdatePage& page_;
    const std::string descriptionUrl_;
    const std::string folder_;

    std::atomic<int> updateThreadRunning_{1};
    std::atomic<int> updateIdle_{1};
    // The round whose answer is awaited, 0 for none. It stands for the
    // cancelled flag: a timed-out round's answer finds another number and is
    // dropped, also after a newer round has started, which a flag cleared by
    // the late round would have cancelled instead.
    std::atomic<uint32_t> activeRound_{0};
    std::atomic<Request> request_{Request::Description};
    std::atomic<uint32_t> installed_{0};
    uint32_t lastRound_ = 0;
    ManualResetEvent trigger_;
    mutable std::mutex urlMutex_;
    std::string firmwareUrl_;
    std::thread thread_;
};

}  // namespace q30x
