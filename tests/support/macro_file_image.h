#pragma once
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_library.h"
#include "platform/utf16.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x::test {

// A macro file to build: empty slots, then the macros a test puts in.
struct MacroFileImage {
    MacroFileImage() : library(std::make_unique<MacroLibrary>()) {
        std::memset(static_cast<void*>(library.get()), 0, sizeof *library);
    }
    MacroFileImage& put(int slot, uint32_t id, std::u16string_view name, const std::vector<MacroEvent>& events,
                        uint32_t loops) {
        MacroRecord& record = library->slots[slot];
        record.size = kMacroBaseSize + 4 * static_cast<uint32_t>(events.size());
        record.magic = kMacroMagic;
        record.id = id;
        record.loopCount = loops;
        record.eventCount = static_cast<uint32_t>(events.size());
        std::copy(events.begin(), events.end(), record.events);
        setFixedText(record.name, name);
        return *this;
    }
    void write(const std::string& path) const {
        writeAll(path, bytesOf(*library));
    }
    std::unique_ptr<MacroLibrary> library;
};

}  // namespace q30x::test
