// Any bytes as a language file or update description: the load and every
// navigation the program does must neither crash nor read out of bounds.
#include <cstddef>
#include <cstdint>
#include <span>

#include "i18n/catalogue.h"
#include "i18n/xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    q30x::XmlDocument document;
    document.Load(std::span(data, size));
    for (auto key : {"str_main", "str_msg2", "str_firmware_version"})
        q30x::StringCatalogue::GetEntry(document, "config", key);
    // Every child's text at each level, stepping down along the last children.
    document.Rewind();
    for (int depth = 0; depth < 64; ++depth) {
        int children = 0;
        while (children < 10000 && document.FindChild()) {
            document.ChildText();
            ++children;
        }
        if (children == 0 || !document.EnterChild()) break;
    }
    document.Rewind();
    while (document.FindElement()) {
    }
    return 0;
}
