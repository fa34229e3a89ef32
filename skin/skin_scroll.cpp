#include "skin/skin_scroll.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"

namespace q30x {

namespace lsb = layout::scrollbar;

int32_t maxScrollPosition(const ScrollInfo& info) { return info.nMax - std::max(info.nPage - 1, 0); }

ScrollInfo scrollInfoOf(const QScrollBar& bar) {
    return {bar.minimum(), bar.maximum() + std::max(bar.pageStep() - 1, 0), bar.pageStep(), bar.value()};
}

ScrollBarGeometry scrollBarGeometry(int length, int cell, const ScrollInfo& info, int32_t position) {
    ScrollBarGeometry g{};
    g.length = length;
    g.arrow = length - 2 * cell > 0 ? cell : length / 2;
    g.track = std::max(length - 2 * cell, 0);
    // 64 bits: a range of 32-bit values and its products must not wrap.
    const int64_t range = int64_t{info.nMax} - info.nMin + 1;
    g.scrollable = range - info.nPage;
    // A page larger than the range has nothing to scroll, like a page that
    // fits exactly.
    const bool scrolls = g.scrollable > 0;
    if (scrolls && g.track > 5) g.thumb = static_cast<int>(std::max<int64_t>(int64_t{info.nPage} * g.track / range, 6));
    if (scrolls) {
        const int64_t p = std::clamp<int64_t>(int64_t{position} - info.nMin, 0, g.scrollable);
        g.offset = static_cast<int>(p * (g.track - g.thumb) / g.scrollable);
    } else {
        g.offset = (g.track - g.thumb) / 2;
    }
    return g;
}

int scrollBarPartAt(const ScrollBarGeometry& g, int along) {
    if (along < 0) return sb::kNoPart;
    if (along >= g.length - g.arrow) return sb::kLineDown;
    if (along < g.arrow) return sb::kLineUp;
    const int thumbStart = g.arrow + g.offset;
    if (along < thumbStart) return sb::kPageUp;
    if (along < thumbStart + g.thumb) return sb::kThumbTrack;
    return sb::kPageDown;
}

CSkinScrollBar::CSkinScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation), port_(new MessagePort(this)) {
    port_->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSkinScrollBar::setBitmap(const QImage& bitmap) {
    bitmap_ = orPlaceholder(bitmap, QSize(lsb::kBitmapSize.width, lsb::kBitmapSize.height));
    cell_ = bitmap_.width() / lsb::kColumns;
    update();
}

void CSkinScrollBar::setScrollInfo(const ScrollInfo& info, bool redraw) {
    info_ = info;
    if (redraw) update();
}

int CSkinScrollBar::length() const { return orientation_ == Qt::Vertical ? height() : width(); }

int CSkinScrollBar::along(const QPoint& p) const { return orientation_ == Qt::Vertical ? p.y() : p.x(); }

ScrollBarGeometry CSkinScrollBar::geometryNow() const {
    return scrollBarGeometry(length(), cell_, info_, dragging_ ? trackPos_ : info_.nPos);
}

int CSkinScrollBar::stateRow(int part) const {
    if (part == sb::kThumbTrack && dragging_) return 2;
    if (part == pressed_ && !outside_ && (part == sb::kLineUp || part == sb::kLineDown)) return 2;
    return part == hot_ ? 1 : 0;
}

void CSkinScrollBar::paintEvent(QPaintEvent*) {
    const ScrollBarGeometry g = geometryNow();
    const bool vertical = orientation_ == Qt::Vertical;
    const int u = cell_;
    const int first = vertical ? lsb::kUp : lsb::kLeft;
    // A piece along the bar from `from`, `length` long, the bar's thickness across.
    auto span = [&](int from, int len) { return vertical ? QRect(0, from, u, len) : QRect(from, 0, len, u); };
    auto cellPart = [&](int column, int row, int from, int len) {
        return vertical ? QRect(column * u, row * u + from, u, len) : QRect(column * u + from, row * u, len, u);
    };
    auto tile = [&](QPainter& p, const QRect& target, const QRect& source) {
        if (target.isEmpty() || source.isEmpty()) return;
        p.setBrushOrigin(target.topLeft());
        p.fillRect(target, QBrush(bitmap_.copy(source)));
    };
    QPainter p(this);
    p.drawImage(span(0, g.arrow), bitmap_, cellPart(first, stateRow(sb::kLineUp), 0, u));
    p.drawImage(span(g.length - g.arrow, g.arrow), bitmap_, cellPart(first + 1, stateRow(sb::kLineDown), 0, u));
    tile(p, span(g.arrow, g.length - 2 * g.arrow), cellPart(first + 3, 0, 0, u));
    if (g.thumb == 0) return;
    const int row = stateRow(sb::kThumbTrack), end = lsb::kThumbEnd, start = g.arrow + g.offset;
    p.drawImage(span(start, end), bitmap_, cellPart(first + 2, row, 0, end));
    tile(p, span(start + end, g.thumb - 2 * end), cellPart(first + 2, row, end, u - 2 * end));
    p.drawImage(span(start + g.thumb - end, end), bitmap_, cellPart(first + 2, row, u - end, end));
}

void CSkinScrollBar::report(int code, int32_t position) {
    if (MessagePort* port = MessagePort::of(parentWidget()))
        port->send(orientation_ == Qt::Vertical ? msg::kVScroll : msg::kHScroll, scrollWParam(code, position),
                   MessagePort::handle(this));
}

void CSkinScrollBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    lastAlong_ = along(e->position().toPoint());
    const int part = scrollBarPartAt(geometryNow(), lastAlong_);
    if (part == sb::kNoPart) return;
    pressed_ = part;
    outside_ = false;
    if (part == sb::kThumbTrack) {
        dragging_ = true;
        pressAlong_ = lastAlong_;
        pressPos_ = trackPos_ = info_.nPos;
        update();
        return;
    }
    update();
    report(part, 0);
    port_->setTimer(kDelayTimer, kDelayMs);
}

void CSkinScrollBar::mouseMoveEvent(QMouseEvent* e) {
    lastAlong_ = along(e->position().toPoint());
    const ScrollBarGeometry g = geometryNow();
    if (dragging_) {
        const int room = g.track - g.thumb;
        const int64_t moved = room ? int64_t{lastAlong_ - pressAlong_} * g.scrollable / room : 0;
        const auto position =
            static_cast<int32_t>(std::clamp<int64_t>(pressPos_ + moved, info_.nMin, maxScrollPosition(info_)));
        if (position == trackPos_) return;
        trackPos_ = position;
        update();
        report(sb::kThumbTrack, trackPos_);
        return;
    }
    if (pressed_ != sb::kNoPart) {
        const bool outside = scrollBarPartAt(g, lastAlong_) != pressed_;
        if (outside != outside_) update();
        outside_ = outside;
        return;
    }
    int part = scrollBarPartAt(g, lastAlong_);
    if (part == sb::kPageUp || part == sb::kPageDown) part = sb::kNoPart;  // tracks have no hover look
    if (part == hot_) return;
    hot_ = part;
    update();
}

void CSkinScrollBar::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || pressed_ == sb::kNoPart) return;
    if (dragging_) {
        report(sb::kThumbPosition, trackPos_);
        dragging_ = false;
        hot_ = scrollBarPartAt(geometryNow(), along(e->position().toPoint())) == sb::kThumbTrack ? sb::kThumbTrack
                                                                                                : sb::kNoPart;
    }
    port_->killTimer(kDelayTimer);
    port_->killTimer(kRepeatTimer);
    pressed_ = sb::kNoPart;
    update();
}

void CSkinScrollBar::leaveEvent(QEvent* e) {
    hot_ = sb::kNoPart;
    update();
    QWidget::leaveEvent(e);
}

intptr_t CSkinScrollBar::onMessage(uint32_t message, uintptr_t wParam, intptr_t) {
    if (message != msg::kTimer) return 0;
    if (wParam == kDelayTimer) {
        port_->killTimer(kDelayTimer);
        port_->setTimer(kRepeatTimer, kRepeatMs);
        repeat();
    } else if (wParam == kRepeatTimer) {
        repeat();
    }
    return 0;
}

void CSkinScrollBar::repeat() {
    const int under = scrollBarPartAt(geometryNow(), lastAlong_);
    const bool arrow = pressed_ == sb::kLineUp || pressed_ == sb::kLineDown;
    const bool atEnd = pressed_ == sb::kLineUp ? info_.nPos <= info_.nMin : info_.nPos >= maxScrollPosition(info_);
    // An arrow stops at its end, a track once the thumb has reached the
    // pointer; the pointer off the pressed part only pauses the repeat.
    if (pressed_ == sb::kNoPart || dragging_ || (arrow && atEnd) || (!arrow && under == sb::kThumbTrack)) {
        port_->killTimer(kDelayTimer);
        port_->killTimer(kRepeatTimer);
        return;
    }
    if (under == pressed_) report(pressed_, 0);
}

CSkinScrollWnd* CSkinScrollWnd::wrap(QAbstractScrollArea* control, const QImage& bitmap) {
    return new CSkinScrollWnd(control, bitmap);
}

CSkinScrollWnd::CSkinScrollWnd(QAbstractScrollArea* control, const QImage& bitmap)
    : QFrame(control->parentWidget()),
      control_(control),
      vPolicy_(control->verticalScrollBarPolicy()),
      hPolicy_(control->horizontalScrollBarPolicy()),
      limit_(new QWidget(this)),
      hBar_(new CSkinScrollBar(Qt::Horizontal, this)),
      vBar_(new CSkinScrollBar(Qt::Vertical, this)),
      port_(new MessagePort(this)) {
    setObjectName(QStringLiteral("SkinScrollBarFrame"));
    limit_->setObjectName(QStringLiteral("LIMIT"));
    const bool hidden = control->isHidden();
    setGeometry(control->geometry());
    // The control's border becomes the frame's, around the bars too.
    setFrameStyle(control->frameStyle());
    setLineWidth(control->lineWidth());
    setMidLineWidth(control->midLineWidth());
    control->setFrameStyle(QFrame::NoFrame);
    hBar_->setBitmap(bitmap);
    vBar_->setBitmap(bitmap);
    cell_ = vBar_->cell();
    control->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    control->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    control->setParent(limit_);
    control->move(0, 0);
    control->setVisible(!hidden);
    control->viewport()->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this] { deleteLater(); });
    port_->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    port_->setTimer(kSyncTimer, kSyncMs);
    layoutChildren();
    sync(true);
    setVisible(!hidden);
}

QScrollBar* CSkinScrollWnd::controlBar(Qt::Orientation o) const {
    return o == Qt::Vertical ? control_->verticalScrollBar() : control_->horizontalScrollBar();
}

bool CSkinScrollWnd::shows(Qt::Orientation o) const {
    switch (o == Qt::Vertical ? vPolicy_ : hPolicy_) {
        case Qt::ScrollBarAlwaysOn: return true;
        case Qt::ScrollBarAlwaysOff: return false;
        case Qt::ScrollBarAsNeeded: break;
    }
    const QScrollBar* bar = controlBar(o);
    return bar->maximum() > bar->minimum();
}

void CSkinScrollWnd::layoutChildren() {
    if (!control_) return;
    vShown_ = shows(Qt::Vertical);
    hShown_ = shows(Qt::Horizontal);
    const bool left = control_->layoutDirection() == Qt::RightToLeft;
    const QRect area = contentsRect();
    QRect inner = area;
    if (hShown_) inner.setHeight(std::max(area.height() - cell_, 0));
    if (vShown_) {
        inner.setWidth(std::max(area.width() - cell_, 0));
        if (left) inner.moveLeft(area.left() + cell_);
    }
    limit_->setGeometry(inner);
    control_->setGeometry(0, 0, inner.width(), inner.height());
    vBar_->setGeometry(left ? area.left() : inner.left() + inner.width(), area.top(), cell_, inner.height());
    hBar_->setGeometry(inner.left(), inner.top() + inner.height(), inner.width(), cell_);
    vBar_->setVisible(vShown_);
    hBar_->setVisible(hShown_);
    corner_ = vShown_ && hShown_ ? (left ? kBottomLeft : kBottomRight) : kNoCorner;
    update();
}

void CSkinScrollWnd::sync(bool enable) {
    if (!control_) return;
    if (shows(Qt::Vertical) != vShown_ || shows(Qt::Horizontal) != hShown_) port_->post(kLayoutMessage, 0, 0);
    for (Qt::Orientation o : {Qt::Vertical, Qt::Horizontal}) {
        CSkinScrollBar* b = bar(o);
        if (!(o == Qt::Vertical ? vShown_ : hShown_) || b->dragging()) continue;
        const ScrollInfo info = scrollInfoOf(*controlBar(o));
        if (!(info == b->scrollInfo())) b->setScrollInfo(info, true);
        if (enable) b->setEnabled(info.nMax >= info.nPage);
    }
}

intptr_t CSkinScrollWnd::onMessage(uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == msg::kTimer && wParam == kSyncTimer) sync(false);
    if (message == kLayoutMessage) layoutChildren();
    if ((message != msg::kVScroll && message != msg::kHScroll) || !control_) return 0;
    const Qt::Orientation o = message == msg::kVScroll ? Qt::Vertical : Qt::Horizontal;
    QScrollBar* target = controlBar(o);
    const int code = scrollCode(wParam);
    switch (code) {
        case sb::kLineUp: target->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
        case sb::kLineDown: target->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
        case sb::kPageUp: target->triggerAction(QAbstractSlider::SliderPageStepSub); break;
        case sb::kPageDown: target->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
        case sb::kThumbPosition:
        case sb::kThumbTrack: target->setValue(scrollPosition(wParam)); break;
        default: return 0;
    }
    if (code != sb::kThumbTrack) bar(o)->setScrollInfo(scrollInfoOf(*target), true);
    return 0;
}

void CSkinScrollWnd::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    if (corner_ == kNoCorner) return;
    QPainter p(this);
    const int row = corner_ == kBottomLeft ? 1 : 0;
    p.drawImage(QPoint(vBar_->x(), hBar_->y()), vBar_->bitmap(), QRect(lsb::kCorner * cell_, row * cell_, cell_, cell_));
}

void CSkinScrollWnd::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    layoutChildren();
}

bool CSkinScrollWnd::eventFilter(QObject* watched, QEvent* e) {
    // The control repaints after every change of its contents or position.
    // The type goes first: the viewport also sends events while the control
    // is being destroyed, when the control must not be touched any more.
    if (e->type() == QEvent::Paint && control_ && watched == control_->viewport()) sync(true);
    return QFrame::eventFilter(watched, e);
}

}  // namespace q30x
