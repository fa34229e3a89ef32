// A test writer of the files no command of q30xctl writes: it saves one file
// through the program's own save, either once with the content given (the
// messages printed as q30xctl prints them; exit 1 when nothing was saved) or
// for ever, alternating the file's two contents, until it is killed.
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/safety/saved_files.h"
#include "tests/support/temp_folder.h"

int main(int argc, char** argv) {
    using namespace q30x::test;
    const bool once = argc == 5 && std::strcmp(argv[3], "once") == 0;
    const SavedFileName* kind = nullptr;
    for (const SavedFileName& candidate : kSavedFiles)
        if (argc >= 3 && candidate.name == argv[1]) kind = &candidate;
    if (!kind || (argc != 3 && !once)) {
        std::fprintf(stderr, "usage: safety_writer macro|stats|language|export FOLDER [once 0|1]\n");
        return 64;
    }
    RecordedMessages messages;
    ProductSave save(kind->file, argv[2], messages);
    if (once) {
        const bool saved = save.save(std::strcmp(argv[4], "1") == 0 ? 1 : 0);
        for (const auto& shown : messages.shown)
            std::printf("%s%s%s\n", shown.caption.c_str(), shown.caption.empty() ? "" : ": ", shown.text.c_str());
        return saved ? 0 : 1;
    }
    for (int which = 1;; which ^= 1) {
        save.save(which);
        messages.shown.clear();
    }
}
