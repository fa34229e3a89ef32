#pragma once
#include <string>

namespace q30x {

// The two folders every file of the system lives in, resolved once at start.
struct Folders {
    std::string program;  // the folder of the running executable: skins, languages, defaults
    std::string working;  // the private per-user folder with the user's settings
};

// The folder of the running executable, without a trailing slash.
std::string executableFolder();

// $Q30X_WORKDIR if set, else $XDG_CONFIG_HOME/TARVO/Q30X, else
// ~/.config/TARVO/Q30X. Only computes the path: seeding creates the folder.
std::string defaultWorkingFolder();

// $XDG_CACHE_HOME/TARVO/Q30X, else ~/.cache/TARVO/Q30X: where files the
// program fetches go when the program folder cannot take them.
std::string defaultCacheFolder();

// File names inside the two folders, relative, with '/' as separator.
namespace filenames {
inline constexpr const char* kMacro = "Macro.cfg";
inline constexpr const char* kLanguage = "Language.cfg";
inline constexpr const char* kStats = "Sts.cfg";
inline constexpr const char* kProfileFolder = "Profile";
inline constexpr const char* kProfileIndex = "Profile/ConfigInfo.cfg";
inline constexpr const char* kSkinType = "skins/languagetype.ini";
inline constexpr const char* kBurnerConfig = "FWUpdate/Config.ini";
}  // namespace filenames

// "Profile/Profile1.cfg" .. "Profile/Profile5.cfg" for n = 1..5.
std::string profileFileName(int n);

// folder + '/' + name.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace q30x
