#include "platform/virtual/virtual_firmware.h"

#include <algorithm>
#include <cstdio>

namespace q30x {
namespace {

std::string hexByte(unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", value & 0xFF);
    return buffer;
}

// Bytes from `from` on are unused by the command and must be zero.
bool zeroFrom(std::span<const uint8_t> frame, std::size_t from) {
    return std::all_of(frame.begin() + static_cast<std::ptrdiff_t>(std::min(from, frame.size())), frame.end(),
                       [](uint8_t b) { return b == 0; });
}

bool fixedBytes(std::span<const uint8_t> frame, std::initializer_list<uint8_t> expected) {
    std::size_t at = 2;
    for (uint8_t byte : expected)
        if (frame[at++] != byte) return false;
    return true;
}

}  // namespace

VirtualFirmware::VirtualFirmware(const VirtualMouseConfig& config, Clock& clock)
    : firmwareVersion_(config.firmwareVersion),
      stallEveryWrite_(config.stallEveryWrite),
      versionAnswer_(config.versionAnswer),
      clock_(clock),
      failures_(config.failures) {}

bool VirtualFirmware::refuse(const std::string& why) {
    state_.protocolErrors.push_back(why);
    return false;
}

bool VirtualFirmware::takeFailure(VirtualFailure::Kind kind, uint8_t command) {
    auto found = std::find_if(failures_.begin(), failures_.end(), [&](const VirtualFailure& failure) {
        return failure.kind == kind && failure.command == command;
    });
    if (found == failures_.end()) return false;
    failures_.erase(found);
    return true;
}

bool VirtualFirmware::unplugsAt(std::span<const uint8_t> report, bool output) {
    if (output) return pending_.reportsExpected > 0 && takeFailure(VirtualFailure::Kind::OutputUnplug, pending_.command);
    return report.size() > 1 && takeFailure(VirtualFailure::Kind::Unplug, report[1]);
}

void VirtualFirmware::powerLost() {
    pending_ = {};
    answerReady_ = false;
}

bool VirtualFirmware::setFeature(std::span<const uint8_t> report) {
    if (report.size() != kVirtualFeatureSize)
        return refuse("set-feature of " + std::to_string(report.size()) + " bytes, expected " +
                      std::to_string(kVirtualFeatureSize));
    if (report[0] != kVirtualReportId) return refuse("set-feature with report id " + hexByte(report[0]));
    if (takeFailure(VirtualFailure::Kind::SetFeature, report[1])) return false;
    if (pending_.reportsExpected > 0) {
        // The firmware drops an unfinished data phase and takes the new command.
        state_.protocolErrors.push_back("data phase of command " + hexByte(pending_.command) + " abandoned after " +
                                        std::to_string(pending_.reportsSeen) + " of " +
                                        std::to_string(pending_.reportsExpected) + " output reports");
        pending_ = {};
    }
    answerReady_ = false;
    if (!acceptCommand(report)) return false;
    ++state_.framesAccepted;
    return true;
}

bool VirtualFirmware::acceptCommand(std::span<const uint8_t> f) {
    const uint8_t command = f[1];
    auto expectData = [this, command](int reports, int macroNumber = 0) {
        pending_ = {command, macroNumber, reports, 0, {}};
    };
    const std::string name = "command " + hexByte(command);
    switch (command) {
    case 0x80:
        if (!zeroFrom(f, 2)) return refuse(name + " with stray bytes");
        answerReady_ = true;
        ++state_.firmwareRequests;
        return true;
    case 0x12:
        if (!fixedBytes(f, {0x01, 0x00, 0x40}) || !zeroFrom(f, 5)) return refuse(name + " malformed");
        expectData(2);
        return true;
    case 0x13:
        if (f[2] != 0x01 || f[3] > 7 || f[4] != 0x00 || f[5] != 0x02 || !zeroFrom(f, 6))
            return refuse(name + " malformed");
        expectData(16, f[3]);
        return true;
    case 0x0C:
        if (f[2] != 0x01 || !zeroFrom(f, 6)) return refuse(name + " malformed");
        state_.lightColour = {f[3], f[4], f[5]};
        state_.lightColourSet = true;
        return true;
    case 0x0D:
        if (f[2] != 0x01 || !zeroFrom(f, 6)) return refuse(name + " malformed");
        state_.lightingEffect = {f[3], f[4], f[5]};
        state_.lightingEffectSet = true;
        return true;
    case 0x09:
        if (!fixedBytes(f, {0x01, 0x00, 0x20}) || !zeroFrom(f, 5)) return refuse(name + " malformed");
        expectData(1);
        return true;
    case 0x03:
        if ((f[2] != 0xA0 && f[2] != 0xB0) || !zeroFrom(f, 3)) return refuse(name + " malformed");
        state_.proximity = f[2];
        return true;
    case 0x11:
        if (!fixedBytes(f, {0x01, 0x07, 0x10}) || !zeroFrom(f, 5)) return refuse(name + " malformed");
        expectData(1);
        return true;
    case 0x0B:
        if (f[2] != 0x01 || !zeroFrom(f, 4)) return refuse(name + " malformed");
        state_.dpiLevel = f[3];
        return true;
    case 0x01:
        if ((f[2] != 1 && f[2] != 2 && f[2] != 4 && f[2] != 8) || !zeroFrom(f, 3)) return refuse(name + " malformed");
        state_.reportRate = f[2];
        return true;
    default: return refuse("unknown " + name);
    }
}

bool VirtualFirmware::getFeature(std::span<uint8_t> report) {
    if (report.size() != kVirtualFeatureSize)
        return refuse("get-feature of " + std::to_string(report.size()) + " bytes, expected " +
                      std::to_string(kVirtualFeatureSize));
    if (report[0] != kVirtualReportId) return refuse("get-feature with report id " + hexByte(report[0]));
    std::fill(report.begin() + 1, report.end(), 0);
    // Without a preceding request the firmware has nothing to say.
    if (answerReady_ && versionAnswer_) {
        std::copy(versionAnswer_->begin(), versionAnswer_->end(), report.begin() + 1);
    } else if (answerReady_) {
        report[1] = 0x80;
        report[2] = static_cast<uint8_t>(firmwareVersion_ / 10);
        report[3] = static_cast<uint8_t>(firmwareVersion_ % 10);
    }
    answerReady_ = false;
    return true;
}

HidWrite VirtualFirmware::writeOutput(std::span<const uint8_t> report, uint32_t timeoutMs) {
    if (report.size() != kVirtualOutputSize) {
        refuse("output report of " + std::to_string(report.size()) + " bytes, expected " +
               std::to_string(kVirtualOutputSize));
        return HidWrite::Failed;
    }
    if (report[0] != kVirtualReportId) {
        refuse("output report with report id " + hexByte(report[0]));
        return HidWrite::Failed;
    }
    if (pending_.reportsExpected == 0) {
        refuse("output report that no command announced");
        return HidWrite::Failed;
    }
    if (pending_.command == 0x11 && !zeroFrom(report, 17)) {
        refuse("DPI table with bytes after its 16");
        return HidWrite::Failed;
    }
    if (takeFailure(VirtualFailure::Kind::Output, pending_.command)) return HidWrite::Failed;
    if (stallEveryWrite_ || takeFailure(VirtualFailure::Kind::Stall, pending_.command)) {
        clock_.sleepMs(timeoutMs);
        return HidWrite::TimedOut;
    }
    pending_.data.insert(pending_.data.end(), report.begin() + 1, report.end());
    ++state_.framesAccepted;
    if (++pending_.reportsSeen == pending_.reportsExpected) finishData();
    return HidWrite::Written;
}

void VirtualFirmware::finishData() {
    const std::vector<uint8_t>& data = pending_.data;
    switch (pending_.command) {
    case 0x12:
        std::copy_n(data.begin(), state_.keyTable.size(), state_.keyTable.begin());
        state_.keyTableSet = true;
        break;
    case 0x13:
        std::copy_n(data.begin(), 512, state_.macros[pending_.macroNumber].begin());
        state_.macroSet[pending_.macroNumber] = true;
        break;
    case 0x09:
        std::copy_n(data.begin(), state_.customColours.size(), state_.customColours.begin());
        state_.customColoursSet = true;
        break;
    case 0x11:
        std::copy_n(data.begin(), state_.dpiTable.size(), state_.dpiTable.begin());
        state_.dpiTableSet = true;
        break;
    default: break;
    }
    pending_ = {};
}

}  // namespace q30x
