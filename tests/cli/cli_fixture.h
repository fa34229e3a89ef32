#pragma once
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "macros/macro_library.h"
#include "platform/files.h"
#include "platform/utf16.h"
#include "settings/profile_index.h"
#include "settings/profile_record.h"
#include "tests/cli/run_cli.h"
#include "tests/support/macro_file_image.h"
#include "tests/support/temp_folder.h"

namespace q30x::test {

// Sets the virtual mouse's environment for one test and clears it after.
class VirtualEnvironment {
public:
    explicit VirtualEnvironment(const char* fail, const char* firmware = nullptr, const char* decoy = nullptr) {
        set("Q30X_VIRTUAL_FAIL", fail);
        set("Q30X_VIRTUAL_FIRMWARE", firmware);
        set("Q30X_VIRTUAL_DECOY", decoy);
        ::unsetenv("Q30X_TRACE");
        ::unsetenv("Q30X_VIRTUAL_MOUSE");
    }
    ~VirtualEnvironment() {
        for (const char* name : {"Q30X_VIRTUAL_FAIL", "Q30X_VIRTUAL_FIRMWARE", "Q30X_VIRTUAL_DECOY"}) ::unsetenv(name);
    }

private:
    static void set(const char* name, const char* value) {
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
};

// q30xctl over a program folder of factory defaults and a working folder of
// its own, both in a temporary folder.
class CliTest : public ::testing::Test {
protected:
    CliTest() {
        CliResult r = runCli({"defaults", program()});
        EXPECT_EQ(r.status, 0) << r.err;
    }
    std::string program() const { return temp.file("program"); }
    std::string work() const { return temp.file("work"); }
    CliResult runIn(std::vector<std::string> words) {
        words.insert(words.begin(), {"--program-dir", program(), "--workdir", work()});
        return runCli(words);
    }
    TempFolder temp;
};

// The same against the virtual mouse, each run's trace kept in trace().
class MouseCliTest : public CliTest {
protected:
    CliResult onMouse(std::vector<std::string> words) {
        words.insert(words.begin(), {"--virtual-mouse", "--no-delays", "--trace", trace()});
        return runIn(words);
    }
    std::string trace() const { return temp.file("trace.txt"); }
    std::string traceText() const {
        const std::vector<uint8_t> bytes = readAll(trace());
        return {bytes.begin(), bytes.end()};
    }
    // How many applies the last run wrote: each sends the key table once.
    int appliesTraced() const {
        const std::string text = traceText(), frame = "SET_FEATURE 06 12 01 00 40";
        int count = 0;
        for (auto at = text.find(frame); at != std::string::npos; at = text.find(frame, at + 1)) ++count;
        return count;
    }
    std::string profileFile(int n = 1) const { return joinPath(work(), profileFileName(n)); }
    std::vector<uint8_t> profileBytes(int n = 1) const { return readAll(profileFile(n)); }
    std::unique_ptr<ProfileRecord> savedProfile(int n = 1) const {
        auto record = std::make_unique<ProfileRecord>();
        EXPECT_EQ(readRecord(profileFile(n), *record), FileError::None);
        return record;
    }
    std::unique_ptr<ProfileIndex> savedIndex() const {
        auto index = std::make_unique<ProfileIndex>();
        EXPECT_EQ(readRecord(joinPath(work(), filenames::kProfileIndex), *index), FileError::None);
        return index;
    }
};

}  // namespace q30x::test
