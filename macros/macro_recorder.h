#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "macros/macro_rows.h"
#include "platform/clock.h"
#include "platform/keyboard_layout.h"

namespace q30x {

inline constexpr uint32_t kKeyReleased = 0x80;  // bit 7 of the hook's key flags
inline constexpr uint32_t kMaxRecordedKeys = 999;

// A held key repeats its key-down: only the first one counts. The state is
// process-wide and survives from one recording, or key capture, to the next.
class RepeatFilter {
public:
    bool repeats(uint32_t virtualKey, uint32_t flags) const {
        return virtualKey == lastKey_ && (flags & kKeyReleased) == (lastFlags_ & kKeyReleased);
    }
    void note(uint32_t virtualKey, uint32_t flags) {
        lastKey_ = virtualKey;
        lastFlags_ = flags;
    }

private:
    uint32_t lastKey_ = 0, lastFlags_ = 0;
};

RepeatFilter& processRepeatFilter();

// The page's built-in texts, Chinese while chineseUi is set.
std::u16string_view recordCaption(bool recordingNow, int chineseUi);
// Why Record is refused while a key row (keyRow) or a delay row is edited.
std::u16string_view recordRefusalText(bool keyRow, int chineseUi);
std::u16string_view newMacroName(int chineseUi);

// Live recording: each accepted key event becomes a key row, preceded by a
// delay row of the milliseconds since the previous one.
class MacroRecorder {
public:
    explicit MacroRecorder(Clock& clock, RepeatFilter& filter = processRepeatFilter()) : clock_(clock), filter_(filter) {}

    void start();
    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }
    uint32_t recordedCount() const { return count_; }
    const RepeatFilter& filter() const { return filter_; }

    // The rows an event adds (none: a repeat, or the 999 key rows are
    // reached); with noDelay no delay row is made and the tick is not read.
    std::vector<MacroRow> record(uint32_t virtualKey, uint32_t flags, bool noDelay, int languageNumber,
                                 const KeyboardLayout& layout);

private:
    Clock& clock_;
    RepeatFilter& filter_;
    bool recording_ = false;
    uint32_t count_ = 0;
    // None until the first event: a tick of 0 is a time like any other.
    std::optional<uint32_t> lastTick_;
};

}  // namespace q30x
