#pragma once
#include <QCoreApplication>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "skin/message_port.h"

namespace q30x::test {

struct Message {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    bool operator==(const Message&) const = default;
};

// A parent window that records every message its port receives.
class RecordingWindow : public QWidget {
public:
    explicit RecordingWindow(QSize size = QSize(400, 300)) {
        resize(size);
        port = new MessagePort(this, [this](uint32_t m, uintptr_t w, intptr_t l) {
            received.push_back({m, w, l});
            return intptr_t{0};
        });
    }
    // Delivers what was posted and returns everything received so far.
    const std::vector<Message>& messages() {
        QCoreApplication::sendPostedEvents();
        return received;
    }
    MessagePort* port;
    std::vector<Message> received;
};

}  // namespace q30x::test
