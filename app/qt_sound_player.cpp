#include "app/qt_sound_player.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

namespace q30x {

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

bool QtSoundPlayer::play(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile()) return false;
    // Made on first use: most runs never play a sound.
    if (!player_) {
        output_ = std::make_unique<QAudioOutput>();
        player_ = std::make_unique<QMediaPlayer>();
        player_->setAudioOutput(output_.get());
    }
    player_->stop();
    player_->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    player_->play();
    return true;
}

}  // namespace q30x
