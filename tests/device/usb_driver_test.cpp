#include "device/usb_driver.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <sstream>
#include <thread>

#include "tests/device/fake_hid.h"

namespace q30x {
namespace {

using test::featureValue;
using test::hidInterface;
using V = InterfaceVerdict;

HidValueCaps vendorValue(uint8_t id = 6, uint16_t count = 8) { return featureValue(0xFF01, 0x22, id, count); }

std::vector<HidValueCaps> others(int n) {
    std::vector<HidValueCaps> values;
    for (int i = 0; i < n; ++i) values.push_back(featureValue(0xFF01, static_cast<uint16_t>(0x30 + i)));
    return values;
}

std::vector<HidValueCaps> with(std::vector<HidValueCaps> values, std::size_t at, HidValueCaps extra) {
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(at), extra);
    return values;
}

TEST(OpenDevice, SearchRules) {
    HidInterfaceInfo unqueried = hidInterface("unqueried", {vendorValue()});
    unqueried.queried = false;
    struct Case {
        const char* what;
        std::vector<HidInterfaceInfo> interfaces;
        std::set<std::string> unopenable;
        std::vector<V> verdicts;
        const char* opened;  // nullptr: none
        uint8_t reportId;
        uint32_t reportLength;
    };
    const Case cases[] = {
        {"nothing present", {}, {}, {}, nullptr, 0, 0},
        {"the three interfaces of the mouse",
         {hidInterface("pointer", {}), hidInterface("keyboard", {}), hidInterface("vendor", {vendorValue()})},
         {}, {V::NoFeatureValues, V::NoFeatureValues, V::Opened}, "vendor", 6, 8},
        {"wrong vendor, wrong product",
         {hidInterface("a", {vendorValue()}, 0x3C1E), hidInterface("b", {vendorValue()}, 0x3C1F, 0x7E03)},
         {}, {V::OtherDevice, V::OtherDevice}, nullptr, 0, 0},
        {"cannot be queried", {unqueried}, {}, {V::NotQueried}, nullptr, 0, 0},
        {"only wrong usages",
         {hidInterface("a", {featureValue(0xFF01, 0x21), featureValue(0xFF00, 0x22), featureValue(0x0001, 0x22)})},
         {}, {V::NoVendorValue}, nullptr, 0, 0},
        {"the vendor value tenth of ten", {hidInterface("a", with(others(9), 9, vendorValue()))}, {}, {V::Opened}, "a", 6, 8},
        {"the vendor value eleventh is not examined", {hidInterface("a", with(others(10), 10, vendorValue()))}, {},
         {V::NoVendorValue}, nullptr, 0, 0},
        {"many values, the vendor one first", {hidInterface("a", with(others(40), 0, vendorValue(9, 20)))}, {},
         {V::Opened}, "a", 9, 20},
        {"the first vendor value counts",
         {hidInterface("a", {featureValue(0xFF01, 0x10), vendorValue(5, 16), vendorValue(7, 32)})}, {}, {V::Opened},
         "a", 5, 16},
        {"a match that cannot be opened is passed over",
         {hidInterface("a", {vendorValue(1)}), hidInterface("b", {vendorValue(2)})}, {"a"},
         {V::OpenFailed, V::Opened}, "b", 2, 8},
        {"the first match wins",
         {hidInterface("a", {vendorValue(1)}), hidInterface("b", {vendorValue(2)})}, {},
         {V::Opened, V::LaterMatch}, "a", 1, 8},
        {"report lengths the frames cannot use",
         {hidInterface("a", {vendorValue(1, 4)}), hidInterface("b", {vendorValue(2, 255)}),
          hidInterface("c", {vendorValue(3, 254)})},
         {}, {V::UnusableLength, V::UnusableLength, V::Opened}, "c", 3, 254},
    };
    for (const auto& c : cases) {
        test::FakeHid hid;
        hid.interfaces = c.interfaces;
        hid.unopenable = c.unopenable;
        FakeClock clock;
        CUSBDriver link(hid, clock);
        EXPECT_EQ(link.openDevice(), c.opened != nullptr) << c.what;
        std::vector<V> verdicts;
        for (const auto& entry : link.lastSearch()) verdicts.push_back(entry.match.verdict);
        EXPECT_EQ(verdicts, c.verdicts) << c.what;
        EXPECT_EQ(link.openedPath(), c.opened ? c.opened : "") << c.what;
        EXPECT_EQ(link.reportId(), c.reportId) << c.what;
        EXPECT_EQ(link.reportLength(), c.reportLength) << c.what;
        EXPECT_TRUE(clock.sleeps().empty()) << c.what;
    }
}

TEST(OpenDevice, KeepsTheLastMatchAndClosesFirst) {
    test::FakeHid hid;
    hid.interfaces = {hidInterface("vendor", {vendorValue(6, 8)})};
    FakeClock clock;
    CUSBDriver link(hid, clock);
    ASSERT_TRUE(link.openDevice());
    hid.interfaces.clear();
    EXPECT_FALSE(link.openDevice());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.reportId(), 6);
    EXPECT_EQ(link.reportLength(), 8u);
    // A command on the closed link fails at its first transfer and sends nothing.
    EXPECT_FALSE(link.writeDpiLevel(3));
    EXPECT_TRUE(hid.log->setFeatures.empty());
}

TEST(OpenDevice, RetriesAsTheStartUpDoes) {
    test::FakeHid hid;
    FakeClock clock;
    CUSBDriver link(hid, clock);
    EXPECT_FALSE(openDeviceWithRetries(link));
    EXPECT_EQ(clock.sleeps(), std::vector<uint32_t>(9, 500));
    hid.interfaces = {hidInterface("vendor", {vendorValue()})};
    clock.clearSleeps();
    EXPECT_TRUE(openDeviceWithRetries(link));
    EXPECT_TRUE(clock.sleeps().empty());
}

struct OpenLink : ::testing::Test {
    OpenLink() {
        hid.interfaces = {hidInterface("vendor", {vendorValue(6, 8)})};
        EXPECT_TRUE(link.openDevice());
    }
    test::FakeHid hid;
    FakeClock clock;
    std::ostringstream traced;
    Trace trace{traced};
    CUSBDriver link{hid, clock, &trace};
};

TEST_F(OpenLink, FeatureTransfersCarryTheReportIdAndLength) {
    auto frame = link.commandBuffer();
    frame[0] = 0x55;  // replaced by the report id
    frame[1] = 0x80;
    frame[9] = 0xEE;  // beyond the report: not sent
    EXPECT_TRUE(link.setFeature());
    ASSERT_EQ(hid.log->setFeatures.size(), 1u);
    EXPECT_EQ(hid.log->setFeatures[0], (std::vector<uint8_t>{6, 0x80, 0, 0, 0, 0, 0, 0, 0}));

    hid.log->answer = {6, 0x80, 1, 2, 0, 0, 0, 0, 0, 0xAA};
    EXPECT_TRUE(link.getFeature());
    EXPECT_EQ(hid.log->getFeatures[0], (std::vector<uint8_t>{6, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(link.answerBuffer()[3], 2);
    EXPECT_EQ(link.answerBuffer()[9], 0);  // only reportLength + 1 bytes are read
    EXPECT_EQ(traced.str(), "SET_FEATURE 06 80 00 00 00 00 00 00 00\nGET_FEATURE 06 80 01 02 00 00 00 00 00\n");
}

TEST_F(OpenLink, WriteDataLengths) {
    const std::vector<uint8_t> data(64, 0xAB);
    EXPECT_FALSE(link.writeData(nullptr, 32));
    EXPECT_FALSE(link.writeData(data.data(), 33));
    EXPECT_FALSE(link.writeData(data.data(), 31));
    EXPECT_TRUE(link.writeData(data.data(), 0));
    EXPECT_TRUE(hid.log->outputs.empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(traced.str(), "");
}

TEST_F(OpenLink, WriteDataSendsChunksWithPausesAround) {
    std::vector<uint8_t> data(64);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
    EXPECT_TRUE(link.writeData(data.data(), data.size()));
    ASSERT_EQ(hid.log->outputs.size(), 2u);
    for (int chunk = 0; chunk < 2; ++chunk) {
        std::vector<uint8_t> expected{6};
        expected.insert(expected.end(), data.begin() + 32 * chunk, data.begin() + 32 * (chunk + 1));
        EXPECT_EQ(hid.log->outputs[chunk], expected);
    }
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{50, 50, 50, 50}));
    EXPECT_EQ(hid.log->writeBounds, (std::vector<uint32_t>{1500, 1500}));
}

TEST_F(OpenLink, AWriteThatIsNotTakenFailsAndStopsTheData) {
    for (HidWrite result : {HidWrite::TimedOut, HidWrite::Failed}) {
        hid.log->outputs.clear();
        hid.log->writeResults = {HidWrite::Written, result};
        clock.clearSleeps();
        traced.str("");
        const std::vector<uint8_t> data(96, 1);
        EXPECT_FALSE(link.writeData(data.data(), data.size()));
        EXPECT_EQ(hid.log->outputs.size(), 2u);  // the third chunk is never sent
        EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{50, 50, 50, 50}));
        EXPECT_NE(traced.str().find(" FAILED\nSLEEP 50\n"), std::string::npos) << traced.str();
    }
}

// A vendor interface whose output report stays inside the device until the
// test lets it go, and which notes being destroyed while a call is in it.
struct HeldWrite {
    std::mutex mutex;
    std::condition_variable changed;
    bool inCall = false, release = false, destroyedInCall = false;

    struct Backend final : HidBackend {
        explicit Backend(std::shared_ptr<HeldWrite> held) : held(std::move(held)) {}
        std::vector<HidInterfaceInfo> enumerate() override { return {hidInterface("vendor", {vendorValue()})}; }
        std::unique_ptr<HidDevice> open(const std::string&) override { return std::make_unique<Device>(held); }
        std::shared_ptr<HeldWrite> held;
    };
    struct Device final : HidDevice {
        explicit Device(std::shared_ptr<HeldWrite> held) : held(std::move(held)) {}
        ~Device() override {
            std::lock_guard lock(held->mutex);
            if (held->inCall) held->destroyedInCall = true;
        }
        bool setFeature(std::span<const uint8_t>) override { return true; }
        bool getFeature(std::span<uint8_t>) override { return true; }
        HidWrite writeOutput(std::span<const uint8_t>, uint32_t) override {
            std::shared_ptr<HeldWrite> h = held;  // the call must not need `this` after the wait
            std::unique_lock lock(h->mutex);
            h->inCall = true;
            h->changed.notify_all();
            h->changed.wait(lock, [&] { return h->release; });
            h->inCall = false;
            return HidWrite::Written;
        }
        std::shared_ptr<HeldWrite> held;
    };
};

// A removal is handled on the window's thread while the apply worker may be
// inside a transfer: closing the link must neither free the device under
// that transfer nor wait for it.
TEST(CloseDevice, DuringATransferTheDeviceOutlivesTheTransfer) {
    auto held = std::make_shared<HeldWrite>();
    HeldWrite::Backend backend(held);
    FakeClock clock;
    CUSBDriver link(backend, clock);
    ASSERT_TRUE(link.openDevice());
    std::array<uint8_t, kOutputReportSize> frame{};
    bool written = false;
    std::thread worker([&] { written = link.writeOutput(frame); });
    {
        std::unique_lock lock(held->mutex);
        held->changed.wait(lock, [&] { return held->inCall; });
    }
    link.closeDevice();
    EXPECT_FALSE(link.isOpen());
    {
        std::lock_guard lock(held->mutex);
        EXPECT_FALSE(held->destroyedInCall);
        held->release = true;
    }
    held->changed.notify_all();
    worker.join();
    EXPECT_TRUE(written);
    EXPECT_FALSE(held->destroyedInCall);
    // The next transfer finds the link closed.
    EXPECT_FALSE(link.writeOutput(frame));
}

TEST(InterfaceVerdict, TextsSayWhy) {
    InterfaceSearchEntry entry{hidInterface("x", {}), {}};
    entry.info.problem = "no access to /dev/hidraw3";
    const std::pair<InterfaceMatch, const char*> cases[] = {
        {{V::Opened, 6, 8}, "opened by the link: report id 6, report length 8"},
        {{V::NotQueried, 0, 0}, "skipped: cannot be queried (no access to /dev/hidraw3)"},
        {{V::NoVendorValue, 0, 0}, "skipped: no feature value with usage page 0xFF01, usage 0x0022 among the first 10"},
        {{V::UnusableLength, 1, 300}, "skipped: its vendor feature value has report count 300, outside 5 to 254"},
        {{V::OpenFailed, 0, 0}, "matches, but cannot be opened (no access to /dev/hidraw3)"},
    };
    for (const auto& [match, text] : cases) {
        entry.match = match;
        EXPECT_EQ(interfaceVerdictText(entry), text);
    }
}

TEST(Trace, LinesAreExact) {
    std::ostringstream out;
    Trace trace(out);
    const uint8_t bytes[] = {0x06, 0xAB, 0x00, 0x0F};
    trace.setFeature(bytes, true);
    trace.output(bytes, false);
    trace.getFeature(std::span(bytes, 1), true);
    FakeClock inner;
    TracingClock clock(inner, trace);
    clock.sleepMs(1500);
    const int32_t values[] = {6, 10, 1};
    trace.desktop(4, values);
    trace.desktop(113, std::span(values, 0));
    EXPECT_EQ(out.str(),
              "SET_FEATURE 06 ab 00 0f\nOUTPUT 06 ab 00 0f FAILED\nGET_FEATURE 06\nSLEEP 1500\nDESKTOP 4 6 10 1\n"
              "DESKTOP 113\n");
    EXPECT_EQ(inner.sleeps(), std::vector<uint32_t>{1500});
}

}  // namespace
}  // namespace q30x
