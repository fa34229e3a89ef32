#pragma once
#include <QObject>
#include <memory>

#include "platform/sound_player.h"

class QAudioOutput;
class QMediaPlayer;

namespace q30x {

// Sounds through Qt Multimedia: one player, started and left to play; a new
// sound replaces the one still playing, as a button pressed twice should.
class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    bool play(const std::string& path) override;

private:
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
};

}  // namespace q30x
