#include "pages/page_hints.h"

#include <QMouseEvent>

#include "platform/messages.h"

namespace q30x {

PageHints::PageHints(QWidget* page, MessageTarget& mainWindow) : QObject(page), page_(page), mainWindow_(mainWindow) {
    page->installEventFilter(this);
}

void PageHints::add(QWidget* control, const QRect& rect, int hint) {
    if (control && control != page_) control->installEventFilter(this);
    areas_.push_back({rect, hint});
}

void PageHints::track(const QPoint& pagePoint) {
    for (const Area& a : areas_)
        if (a.rect.adjusted(-1, -1, 1, 1).contains(pagePoint)) mainWindow_.post(msg::kShowHint, 0, a.hint);
}

bool PageHints::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto* widget = static_cast<QWidget*>(watched);
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        track(widget == page_ ? at : widget->mapTo(page_, at));
    }
    return false;
}

}  // namespace q30x
