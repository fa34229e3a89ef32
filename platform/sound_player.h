#pragma once
#include <string>

namespace q30x {

// Plays sound files for the buttons whose action is a sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing and returns at once; false when the file cannot be played.
    virtual bool play(const std::string& path) = 0;
};

}  // namespace q30x
