#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/input_events.h"

namespace q30x {

inline constexpr const char* kInterceptionUnavailableText =
    "Buttons with a computer action cannot be intercepted: the input event devices cannot be opened. Their "
    "clicks still reach other programs. Add your user to the 'input' group and allow /dev/uinput (see the "
    "README) to enable it.";

// Reads input from the event devices when it can, else from the observe-only
// source. When a button must be intercepted but the source in use cannot
// swallow, that is told once, instead of pretending. The apply worker turns
// swallowing on and off while the window may stop the source: a lock keeps
// a stopped source from being told to swallow.
class FallbackInputSource final : public InputEventSource {
public:
    FallbackInputSource(std::unique_ptr<InputEventSource> preferred, std::unique_ptr<InputEventSource> observeOnly,
                        std::function<void(const std::string&)> note);

    bool start(InputEventSink& sink) override;
    void stop() override;
    bool canSwallow() const override;
    void setSwallowing(bool on) override;

    // The source that delivers now, or nullptr before start().
    const InputEventSource* active() const {
        std::lock_guard lock(mutex_);
        return active_;
    }

private:
    void stopLocked();

    mutable std::mutex mutex_;
    std::unique_ptr<InputEventSource> preferred_;
    std::unique_ptr<InputEventSource> observeOnly_;
    std::function<void(const std::string&)> note_;
    InputEventSource* active_ = nullptr;
    bool told_ = false;
};

}  // namespace q30x
