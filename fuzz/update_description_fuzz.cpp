// Any bytes as the update description a server sent: reading the version
// and the image address must neither crash nor read out of bounds.
#include <cstddef>
#include <cstdint>
#include <span>

#include "firmware/update_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const q30x::UpdateDescription description = q30x::parseUpdateDescription(std::span(data, size));
    q30x::isDownloadAddress(description.newfile);
    return 0;
}
