#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/devices.h"
#include "platform/sound_player.h"

namespace q30x::test {

// Remembers every program start and every sound instead of making them.
struct RecordingLauncher final : ProgramLauncher, SoundPlayer {
    std::vector<std::pair<std::string, std::vector<std::string>>> launched;
    std::vector<std::string> played;
    bool succeeds = true;

    bool launch(const std::string& program, const std::vector<std::string>& arguments) override {
        launched.emplace_back(program, arguments);
        return succeeds;
    }
    bool play(const std::string& path) override {
        played.push_back(path);
        return succeeds;
    }
};

}  // namespace q30x::test
