#pragma once
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/hid.h"

namespace q30x::test {

// A HID stack made of plain lists: the interfaces it reports, the paths that
// refuse to open, and a log of what the opened device was given.
struct FakeHid final : HidBackend {
    struct Log {
        std::vector<std::vector<uint8_t>> setFeatures, getFeatures, outputs;
        std::vector<uint32_t> writeBounds;
        std::deque<HidWrite> writeResults;  // front first; Written when empty
        bool featuresFail = false;
        std::vector<uint8_t> answer;  // copied into get-feature buffers
    };

    std::vector<HidInterfaceInfo> interfaces;
    std::set<std::string> unopenable;
    std::vector<std::string> opened;
    std::shared_ptr<Log> log = std::make_shared<Log>();

    std::vector<HidInterfaceInfo> enumerate() override { return interfaces; }

    std::unique_ptr<HidDevice> open(const std::string& path) override {
        if (unopenable.count(path)) return nullptr;
        opened.push_back(path);
        return std::make_unique<Device>(log);
    }

    struct Device final : HidDevice {
        explicit Device(std::shared_ptr<Log> log) : log(std::move(log)) {}
        bool setFeature(std::span<const uint8_t> report) override {
            log->setFeatures.emplace_back(report.begin(), report.end());
            return !log->featuresFail;
        }
        bool getFeature(std::span<uint8_t> report) override {
            log->getFeatures.emplace_back(report.begin(), report.end());
            for (std::size_t i = 0; i < report.size() && i < log->answer.size(); ++i) report[i] = log->answer[i];
            return !log->featuresFail;
        }
        HidWrite writeOutput(std::span<const uint8_t> report, uint32_t timeoutMs) override {
            log->outputs.emplace_back(report.begin(), report.end());
            log->writeBounds.push_back(timeoutMs);
            if (log->writeResults.empty()) return HidWrite::Written;
            HidWrite result = log->writeResults.front();
            log->writeResults.pop_front();
            return result;
        }
        std::shared_ptr<Log> log;
    };
};

inline HidValueCaps featureValue(uint16_t page, uint16_t usage, uint8_t reportId = 6, uint16_t count = 8) {
    HidValueCaps caps;
    caps.usagePage = page;
    caps.usage = usage;
    caps.reportId = reportId;
    caps.reportCount = count;
    caps.bitSize = 8;
    return caps;
}

inline HidInterfaceInfo hidInterface(std::string path, std::vector<HidValueCaps> values, uint16_t vendor = 0x3C1F,
                                     uint16_t product = 0x7E02) {
    HidInterfaceInfo info;
    info.path = std::move(path);
    info.vendorId = vendor;
    info.productId = product;
    info.queried = true;
    info.featureValues = std::move(values);
    return info;
}

}  // namespace q30x::test
