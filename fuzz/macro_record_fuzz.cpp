// Any bytes as one slot of "Macro.cfg": what the macro page shows of it, the
// payload sent to the mouse, and a rebuild from the shown rows must neither
// crash nor read out of bounds, under every key table.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "macros/macro_rows.h"
#include "macros/payload_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    auto record = std::make_unique<q30x::MacroRecord>();
    std::memset(static_cast<void*>(record.get()), 0, sizeof *record);
    std::memcpy(static_cast<void*>(record.get()), data, std::min(size, sizeof *record));
    const q30x::fuzz::CodeLayout layout;
    for (int language : {0, 1, 2, 3, 5, 6, 10, 12, 99}) {
        q30x::encodeMacroPayload(*record, language);
        std::vector<q30x::MacroRow> rows = q30x::rowsOfRecord(*record, language, layout);
        auto rebuilt = std::make_unique<q30x::MacroRecord>();
        q30x::buildMacroRecord(rows, u"3", record->id, u"fuzz", *rebuilt);
    }
    return 0;
}
