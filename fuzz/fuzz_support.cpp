#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>
#include <system_error>

#include "app/input_hooks.h"
#include "device/apply_worker.h"
#include "platform/desktop_mouse.h"
#include "platform/files.h"
#include "platform/input_events.h"
#include "platform/messages.h"
#include "platform/virtual/instant_clock.h"
#include "platform/virtual/virtual_mouse.h"

namespace q30x::fuzz {
namespace {

namespace fs = std::filesystem;

std::string privateFolder() {
    std::error_code error;
    // Every input is written and read back: memory keeps that fast, unless
    // the caller chose the place.
    const char* chosen = std::getenv("TMPDIR");
    const fs::path base = chosen && *chosen                    ? fs::path(chosen)
                          : fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm")
                                                                : fs::temp_directory_path();
    std::string pattern = (base / "q30x-fuzz-XXXXXX").string();
    expect(::mkdtemp(pattern.data()) != nullptr, "a private temporary folder");
    return pattern;
}

struct RunFolders {
    std::string root = privateFolder();
    Folders folders{root + "/program", root + "/working"};
    RunFolders() {
        expect(createDirectories(folders.program, 0700) && createDirectories(folders.working, 0700),
               "the program and working folders");
    }
    ~RunFolders() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

// The progress window of an apply: it must reach 100.
struct Progress final : MessageTarget {
    uintptr_t last = 0;
    void post(uint32_t message, uintptr_t percent, intptr_t) override {
        if (message == msg::kApplyProgress) last = percent;
    }
    intptr_t send(uint32_t, uintptr_t, intptr_t) override { return 0; }
};

// One virtual mouse for the whole run, opened as the program opens the real one.
struct Mouse {
    InstantClock clock;
    VirtualMouse mouse{VirtualMouseConfig{}, clock};
    CUSBDriver link{mouse, clock};
    QuietInputSource input{false};
    InputHooks hooks{input};
    Mouse() { expect(openDeviceWithRetries(link), "the virtual mouse opens"); }
};

}  // namespace

void expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: expected %s\n", what);
    std::abort();
}

const Folders& folders() {
    static const RunFolders made;
    return made.folders;
}

std::string writeInput(const std::string& folder, const std::string& relative, const uint8_t* data, std::size_t size) {
    const std::string path = joinPath(folder, relative);
    createDirectories(fs::path(path).parent_path().string(), 0700);
    expect(writeFileAtomic(path, std::span(data, size), FileAccess::Private) == FileError::None, "the input written as a file");
    return path;
}

void installLanguageFiles() {
    static const bool installed = [] {
        const fs::path target = fs::path(folders().program) / "Language";
        std::error_code error;
        fs::create_directories(target, error);
        fs::copy(Q30X_LANGUAGE_SOURCE, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
                 error);
        expect(!error, "the language files copied into the program folder");
        return true;
    }();
    (void)installed;
}

const MacroLibrary& sampleMacros() {
    static const std::unique_ptr<MacroLibrary> made = [] {
        auto macros = std::make_unique<MacroLibrary>();
        for (uint32_t m = 0; m < 7; ++m) {
            MacroRecord& record = macros->slots[m];
            record.size = kMacroBaseSize + 8;
            record.magic = kMacroMagic;
            record.id = kFirstSampleMacroId + m;
            record.loopCount = m + 1;
            record.eventCount = 3;
            record.events[0] = macroEvent(kEventKeyDown, 0x41 + m);
            record.events[1] = macroEvent(kEventDelay, 10 * m);
            record.events[2] = macroEvent(kEventKeyUp, 0x41 + m);
        }
        return macros;
    }();
    return *made;
}

void expectCleanApply(const SettingsState& state, const MacroLibrary& macros, const LanguageState& language) {
    static Mouse mouse;
    RecordingDesktopMouseSettings desktop;
    Progress progress;
    ApplyWorker worker({mouse.link, state, macros, language, mouse.hooks, desktop, nullptr});
    const std::size_t refusedBefore = mouse.mouse.state().protocolErrors.size();
    expect(worker.applyProfile(progress) == kApplySucceeded, "the apply to complete");
    expect(mouse.mouse.state().protocolErrors.size() == refusedBefore, "every frame of the apply accepted");
    expect(progress.last == 100, "the progress to reach 100");
}

}  // namespace q30x::fuzz
