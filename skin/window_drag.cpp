#include "skin/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace q30x {

void WindowDrag::press(QWidget* window, const QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (window->windowHandle() && window->windowHandle()->startSystemMove()) return;
    dragging_ = true;
    offset_ = e->globalPosition().toPoint() - window->pos();
}

void WindowDrag::move(QWidget* window, const QMouseEvent* e) const {
    if (dragging_ && (e->buttons() & Qt::LeftButton)) window->move(e->globalPosition().toPoint() - offset_);
}

}  // namespace q30x
