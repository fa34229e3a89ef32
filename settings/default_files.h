#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace q30x {

struct DefaultFile {
    std::string name;  // relative to the folder, '/' separated
    std::vector<uint8_t> bytes;
};

// The nine factory default files of the program folder, in seeding order:
// an empty macro library, language 2 (English), zero statistics, an index of
// five valid entries with entry 1 selected, and five default profiles with
// English labels.
std::vector<DefaultFile> factoryDefaultFiles();

}  // namespace q30x
