#pragma once
#include <QPoint>

class QMouseEvent;
class QWidget;

namespace q30x {

// Moves a frameless window by a left press on its own surface, as if its
// caption had been grabbed: through the window manager where it can, else
// by following the pointer until the release.
class WindowDrag {
public:
    void press(QWidget* window, const QMouseEvent* e);
    void move(QWidget* window, const QMouseEvent* e) const;
    void release() { dragging_ = false; }

private:
    bool dragging_ = false;
    QPoint offset_;
};

}  // namespace q30x
