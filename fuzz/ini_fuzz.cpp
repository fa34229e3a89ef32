// Any bytes as the program folder's INI files: the skin type read at
// start-up, and the burner's language written into its configuration, which
// must then read back while every other key keeps its value.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "i18n/language_choice.h"
#include "platform/ini.h"

using namespace q30x;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const Folders& folders = fuzz::folders();
    fuzz::writeInput(folders.program, filenames::kSkinType, data, size);
    const std::string config = fuzz::writeInput(folders.program, filenames::kBurnerConfig, data, size);

    const int chinese = readSkinType(folders) == 1 ? 1 : 0;
    const int32_t otherBefore = readIniInteger(config, "languagetype", "value", INT_MIN);
    if (writeBurnerLanguage(folders, chinese) != FileError::None) return 0;
    fuzz::expect(readIniInteger(config, "Language", "Type", -1) == chinese, "the burner's language to read back");
    fuzz::expect(readIniInteger(config, "languagetype", "value", INT_MIN) == otherBefore,
                 "another section's key to keep its value");
    return 0;
}
