#include <gtest/gtest.h>

#include <QTest>

#include "platform/messages.h"
#include "recorder.h"
#include "skin/slider.h"

namespace q30x {
namespace {

using test::Message;
using test::RecordingWindow;

TEST(SliderClick, SnapRuleTakesTheLastStepEarly) {
    struct Case {
        int x, minimum, maximum, expected;
    };
    // Track from 0 to 100.
    const Case cases[] = {
        {76, 1, 5, 4},    // q + 1 = 4.04
        {95, 1, 5, 5},    // q + 1 = 4.8 > 4.75
        {93, 1, 5, 4},    // q + 1 = 4.72
        {0, 1, 5, 1},
        {-30, 1, 5, 1},   // left of the track
        {130, 1, 5, 5},   // right of the track
        {98, 1, 10, 10},  // q + 1 = 9.82 > 9.75
        {97, 1, 10, 9},   // q + 1 = 9.73
        {94, 1, 3, 3},    // q + 1 = 2.88 > 2.87
        {93, 1, 3, 2},    // q + 1 = 2.86
        {99, 1, 20, 19},  // no snap for other ranges
    };
    for (const Case& c : cases)
        EXPECT_EQ(sliderClickValue(c.x, 0, 100, c.minimum, c.maximum), c.expected) << c.x << " in " << c.minimum << ".." << c.maximum;
}

TEST(SliderClick, TrackWithoutWidthGivesTheMinimum) { EXPECT_EQ(sliderClickValue(50, 40, 40, 1, 5), 1); }

TEST(ThumbLeft, OutOfRangeValuesSitAtTheMinimum) {
    EXPECT_EQ(thumbLeft(1, 1, 5, 0, 111, 11), 0);
    EXPECT_EQ(thumbLeft(5, 1, 5, 0, 111, 11), 100);
    EXPECT_EQ(thumbLeft(3, 1, 5, 0, 111, 11), 50);
    EXPECT_EQ(thumbLeft(9, 1, 5, 0, 111, 11), 0);
    EXPECT_EQ(thumbLeft(0, 1, 5, 0, 111, 11), 0);
    EXPECT_EQ(thumbLeft(4, 4, 4, 7, 111, 11), 7);  // empty range
}

// A thumb picture: magenta key colour around an opaque 5-pixel core.
QImage keyedThumb() {
    QImage img(11, 17, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    for (int y = 4; y < 13; ++y)
        for (int x = 3; x < 8; ++x) img.setPixelColor(x, y, QColor(200, 200, 200));
    return img;
}

class SliderBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        bar = new CPngHSliderBar(keyedThumb(), QRect(50, 40, 111, 17), &window, 2560);
        bar->setTrackRect(QRect(50, 40, 100, 17));  // L = 50, R = 150
        bar->setRange(1, 5);
        bar->setPosition(1);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    RecordingWindow window;
    CPngHSliderBar* bar = nullptr;
};

TEST_F(SliderBarTest, ThumbIsShapedByItsKeyColourAndBottomAligned) {
    CPngHSlider* thumb = bar->thumb();
    EXPECT_EQ(thumb->size(), QSize(11, 17));
    EXPECT_EQ(thumb->geometry().bottom(), bar->height() - 1);
    EXPECT_FALSE(thumb->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(thumb->mask().contains(QPoint(5, 8)));
}

TEST_F(SliderBarTest, ClickPlacesTheThumbAndReportsWithTheBarsId) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(95, 8));
    EXPECT_EQ(bar->position(), 5);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(76, 8));
    EXPECT_EQ(bar->position(), 4);
    EXPECT_EQ(bar->thumb()->x(), 75);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kSliderChanged, 5, 2560}, {msg::kSliderChanged, 4, 2560}}));
}

TEST_F(SliderBarTest, SetPositionAboveMaximumGoesToMinimum) {
    bar->setPosition(3);
    EXPECT_EQ(bar->position(), 3);
    bar->setPosition(6);
    EXPECT_EQ(bar->position(), 1);
    EXPECT_EQ(bar->thumb()->x(), 0);
}

TEST_F(SliderBarTest, DragBeyondTheRightLimitStopsAtItAndReportsTheMaximum) {
    CPngHSlider* thumb = bar->thumb();
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseMove(thumb, QPoint(60, 8));
    QTest::mouseMove(thumb, QPoint(400, 8));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(400, 8));
    EXPECT_EQ(thumb->geometry().right() + 1, bar->width());
    EXPECT_EQ(bar->position(), 5);
    const auto& m = window.messages();
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m.back(), (Message{msg::kSliderChanged, 5, 2560}));
}

TEST_F(SliderBarTest, DisabledBarIgnoresClicksAndDrags) {
    bar->setEnabledFlag(false);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(95, 8));
    QTest::mousePress(bar->thumb(), Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseMove(bar->thumb(), QPoint(60, 8));
    QTest::mouseRelease(bar->thumb(), Qt::LeftButton, {}, QPoint(60, 8));
    EXPECT_EQ(bar->position(), 1);
    EXPECT_TRUE(window.messages().empty());
}

// Before the page sets a range the thumb has its own, 1..10, and sits at 1.
TEST(SliderBar, FreshThumbCountsFromOneToTen) {
    RecordingWindow window;
    auto* bar = new CPngHSliderBar(keyedThumb(), QRect(0, 0, 111, 17), &window, 7);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(bar->position(), 1);
    EXPECT_EQ(bar->thumb()->x(), 0);
    CPngHSlider* thumb = bar->thumb();
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseMove(thumb, QPoint(-200, 8));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(-200, 8));
    EXPECT_EQ(bar->position(), 1);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kSliderChanged, 1, 7}}));
}

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage background(300, 100, QImage::Format_RGB32), fill(300, 100, QImage::Format_RGB32);
        background.fill(Qt::black);
        fill.fill(Qt::cyan);
        bar = new CPngHProgressBar(QRect(35, 47, 100, 9), &window, 777);
        bar->setImages(35, 47, 100, 9, background, fill);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    RecordingWindow window;
    CPngHProgressBar* bar = nullptr;
};

TEST_F(ProgressBarTest, ValueFiveOfTenFillsTheLeftHalf) {
    bar->setValue(5);
    EXPECT_EQ(bar->fillWidth(), 50);
    const QImage shot = bar->grab().toImage();
    EXPECT_EQ(shot.pixelColor(49, 4), QColor(Qt::cyan));
    EXPECT_EQ(shot.pixelColor(50, 4), QColor(Qt::black));
}

TEST_F(ProgressBarTest, DragSetsTheValueAndItsEndReports) {
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(10, 4));
    QTest::mouseMove(bar, QPoint(35, 4));
    EXPECT_EQ(bar->value(), 3);
    EXPECT_TRUE(window.messages().empty());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(-20, 4));  // left of the bar counts as its left edge
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kProgressBarChanged, 0, 777}}));
}

TEST_F(ProgressBarTest, NonInteractiveBarIgnoresDrags) {
    bar->setInteractive(false);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(10, 4));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(90, 4));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(window.messages().empty());
}

}  // namespace
}  // namespace q30x
