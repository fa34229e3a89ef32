#pragma once
#include <cstdint>

#include "firmware/update_check.h"

namespace q30x {

class MessagePort;

// The update check's side of the support page: timer 5 and the answers of
// the check thread both arrive through the page's message port, so every
// message box of the check is shown by the window's thread.
class UpdatePageLink final : public UpdatePage {
public:
    explicit UpdatePageLink(MessagePort& port) : port_(port) {}
    // Routes the page's timer 5 and the thread's answers to `check`.
    void connect(UpdateCheck& check);

    void startTimeout(uint32_t ms) override;
    void stopTimeout() override;
    void postAnswer(uint32_t round, UpdateAnswer answer) override;

private:
    MessagePort& port_;
};

}  // namespace q30x
