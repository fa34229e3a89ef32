#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <climits>

#include "recorder.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "skin/skin_scroll.h"

namespace q30x {
namespace {

using test::Message;
using test::RecordingWindow;

// Every cell of the test bitmap has its own colour, in three bands along
// the bar: the first 3 pixels (band 0), the middle (1), the last 3 (2).
QColor cellColour(int column, int row, int band) { return QColor(column * 25 + 5, row * 100 + 5, band * 100 + 5); }
int bandAt(int along) { return along < 3 ? 0 : along < 15 ? 1 : 2; }

QImage gridBitmap() {
    QImage img(163, 54, QImage::Format_RGB32);
    img.fill(Qt::black);
    for (int c = 0; c < 9; ++c)
        for (int r = 0; r < 3; ++r)
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 18; ++x) img.setPixelColor(c * 18 + x, r * 18 + y, cellColour(c, r, bandAt(c < 4 ? y : x)));
    return img;
}

TEST(ScrollBarGeometry, FollowsTheCellTheRangeAndThePosition) {
    struct Case {
        const char* name;
        int length;
        ScrollInfo info;
        int32_t position;
        int arrow, track, scrollable, thumb, offset;
    };
    const Case cases[] = {
        {"top", 200, {0, 99, 10, 0}, 0, 18, 164, 90, 16, 0},
        {"middle", 200, {0, 99, 10, 45}, 45, 18, 164, 90, 16, 74},
        {"bottom", 200, {0, 99, 10, 90}, 90, 18, 164, 90, 16, 148},
        {"tracking position", 200, {0, 99, 10, 0}, 90, 18, 164, 90, 16, 148},
        {"contents fit", 200, {0, 9, 10, 0}, 0, 18, 164, 0, 0, 82},
        {"page beyond the range", 200, {0, 4, 10, 0}, 0, 18, 164, -5, 0, 82},
        {"thumb at least 6", 200, {0, 999, 1, 500}, 500, 18, 164, 999, 6, 79},
        {"track of 6", 42, {0, 99, 10, 0}, 0, 18, 6, 90, 6, 0},
        {"track under 6", 41, {0, 99, 10, 90}, 90, 18, 5, 90, 0, 5},
        {"no track", 36, {0, 99, 10, 0}, 0, 18, 0, 90, 0, 0},
        {"shorter than two arrows", 31, {0, 99, 10, 0}, 0, 15, 0, 90, 0, 0},
        {"position past the end", 200, {0, 99, 10, 500}, 500, 18, 164, 90, 16, 148},
        {"negative position", 200, {0, 99, 10, -3}, -3, 18, 164, 90, 16, 0},
        {"counted from nMin", 200, {10, 109, 10, 10}, 10, 18, 164, 90, 16, 0},
        {"32-bit range", 200, {0, INT_MAX - 1, 1 << 30, INT_MAX / 4}, INT_MAX / 4, 18, 164, 1073741823, 82, 40},
    };
    for (const Case& c : cases) {
        const ScrollBarGeometry g = scrollBarGeometry(c.length, 18, c.info, c.position);
        EXPECT_EQ(g.arrow, c.arrow) << c.name;
        EXPECT_EQ(g.track, c.track) << c.name;
        EXPECT_EQ(g.scrollable, c.scrollable) << c.name;
        EXPECT_EQ(g.thumb, c.thumb) << c.name;
        EXPECT_EQ(g.offset, c.offset) << c.name;
    }
}

TEST(ScrollBarGeometry, HitTestingCoversTheWholeBarAndBeyond) {
    // Thumb at [92, 108).
    const ScrollBarGeometry g = scrollBarGeometry(200, 18, {0, 99, 10, 45}, 45);
    const std::pair<int, int> cases[] = {
        {-1, sb::kNoPart},      {-500, sb::kNoPart},   {0, sb::kLineUp},       {17, sb::kLineUp},
        {18, sb::kPageUp},      {91, sb::kPageUp},     {92, sb::kThumbTrack},  {107, sb::kThumbTrack},
        {108, sb::kPageDown},   {181, sb::kPageDown},  {182, sb::kLineDown},   {199, sb::kLineDown},
        {200, sb::kLineDown},   {5000, sb::kLineDown},
    };
    for (const auto& [along, part] : cases) EXPECT_EQ(scrollBarPartAt(g, along), part) << along;

    // Without a thumb the track is split where the thumb would stand.
    const ScrollBarGeometry shortTrack = scrollBarGeometry(41, 18, {0, 99, 10, 0}, 0);
    EXPECT_EQ(scrollBarPartAt(shortTrack, 18), sb::kPageDown);
    const ScrollBarGeometry fits = scrollBarGeometry(200, 18, {0, 9, 10, 0}, 0);
    EXPECT_EQ(scrollBarPartAt(fits, 99), sb::kPageUp);
    EXPECT_EQ(scrollBarPartAt(fits, 100), sb::kPageDown);
}

TEST(ScrollInfo, MirrorsAQScrollBarAndKeepsWholePositionsInWParam) {
    QScrollBar bar;
    bar.setRange(0, 15);
    bar.setPageStep(5);
    bar.setValue(7);
    const ScrollInfo info = scrollInfoOf(bar);
    EXPECT_EQ(info, (ScrollInfo{0, 19, 5, 7}));
    EXPECT_EQ(maxScrollPosition(info), 15);
    EXPECT_EQ(maxScrollPosition({0, 19, 0, 0}), 19);

    EXPECT_EQ(scrollWParam(sb::kThumbTrack, 3), 5u + 3u * 65536u);
    for (int32_t position : {0, 65535, 70000, -2, INT_MAX}) {
        const uintptr_t w = scrollWParam(sb::kThumbPosition, position);
        EXPECT_EQ(scrollCode(w), sb::kThumbPosition);
        EXPECT_EQ(scrollPosition(w), position);
    }
}

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        vertical = new CSkinScrollBar(Qt::Vertical, &window);
        vertical->setGeometry(0, 0, 18, 200);
        horizontal = new CSkinScrollBar(Qt::Horizontal, &window);
        horizontal->setGeometry(30, 0, 200, 18);
        for (CSkinScrollBar* b : {vertical, horizontal}) {
            b->setBitmap(gridBitmap());
            b->setScrollInfo({0, 99, 10, 45}, true);
        }
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    static QColor at(CSkinScrollBar* b, int along) {
        const QImage img = b->grab().toImage();
        return b->orientation() == Qt::Vertical ? img.pixelColor(9, along) : img.pixelColor(along, 9);
    }
    static QPoint point(CSkinScrollBar* b, int along) {
        return b->orientation() == Qt::Vertical ? QPoint(9, along) : QPoint(along, 9);
    }

    RecordingWindow window;
    CSkinScrollBar* vertical = nullptr;
    CSkinScrollBar* horizontal = nullptr;
};

TEST_F(ScrollBarTest, PaintsArrowsTiledTrackAndThumbWithItsEnds) {
    struct Case {
        int along, cell, band;  // cell column of the vertical bar
    };
    const Case cases[] = {
        {0, 0, 0},    {17, 0, 2},                                     // first arrow
        {18, 3, 0},   {21, 3, 1},   {35, 3, 2},   {36, 3, 0},         // track, tiled from its start
        {92, 2, 0},   {94, 2, 0},   {95, 2, 1},   {104, 2, 1},        // thumb: first end, middle
        {105, 2, 2},  {107, 2, 2},                                    // last end
        {108, 3, 0},  {130, 3, 1},                                    // track after
        {182, 1, 0},  {199, 1, 2},                                    // last arrow
    };
    for (CSkinScrollBar* b : {vertical, horizontal}) {
        const int offset = b == vertical ? 0 : 4;
        for (const Case& c : cases)
            EXPECT_EQ(at(b, c.along), cellColour(c.cell + offset, 0, c.band)) << b->orientation() << " at " << c.along;
    }
}

TEST_F(ScrollBarTest, NoThumbWhenNothingScrollsOrTheTrackIsUnderSix) {
    vertical->setScrollInfo({0, 9, 10, 0}, true);
    for (int y = 18; y < 182; ++y) EXPECT_EQ(at(vertical, y).red(), cellColour(3, 0, 0).red()) << y;
    horizontal->setGeometry(30, 0, 41, 18);
    for (int x = 18; x < 23; ++x) EXPECT_EQ(at(horizontal, x).red(), cellColour(7, 0, 0).red()) << x;
}

TEST_F(ScrollBarTest, ArrowsAndThumbShowHoverAndPressedRows) {
    test::moveTo(vertical, point(vertical, 5));
    EXPECT_EQ(vertical->hotPart(), sb::kLineUp);
    EXPECT_EQ(at(vertical, 5), cellColour(0, 1, 1));
    test::moveTo(vertical, point(vertical, 50));
    EXPECT_EQ(vertical->hotPart(), sb::kNoPart);  // tracks have no hover look
    EXPECT_EQ(at(vertical, 5), cellColour(0, 0, 1));
    test::moveTo(vertical, point(vertical, 100));
    EXPECT_EQ(at(vertical, 100), cellColour(2, 1, 1));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(vertical, &leave);
    EXPECT_EQ(vertical->hotPart(), sb::kNoPart);
    EXPECT_EQ(at(vertical, 100), cellColour(2, 0, 1));

    QTest::mousePress(vertical, Qt::LeftButton, {}, point(vertical, 190));
    EXPECT_EQ(at(vertical, 190), cellColour(1, 2, 1));
    test::moveTo(vertical, point(vertical, 50));  // off the arrow, still held
    EXPECT_EQ(at(vertical, 190), cellColour(1, 0, 1));
    QTest::mouseRelease(vertical, Qt::LeftButton, {}, point(vertical, 50));

    QTest::mousePress(vertical, Qt::LeftButton, {}, point(vertical, 100));
    EXPECT_EQ(at(vertical, 100), cellColour(2, 2, 1));
    QTest::mouseRelease(vertical, Qt::LeftButton, {}, point(vertical, 100));
    EXPECT_EQ(vertical->hotPart(), sb::kThumbTrack);  // released on the thumb
    EXPECT_EQ(at(vertical, 100), cellColour(2, 1, 1));
}

TEST_F(ScrollBarTest, ReportsEachPartsCodeWithTheBarsHandle) {
    const intptr_t v = MessagePort::handle(vertical), h = MessagePort::handle(horizontal);
    for (int along : {5, 50, 150, 190}) {
        QTest::mouseClick(vertical, Qt::LeftButton, {}, point(vertical, along));
        EXPECT_FALSE(vertical->port()->hasTimer(CSkinScrollBar::kDelayTimer));
    }
    QTest::mouseClick(horizontal, Qt::LeftButton, {}, point(horizontal, 190));
    // Thumb at [92, 108) in 148 pixels of room for 90 positions.
    QTest::mousePress(vertical, Qt::LeftButton, {}, point(vertical, 100));
    EXPECT_TRUE(vertical->dragging());
    test::moveTo(vertical, point(vertical, 100 + 37));  // 37 * 90 / 148 = 22
    test::moveTo(vertical, point(vertical, 100 + 37));  // no change, no report
    test::moveTo(vertical, point(vertical, 900));
    EXPECT_EQ(vertical->trackingPosition(), 90);
    EXPECT_EQ(vertical->scrollInfo().nPos, 45);  // the owner sets it
    QTest::mouseRelease(vertical, Qt::LeftButton, {}, point(vertical, 900));
    EXPECT_FALSE(vertical->dragging());
    EXPECT_EQ(window.messages(), (std::vector<Message>{
                                     {msg::kVScroll, scrollWParam(sb::kLineUp, 0), v},
                                     {msg::kVScroll, scrollWParam(sb::kPageUp, 0), v},
                                     {msg::kVScroll, scrollWParam(sb::kPageDown, 0), v},
                                     {msg::kVScroll, scrollWParam(sb::kLineDown, 0), v},
                                     {msg::kHScroll, scrollWParam(sb::kLineDown, 0), h},
                                     {msg::kVScroll, scrollWParam(sb::kThumbTrack, 67), v},
                                     {msg::kVScroll, scrollWParam(sb::kThumbTrack, 90), v},
                                     {msg::kVScroll, scrollWParam(sb::kThumbPosition, 90), v},
                                 }));
}

// A list of `rows` rows of 20 in a 200 x 100 frame: 5 rows in view.
class ScrollFrameTest : public ::testing::Test {
protected:
    void wrapList(int rows, Qt::ScrollBarPolicy policy = Qt::ScrollBarAsNeeded) {
        list = new CListBoxEx(QRect(10, 10, 200, 100), &window, 257, QStringLiteral("/nonexistent"));
        list->setVerticalScrollBarPolicy(policy);
        for (int i = 0; i < rows; ++i) list->addRow(0, QString::number(i), static_cast<uint32_t>(i));
        list->setSelection(0);
        frame = CSkinScrollWnd::wrap(list, gridBitmap());
        bar = frame->verticalBar();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    int top() const { return list->verticalScrollBar()->value(); }
    void timer(CSkinScrollBar* b, uint32_t id) { b->port()->send(msg::kTimer, id, 0); }

    RecordingWindow window;
    CListBoxEx* list = nullptr;
    CSkinScrollWnd* frame = nullptr;
    CSkinScrollBar* bar = nullptr;
};

TEST_F(ScrollFrameTest, ArrowScrollsAtOnceAfter500MsThenEvery100MsUntilTheBottom) {
    wrapList(8);  // positions 0..3
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(9, 95));
    EXPECT_EQ(top(), 1);
    EXPECT_EQ(bar->scrollInfo().nPos, 1);
    EXPECT_TRUE(bar->port()->hasTimer(CSkinScrollBar::kDelayTimer));
    EXPECT_FALSE(bar->port()->hasTimer(CSkinScrollBar::kRepeatTimer));
    timer(bar, CSkinScrollBar::kDelayTimer);
    EXPECT_EQ(top(), 2);
    EXPECT_FALSE(bar->port()->hasTimer(CSkinScrollBar::kDelayTimer));
    EXPECT_TRUE(bar->port()->hasTimer(CSkinScrollBar::kRepeatTimer));
    timer(bar, CSkinScrollBar::kRepeatTimer);
    EXPECT_EQ(top(), 3);
    EXPECT_TRUE(bar->port()->hasTimer(CSkinScrollBar::kRepeatTimer));
    timer(bar, CSkinScrollBar::kRepeatTimer);
    EXPECT_EQ(top(), 3);
    EXPECT_FALSE(bar->port()->hasTimer(CSkinScrollBar::kRepeatTimer));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(9, 95));

    // Up again: the release stopped the timers.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(9, 5));
    EXPECT_EQ(top(), 2);
    EXPECT_FALSE(bar->port()->hasTimer(CSkinScrollBar::kDelayTimer));
}

TEST_F(ScrollFrameTest, PointerOffTheArrowPausesTheRepeat) {
    wrapList(20);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(9, 95));
    test::moveTo(bar, QPoint(9, 50));
    timer(bar, CSkinScrollBar::kDelayTimer);
    timer(bar, CSkinScrollBar::kRepeatTimer);
    EXPECT_EQ(top(), 1);
    EXPECT_TRUE(bar->port()->hasTimer(CSkinScrollBar::kRepeatTimer));
    test::moveTo(bar, QPoint(9, 95));
    timer(bar, CSkinScrollBar::kRepeatTimer);
    EXPECT_EQ(top(), 2);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(9, 95));
}

TEST_F(ScrollFrameTest, TrackPagesUntilTheThumbReachesThePointer) {
    wrapList(40);  // 35 positions, thumb 8 long in 64
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(9, 80));
    EXPECT_EQ(top(), 5);
    timer(bar, CSkinScrollBar::kDelayTimer);
    EXPECT_EQ(top(), 10);
    int ticks = 0;
    while (bar->port()->hasTimer(CSkinScrollBar::kRepeatTimer) && ticks < 20) {
        timer(bar, CSkinScrollBar::kRepeatTimer);
        ++ticks;
    }
    EXPECT_EQ(ticks, 6);  // five pages, then the thumb is under the pointer
    EXPECT_EQ(top(), 35);
    EXPECT_EQ(scrollBarPartAt(bar->geometryNow(), 80), sb::kThumbTrack);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(9, 80));
}

TEST_F(ScrollFrameTest, DraggingPastTheEndStopsAtTheLastPage) {
    wrapList(20);  // nMax 19, nPage 5: the last position is 15
    ASSERT_EQ(bar->scrollInfo(), (ScrollInfo{0, 19, 5, 0}));
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(9, 20));
    test::moveTo(bar, QPoint(9, 44));  // 24 of 48 pixels of room
    EXPECT_EQ(top(), 7);               // the list follows the drag
    EXPECT_EQ(bar->scrollInfo().nPos, 0);
    // The frame's sync leaves a dragged bar alone.
    frame->port()->send(msg::kTimer, CSkinScrollWnd::kSyncTimer, 0);
    list->viewport()->repaint();
    EXPECT_EQ(bar->scrollInfo().nPos, 0);
    test::moveTo(bar, QPoint(9, 900));
    EXPECT_EQ(top(), 15);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(9, 900));
    EXPECT_EQ(top(), 15);
    EXPECT_EQ(bar->scrollInfo().nPos, 15);
    EXPECT_FALSE(bar->dragging());
}

TEST_F(ScrollFrameTest, TakesTheControlsPlaceAndShowsTheBarByPolicy) {
    struct Case {
        Qt::ScrollBarPolicy policy;
        int rows;
        bool shown, enabled;
    };
    const Case cases[] = {
        {Qt::ScrollBarAlwaysOn, 3, true, false},  // contents fit: no thumb, disabled
        {Qt::ScrollBarAlwaysOn, 5, true, false},
        {Qt::ScrollBarAlwaysOn, 6, true, true},
        {Qt::ScrollBarAsNeeded, 3, false, false},
        {Qt::ScrollBarAsNeeded, 8, true, true},
        {Qt::ScrollBarAlwaysOff, 8, false, true},
    };
    for (const Case& c : cases) {
        wrapList(c.rows, c.policy);
        list->viewport()->repaint();
        EXPECT_EQ(frame->geometry(), QRect(10, 10, 200, 100)) << c.rows;
        EXPECT_EQ(list->parentWidget(), frame->limit());
        EXPECT_EQ(frame->limit()->objectName(), QStringLiteral("LIMIT"));
        EXPECT_EQ(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(bar->isVisible(), c.shown) << c.policy << " " << c.rows;
        const int width = c.shown ? 182 : 200;
        EXPECT_EQ(list->geometry(), QRect(0, 0, width, 100)) << c.rows;
        if (c.shown) {
            EXPECT_EQ(bar->geometry(), QRect(182, 0, 18, 100));
            EXPECT_EQ(bar->isEnabled(), c.enabled) << c.rows;
            EXPECT_EQ(bar->geometryNow().thumb > 0, c.enabled) << c.rows;
        }
        EXPECT_FALSE(frame->horizontalBar()->isVisible());
        EXPECT_EQ(frame->corner(), CSkinScrollWnd::kNoCorner);
        delete frame;
    }
}

TEST_F(ScrollFrameTest, BarFollowsTheListOnItsPaintAndOnTheSyncTimer) {
    wrapList(3);
    EXPECT_FALSE(bar->isVisible());
    for (int i = 3; i < 9; ++i) list->addRow(0, QString::number(i), static_cast<uint32_t>(i));
    list->viewport()->repaint();
    QCoreApplication::sendPostedEvents();  // the layout is posted
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(list->width(), 182);
    list->viewport()->repaint();
    EXPECT_EQ(bar->scrollInfo(), (ScrollInfo{0, 8, 5, 4}));

    // Without a paint in between only the timer catches up.
    list->verticalScrollBar()->setValue(1);
    EXPECT_EQ(bar->scrollInfo().nPos, 4);
    frame->port()->send(msg::kTimer, CSkinScrollWnd::kSyncTimer, 0);
    EXPECT_EQ(bar->scrollInfo().nPos, 1);
}

TEST_F(ScrollFrameTest, FrameTakesTheBorderAndGoesWithTheControl) {
    list = new CListBoxEx(QRect(10, 10, 200, 100), &window, 1, QStringLiteral("/nonexistent"));
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setLineWidth(2);
    QPointer<CSkinScrollWnd> wrapped = CSkinScrollWnd::wrap(list, gridBitmap());
    EXPECT_EQ(wrapped->frameStyle(), QFrame::Box | QFrame::Plain);
    EXPECT_EQ(list->frameStyle(), QFrame::NoFrame);
    EXPECT_EQ(wrapped->limit()->geometry(), QRect(2, 2, 196, 96));
    delete list;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(wrapped.isNull());
}

TEST_F(ScrollFrameTest, BothBarsMeetAtTheCornerOnTheScrollBarsSide) {
    for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        auto* area = new QAbstractScrollArea(&window);
        area->setGeometry(10, 10, 200, 100);
        area->setFrameStyle(QFrame::NoFrame);
        area->setLayoutDirection(direction);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        CSkinScrollWnd* wrapped = CSkinScrollWnd::wrap(area, gridBitmap());
        const bool left = direction == Qt::RightToLeft;
        EXPECT_EQ(wrapped->corner(), left ? CSkinScrollWnd::kBottomLeft : CSkinScrollWnd::kBottomRight);
        EXPECT_EQ(wrapped->limit()->geometry(), QRect(left ? 18 : 0, 0, 182, 82));
        EXPECT_EQ(wrapped->verticalBar()->geometry(), QRect(left ? 0 : 182, 0, 18, 82));
        EXPECT_EQ(wrapped->horizontalBar()->geometry(), QRect(left ? 18 : 0, 82, 182, 18));
        const QImage img = wrapped->grab().toImage();
        EXPECT_EQ(img.pixelColor(left ? 9 : 191, 91), cellColour(8, left ? 1 : 0, 1));
        delete wrapped;
    }
}

}  // namespace
}  // namespace q30x
