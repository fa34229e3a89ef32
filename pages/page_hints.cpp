#include "pages/page_hints.h"

#include <QMouseEvent>

#include "platform/messages.h"

namespace q30x {

PageHints::PageHints(QWidget* page, MessageTarget& mainWindow) : QObject(page), page_(page), mainWindow_(mainWindow) {
    page->installEventFilter(this);
}

void PageHints::add(QWidget* control, const QRect& rect, int hint) {
    // The skinned controls hand their moves to the page themselves; Qt's
    // propagation of the same move would count it twice.
    if (control && control != page_) control->setAttribute(Qt::WA_NoMousePropagation);
    areas_.push_back({rect, hint});
}

void PageHints::track(const QPoint& pagePoint) {
    for (const Area& a : areas_)
        if (a.rect.adjusted(-1, -1, 1, 1).contains(pagePoint)) mainWindow_.post(msg::kShowHint, 0, a.hint);
}

bool PageHints::eventFilter(QObject* watched, QEvent* event) {
    if (watched == page_ && event->type() == QEvent::MouseMove)
        track(static_cast<QMouseEvent*>(event)->position().toPoint());
    return false;
}

}  // namespace q30x
