#include "app/input_source_choice.h"

namespace q30x {

FallbackInputSource::FallbackInputSource(std::unique_ptr<InputEventSource> preferred,
                                         std::unique_ptr<InputEventSource> observeOnly,
                                         std::function<void(const std::string&)> note)
    : preferred_(std::move(preferred)), observeOnly_(std::move(observeOnly)), note_(std::move(note)) {}

bool FallbackInputSource::start(InputEventSink& sink) {
    stop();
    for (InputEventSource* source : {preferred_.get(), observeOnly_.get()}) {
        if (source && source->start(sink)) {
            active_ = source;
            return true;
        }
    }
    return false;
}

void FallbackInputSource::stop() {
    if (active_) active_->stop();
    active_ = nullptr;
}

void FallbackInputSource::setSwallowing(bool on) {
    if (!active_) return;
    if (on && !active_->canSwallow() && !told_) {
        told_ = true;
        if (note_) note_(kInterceptionUnavailableText);
    }
    active_->setSwallowing(on);
}

}  // namespace q30x
