#include "skin/modal_loop.h"

namespace q30x {
namespace {
// The window's thread only: no lock.
int depth_ = 0;
std::function<void()>& onAllEnded() {
    static std::function<void()> handler;
    return handler;
}
}  // namespace

ModalLoopScope::ModalLoopScope() { ++depth_; }

ModalLoopScope::~ModalLoopScope() {
    if (--depth_ == 0 && onAllEnded()) onAllEnded()();
}

int ModalLoopScope::depth() { return depth_; }

void ModalLoopScope::setOnAllEnded(std::function<void()> handler) { onAllEnded() = std::move(handler); }

}  // namespace q30x
