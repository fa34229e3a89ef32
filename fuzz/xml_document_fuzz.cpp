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
    // Walk the whole tree: every element's text, depth first.
    document.Rewind();
    int steps = 0;
    while (document.FindElement() && steps < 10000) {
        while (document.FindChild() && ++steps < 10000) document.ChildText();
        if (!document.EnterChild()) break;
    }
    return 0;
}
