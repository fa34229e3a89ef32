// Real writers killed with SIGKILL at seeded random moments of their run:
// every file is afterwards its whole old or whole new content, and what a
// killed writer left is gone after the next start. Then every save against a
// full disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <unistd.h>

#include "i18n/catalogue.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/profile_index.h"
#include "tests/safety/child_runs.h"
#include "tests/safety/saved_files.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::buildProgram;
using test::hiddenFiles;
using test::readAll;
using test::runAndKill;
using test::runToEnd;
using test::writeAll;

constexpr int kKills = 100;

// How the kills of one file ended; every kill must leave one of its two contents.
struct KillTally {
    std::string file;
    int old = 0, fresh = 0, torn = 0;
    int leftovers = 0;  // kills that left a temporary file for the next start

    void count(const std::vector<uint8_t>& now, const std::vector<uint8_t>& oldBytes,
               const std::vector<uint8_t>& freshBytes) {
        if (now == oldBytes) ++old;
        else if (now == freshBytes) ++fresh;
        else ++torn;
    }
    void print() const {
        std::printf("[ kills ] %s: %d kills, %d left the old file, %d the new one, %d torn; %d left a temporary\n",
                    file.c_str(), old + fresh + torn, old, fresh, torn, leftovers);
    }
};

// Kill moments spread evenly over a stretch of a run that took `took`
// unkilled and half as long again (runs vary), the same on every run of the
// test.
class KillMoments {
public:
    explicit KillMoments(unsigned seed) : random_(seed) {}
    std::chrono::microseconds within(std::chrono::microseconds took) {
        return std::chrono::microseconds(
            std::uniform_int_distribution<long long>(0, took.count() + took.count() / 2)(random_));
    }

private:
    std::mt19937 random_;
};

std::map<std::string, std::string> workingFolder(const std::string& folder) {
    return {{"Q30X_WORKDIR", folder}, {"Q30X_VIRTUAL_MOUSE", "1"}};
}

// The program's own start, as far as the files go: seeding, the sweep, the load.
int nextStart(const std::string& folder) {
    return runToEnd(buildProgram("q30xctl"), {"init"}, workingFolder(folder)).status;
}

int temporariesIn(const std::string& workingFolder) {
    return static_cast<int>(hiddenFiles(workingFolder).size() + hiddenFiles(workingFolder + "/Profile").size());
}

// Whether a temporary file of `path` lies beside it.
bool temporaryLeftOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string prefix = "." + path.substr(slash + 1) + ".";
    for (const std::string& name : hiddenFiles(path.substr(0, slash)))
        if (name.rfind(prefix, 0) == 0) return true;
    return false;
}

// The working folder as the apply finds it, with contents its saves replace
// by others: profile 2 selected and longer than a record (the apply writes
// the record alone), an index with stale paths (rebuilt at every start), a
// Language.cfg with a tail (the start writes back its four bytes).
struct ApplyFolder {
    explicit ApplyFolder(const std::string& folder) : folder(folder) {}

    std::map<std::string, std::vector<uint8_t>> prepareOld() {
        ProfileIndex index{};
        std::vector<uint8_t> indexBytes = readAll(file(filenames::kProfileIndex));
        std::memcpy(&index, indexBytes.data(), std::min(indexBytes.size(), sizeof index));
        for (int n = 0; n < kProfileCount; ++n) {
            index.entries[n].selected = n == 1;
            setFixedText(index.entries[n].profilePath, u"C:\\Users\\old\\Profile" + fromUtf8(std::to_string(n + 1)));
        }
        std::vector<uint8_t> profile = readAll(file(profileFileName(2)));
        profile.resize(sizeof(ProfileRecord) + 100, 0x5A);
        return {{filenames::kProfileIndex, test::bytesOf(index)},
                {profileFileName(2), profile},
                {filenames::kLanguage, {2, 0, 0, 0, 0x77, 0x77, 0x77, 0x77}}};
    }

    std::string file(const std::string& name) const { return folder + "/" + name; }
    std::string folder;
};

TEST(CrashSafety, AnApplyKilledAnywhereLeavesProfileIndexAndLanguageWhole) {
    test::TempFolder root;
    const std::string work = root.file("wd");
    ASSERT_EQ(nextStart(work), 0);  // seeded from the build's default files
    ApplyFolder folder(work);
    const auto old = folder.prepareOld();
    for (const auto& [name, bytes] : old) writeAll(folder.file(name), bytes);

    const std::vector<std::string> apply{"--no-delays", "apply"};
    // The saves come in the last stretch, after the last progress line: every
    // other kill falls there, the rest anywhere in the run.
    const std::string lastProgress = "progress 100%";
    const test::FinishedRun reference =
        runToEnd(buildProgram("q30xctl"), apply, workingFolder(work), {}, lastProgress);
    ASSERT_EQ(reference.status, 0) << reference.output;
    ASSERT_TRUE(reference.markedAt);
    const auto saving = reference.took - *reference.markedAt;
    std::map<std::string, std::vector<uint8_t>> fresh;
    std::map<std::string, KillTally> tallies;
    for (const auto& [name, bytes] : old) {
        fresh[name] = readAll(folder.file(name));
        ASSERT_NE(fresh[name], bytes) << name << ": the apply must write something else";
        tallies[name].file = name;
    }

    KillMoments moments(16);
    const std::string q30xctl = buildProgram("q30xctl");
    for (int kill = 0; kill < kKills; ++kill) {
        for (const auto& [name, bytes] : old) writeAll(folder.file(name), bytes);
        if (kill % 2) runAndKill(q30xctl, apply, workingFolder(work), moments.within(saving), lastProgress);
        else runAndKill(q30xctl, apply, workingFolder(work), moments.within(reference.took));
        for (const auto& [name, bytes] : old) {
            tallies[name].count(readAll(folder.file(name)), bytes, fresh[name]);
            tallies[name].leftovers += temporaryLeftOf(folder.file(name)) ? 1 : 0;
        }
        ASSERT_EQ(nextStart(work), 0);
        ASSERT_EQ(temporariesIn(work), 0) << "kill " << kill << ": the next start leaves what a killed apply left";
    }
    for (const auto& [name, tally] : tallies) {
        tally.print();
        EXPECT_EQ(tally.torn, 0) << name;
        EXPECT_GT(tally.fresh, 0) << name << ": no kill came after the save; the moments miss the run";
    }
}

// A sweep takes only what no living writer holds, and beside an export only
// the temporaries of the file being exported: the user's folder is not ours.
TEST(Sweeps, TakeOnlyAbandonedTemporariesAndBesideAnExportOnlyTheExportsOwn) {
    test::TempFolder root;
    const std::string work = root.file("wd");
    ASSERT_EQ(nextStart(work), 0);
    // A save in progress in another process: here, this one.
    const TemporaryFile inFlight = createTemporaryBeside(work + "/" + filenames::kStats, FileAccess::Private);
    ASSERT_GE(inFlight.descriptor, 0);
    const std::string abandoned = work + "/.Macro.cfg.ab12CD";
    writeAll(abandoned, {1});
    EXPECT_EQ(nextStart(work), 0);
    EXPECT_TRUE(std::filesystem::exists(inFlight.path)) << "a start took the file a running save writes";
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    ::close(inFlight.descriptor);
    EXPECT_EQ(nextStart(work), 0);
    EXPECT_FALSE(std::filesystem::exists(inFlight.path));

    const std::string exports = root.file("exports");
    const std::string own = exports + "/.My profile.cfg.Zz0099", others[] = {exports + "/.Other.cfg.Zz0099",
                                                                            exports + "/.bashrc.backup"};
    for (const std::string& file : {own, others[0], others[1]}) writeAll(file, {1});
    ASSERT_EQ(runToEnd(buildProgram("safety_writer"), {"export", exports, "once", "0"}, {}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(own));
    for (const std::string& file : others) EXPECT_TRUE(std::filesystem::exists(file)) << file;
}

class WriterKills : public ::testing::TestWithParam<test::SavedFileName> {};

// The writer saves its two contents in turn until it is killed.
TEST_P(WriterKills, EveryKillLeavesOneWholeContentAndTheNextStartOrExportSweeps) {
    const test::SavedFile file = GetParam().file;
    const bool exported = file == test::SavedFile::Export;
    test::TempFolder root;
    const std::string folder = root.file(exported ? "exports" : "wd");
    if (exported) std::filesystem::create_directory(folder);
    else ASSERT_EQ(nextStart(folder), 0);
    const std::string path = test::savedFilePath(file, folder);
    const std::vector<uint8_t> contents[] = {test::savedImage(file, 0), test::savedImage(file, 1)};
    writeAll(path, contents[0]);

    const std::string writer = buildProgram("safety_writer");
    const std::string name(GetParam().name);
    const test::FinishedRun once = runToEnd(writer, {name, folder, "once", "1"}, {});
    ASSERT_EQ(once.status, 0) << once.output;
    ASSERT_EQ(readAll(path), contents[1]) << "the product's save writes exactly the second content";
    // What follows a kill: the program's next start, or for an export (a
    // folder no start knows) the next export of the same file.
    auto next = [&] {
        return exported ? runToEnd(writer, {name, folder, "once", "0"}, {}).status : nextStart(folder);
    };

    KillTally tally{name};
    // Over the start and a few saves of the loop.
    KillMoments moments(16 + static_cast<unsigned>(file));
    for (int kill = 0; kill < kKills; ++kill) {
        runAndKill(writer, {name, folder}, {}, moments.within(once.took * 3));
        tally.count(readAll(path), contents[0], contents[1]);
        tally.leftovers += temporaryLeftOf(path) ? 1 : 0;
        ASSERT_EQ(next(), 0);
        ASSERT_TRUE(hiddenFiles(folder).empty()) << "kill " << kill << ": " << hiddenFiles(folder).front();
    }
    tally.print();
    EXPECT_EQ(tally.torn, 0);
    EXPECT_EQ(tally.old + tally.fresh, kKills);
}

INSTANTIATE_TEST_SUITE_P(SavedFiles, WriterKills, ::testing::ValuesIn(test::kSavedFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// A disk that takes no further byte: every save keeps the old file whole,
// leaves no temporary, and says which file was not saved.
const test::ProcessSetup kFullDisk{.umask = std::nullopt, .fileSizeLimit = 1, .errorsToOutput = false};

std::string notSavedLine(const std::string& path) {
    return "Info: " + toUtf8(notSavedText(FileError::NoSpace, path, 0)) + "\n";
}

TEST(FullDisk, AnApplyKeepsEveryFileAndTellsWhatWasNotSaved) {
    test::TempFolder root;
    const std::string work = root.file("wd");
    ASSERT_EQ(nextStart(work), 0);
    const std::string files[] = {filenames::kLanguage, profileFileName(1), filenames::kProfileIndex};
    std::map<std::string, std::vector<uint8_t>> before;
    for (const std::string& name : files) before[name] = readAll(work + "/" + name);

    const test::FinishedRun run =
        runToEnd(buildProgram("q30xctl"), {"--no-delays", "apply"}, workingFolder(work), kFullDisk);
    EXPECT_EQ(run.status, 1);
    for (const std::string& name : files) EXPECT_EQ(readAll(work + "/" + name), before[name]) << name;
    // The start's write of the language choice, then the profile; the index
    // fails with it, and one box is enough for the two.
    EXPECT_NE(run.output.find(notSavedLine(work + "/" + filenames::kLanguage)), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(notSavedLine(work + "/" + profileFileName(1))), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(notSavedLine(work + "/" + filenames::kProfileIndex)), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("q30xctl: profile 1 is on the mouse but was not saved\n"), std::string::npos);
    EXPECT_EQ(run.output.find("applied and saved"), std::string::npos);
    EXPECT_EQ(temporariesIn(work), 0);
}

class FullDiskSaves : public ::testing::TestWithParam<test::SavedFileName> {};

TEST_P(FullDiskSaves, KeepTheOldFileAndShowTheFilesMessage) {
    const test::SavedFile file = GetParam().file;
    test::TempFolder root;
    const std::string folder = root.path();
    const std::string path = test::savedFilePath(file, folder);
    writeAll(path, test::savedImage(file, 0));

    const test::FinishedRun run =
        runToEnd(buildProgram("safety_writer"), {std::string(GetParam().name), folder, "once", "1"}, {}, kFullDisk);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(readAll(path), test::savedImage(file, 0));
    const bool exported = file == test::SavedFile::Export;
    const std::string message = exported ? "Info: " + path + " export failed!\n" : notSavedLine(path);
    EXPECT_EQ(run.output, message);
    EXPECT_TRUE(hiddenFiles(folder).empty());
}

INSTANTIATE_TEST_SUITE_P(SavedFiles, FullDiskSaves, ::testing::ValuesIn(test::kSavedFiles),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace q30x
