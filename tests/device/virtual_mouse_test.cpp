#include "platform/virtual/virtual_mouse.h"

#include <gtest/gtest.h>

#include "device/usb_driver.h"

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

    for (const char* fail : {"zz", "12:in", "100", "12,", ":out", "0x"})
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

}  // namespace
}  // namespace q30x
