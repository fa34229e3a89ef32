#include "platform/paths.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace q30x {
namespace {

// Sets environment variables for one test and puts them back afterwards.
class Environment {
public:
    void set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~Environment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else ::unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(WorkingFolder, FollowsTheEnvironmentInOrder) {
    Environment env;
    env.set("Q30X_WORKDIR", nullptr);
    env.set("XDG_CONFIG_HOME", nullptr);
    env.set("HOME", "/home/ann");
    EXPECT_EQ(defaultWorkingFolder(), "/home/ann/.config/TARVO/Q30X");
    env.set("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(defaultWorkingFolder(), "/home/ann/.config/TARVO/Q30X");
    env.set("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(defaultWorkingFolder(), "/cfg/TARVO/Q30X");
    env.set("Q30X_WORKDIR", "/tmp/w");
    EXPECT_EQ(defaultWorkingFolder(), "/tmp/w");
}

TEST(ProgramFolder, IsTheFolderOfThisExecutable) {
    std::string folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.back(), '/');
}

TEST(FileNames, AreThoseOfTheWorkingFolder) {
    EXPECT_EQ(profileFileName(1), "Profile/Profile1.cfg");
    EXPECT_EQ(profileFileName(5), "Profile/Profile5.cfg");
    EXPECT_EQ(joinPath("/w", filenames::kProfileIndex), "/w/Profile/ConfigInfo.cfg");
    EXPECT_EQ(joinPath("/w/", "Macro.cfg"), "/w/Macro.cfg");
}

}  // namespace
}  // namespace q30x
