#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <optional>
#include <string_view>

#include "i18n/xml_document.h"
#include "platform/files.h"
#include "platform/user_messages.h"

namespace q30x {

// The 114 catalogue keys in load order; element names exactly as the
// language files spell them.
inline constexpr std::array<std::string_view, 114> kCatalogueKeys = {
    "str_main", "str_led_title", "str_macro_manager", "str_sts", "str_about",
    "str_profile1", "str_profile2", "str_profile3", "str_profile4", "str_profile5",
    "str_ok",
    "str_dpiwant", "str_mouseSpeed", "str_improveAccuracy", "str_sheight", "str_rollingrate", "str_rollerColumn",
    "str_rollerScreen",
    "str_close", "str_lock", "str_run", "str_show", "str_win8_classic", "str_win8_switch", "str_win8_winp",
    "str_win8_winm", "str_find", "str_mouseleft", "str_mousemiddle", "str_mouseright", "str_pre", "str_back",
    "str_player", "str_PL", "str_stop", "str_pre_media", "str_next_media", "str_vol_dw", "str_vol_up", "str_mute",
    "str_snipe", "str_fire",
    "str_advanced_sound", "str_advanced_exe", "str_advanced_file", "str_advanced_dir",
    "str_ledspe", "str_led_apmbre", "str_led_off", "str_led_norbre", "str_led_frequency", "str_led_brealways",
    "str_led_brightness", "str_led_symphony", "str_led_changeClolor", "str_led_setColor", "str_led_symphonySpeed",
    "str_led_body_on", "str_led_body_off", "str_led_custom",
    "str_new_macro", "str_del_macro", "str_macro_new", "str_macro_del", "str_macro_modify", "str_macro_start",
    "str_macro_end", "str_macro_delay", "str_macro_loop", "str_click", "str_middle", "str_menu", "str_macro_msg6",
    "str_macro_msg7",
    "str_cups", "str_resetSts",
    "str_update", "str_importFile", "str_exportFile", "str_tarvoWeb", "str_defaultname",
    "str_msg2", "str_msg4", "str_msg5",
    "str_dpi_setting", "str_sensor", "str_usbrate", "str_windows_scroll", "str_mouse_key",
    "str_panel", "str_cur_function", "str_key_com", "str_macro_set", "str_basic", "str_advance", "str_disable",
    "str_default_setting",
    "str_browse",
    "str_backlight", "str_breath_speed", "str_multicolor1", "str_multicolor2", "str_multicolor3",
    "str_proximity_sensing", "str_color_setting", "str_cur_color", "str_choose_color", "str_preset_color",
    "str_custom_color",
    "str_macro_choose", "str_marco_list", "str_key_list",
    "str_driver_version", "str_firmware_version",
};

static_assert(!kCatalogueKeys.back().empty(), "all 114 keys are listed");

// Load index of a key, or kCatalogueKeys.size() when it is not a key.
constexpr std::size_t catalogueIndex(std::string_view key) {
    for (std::size_t i = 0; i < kCatalogueKeys.size(); ++i)
        if (kCatalogueKeys[i] == key) return i;
    return kCatalogueKeys.size();
}

// The catalogue entry a hover-hint number shows, or kCatalogueKeys.size()
// for hints that are not entries (19..25 are the profile's button labels, 99
// is the main window's own).
constexpr std::size_t hintEntry(int hint) {
    constexpr std::size_t kNone = kCatalogueKeys.size();
    if (hint >= 1 && hint <= 18) return static_cast<std::size_t>(hint - 1);
    if (hint >= 26 && hint <= 55) return static_cast<std::size_t>(hint + 20);
    switch (hint) {
    case 56: return catalogueIndex("str_update");
    case 57: return catalogueIndex("str_tarvoWeb");
    case 58: return catalogueIndex("str_importFile");
    case 59: return catalogueIndex("str_exportFile");
    case 60: return catalogueIndex("str_defaultname");
    default: break;
    }
    if (hint >= 61 && hint <= 90) return static_cast<std::size_t>(hint + 23);
    return kNone;
}

// The interface-language state every subsystem reads.
struct LanguageState {
    int chineseUi = 1;       // Chinese wording of the built-in texts
    int chineseSkin = 0;     // the installed skin set is the Chinese one
    int languageNumber = 0;  // 0 until the first language is applied
};

// The entries of the loaded language file, in load order.
class StringCatalogue {
public:
    // Loads the language file at `path` and fills every entry from the
    // element of its name under "config"; a missing key gives the empty
    // text. False when the file could not be read (all entries are empty).
    bool LoadCatalogue(const std::string& path);

    // The text of `key` in the first `parent` element (searched from the root
    // element's children) that holds it, where a `parent` without the key is
    // followed only into the `parent` elements nested inside it.
    static std::u16string GetEntry(XmlDocument& document, std::string_view parent, std::string_view key);
    // The same, telling a missing key apart from an empty one.
    static std::optional<std::u16string> findEntry(XmlDocument& document, std::string_view parent, std::string_view key);

    // Whether the last load found the key's element.
    bool found(std::size_t index) const { return found_.at(index); }
    // The document of the last load, kept for its diagnostics.
    const XmlDocument& document() const { return document_; }

    const std::u16string& entry(std::size_t index) const { return entries_.at(index); }
    // The entry of `key`; the empty text for a name that is not a key.
    const std::u16string& text(std::string_view key) const;
    // The entry of a file-error message key (str_msg2, str_msg4, str_msg5),
    // or its built-in English text while no language file supplies one, so
    // a failed save is never reported by an empty box.
    std::u16string_view messageText(std::string_view key) const;
    void setEntry(std::size_t index, std::u16string text) { entries_.at(index) = std::move(text); }
    void clear();

private:
    std::array<std::u16string, kCatalogueKeys.size()> entries_{};
    std::array<bool, kCatalogueKeys.size()> found_{};
    XmlDocument document_;
};

// After a failed write of a working-folder file: `str_msg2` with the path
// when the file or its folder is missing, `str_msg5` when access is denied,
// notSavedText for any other cause; all in the standard box.
void reportSaveFailure(UserMessages& messages, const StringCatalogue& strings, FileError error,
                       const std::string& path, int chineseUi);

// A save that failed for a cause the language files have no text for (a
// full disk, an I/O error), with the path: the file keeps what it held.
std::u16string notSavedText(FileError error, const std::string& path, int chineseUi);

}  // namespace q30x
