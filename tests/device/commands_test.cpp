#include <gtest/gtest.h>
#include <sstream>

#include "device/key_codes.h"
#include "device/usb_driver.h"
#include "platform/virtual/virtual_mouse.h"
#include "tests/device/fake_hid.h"

namespace q30x {
namespace {

using Bytes = std::vector<uint8_t>;

// The trace lines a frame of the virtual mouse's vendor interface gives.
std::string feature(Bytes commandBytes, const char* suffix = "") {
    Bytes frame(9, 0);
    frame[0] = 6;
    std::copy(commandBytes.begin(), commandBytes.end(), frame.begin() + 1);
    return "SET_FEATURE " + hexBytes(frame) + suffix + "\n";
}

std::string output(const Bytes& data, const char* suffix = "") {
    Bytes frame(33, 0);
    frame[0] = 6;
    std::copy(data.begin(), data.end(), frame.begin() + 1);
    return "OUTPUT " + hexBytes(frame) + suffix + "\n";
}

std::string chunks(const Bytes& data) {
    std::string lines;
    for (std::size_t at = 0; at < data.size(); at += 32)
        lines += "SLEEP 50\n" + output(Bytes(data.begin() + at, data.begin() + at + 32)) + "SLEEP 50\n";
    return lines;
}

Bytes counting(std::size_t size, uint8_t start) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(start + i);
    return bytes;
}

class VirtualLink : public ::testing::Test {
protected:
    void start(const char* fail = nullptr, const char* firmware = nullptr) {
        VirtualConfigRead read = readVirtualMouseConfig(fail, firmware, nullptr);
        ASSERT_EQ(read.error, "");
        mouse = std::make_unique<VirtualMouse>(read.config, clock);
        link = std::make_unique<CUSBDriver>(*mouse, clock, &trace);
        ASSERT_TRUE(link->openDevice());
        ASSERT_EQ(link->reportId(), 6);
        ASSERT_EQ(link->reportLength(), 8u);
    }
    std::string traced() const { return out.str(); }

    FakeClock clock;
    std::ostringstream out;
    Trace trace{out};
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<CUSBDriver> link;
};

TEST_F(VirtualLink, CommandsWithoutData) {
    start();
    EXPECT_TRUE(link->writeLightColour(0x00332211));
    EXPECT_TRUE(link->writeLightingEffect({5, 4, 1}));
    EXPECT_TRUE(link->writeProximitySensing(1, 1));
    EXPECT_TRUE(link->writeDpiLevel(3));
    EXPECT_TRUE(link->writeReportRate(3));
    EXPECT_EQ(traced(), feature({0x0C, 0x01, 0x22, 0x11, 0x33}) + feature({0x0D, 0x01, 0x05, 0x04, 0x01}) +
                            feature({0x03, 0xA0}) + feature({0x0B, 0x01, 0x03}) + feature({0x01, 0x02}));
    EXPECT_TRUE(clock.sleeps().empty());
    VirtualMouseState state = mouse->state();
    EXPECT_EQ(state.lightColour, (std::array<uint8_t, 3>{0x22, 0x11, 0x33}));
    EXPECT_EQ(state.lightingEffect, (std::array<uint8_t, 3>{5, 4, 1}));
    EXPECT_EQ(state.proximity, 0xA0);
    EXPECT_EQ(state.dpiLevel, 3);
    EXPECT_EQ(state.reportRate, 2);
    EXPECT_TRUE(state.protocolErrors.empty());
}

TEST_F(VirtualLink, ProximityStaysOffWhileTheLightingIsOff) {
    start();
    EXPECT_TRUE(link->writeProximitySensing(1, 6));
    EXPECT_EQ(traced(), feature({0x03, 0xB0}));
}

TEST_F(VirtualLink, KeyTable) {
    start();
    const Bytes table = counting(64, 0x40);
    EXPECT_TRUE(link->writeKeyTable(table));
    EXPECT_EQ(traced(), feature({0x12, 0x01, 0x00, 0x40}) + "SLEEP 100\n" + chunks(table));
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{100, 50, 50, 50, 50}));
    VirtualMouseState state = mouse->state();
    EXPECT_TRUE(state.keyTableSet);
    EXPECT_EQ(Bytes(state.keyTable.begin(), state.keyTable.end()), table);
}

TEST_F(VirtualLink, Macro) {
    start();
    EncodedMacro macro;
    for (std::size_t i = 0; i < macro.payload.size(); ++i) macro.payload[i] = static_cast<uint8_t>(i * 7);
    macro.wordCount = 300;
    MacroWrite written = link->writeMacro(2, &macro);
    EXPECT_EQ(written.wordCount, 300);
    EXPECT_TRUE(written.sent);
    const Bytes payload(macro.payload.begin(), macro.payload.end());
    EXPECT_EQ(traced(), feature({0x13, 0x01, 0x02, 0x00, 0x02}) + "SLEEP 100\n" + chunks(payload));
    EXPECT_EQ(clock.sleeps().size(), 33u);
    VirtualMouseState state = mouse->state();
    EXPECT_TRUE(state.macroSet[2]);
    EXPECT_EQ(Bytes(state.macros[2].begin(), state.macros[2].end()), payload);
}

TEST_F(VirtualLink, MacroNumbersBeyondSevenAndMissingMacrosSendNothing) {
    start();
    EncodedMacro macro;
    macro.wordCount = 9;
    EXPECT_EQ(link->writeMacro(8, &macro).wordCount, 9);
    EXPECT_FALSE(link->writeMacro(8, &macro).sent);
    EXPECT_EQ(link->writeMacro(-1, &macro).wordCount, 9);
    EXPECT_EQ(link->writeMacro(1, nullptr).wordCount, 0);
    EXPECT_EQ(traced(), "");
    EXPECT_TRUE(link->writeMacro(0, &macro).sent);
}

TEST_F(VirtualLink, CustomColoursAndDpiTableAreOneReportEach) {
    start();
    const Bytes colours = counting(32, 1);
    const Bytes dpi = {0x03, 0x05, 0x06, 0x08, 0x0A, 0x0E, 0x28, 0x02, 0x03, 0x05, 0x06, 0x08, 0x0A, 0x0E, 0x28, 0x02};
    EXPECT_TRUE(link->writeCustomColours(colours));
    EXPECT_TRUE(link->writeDpiTable(dpi));
    EXPECT_EQ(traced(), feature({0x09, 0x01, 0x00, 0x20}) + "SLEEP 50\n" + output(colours) + "SLEEP 50\n" +
                            feature({0x11, 0x01, 0x07, 0x10}) + "SLEEP 50\n" + output(dpi) + "SLEEP 50\n");
    VirtualMouseState state = mouse->state();
    EXPECT_EQ(Bytes(state.customColours.begin(), state.customColours.end()), colours);
    EXPECT_EQ(Bytes(state.dpiTable.begin(), state.dpiTable.end()), dpi);
    EXPECT_TRUE(state.protocolErrors.empty());
}

TEST_F(VirtualLink, WrongDataLengthsSendNothing) {
    start();
    EXPECT_FALSE(link->writeKeyTable(Bytes(63)));
    EXPECT_FALSE(link->writeKeyTable(Bytes(65)));
    EXPECT_FALSE(link->writeCustomColours(Bytes(31)));
    EXPECT_FALSE(link->writeDpiTable(Bytes(17)));
    EXPECT_EQ(traced(), "");
}

TEST_F(VirtualLink, FirmwareVersion) {
    for (const auto& [setting, version] : {std::pair<const char*, int>{nullptr, 12}, {"7", 7}, {"2559", 2559}}) {
        out.str("");
        start(nullptr, setting);
        int read = -1;
        EXPECT_TRUE(link->readFirmwareVersion(read));
        EXPECT_EQ(read, version);
        Bytes answer = {6, 0x80, static_cast<uint8_t>(version / 10), static_cast<uint8_t>(version % 10), 0, 0, 0, 0, 0};
        EXPECT_EQ(traced(), feature({0x80}) + "SLEEP 50\nGET_FEATURE " + hexBytes(answer) + "\n");
    }
}

TEST_F(VirtualLink, EachCommandFailsWhenItsFrameIsRefused) {
    struct Case {
        const char* fail;
        bool (*run)(CUSBDriver&);
        std::string trace;  // up to and including the refused transfer
    };
    static const Bytes k64(64), k32(32), k16(16);
    static EncodedMacro macro;
    const Case cases[] = {
        {"80", [](CUSBDriver& l) { int v = 0; return l.readFirmwareVersion(v); }, feature({0x80}, " FAILED")},
        {"12", [](CUSBDriver& l) { return l.writeKeyTable(k64); }, feature({0x12, 0x01, 0x00, 0x40}, " FAILED")},
        {"12:out", [](CUSBDriver& l) { return l.writeKeyTable(k64); },
         feature({0x12, 0x01, 0x00, 0x40}) + "SLEEP 100\nSLEEP 50\n" + output(k32, " FAILED") + "SLEEP 50\n"},
        {"13", [](CUSBDriver& l) { return l.writeMacro(1, &macro).sent; },
         feature({0x13, 0x01, 0x01, 0x00, 0x02}, " FAILED")},
        {"13:out", [](CUSBDriver& l) { return l.writeMacro(1, &macro).sent; },
         feature({0x13, 0x01, 0x01, 0x00, 0x02}) + "SLEEP 100\nSLEEP 50\n" + output(k32, " FAILED") + "SLEEP 50\n"},
        {"0c", [](CUSBDriver& l) { return l.writeLightColour(0); }, feature({0x0C, 0x01}, " FAILED")},
        {"0d", [](CUSBDriver& l) { return l.writeLightingEffect({}); }, feature({0x0D, 0x01}, " FAILED")},
        {"9", [](CUSBDriver& l) { return l.writeCustomColours(k32); }, feature({0x09, 0x01, 0x00, 0x20}, " FAILED")},
        {"09:out", [](CUSBDriver& l) { return l.writeCustomColours(k32); },
         feature({0x09, 0x01, 0x00, 0x20}) + "SLEEP 50\n" + output(k32, " FAILED") + "SLEEP 50\n"},
        {"3", [](CUSBDriver& l) { return l.writeProximitySensing(0, 1); }, feature({0x03, 0xB0}, " FAILED")},
        {"11", [](CUSBDriver& l) { return l.writeDpiTable(k16); }, feature({0x11, 0x01, 0x07, 0x10}, " FAILED")},
        {"11:out", [](CUSBDriver& l) { return l.writeDpiTable(k16); },
         feature({0x11, 0x01, 0x07, 0x10}) + "SLEEP 50\n" + output(k16, " FAILED") + "SLEEP 50\n"},
        {"0B", [](CUSBDriver& l) { return l.writeDpiLevel(1); }, feature({0x0B, 0x01, 0x01}, " FAILED")},
        {"0x01", [](CUSBDriver& l) { return l.writeReportRate(1); }, feature({0x01, 0x01}, " FAILED")},
    };
    for (const auto& c : cases) {
        out.str("");
        start(c.fail);
        EXPECT_FALSE(c.run(*link)) << c.fail;
        EXPECT_EQ(traced(), c.trace) << c.fail;
        // Only the first such transfer fails; the command works again.
        out.str("");
        EXPECT_TRUE(c.run(*link)) << c.fail;
    }
}

TEST_F(VirtualLink, AMacroUploadThatFailsStillGivesItsWordCount) {
    start("13:out");
    EncodedMacro macro;
    macro.wordCount = 77;
    MacroWrite written = link->writeMacro(3, &macro);
    EXPECT_EQ(written.wordCount, 77);
    EXPECT_FALSE(written.sent);
    EXPECT_FALSE(mouse->state().macroSet[3]);
}

TEST_F(VirtualLink, APendingWriteIsBoundedAt1500Ms) {
    start("12:stall");
    EXPECT_FALSE(link->writeKeyTable(Bytes(64, 1)));
    // The virtual mouse holds the report until the link's bound runs out.
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{100, 50, 1500, 50}));
    EXPECT_EQ(traced(), feature({0x12, 0x01, 0x00, 0x40}) + "SLEEP 100\nSLEEP 50\n" + output(Bytes(32, 1), " FAILED") +
                            "SLEEP 50\n");
    EXPECT_FALSE(mouse->state().keyTableSet);
    // The next command starts afresh; the firmware notes the abandoned table.
    EXPECT_TRUE(link->writeDpiLevel(2));
    ASSERT_EQ(mouse->state().protocolErrors.size(), 1u);
    EXPECT_EQ(mouse->state().protocolErrors[0], "data phase of command 0x12 abandoned after 0 of 2 output reports");
}

// The frames of a whole profile, built from the record, arrive in the
// firmware as the builders made them.
TEST_F(VirtualLink, TheDefaultProfileArrivesAsBuilt) {
    start();
    auto record = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*record, 0);
    record->symphonyCustom = 1;
    const KeyTable keys = buildKeyTable(*record, {});
    const DpiTable dpi = buildDpiTable(*record);
    const CustomColours colours = buildCustomColours(*record);
    ASSERT_TRUE(link->writeKeyTable(keys));
    ASSERT_TRUE(link->writeLightColour(record->ledColour[3]));
    ASSERT_TRUE(link->writeLightingEffect(lightingEffectFor(*record)));
    ASSERT_TRUE(sendsCustomColours(*record));
    ASSERT_TRUE(link->writeCustomColours(colours));
    ASSERT_TRUE(link->writeProximitySensing(record->proximitySensing, record->lightingMode));
    ASSERT_TRUE(link->writeDpiTable(dpi));
    ASSERT_TRUE(link->writeDpiLevel(dpiLevelFor(*record)));
    ASSERT_TRUE(link->writeReportRate(record->reportInterval));

    VirtualMouseState state = mouse->state();
    EXPECT_TRUE(state.protocolErrors.empty());
    EXPECT_EQ(state.keyTable, keys);
    EXPECT_EQ(state.dpiTable, dpi);
    EXPECT_EQ(state.customColours, colours);
    EXPECT_EQ(state.dpiLevel, 3);
    EXPECT_EQ(state.lightColour, (std::array<uint8_t, 3>{0x00, 0xFF, 0x00}));  // red: green, red, blue
    EXPECT_EQ(state.lightingEffect, (std::array<uint8_t, 3>{5, static_cast<uint8_t>(record->symphonySpeed), 1}));
    EXPECT_EQ(state.proximity, 0xA0);
    EXPECT_EQ(state.reportRate, 1);
}

TEST(FirmwareVersionRead, AnAnswerThatIsNotAVersionIsRefused) {
    struct Case {
        Bytes answer;
        bool featuresFail;
        bool ok;
    };
    const Case cases[] = {
        {{6, 0x80, 3, 4}, false, true},
        {{6, 0x00, 3, 4}, false, false},
        {{6, 0x81, 3, 4}, false, false},
        {{6, 0x80, 3, 4}, true, false},
    };
    for (const auto& c : cases) {
        test::FakeHid hid;
        hid.interfaces = {test::hidInterface("vendor", {test::featureValue(0xFF01, 0x22)})};
        hid.log->answer = c.answer;
        hid.log->featuresFail = c.featuresFail;
        FakeClock clock;
        CUSBDriver link(hid, clock);
        ASSERT_TRUE(link.openDevice());
        int version = -1;
        EXPECT_EQ(link.readFirmwareVersion(version), c.ok);
        EXPECT_EQ(version, c.ok ? 34 : -1);
    }
}

}  // namespace
}  // namespace q30x
