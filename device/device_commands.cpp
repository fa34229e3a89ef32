// The device command set of CUSBDriver: one command frame per operation,
// some followed by a data phase of output reports.
#include <cstring>

#include "device/firmware_version.h"
#include "device/key_codes.h"
#include "device/usb_driver.h"

namespace q30x {
namespace {

constexpr uint8_t kCmdReportRate = 0x01;
constexpr uint8_t kCmdProximity = 0x03;
constexpr uint8_t kCmdCustomColours = 0x09;
constexpr uint8_t kCmdDpiLevel = 0x0B;
constexpr uint8_t kCmdLightColour = 0x0C;
constexpr uint8_t kCmdLightingEffect = 0x0D;
constexpr uint8_t kCmdDpiTable = 0x11;
constexpr uint8_t kCmdKeyTable = 0x12;
constexpr uint8_t kCmdMacro = 0x13;
constexpr int kMaxMacroNumber = 7;

}  // namespace

bool CUSBDriver::command(std::initializer_list<uint8_t> bytes) {
    commandBuffer_.fill(0);
    std::size_t at = 1;
    for (uint8_t byte : bytes) commandBuffer_[at++] = byte;
    return setFeature();
}

bool CUSBDriver::dataPhase(uint32_t pauseMs, std::span<const uint8_t> data) {
    pause(pauseMs);
    return writeData(data.data(), data.size());
}

// One output report with the data at its start and zeros after it.
bool CUSBDriver::singleReport(std::span<const uint8_t> data) {
    pause(kReportPauseMs);
    std::array<uint8_t, kOutputReportSize> frame{};
    frame[0] = reportId_;
    std::memcpy(frame.data() + 1, data.data(), std::min(data.size(), kChunkSize));
    return writeOutput(frame);
}

bool CUSBDriver::readFirmwareVersion(int& version) {
    if (!command({kFirmwareVersionCommand})) return false;
    pause(kReportPauseMs);
    if (!getFeature()) return false;
    std::optional<int> answer = firmwareVersionFromAnswer(std::span(answerBuffer_.data(), reportLength_ + 1));
    if (!answer) return false;
    version = *answer;
    return true;
}

bool CUSBDriver::writeKeyTable(std::span<const uint8_t> table) {
    if (table.size() != kKeyTableSize) return false;
    if (!command({kCmdKeyTable, 0x01, 0x00, static_cast<uint8_t>(kKeyTableSize)})) return false;
    return dataPhase(kDataPhasePauseMs, table);
}

MacroWrite CUSBDriver::writeMacro(int macroNumber, const EncodedMacro* macro) {
    MacroWrite result;
    if (!macro) return result;
    result.wordCount = macro->wordCount;
    if (macroNumber < 0 || macroNumber > kMaxMacroNumber) return result;
    // 0x02: the payload is two 256-byte pages.
    if (!command({kCmdMacro, 0x01, static_cast<uint8_t>(macroNumber), 0x00, 0x02})) return result;
    result.sent = dataPhase(kDataPhasePauseMs, macro->payload);
    return result;
}

bool CUSBDriver::writeLightColour(uint32_t bgr) {
    const auto red = static_cast<uint8_t>(bgr), green = static_cast<uint8_t>(bgr >> 8),
               blue = static_cast<uint8_t>(bgr >> 16);
    return command({kCmdLightColour, 0x01, green, red, blue});
}

bool CUSBDriver::writeLightingEffect(const LightingEffect& effect) {
    return command({kCmdLightingEffect, 0x01, effect.mode, effect.first, effect.second});
}

bool CUSBDriver::writeCustomColours(std::span<const uint8_t> colours) {
    if (colours.size() != kCustomColoursSize) return false;
    if (!command({kCmdCustomColours, 0x01, 0x00, static_cast<uint8_t>(kCustomColoursSize)})) return false;
    return singleReport(colours);
}

bool CUSBDriver::writeProximitySensing(int on, int32_t lightingMode) {
    return command({kCmdProximity, proximityByte(on, lightingMode)});
}

bool CUSBDriver::writeDpiTable(std::span<const uint8_t> table) {
    if (table.size() != kDpiTableSize) return false;
    if (!command({kCmdDpiTable, 0x01, 0x07, static_cast<uint8_t>(kDpiTableSize)})) return false;
    return singleReport(table);
}

bool CUSBDriver::writeDpiLevel(uint8_t level) { return command({kCmdDpiLevel, 0x01, level}); }

bool CUSBDriver::writeReportRate(int32_t interval) { return command({kCmdReportRate, reportRateByte(interval)}); }

}  // namespace q30x
