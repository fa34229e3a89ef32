#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/frame_data.h"
#include "device/trace.h"
#include "macros/macro_payload.h"
#include "platform/clock.h"
#include "platform/hid.h"

namespace q30x {

// The mouse's ids, as texts parsed at every open.
inline constexpr const char* kVendorIdText = "3C1F";
inline constexpr const char* kProductIdText = "7E02";
// The feature value that marks the vendor interface of the mouse.
inline constexpr uint16_t kVendorUsagePage = 0xFF01;
inline constexpr uint16_t kVendorUsage = 0x22;
// Feature value capabilities examined per interface.
inline constexpr std::size_t kMaxValueCaps = 10;

inline constexpr std::size_t kFrameBufferSize = 255;
inline constexpr std::size_t kOutputReportSize = 33;  // report id + 32 data bytes
inline constexpr std::size_t kChunkSize = 32;
// The mouse needs 50 ms around every report; a pending write gets 1500 ms.
inline constexpr uint32_t kReportPauseMs = 50;
inline constexpr uint32_t kDataPhasePauseMs = 100;
inline constexpr uint32_t kPendingWriteBoundMs = 1500;
// The longest command frame uses bytes 1 to 5.
inline constexpr uint32_t kMinReportLength = 5;

// What the search made of one interface.
enum class InterfaceVerdict : uint8_t {
    Opened,
    NotQueried,
    OtherDevice,
    NoFeatureValues,
    NoVendorValue,
    UnusableLength,
    OpenFailed,
    LaterMatch,  // would match, but an earlier interface was opened
};

struct InterfaceMatch {
    InterfaceVerdict verdict = InterfaceVerdict::NoVendorValue;  // Opened means "matches"
    uint8_t reportId = 0;
    uint32_t reportLength = 0;
};

// The match rules of the search, without opening anything.
InterfaceMatch matchInterface(const HidInterfaceInfo& info, uint16_t vendorId, uint16_t productId);

struct InterfaceSearchEntry {
    HidInterfaceInfo info;
    InterfaceMatch match;
};

std::string interfaceVerdictText(const InterfaceSearchEntry& entry);

// The interface as `q30xctl list` shows it: path and ids, each feature
// value, then the verdict, one indented line each.
std::string describeInterface(const InterfaceSearchEntry& entry);

// What writeMacro gives back: the payload's word count whatever happened,
// and whether every transfer went out.
struct MacroWrite {
    int wordCount = 0;
    bool sent = false;
};

// The device link: finds the mouse's vendor interface and carries every
// frame to it. Not thread-safe: one thread uses it at a time by design (the
// window's thread, or the apply worker while the window waits).
class CUSBDriver {
public:
    // With a trace, every transfer and every pause of the link is written to
    // it; pacingClock() then traces the caller's pauses too.
    CUSBDriver(HidBackend& backend, Clock& clock, Trace* trace = nullptr);
    ~CUSBDriver();
    CUSBDriver(const CUSBDriver&) = delete;
    CUSBDriver& operator=(const CUSBDriver&) = delete;

    // Closes, then opens the first interface with the mouse's ids and the
    // vendor feature value. True when open.
    bool openDevice();
    void closeDevice();
    bool isOpen() const { return device() != nullptr; }

    // Sends commandBuffer()[0 .. reportLength] with byte 0 set to reportId.
    bool setFeature();
    // Reads reportLength + 1 bytes into the zeroed answerBuffer().
    bool getFeature();
    // One 33-byte output report, then 50 ms; false when it was refused or
    // still pending after 1500 ms.
    bool writeOutput(std::span<const uint8_t, kOutputReportSize> frame);
    // `length` bytes (a multiple of 32) as output reports with 50 ms before
    // each; 0 bytes succeed without sending.
    bool writeData(const uint8_t* data, std::size_t length);

    // The device commands; each starts from an all-zero commandBuffer.
    // True with `version` set when the mouse answered as a firmware does.
    bool readFirmwareVersion(int& version);
    bool writeKeyTable(std::span<const uint8_t> table);  // 64 bytes
    // Numbers above 7 and a missing macro send nothing.
    MacroWrite writeMacro(int macroNumber, const EncodedMacro* macro);
    bool writeLightColour(uint32_t bgr);  // 0x00BBGGRR
    bool writeLightingEffect(const LightingEffect& effect);
    bool writeCustomColours(std::span<const uint8_t> colours);  // 32 bytes
    bool writeProximitySensing(int on, int32_t lightingMode);
    bool writeDpiTable(std::span<const uint8_t> table);  // 16 bytes
    bool writeDpiLevel(uint8_t level);
    bool writeReportRate(int32_t interval);

    uint8_t reportId() const { return reportId_; }
    uint32_t reportLength() const { return reportLength_; }
    std::span<uint8_t, kFrameBufferSize> commandBuffer() { return commandBuffer_; }
    std::span<const uint8_t, kFrameBufferSize> answerBuffer() const { return answerBuffer_; }
    const std::string& openedPath() const { return openedPath_; }
    // Every interface of the last openDevice() with what the search made of it.
    const std::vector<InterfaceSearchEntry>& lastSearch() const { return lastSearch_; }
    // The clock the link paces with (traced when the link is).
    Clock& pacingClock() { return *clock_; }

private:
    bool command(std::initializer_list<uint8_t> bytes);
    bool dataPhase(uint32_t pauseMs, std::span<const uint8_t> data);
    bool singleReport(std::span<const uint8_t> data);
    void pause(uint32_t ms) { clock_->sleepMs(ms); }
    std::shared_ptr<HidDevice> device() const;

    HidBackend& backend_;
    std::unique_ptr<TracingClock> tracingClock_;
    Clock* clock_;
    Trace* trace_;
    // A removal closes the link on the window's thread while the apply
    // worker may be inside a transfer: each transfer holds its own reference,
    // so the device goes only when the last transfer on it is over.
    mutable std::mutex deviceMutex_;
    std::shared_ptr<HidDevice> device_;
    std::string openedPath_;
    std::vector<InterfaceSearchEntry> lastSearch_;
    uint16_t vendorId_ = 0;
    uint16_t productId_ = 0;
    uint8_t reportId_ = 0;
    uint32_t reportLength_ = 0;
    std::array<uint8_t, kFrameBufferSize> commandBuffer_{};
    std::array<uint8_t, kFrameBufferSize> answerBuffer_{};
};

// Opens the mouse as the start-up does: up to `attempts` tries with
// `pauseMs` between them.
bool openDeviceWithRetries(CUSBDriver& link, int attempts = 10, uint32_t pauseMs = 500);

}  // namespace q30x
