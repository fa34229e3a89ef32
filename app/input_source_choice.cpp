#include "app/input_source_choice.h"

namespace q30x {

FallbackInputSource::FallbackInputSource(std::unique_ptr<InputEventSource> preferred,
                                         std::unique_ptr<InputEventSource> observeOnly,
                                         std::function<void(const std::string&)> note)
    : preferred_(std::move(preferred)), observeOnly_(std::move(observeOnly)), note_(std::move(note)) {}

bool FallbackInputSource::start(InputEventSink& sink) {
    std::lock_guard lock(mutex_);
    stopLocked();
    for (InputEventSource* source : {preferred_.get(), observeOnly_.get()}) {
        if (source && source->start(sink)) {
            active_ = source;
            return true;
        }
    }
    return false;
}

void FallbackInputSource::stop() {
    std::lock_guard lock(mutex_);
    stopLocked();
}

void FallbackInputSource::stopLocked() {
    if (active_) active_->stop();
    active_ = nullptr;
}

bool FallbackInputSource::canSwallow() const {
    std::lock_guard lock(mutex_);
    return active_ && active_->canSwallow();
}

void FallbackInputSource::setSwallowing(bool on) {
    bool tell = false;
    {
        std::lock_guard lock(mutex_);
        if (!active_) return;
        tell = on && !active_->canSwallow() && !told_;
        told_ = told_ || tell;
        active_->setSwallowing(on);
    }
    // The note posts to the window: never under the lock the window's stop() takes.
    if (tell && note_) note_(kInterceptionUnavailableText);
}

}  // namespace q30x
