#include "macros/macro_file_writer.h"

namespace q30x {

namespace {
constexpr uint32_t kSavePauseMs = 100;
}  // namespace

FileError writeMacroFile(Clock& clock, const std::string& path, std::span<const uint8_t> bytes) {
    clock.sleepMs(kSavePauseMs);
    const FileError error = writeFileAtomic(path, bytes, FileAccess::Private);
    clock.sleepMs(kSavePauseMs);
    return error;
}

MacroFileWriter::MacroFileWriter(Clock& clock, std::function<void(FileError)> onFailure)
    : clock_(clock), onFailure_(std::move(onFailure)), thread_([this] { run(); }) {}

MacroFileWriter::~MacroFileWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void MacroFileWriter::write(const std::string& path, std::span<const uint8_t> bytes) {
    {
        std::lock_guard lock(mutex_);
        pending_ = Job{path, std::vector<uint8_t>(bytes.begin(), bytes.end())};
    }
    changed_.notify_all();
}

void MacroFileWriter::flush() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_ && !writing_; });
}

void MacroFileWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // The last image is written even when stopping: nothing asked for is lost.
        changed_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) return;
        Job job = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        const FileError error = writeMacroFile(clock_, job.path, job.bytes);
        if (error != FileError::None && onFailure_) onFailure_(error);
        lock.lock();
        writing_ = false;
        changed_.notify_all();
    }
}

}  // namespace q30x
