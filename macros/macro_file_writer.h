#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"

namespace q30x {

// The save of the macro file: the image replaces the file whole, between
// the two pauses it has always made.
FileError writeMacroFile(Clock& clock, const std::string& path, std::span<const uint8_t> bytes);

// Writes "Macro.cfg" on its own thread, with the pauses the save has always
// made before and after the write, so the window never waits on them.
// Saves are written in the order they were asked for; a save still waiting
// when a newer one comes is replaced by it, since the newer image holds all
// of its changes. Nothing asked for is lost: flush() and the destructor wait
// until the last image is on disk.
class MacroFileWriter {
public:
    // `onFailure` runs on the writer's thread after a write that failed.
    MacroFileWriter(Clock& clock, std::function<void(FileError)> onFailure);
    ~MacroFileWriter();
    MacroFileWriter(const MacroFileWriter&) = delete;
    MacroFileWriter& operator=(const MacroFileWriter&) = delete;

    // Copies `bytes` and returns at once.
    void write(const std::string& path, std::span<const uint8_t> bytes);
    // Returns when every image asked for so far is written.
    void flush();

private:
    struct Job {
        std::string path;
        std::vector<uint8_t> bytes;
    };
    void run();

    Clock& clock_;
    std::function<void(FileError)> onFailure_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Job> pending_;
    bool writing_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace q30x
