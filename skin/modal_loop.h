#pragma once
#include <functional>

namespace q30x {

// Held around every modal event loop of the window's thread (a dialog's
// exec). The code that opened the dialog sits under its loop; the program's
// close, which deletes the pages, must not run from inside one, so it waits
// until the last such loop has returned.
class ModalLoopScope {
public:
    ModalLoopScope();
    ~ModalLoopScope();
    ModalLoopScope(const ModalLoopScope&) = delete;
    ModalLoopScope& operator=(const ModalLoopScope&) = delete;

    // Modal loops running now.
    static int depth();
    // Called each time the outermost one has returned; empty for none.
    static void setOnAllEnded(std::function<void()> handler);
};

}  // namespace q30x
