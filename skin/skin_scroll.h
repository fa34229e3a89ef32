#pragma once
#include <QFrame>
#include <QImage>
#include <QPointer>
#include <cstdint>

class QAbstractScrollArea;
class QScrollBar;

namespace q30x {

class MessagePort;

// The scroll codes a bar reports, which are also the numbers of its parts.
namespace sb {
inline constexpr int kLineUp = 0;    // first arrow
inline constexpr int kLineDown = 1;  // last arrow
inline constexpr int kPageUp = 2;    // track before the thumb
inline constexpr int kPageDown = 3;  // track after the thumb
inline constexpr int kThumbPosition = 4;
inline constexpr int kThumbTrack = 5;  // the thumb, while dragged
inline constexpr int kNoPart = -1;
}  // namespace sb

// wParam of a scroll report: the code in the low 16 bits, the position
// above them (wParam is 64 bits wide here, so no position is cut).
inline uintptr_t scrollWParam(int code, int32_t position) {
    return static_cast<uintptr_t>(code) + (static_cast<uintptr_t>(static_cast<uint32_t>(position)) << 16);
}
inline int scrollCode(uintptr_t wParam) { return static_cast<int>(wParam & 0xFFFF); }
inline int32_t scrollPosition(uintptr_t wParam) { return static_cast<int32_t>(static_cast<uint32_t>(wParam >> 16)); }

// The scroll state of a bar, as the system's scroll bars keep it.
struct ScrollInfo {
    int32_t nMin = 0, nMax = 0, nPage = 0, nPos = 0;
    bool operator==(const ScrollInfo&) const = default;
};

// The highest position: the last page ends at nMax.
int32_t maxScrollPosition(const ScrollInfo& info);

// A QScrollBar's state in those terms (its maximum is the last position,
// so nMax is the maximum plus the page less one).
ScrollInfo scrollInfoOf(const QScrollBar& bar);

// Where the parts of a bar lie along it: first arrow [0, arrow), track
// before [arrow, arrow + offset), thumb [arrow + offset, + thumb), track
// after up to length - arrow, last arrow to length.
struct ScrollBarGeometry {
    int length;      // L
    int arrow;       // a
    int track;       // t
    int64_t scrollable;  // s
    int thumb;       // h, 0 when no thumb is drawn
    int offset;      // o, from the end of the first arrow
};

// `position` is the tracking position while the thumb is dragged, else nPos.
ScrollBarGeometry scrollBarGeometry(int length, int cell, const ScrollInfo& info, int32_t position);
// The part at `along` (pixels from the bar's start): beyond the length is
// the last arrow, before the start no part.
int scrollBarPartAt(const ScrollBarGeometry& g, int along);

// One skinned bar, painted from the cells of the scroll-bar bitmap (built-in
// 166). It keeps the scroll state it is given and reports the user's actions
// to its parent's port as kVScroll / kHScroll (scrollWParam(code, position),
// the bar's handle); arrows and tracks repeat through its port's timers
// 200 (the first 500 ms) and 100 (every 100 ms).
class CSkinScrollBar : public QWidget {
public:
    static constexpr uint32_t kDelayTimer = 200;
    static constexpr uint32_t kRepeatTimer = 100;
    static constexpr int kDelayMs = 500;
    static constexpr int kRepeatMs = 100;

    CSkinScrollBar(Qt::Orientation orientation, QWidget* parent);

    void setBitmap(const QImage& bitmap);
    const QImage& bitmap() const { return bitmap_; }
    // The cell size and thickness of the bar.
    int cell() const { return cell_; }
    void setScrollInfo(const ScrollInfo& info, bool redraw);
    const ScrollInfo& scrollInfo() const { return info_; }
    Qt::Orientation orientation() const { return orientation_; }
    bool dragging() const { return dragging_; }
    int32_t trackingPosition() const { return trackPos_; }
    int pressedPart() const { return pressed_; }
    int hotPart() const { return hot_; }
    ScrollBarGeometry geometryNow() const;
    MessagePort* port() const { return port_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent*) override {}
    void leaveEvent(QEvent* e) override;

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void repeat();
    void report(int code, int32_t position);
    int along(const QPoint& p) const;
    int length() const;
    int stateRow(int part) const;

    Qt::Orientation orientation_;
    MessagePort* port_;
    QImage bitmap_;
    int cell_ = 0;
    ScrollInfo info_;
    bool dragging_ = false;
    int32_t trackPos_ = 0;  // while dragging
    int pressed_ = sb::kNoPart;
    int hot_ = sb::kNoPart;
    int pressAlong_ = 0;
    int32_t pressPos_ = 0;
    int lastAlong_ = 0;
    bool outside_ = false;
};

// Takes the place of a scrolling control on its parent: the control moves
// into a clipping child ("LIMIT"), its own scroll bars are switched off, and
// skinned bars beside it mirror and drive its QScrollBars. A control policy
// of AlwaysOn shows the bar always, AsNeeded while the control can scroll,
// AlwaysOff never. The frame deletes itself when the control goes.
class CSkinScrollWnd : public QFrame {
public:
    static constexpr uint32_t kSyncTimer = 100;
    static constexpr int kSyncMs = 500;
    // Posted to itself when a bar is to appear or go, so that the layout
    // never changes inside the control's painting.
    static constexpr uint32_t kLayoutMessage = 0x464;
    enum Corner { kNoCorner = 0, kBottomLeft = 1, kBottomRight = 2 };

    static CSkinScrollWnd* wrap(QAbstractScrollArea* control, const QImage& bitmap);

    CSkinScrollBar* verticalBar() const { return vBar_; }
    CSkinScrollBar* horizontalBar() const { return hBar_; }
    QWidget* limit() const { return limit_; }
    MessagePort* port() const { return port_; }
    int corner() const { return corner_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    CSkinScrollWnd(QAbstractScrollArea* control, const QImage& bitmap);
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    QScrollBar* controlBar(Qt::Orientation o) const;
    CSkinScrollBar* bar(Qt::Orientation o) const { return o == Qt::Vertical ? vBar_ : hBar_; }
    bool shows(Qt::Orientation o) const;
    void sync(bool enable);
    void layoutChildren();

    QPointer<QAbstractScrollArea> control_;
    int cell_ = 0;
    Qt::ScrollBarPolicy vPolicy_, hPolicy_;  // the control's, before wrapping
    QWidget* limit_;
    CSkinScrollBar* hBar_;
    CSkinScrollBar* vBar_;
    MessagePort* port_;
    bool vShown_ = false, hShown_ = false;
    int corner_ = kNoCorner;
};

}  // namespace q30x
