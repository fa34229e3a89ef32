#include "macros/macro_recorder.h"

namespace q30x {

RepeatFilter& processRepeatFilter() {
    static RepeatFilter filter;
    return filter;
}

std::u16string_view recordCaption(bool recordingNow, int chineseUi) {
    if (recordingNow) return chineseUi ? u"停止录制" : u"Stop Record";
    return chineseUi ? u"开始录制" : u"Start Record";
}

std::u16string_view recordRefusalText(bool keyRow, int chineseUi) {
    if (keyRow)
        return chineseUi ? u"正在修改/插入一个键，无法录制" : u"It is Modifying or inserting a button,you can not record";
    return chineseUi ? u"正在修改/插入一个延时，无法录制" : u"It is Modifying or inserting a delay,you can not record";
}

std::u16string_view newMacroName(int chineseUi) { return chineseUi ? u"新建宏" : u"New Macro"; }

void MacroRecorder::start() {
    count_ = 0;
    lastTick_.reset();
}

std::vector<MacroRow> MacroRecorder::record(uint32_t virtualKey, uint32_t flags, bool noDelay, int languageNumber,
                                            const KeyboardLayout& layout) {
    std::vector<MacroRow> rows;
    if (filter_.repeats(virtualKey, flags) || count_ >= kMaxRecordedKeys) return rows;
    if (!noDelay) {
        const uint32_t now = clock_.tickMs();
        // Unsigned difference: the tick wraps after 49.7 days.
        if (lastTick_) rows.push_back(delayRow(now - *lastTick_));
        lastTick_ = now;
    }
    rows.push_back(keyRow(flags & kKeyReleased ? kRowKeyUp : kRowKeyDown, virtualKey, languageNumber, layout));
    ++count_;
    filter_.note(virtualKey, flags);
    return rows;
}

}  // namespace q30x
