#pragma once
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "skin/message_port.h"

namespace q30x::test {

// A pointer move delivered straight to `w`: a move through the cursor can
// land on another window (the offscreen platform has no stacking order) or
// arrive late (X11).
inline void moveTo(QWidget* w, QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton,
                     QGuiApplication::mouseButtons(), Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

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
