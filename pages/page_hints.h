#pragma once
#include <QObject>
#include <QRect>
#include <QWidget>
#include <vector>

#include "platform/message_target.h"

namespace q30x {

// A page's hover hints: a pointer within a control's rectangle grown by one
// pixel posts that control's hint number to the main window (2053). The
// page watches its own moves; its skinned controls pass theirs on to it.
class PageHints : public QObject {
public:
    PageHints(QWidget* page, MessageTarget& mainWindow);
    // `rect` is in page coordinates; `control` (may be the page) lies over it.
    void add(QWidget* control, const QRect& rect, int hint);
    void track(const QPoint& pagePoint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Area {
        QRect rect;
        int hint;
    };
    QWidget* page_;
    MessageTarget& mainWindow_;
    std::vector<Area> areas_;
};

}  // namespace q30x
