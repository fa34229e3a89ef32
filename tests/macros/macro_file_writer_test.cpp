#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <vector>

#include "macros/macro_file_writer.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

// A clock whose pauses last until the test opens the gate.
class GateClock final : public Clock {
public:
    uint32_t tickMs() override { return 0; }
    void sleepMs(uint32_t) override {
        std::unique_lock lock(mutex_);
        ++sleeping_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    void waitUntilSleeping() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return sleeping_ > 0; });
    }
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int sleeping_ = 0;
    bool open_ = false;
};

std::vector<uint8_t> image(uint8_t fill) { return std::vector<uint8_t>(4096, fill); }

TEST(MacroFileWriter, TheCallerNeverWaitsForThePausesAndTheLastImageIsWritten) {
    test::TempFolder temp;
    GateClock clock;
    MacroFileWriter writer(clock, {});
    const std::string path = temp.file("Macro.cfg");
    writer.write(path, image(1));
    clock.waitUntilSleeping();
    // The writer is held in its first pause; the caller goes on asking.
    writer.write(path, image(2));
    writer.write(path, image(3));
    clock.open();
    writer.flush();
    EXPECT_EQ(test::readAll(path), image(3));
}

TEST(MacroFileWriter, PausesSurroundEveryWrite) {
    test::TempFolder temp;
    FakeClock clock;
    MacroFileWriter writer(clock, {});
    writer.write(temp.file("Macro.cfg"), image(7));
    writer.flush();
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{100, 100}));
}

TEST(MacroFileWriter, AnImageAskedForBeforeTheEndIsWritten) {
    test::TempFolder temp;
    FakeClock clock;
    {
        MacroFileWriter writer(clock, {});
        writer.write(temp.file("Macro.cfg"), image(5));
    }
    EXPECT_EQ(test::readAll(temp.file("Macro.cfg")), image(5));
}

TEST(MacroFileWriter, AFailedWriteIsReported) {
    test::TempFolder temp;
    FakeClock clock;
    std::vector<FileError> errors;
    MacroFileWriter writer(clock, [&errors](FileError e) { errors.push_back(e); });
    std::filesystem::create_directory(temp.file("Macro.cfg"));
    writer.write(temp.file("Macro.cfg"), image(1));
    writer.flush();
    EXPECT_EQ(errors, (std::vector<FileError>{FileError::AccessDenied}));
}

}  // namespace
}  // namespace q30x
