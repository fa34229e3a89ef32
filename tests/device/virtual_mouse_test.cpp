#include "platform/virtual/virtual_mouse.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "device/presence.h"
#include "device/usb_driver.h"
#include "platform/virtual/virtual_plugging.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using Bytes = std::vector<uint8_t>;
using Kind = VirtualFailure::Kind;

Bytes frame(Bytes commandBytes, std::size_t size = kVirtualFeatureSize) {
    Bytes bytes(size, 0);
    bytes[0] = kVirtualReportId;
    std::copy(commandBytes.begin(), commandBytes.end(), bytes.begin() + 1);
    return bytes;
}

TEST(VirtualMouseConfig, ReadsTheEnvironmentTexts) {
    VirtualConfigRead read = readVirtualMouseConfig("12,0x13:out,9:stall,open", "7", "1");
    ASSERT_EQ(read.error, "");
    EXPECT_TRUE(read.config.vendorAbsent);
    EXPECT_TRUE(read.config.decoy);
    EXPECT_EQ(read.config.firmwareVersion, 7);
    ASSERT_EQ(read.config.failures.size(), 3u);
    EXPECT_EQ(read.config.failures[0].kind, Kind::SetFeature);
    EXPECT_EQ(read.config.failures[0].command, 0x12);
    EXPECT_EQ(read.config.failures[1].kind, Kind::Output);
    EXPECT_EQ(read.config.failures[1].command, 0x13);
    EXPECT_EQ(read.config.failures[2].kind, Kind::Stall);
    EXPECT_EQ(read.config.failures[2].command, 0x09);

    VirtualConfigRead unset = readVirtualMouseConfig(nullptr, "", nullptr);
    EXPECT_EQ(unset.error, "");
    EXPECT_EQ(unset.config.firmwareVersion, 12);
    EXPECT_FALSE(unset.config.vendorAbsent);

    VirtualConfigRead faults = readVirtualMouseConfig("stall,13:unplug,12:out-unplug", nullptr, nullptr);
    ASSERT_EQ(faults.error, "");
    EXPECT_TRUE(faults.config.stallEveryWrite);
    ASSERT_EQ(faults.config.failures.size(), 2u);
    EXPECT_EQ(faults.config.failures[0].kind, Kind::Unplug);
    EXPECT_EQ(faults.config.failures[0].command, 0x13);
    EXPECT_EQ(faults.config.failures[1].kind, Kind::OutputUnplug);
    EXPECT_FALSE(unset.config.stallEveryWrite);

    for (const char* fail : {"zz", "12:in", "100", "12,", ":out", "0x", "stall:12", "12:unplug-out"})
        EXPECT_NE(readVirtualMouseConfig(fail, nullptr, nullptr).error, "") << fail;
    for (const char* firmware : {"-1", "2560", "1.2", "twelve"})
        EXPECT_NE(readVirtualMouseConfig(nullptr, firmware, nullptr).error, "") << firmware;
}

TEST(VirtualMouse, ThreeInterfacesOnlyTheVendorOneCarriesTheFeatureValue) {
    FakeClock clock;
    VirtualMouseConfig config;
    config.decoy = true;
    VirtualMouse mouse(config, clock);
    auto interfaces = mouse.enumerate();
    ASSERT_EQ(interfaces.size(), 4u);
    EXPECT_EQ(interfaces[0].path, "virtual/decoy");
    for (const auto& info : interfaces) {
        EXPECT_EQ(info.vendorId, 0x3C1F);
        EXPECT_EQ(info.productId, 0x7E02);
        EXPECT_TRUE(info.queried);
        EXPECT_EQ(info.featureValues.empty(), info.path != "virtual/vendor") << info.path;
    }
    CUSBDriver link(mouse, clock);
    EXPECT_TRUE(link.openDevice());
    EXPECT_EQ(link.openedPath(), "virtual/vendor");

    config.vendorAbsent = true;
    VirtualMouse absent(config, clock);
    EXPECT_EQ(absent.enumerate().size(), 3u);
    CUSBDriver none(absent, clock);
    EXPECT_FALSE(none.openDevice());
}

TEST(VirtualMouse, UnpluggedTheInterfacesAreGoneAndTransfersFail) {
    FakeClock clock;
    VirtualMouse mouse({}, clock);
    CUSBDriver link(mouse, clock);
    ASSERT_TRUE(link.openDevice());
    mouse.setPlugged(false);
    EXPECT_FALSE(link.writeDpiLevel(1));
    EXPECT_TRUE(mouse.enumerate().empty());
    EXPECT_FALSE(link.openDevice());
    mouse.setPlugged(true);
    EXPECT_TRUE(link.openDevice());
    EXPECT_TRUE(link.writeDpiLevel(1));
}

TEST(VirtualFirmware, RefusesFramesThatBreakTheProtocol) {
    struct Case {
        const char* what;
        Bytes feature;  // empty: send `report` as an output report instead
        Bytes report;
        const char* error;
    };
    const Case cases[] = {
        {"short feature", frame({0x0B, 0x01, 0x02}, 8), {}, "set-feature of 8 bytes, expected 9"},
        {"long feature", frame({0x0B, 0x01, 0x02}, 10), {}, "set-feature of 10 bytes, expected 9"},
        {"wrong report id", {5, 0x0B, 0x01, 0x02, 0, 0, 0, 0, 0}, {}, "set-feature with report id 0x05"},
        {"unknown command", frame({0x42}), {}, "unknown command 0x42"},
        {"key table with another length", frame({0x12, 0x01, 0x00, 0x41}), {}, "command 0x12 malformed"},
        {"macro number 8", frame({0x13, 0x01, 0x08, 0x00, 0x02}), {}, "command 0x13 malformed"},
        {"stray byte", frame({0x0B, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01}), {}, "command 0x0B malformed"},
        {"report rate 3", frame({0x01, 0x03}), {}, "command 0x01 malformed"},
        {"proximity 0x01", frame({0x03, 0x01}), {}, "command 0x03 malformed"},
        {"unannounced output", {}, frame({1, 2, 3}, 33), "output report that no command announced"},
        {"short output", {}, frame({1, 2, 3}, 32), "output report of 32 bytes, expected 33"},
    };
    for (const auto& c : cases) {
        FakeClock clock;
        VirtualFirmware firmware({}, clock);
        if (!c.feature.empty()) EXPECT_FALSE(firmware.setFeature(c.feature)) << c.what;
        else EXPECT_EQ(firmware.writeOutput(c.report, 1500), HidWrite::Failed) << c.what;
        ASSERT_EQ(firmware.state().protocolErrors.size(), 1u) << c.what;
        EXPECT_EQ(firmware.state().protocolErrors[0], c.error) << c.what;
        EXPECT_EQ(firmware.state().framesAccepted, 0) << c.what;
    }
}

TEST(VirtualFirmware, OutputsBeyondTheAnnouncedOnesAreRefused) {
    FakeClock clock;
    VirtualFirmware firmware({}, clock);
    ASSERT_TRUE(firmware.setFeature(frame({0x09, 0x01, 0x00, 0x20})));
    EXPECT_EQ(firmware.writeOutput(frame({1}, 33), 1500), HidWrite::Written);
    EXPECT_EQ(firmware.writeOutput(frame({2}, 33), 1500), HidWrite::Failed);
    EXPECT_EQ(firmware.state().customColours[0], 1);

    ASSERT_TRUE(firmware.setFeature(frame({0x11, 0x01, 0x07, 0x10})));
    Bytes dpi = frame({1, 2, 3}, 33);
    dpi[20] = 9;  // the second half of the DPI report must stay zero
    EXPECT_EQ(firmware.writeOutput(dpi, 1500), HidWrite::Failed);
    EXPECT_FALSE(firmware.state().dpiTableSet);
}

TEST(VirtualFirmware, AnswersOnlyAfterTheRequest) {
    FakeClock clock;
    VirtualMouseConfig config;
    config.firmwareVersion = 37;
    VirtualFirmware firmware(config, clock);
    Bytes answer = frame({});
    EXPECT_TRUE(firmware.getFeature(answer));
    EXPECT_EQ(answer, frame({}));
    ASSERT_TRUE(firmware.setFeature(frame({0x80})));
    EXPECT_TRUE(firmware.getFeature(answer));
    EXPECT_EQ(answer, frame({0x80, 3, 7}));
    answer = frame({});
    EXPECT_TRUE(firmware.getFeature(answer));  // the answer is given once
    EXPECT_EQ(answer, frame({}));
}

TEST(VirtualFirmware, AGarbledFirmwareAnswersItsBytesInsteadOfTheVersion) {
    FakeClock clock;
    VirtualMouseConfig config;
    config.versionAnswer = std::array<uint8_t, 8>{0x13, 0x80, 0xFF, 1, 2, 3, 4, 5};
    VirtualFirmware firmware(config, clock);
    ASSERT_TRUE(firmware.setFeature(frame({0x80})));
    Bytes answer = frame({});
    EXPECT_TRUE(firmware.getFeature(answer));
    EXPECT_EQ(answer, frame({0x13, 0x80, 0xFF, 1, 2, 3, 4, 5}));
}

TEST(VirtualMouse, StallingEveryWriteHoldsEachReportForTheWholeBound) {
    FakeClock clock;
    VirtualMouse mouse(readVirtualMouseConfig("stall", nullptr, nullptr).config, clock);
    CUSBDriver link(mouse, clock);
    ASSERT_TRUE(link.openDevice());
    for (int attempt = 0; attempt < 2; ++attempt) {
        clock.clearSleeps();
        EXPECT_FALSE(link.writeDpiTable(Bytes(16, 1))) << attempt;
        EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{50, 1500, 50})) << attempt;
    }
    EXPECT_TRUE(link.writeDpiLevel(2)) << "commands without data still go through";
}

// Pulled out at a frame, the mouse fails that frame and every later one, and
// says so on its plugging; the cable pulls it out and back from outside.
TEST(VirtualPlugging, TellsEveryChangeOfPluggingAsTheSystemWould) {
    FakeClock clock;
    VirtualMouse mouse(readVirtualMouseConfig("0b:unplug", nullptr, nullptr).config, clock);
    VirtualPlugging plugging(mouse);
    ASSERT_TRUE(plugging.ready());
    CUSBDriver link(mouse, clock);
    ASSERT_TRUE(link.openDevice());
    EXPECT_TRUE(link.writeReportRate(1));
    EXPECT_TRUE(plugging.takePending().empty());

    EXPECT_FALSE(link.writeDpiLevel(2));
    EXPECT_FALSE(mouse.plugged());
    EXPECT_FALSE(link.writeReportRate(1));
    pollfd ready{plugging.descriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 1) << "the window's wait wakes up";
    const auto removal = plugging.takePending();
    ASSERT_EQ(removal.size(), 1u);
    EXPECT_TRUE(isMouseRemoval(removal[0]));
    EXPECT_EQ(mouse.state().dpiLevel, -1);

    link.closeDevice();
    EXPECT_EQ(mouse.openHandles(), 0);
    mouse.setPlugged(true);
    mouse.setPlugged(true);  // no change, no notification
    const auto arrival = plugging.takePending();
    ASSERT_EQ(arrival.size(), 1u);
    EXPECT_TRUE(isMouseArrival(arrival[0]));
    EXPECT_EQ(::poll(&ready, 1, 0), 0);
}

TEST(VirtualPlugging, TheCableIsAFifoAnotherProcessWrites) {
    test::TempFolder folder;
    const std::string cable = folder.file("cable");
    ASSERT_EQ(::mkfifo(cable.c_str(), 0600), 0);
    FakeClock clock;
    VirtualMouse mouse({}, clock);
    VirtualPlugging plugging(mouse, cable);
    ASSERT_TRUE(plugging.ready());
    const int writer = ::open(cable.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "0101x0", 6), 6);
    ::close(writer);  // a writer going away ends nothing
    std::vector<bool> arrivals;
    for (const auto& n : plugging.takePending()) arrivals.push_back(isMouseArrival(n));
    EXPECT_EQ(arrivals, (std::vector<bool>{false, true, false, true, false}));
    EXPECT_FALSE(mouse.plugged());
    EXPECT_TRUE(plugging.takePending().empty());

    VirtualPlugging missing(mouse, folder.file("no/such/fifo"));
    EXPECT_FALSE(missing.ready());
}

}  // namespace
}  // namespace q30x
