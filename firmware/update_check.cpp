#include "firmware/update_check.h"

#include <climits>
#include <cstdint>

#include "device/presence.h"
#include "i18n/xml_document.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/utf16.h"

namespace q30x {

uint32_t versionNumber(std::u16string_view text) {
    std::size_t i = 0;
    auto blank = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > int64_t{INT_MAX} + 1) break;  // already out of range either way
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<uint32_t>(static_cast<int32_t>(value));
}

std::string updateDescriptionUrl(const char* override) {
    if (override && *override) return override;
    std::string_view host = kMakerWebsite;
    if (host.ends_with('/')) host.remove_suffix(1);
    return std::string(host) + std::string(kUpdateDescriptionPath);
}

std::string chooseUpdateFolder(const std::string& programFolder, const std::string& cacheFolder) {
    const std::string beside = joinPath(programFolder, kUpdateFolder);
    if (createDirectories(beside) && isWritableDirectory(beside)) return beside;
    return joinPath(cacheFolder, kUpdateFolder);
}

bool isDownloadAddress(std::string_view url) {
    auto startsWithNoCase = [url](std::string_view prefix) {
        if (url.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            const char c = url[i];
            if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != prefix[i]) return false;
        }
        return true;
    };
    return startsWithNoCase("http://") || startsWithNoCase("https://");
}

UpdateDescription readUpdateDescription(const std::string& path) {
    const FileRead read = readFile(path, kDescriptionLimits.maxBytes + 1);
    // A stored file over the cap did not come from a download of ours.
    if (read.error != FileError::None || read.bytes.size() > kDescriptionLimits.maxBytes) return {};
    return parseUpdateDescription(read.bytes);
}

UpdateDescription parseUpdateDescription(std::span<const uint8_t> bytes) {
    UpdateDescription description;
    XmlDocument document;
    document.Load(bytes);
    description.current = versionNumber(StringCatalogue::GetEntry(document, "firmware", "current"));
    description.newfile = toUtf8(StringCatalogue::GetEntry(document, "firmware", "newfile"));
    return description;
}

std::u16string_view updateText(UpdateText text, bool chinese) {
    switch (text) {
    case UpdateText::Question:
        return chinese ? u"游戏鼠标固件有更新,是否更新到最新版本?"
                       : u"A new version of firmware is available for the gaming mouse, whether to update or not?";
    case UpdateText::Latest: return chinese ? u"固件已经是最新版本." : u"Firmware is the latest version.";
    case UpdateText::Unreachable: return chinese ? u"无法连接到更新服务器." : u"The update server cannot be reached.";
    case UpdateText::ImageFailed: return u"New-version firmware download failed.";
    }
    return {};
}

UpdateCheck::UpdateCheck(UpdateServices services, UpdatePage& page, std::string descriptionUrl,
                         std::string updateFolder)
    : services_(services), page_(page), descriptionUrl_(std::move(descriptionUrl)), folder_(std::move(updateFolder)) {}

void UpdateCheck::start() {
    if (thread_.joinable()) return;
    updateThreadRunning_ = 1;
    thread_ = std::thread([this] { UpdateCheckThread(); });
}

void UpdateCheck::stop() {
    updateThreadRunning_ = 0;
    trigger_.set();
    if (thread_.joinable()) thread_.join();
}

std::string UpdateCheck::firmwareUrl() const {
    std::lock_guard lock(urlMutex_);
    return firmwareUrl_;
}

std::string UpdateCheck::descriptionPath() const { return joinPath(folder_, kUpdateDescriptionFile); }

std::string UpdateCheck::imagePath() const { return joinPath(folder_, kFirmwareImageFile); }

int UpdateCheck::StartUpdateCheck(std::u16string_view installedVersionText) {
    if (!updateIdle_) return 0;
    updateIdle_ = 0;
    installed_ = versionNumber(installedVersionText);
    if (readUpdateDescription(descriptionPath()).current > installed_) {
        // An earlier check already found the newer firmware: no need to go online.
        const bool accepted = services_.messages.question(updateText(UpdateText::Question, services_.language.chineseUi));
        if (accepted) LaunchBurner();
        updateIdle_ = 1;
        return accepted ? 1 : 0;
    }
    request_ = Request::Description;
    activeRound_ = ++lastRound_;
    page_.startTimeout(kUpdateTimeoutMs);
    trigger_.set();
    return 1;
}

void UpdateCheck::onTimeout() {
    page_.stopTimeout();
    // Only the description has a deadline; the image may take its time.
    if (activeRound_ == 0 || request_ != Request::Description) return;
    trigger_.reset();
    // Before the box: a late answer handled while it is up must find the round over.
    finishRound();
    show(UpdateText::Unreachable);
}

void UpdateCheck::onAnswer(uint32_t round, UpdateAnswer answer) {
    if (round == 0 || round != activeRound_) return;
    page_.stopTimeout();
    switch (answer) {
    case UpdateAnswer::Newer:
        if (services_.messages.question(updateText(UpdateText::Question, services_.language.chineseUi))) {
            request_ = Request::Image;
            trigger_.set();
            return;  // the round goes on with the image
        }
        finishRound();
        return;
    case UpdateAnswer::ImageReady:
        finishRound();
        LaunchBurner();
        return;
    case UpdateAnswer::Latest: show(UpdateText::Latest); break;
    case UpdateAnswer::Unreachable: show(UpdateText::Unreachable); break;
    case UpdateAnswer::ImageFailed: show(UpdateText::ImageFailed); break;
    }
    // The box is modal: the round ends once the user has read it.
    finishRound();
}

bool UpdateCheck::LaunchBurner() {
    if (!startBurner(services_.launcher, services_.folders, services_.language.chineseUi)) {
        services_.messages.info(burnerFailureText(services_.language.chineseUi));
        return false;
    }
    services_.mainWindow.post(msg::kClose, 0, 0);
    return true;
}

void UpdateCheck::finishRound() {
    activeRound_ = 0;
    updateIdle_ = 1;
}

void UpdateCheck::show(UpdateText text) { services_.messages.info(updateText(text, services_.language.chineseUi)); }

void UpdateCheck::UpdateCheckThread() {
    while (updateThreadRunning_) {
        trigger_.wait();
        if (!updateThreadRunning_) return;
        trigger_.reset();
        const uint32_t round = activeRound_;
        if (round == 0) continue;  // the time-out came before the thread woke
        const UpdateAnswer answer = request_ == Request::Image ? fetchImage(round) : fetchDescription(round);
        page_.postAnswer(round, answer);
    }
}

std::function<bool()> UpdateCheck::abandonedTest(uint32_t round) const {
    // Shutdown, the time-out or a newer round all make the transfer pointless.
    return [this, round] { return !updateThreadRunning_ || activeRound_ != round; };
}

UpdateAnswer UpdateCheck::fetchDescription(uint32_t round) {
    const auto abandoned = abandonedTest(round);
    if (!createDirectories(folder_, 0700)) return UpdateAnswer::Unreachable;
    if (services_.downloader.download(descriptionUrl_, descriptionPath(), kDescriptionLimits, abandoned) !=
        DownloadResult::Ok)
        return UpdateAnswer::Unreachable;
    const UpdateDescription description = readUpdateDescription(descriptionPath());
    {
        std::lock_guard lock(urlMutex_);
        firmwareUrl_ = description.newfile;
    }
    return description.current > installed_ ? UpdateAnswer::Newer : UpdateAnswer::Latest;
}

UpdateAnswer UpdateCheck::fetchImage(uint32_t round) {
    const auto abandoned = abandonedTest(round);
    const std::string url = firmwareUrl();
    if (!isDownloadAddress(url)) return UpdateAnswer::ImageFailed;
    const DownloadResult result = services_.downloader.download(url, imagePath(), kImageLimits, abandoned);
    return result == DownloadResult::Ok ? UpdateAnswer::ImageReady : UpdateAnswer::ImageFailed;
}

}  // namespace q30x
