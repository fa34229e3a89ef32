#include "pages/profile_transfer.h"

#include <cstring>
#include <span>

#include "device/key_codes.h"
#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x {

namespace {
constexpr std::u16string_view kImported = u"%s import success!";
constexpr std::u16string_view kNotAProfile = u"%s is an invalid Profile!";
constexpr std::u16string_view kExported = u"%s export success!";
constexpr std::u16string_view kExportFailed = u"%s export failed!";

TransferResult result(bool done, std::u16string_view pattern, const std::string& path) {
    return {done, formatText(pattern, fromUtf8(path))};
}
}  // namespace

TransferResult importProfileFile(const std::string& path, ProfileRecord& record) {
    // One byte more than a record tells a longer file from a whole one.
    const FileRead read = readFile(path, sizeof(ProfileRecord) + 1);
    uint32_t magic = 0;
    if (read.error != FileError::None || read.bytes.size() < sizeof magic || read.bytes.size() > sizeof(ProfileRecord))
        return result(false, kNotAProfile, path);
    std::memcpy(&magic, read.bytes.data(), sizeof magic);
    if (magic != kProfileMagic) return result(false, kNotAProfile, path);
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    std::memcpy(static_cast<void*>(&record), read.bytes.data(), read.bytes.size());
    return result(true, kImported, path);
}

TransferResult importProfile(const std::string& path, SettingsState& state) {
    TransferResult result = importProfileFile(path, state.current);
    if (!result.done) return result;
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonAssignment& button = state.current.buttons[i];
        state.macroRefs[i] = button.functionType == kFunctionMacro ? button.macroId : 0;
    }
    return result;
}

TransferResult exportProfileFile(const std::string& path, const ProfileRecord& record) {
    const bool written = writeRecord(path, record, FileAccess::UserDefault) == FileError::None;
    return result(written, written ? kExported : kExportFailed, path);
}

}  // namespace q30x
