#include "device/usb_driver.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace q30x {
namespace {

uint16_t parseHexId(std::string_view text) {
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return static_cast<uint16_t>(value);
}

std::string hex4(unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFF);
    return buffer;
}

}  // namespace

InterfaceMatch matchInterface(const HidInterfaceInfo& info, uint16_t vendorId, uint16_t productId) {
    InterfaceMatch match;
    if (!info.queried) {
        match.verdict = InterfaceVerdict::NotQueried;
    } else if (info.vendorId != vendorId || info.productId != productId) {
        match.verdict = InterfaceVerdict::OtherDevice;
    } else if (info.featureValues.empty()) {
        match.verdict = InterfaceVerdict::NoFeatureValues;
    } else {
        const std::size_t examined = std::min(info.featureValues.size(), kMaxValueCaps);
        auto end = info.featureValues.begin() + static_cast<std::ptrdiff_t>(examined);
        auto found = std::find_if(info.featureValues.begin(), end, [](const HidValueCaps& caps) {
            return caps.usagePage == kVendorUsagePage && caps.usage == kVendorUsage;
        });
        if (found == end) {
            match.verdict = InterfaceVerdict::NoVendorValue;
        } else {
            match.reportId = found->reportId;
            match.reportLength = found->reportCount;
            // Frames live in 255-byte buffers and need bytes 1 to 5.
            const bool fits = match.reportLength >= kMinReportLength && match.reportLength + 1 <= kFrameBufferSize;
            match.verdict = fits ? InterfaceVerdict::Opened : InterfaceVerdict::UnusableLength;
        }
    }
    return match;
}

std::string interfaceVerdictText(const InterfaceSearchEntry& entry) {
    const InterfaceMatch& m = entry.match;
    switch (m.verdict) {
    case InterfaceVerdict::Opened:
        return "opened by the link: report id " + std::to_string(m.reportId) + ", report length " +
               std::to_string(m.reportLength);
    case InterfaceVerdict::NotQueried: return "skipped: cannot be queried (" + entry.info.problem + ")";
    case InterfaceVerdict::OtherDevice: return "skipped: not the Q30X (" + std::string(kVendorIdText) + ":" + kProductIdText + ")";
    case InterfaceVerdict::NoFeatureValues: return "skipped: no feature value capabilities";
    case InterfaceVerdict::NoVendorValue:
        return "skipped: no feature value with usage page 0x" + hex4(kVendorUsagePage) + ", usage 0x" + hex4(kVendorUsage) +
               " among the first " + std::to_string(kMaxValueCaps);
    case InterfaceVerdict::UnusableLength:
        return "skipped: its vendor feature value has report count " + std::to_string(m.reportLength) +
               ", outside " + std::to_string(kMinReportLength) + " to " + std::to_string(kFrameBufferSize - 1);
    case InterfaceVerdict::OpenFailed:
        return "matches, but cannot be opened" + (entry.info.problem.empty() ? "" : " (" + entry.info.problem + ")");
    case InterfaceVerdict::LaterMatch: return "matches, but the link opened an earlier interface";
    }
    return "";
}

std::string describeInterface(const InterfaceSearchEntry& entry) {
    const HidInterfaceInfo& info = entry.info;
    std::string text = info.path + "  " + hex4(info.vendorId) + ":" + hex4(info.productId);
    if (info.queried) text += "  collection 0x" + hex4(info.usagePage) + ":0x" + hex4(info.usage);
    text += "\n";
    if (info.queried && info.featureValues.empty()) text += "  feature values: none\n";
    for (const HidValueCaps& caps : info.featureValues) {
        std::string usage = caps.isRange ? "usages 0x" + hex4(caps.usage) + "-0x" + hex4(caps.usageMaximum)
                                         : "usage 0x" + hex4(caps.usage);
        text += "  feature value: usage page 0x" + hex4(caps.usagePage) + ", " + usage + ", report id " +
                std::to_string(caps.reportId) + ", report count " + std::to_string(caps.reportCount) + ", " +
                std::to_string(caps.bitSize) + " bits\n";
    }
    return text + "  " + interfaceVerdictText(entry) + "\n";
}

CUSBDriver::CUSBDriver(HidBackend& backend, Clock& clock, Trace* trace)
    : backend_(backend), clock_(&clock), trace_(trace) {
    if (trace_) {
        tracingClock_ = std::make_unique<TracingClock>(clock, *trace_);
        clock_ = tracingClock_.get();
    }
}

CUSBDriver::~CUSBDriver() { closeDevice(); }

bool CUSBDriver::openDevice() {
    closeDevice();
    vendorId_ = parseHexId(kVendorIdText);
    productId_ = parseHexId(kProductIdText);
    answerBuffer_.fill(0);
    lastSearch_.clear();
    for (HidInterfaceInfo& info : backend_.enumerate()) {
        InterfaceSearchEntry entry{std::move(info), {}};
        entry.match = matchInterface(entry.info, vendorId_, productId_);
        if (entry.match.verdict == InterfaceVerdict::Opened) {
            if (isOpen()) {
                entry.match.verdict = InterfaceVerdict::LaterMatch;
            } else if (std::shared_ptr<HidDevice> device = backend_.open(entry.info.path)) {
                {
                    std::lock_guard lock(deviceMutex_);
                    device_ = std::move(device);
                }
                openedPath_ = entry.info.path;
                reportId_ = entry.match.reportId;
                reportLength_ = entry.match.reportLength;
            } else {
                entry.match.verdict = InterfaceVerdict::OpenFailed;
            }
        }
        lastSearch_.push_back(std::move(entry));
    }
    return isOpen();
}

void CUSBDriver::closeDevice() {
    std::shared_ptr<HidDevice> closing;
    {
        std::lock_guard lock(deviceMutex_);
        closing.swap(device_);
    }
    openedPath_.clear();
}

std::shared_ptr<HidDevice> CUSBDriver::device() const {
    std::lock_guard lock(deviceMutex_);
    return device_;
}

bool CUSBDriver::setFeature() {
    commandBuffer_[0] = reportId_;
    std::span<const uint8_t> frame(commandBuffer_.data(), reportLength_ + 1);
    const std::shared_ptr<HidDevice> device = this->device();
    const bool ok = device && device->setFeature(frame);
    if (trace_) trace_->setFeature(frame, ok);
    return ok;
}

bool CUSBDriver::getFeature() {
    answerBuffer_.fill(0);
    answerBuffer_[0] = reportId_;
    std::span<uint8_t> answer(answerBuffer_.data(), reportLength_ + 1);
    const std::shared_ptr<HidDevice> device = this->device();
    const bool ok = device && device->getFeature(answer);
    if (trace_) trace_->getFeature(answer, ok);
    return ok;
}

bool CUSBDriver::writeOutput(std::span<const uint8_t, kOutputReportSize> frame) {
    // A write still pending when the bound runs out counts as failed: the
    // mouse did not take the frame, and the next one must not queue behind it.
    const std::shared_ptr<HidDevice> device = this->device();
    const bool ok = device && device->writeOutput(frame, kPendingWriteBoundMs) == HidWrite::Written;
    if (trace_) trace_->output(frame, ok);
    pause(kReportPauseMs);
    return ok;
}

bool CUSBDriver::writeData(const uint8_t* data, std::size_t length) {
    if (!data || length % kChunkSize != 0) return false;
    std::array<uint8_t, kOutputReportSize> frame{};
    for (std::size_t at = 0; at < length; at += kChunkSize) {
        frame[0] = reportId_;
        std::memcpy(frame.data() + 1, data + at, kChunkSize);
        pause(kReportPauseMs);
        if (!writeOutput(frame)) return false;
    }
    return true;
}

bool openDeviceWithRetries(CUSBDriver& link, int attempts, uint32_t pauseMs) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0) link.pacingClock().sleepMs(pauseMs);
        if (link.openDevice()) return true;
    }
    return false;
}

}  // namespace q30x
