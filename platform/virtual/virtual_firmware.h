#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/hid.h"

namespace q30x {

// The Q30X's vendor interface frames: report id 6, eight feature bytes after
// it, 32 output bytes after it.
inline constexpr uint8_t kVirtualReportId = 6;
inline constexpr std::size_t kVirtualFeatureSize = 9;
inline constexpr std::size_t kVirtualOutputSize = 33;
inline constexpr int kVirtualDefaultFirmware = 12;

// A transfer the virtual mouse is told to fail, once.
struct VirtualFailure {
    enum class Kind : uint8_t {
        SetFeature,  // CMD: the first set-feature with that command byte
        Output,      // CMD:out: the first output report of that command's data
        Stall,       // CMD:stall: that output report stays pending until the bound
        Unplug,      // CMD:unplug: the mouse is pulled out as that command's frame arrives
        OutputUnplug,  // CMD:out-unplug: pulled out at the first output report of that command's data
    };
    Kind kind = Kind::SetFeature;
    uint8_t command = 0;
};

struct VirtualMouseConfig {
    int firmwareVersion = kVirtualDefaultFirmware;
    bool vendorAbsent = false;  // "open": the vendor interface is not there
    bool decoy = false;         // an interface with the right ids and no feature values, listed first
    bool stallEveryWrite = false;  // "stall": no output report is ever taken, each stays pending until the bound
    // A broken firmware: the eight bytes it answers the version request with.
    std::optional<std::array<uint8_t, kVirtualFeatureSize - 1>> versionAnswer;
    std::vector<VirtualFailure> failures;
};

// What the firmware was sent and kept, and every frame it refused.
struct VirtualMouseState {
    std::array<uint8_t, 64> keyTable{};
    bool keyTableSet = false;
    std::array<std::array<uint8_t, 512>, 8> macros{};
    std::array<bool, 8> macroSet{};
    std::array<uint8_t, 16> dpiTable{};
    bool dpiTableSet = false;
    int dpiLevel = -1;
    std::array<uint8_t, 3> lightColour{};  // as sent: green, red, blue
    bool lightColourSet = false;
    std::array<uint8_t, 3> lightingEffect{};  // mode and its two parameters
    bool lightingEffectSet = false;
    std::array<uint8_t, 32> customColours{};
    bool customColoursSet = false;
    int proximity = -1;   // the byte sent: 0xA0 or 0xB0
    int reportRate = -1;  // the interval sent
    int firmwareRequests = 0;
    int framesAccepted = 0;
    std::vector<std::string> protocolErrors;  // in order, one line per refused or abandoned frame
};

// The firmware model behind the vendor interface: it checks every frame
// against the protocol as it arrives and keeps the state it was sent.
class VirtualFirmware {
public:
    VirtualFirmware(const VirtualMouseConfig& config, Clock& clock);

    bool setFeature(std::span<const uint8_t> report);
    bool getFeature(std::span<uint8_t> report);
    HidWrite writeOutput(std::span<const uint8_t> report, uint32_t timeoutMs);

    const VirtualMouseState& state() const { return state_; }
    // Whether this frame is where the mouse is to be pulled out (once).
    bool unplugsAt(std::span<const uint8_t> report, bool output);
    // Pulled out, the mouse loses the data phase and the answer it was
    // preparing; what it stored stays.
    void powerLost();

private:
    bool refuse(const std::string& why);
    bool takeFailure(VirtualFailure::Kind kind, uint8_t command);
    bool acceptCommand(std::span<const uint8_t> frame);
    void finishData();

    struct Pending {
        uint8_t command = 0;
        int macroNumber = 0;
        int reportsExpected = 0;
        int reportsSeen = 0;
        std::vector<uint8_t> data;
    };

    int firmwareVersion_;
    bool stallEveryWrite_;
    std::optional<std::array<uint8_t, kVirtualFeatureSize - 1>> versionAnswer_;
    Clock& clock_;
    std::vector<VirtualFailure> failures_;  // used ones are removed
    VirtualMouseState state_;
    Pending pending_;
    bool answerReady_ = false;
};

}  // namespace q30x
