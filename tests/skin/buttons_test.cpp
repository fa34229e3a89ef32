#include <gtest/gtest.h>

#include <QTest>

#include "platform/messages.h"
#include "recorder.h"
#include "skin/bitmap_button.h"
#include "skin/irr_button.h"

namespace q30x {
namespace {

using test::Message;
using test::RecordingWindow;

TEST(BitmapLook, FollowsCheckModeThenHoverThenDisabled) {
    struct Case {
        bool checkMode, checked, pressed, hover, hoverEnabled, enabled;
        BitmapLook look;
    };
    const Case cases[] = {
        {false, false, false, false, true, true, BitmapLook::Normal},
        {false, false, true, false, true, true, BitmapLook::Checked},   // pressed push button
        {false, true, false, false, true, true, BitmapLook::Normal},    // check state ignored without check mode
        {true, false, true, true, true, true, BitmapLook::Hover},       // check mode ignores the press
        {true, true, false, false, true, true, BitmapLook::Checked},
        {true, true, false, false, true, false, BitmapLook::Checked},   // disabled but checked
        {true, false, false, false, true, false, BitmapLook::Disabled},
        {false, false, false, true, false, true, BitmapLook::Normal},   // hover switched off
        {false, false, false, true, true, false, BitmapLook::Hover},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bitmapLook(c.checkMode, c.checked, c.pressed, c.hover, c.hoverEnabled, c.enabled), c.look)
            << c.checkMode << c.checked << c.pressed << c.hover << c.hoverEnabled << c.enabled;
}

class BitmapButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    RecordingWindow window;
};

TEST_F(BitmapButtonTest, CheckBoxKeepsItsLookWhenClickedUntilTheOwnerSetsIt) {
    auto* box = new CGDIBitmapBtn(QString(), QRect(10, 10, 60, 20), &window);
    box->setModes(true, false);
    int clicks = 0;
    QObject::connect(box, &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_NE(box->look(), BitmapLook::Checked);
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box->checkedState(), 0);
    box->setCheckedState(1);
    EXPECT_EQ(box->look(), BitmapLook::Checked);
}

TEST_F(BitmapButtonTest, AutoToggleInvertsOnEveryPress) {
    auto* box = new CGDIBitmapBtn(QString(), QRect(10, 10, 60, 20), &window);
    box->setModes(true, true);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(box->checkedState(), 1);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(box->checkedState(), 0);
}

TEST_F(BitmapButtonTest, PressReportsGoToTheParentOnlyWhenOn) {
    auto* b = new CGDIBitmapBtn(QString(), QRect(10, 10, 60, 20), &window);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(window.messages().empty());
    b->setPressReports(true);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(b, Qt::RightButton, {}, QPoint(5, 5));
    const intptr_t handle = MessagePort::handle(b);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kBitmapButtonNotify, msg::kButtonPressed, handle},
                                                       {msg::kBitmapButtonNotify, msg::kButtonReleased, handle}}));
}

TEST_F(BitmapButtonTest, HoverMovesStraightOntoTheNeighbour) {
    auto* left = new CGDIBitmapBtn(QStringLiteral("A"), QRect(10, 10, 60, 20), &window);
    auto* right = new CGDIBitmapBtn(QStringLiteral("B"), QRect(70, 10, 60, 20), &window);
    QTest::mouseMove(&window, QPoint(200, 200));
    QTest::mouseMove(&window, QPoint(40, 20));
    EXPECT_TRUE(left->hovered());
    EXPECT_EQ(left->look(), BitmapLook::Hover);
    QTest::mouseMove(&window, QPoint(71, 20));
    EXPECT_FALSE(left->hovered());
    EXPECT_TRUE(right->hovered());
    QTest::mouseMove(&window, QPoint(200, 200));
    EXPECT_FALSE(right->hovered());
}

TEST_F(BitmapButtonTest, DisabledButtonShowsDisabledUnlessCheckedInCheckMode) {
    auto* b = new CGDIBitmapBtn(QString(), QRect(10, 10, 60, 20), &window);
    b->setModes(true, false);
    b->setEnabled(false);
    EXPECT_EQ(b->look(), BitmapLook::Disabled);
    b->setCheckedState(1);
    EXPECT_EQ(b->look(), BitmapLook::Checked);
}

TEST_F(BitmapButtonTest, DrawsTheCutImageOfItsLook) {
    QImage normal(200, 100, QImage::Format_RGB32), hover = normal, checked = normal;
    normal.fill(Qt::red);
    hover.fill(Qt::green);
    checked.fill(Qt::blue);
    auto* b = new CGDIBitmapBtn(QString(), QRect(10, 10, 60, 20), &window);
    b->cutImages(b->geometry(), normal, hover, checked, normal);
    EXPECT_EQ(b->grab().toImage().pixelColor(30, 10), QColor(Qt::red));
    b->setModes(true, false);
    b->setCheckedState(1);
    EXPECT_EQ(b->grab().toImage().pixelColor(30, 10), QColor(Qt::blue));
}

TEST_F(BitmapButtonTest, TooltipFollowsActiveFlag) {
    auto* b = new CGDIBitmapBtn(QString(), QRect(10, 10, 60, 20), &window);
    b->setTooltip(QStringLiteral("DPI"), true);
    EXPECT_EQ(b->toolTip(), QStringLiteral("DPI"));
    b->setTooltip(QStringLiteral("DPI"), false);
    EXPECT_TRUE(b->toolTip().isEmpty());
}

TEST(IrrLook, MarkedModeHoldsPressedLook) {
    EXPECT_EQ(irrLook(true, true, false, false, true), IrrLook::Pressed);
    EXPECT_EQ(irrLook(true, false, true, true, true), IrrLook::Hover);
    EXPECT_EQ(irrLook(true, false, true, false, false), IrrLook::Normal);
    EXPECT_EQ(irrLook(false, false, false, true, false), IrrLook::Disabled);
    EXPECT_EQ(irrLook(false, false, true, true, true), IrrLook::Pressed);
    EXPECT_EQ(irrLook(false, false, false, true, true), IrrLook::Hover);
}

TEST(IrrCaption, ShortAndLongCaptionsShiftDifferently) {
    EXPECT_EQ(irrCaptionX(100, 4), 100 + 5 - 24);
    EXPECT_EQ(irrCaptionX(100, 5), 100 + 5 - 30);
    EXPECT_EQ(irrCaptionX(100, 8), 100 + 5 - 24);
}

class SlantedTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A tab slanted on both sides inside its box (20,20)-(130,50).
        tab = new CIrrButton(QStringLiteral("Main"),
                             QRegion(QPolygon({QPoint(34, 20), QPoint(130, 20), QPoint(116, 50), QPoint(20, 50)})),
                             &window);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    RecordingWindow window;
    CIrrButton* tab = nullptr;
};

TEST_F(SlantedTabTest, OccupiesTheRegionsBoxAndHitsOnlyInsideTheRegion) {
    const QRegion region(QPolygon({QPoint(34, 20), QPoint(130, 20), QPoint(116, 50), QPoint(20, 50)}));
    EXPECT_EQ(tab->geometry(), region.boundingRect());
    EXPECT_EQ(tab->centre(), region.boundingRect().center());
    EXPECT_TRUE(tab->hitTest(QPoint(55, 15)));
    EXPECT_FALSE(tab->hitTest(QPoint(2, 2)));    // top-left corner, outside the slant
    EXPECT_FALSE(tab->hitTest(QPoint(108, 28)));  // bottom-right corner
}

TEST_F(SlantedTabTest, ReportsOnThePressAndIgnoresClicksOutsideTheSlant) {
    QTest::mousePress(tab, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(tab, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(window.messages().empty());
    QTest::mousePress(tab, Qt::LeftButton, {}, QPoint(55, 15));
    EXPECT_EQ(window.received, (std::vector<Message>{{msg::kCommand, 0, MessagePort::handle(tab)}}));
    QTest::mouseRelease(tab, Qt::LeftButton, {}, QPoint(55, 15));
    EXPECT_EQ(window.messages().size(), 1u);
}

TEST_F(SlantedTabTest, PressAndDragOffClearsHoverOnRelease) {
    test::moveTo(tab, QPoint(55, 15));
    QTest::mousePress(tab, Qt::LeftButton, {}, QPoint(55, 15));
    EXPECT_TRUE(tab->hovered());
    QTest::mouseRelease(tab, Qt::LeftButton, {}, QPoint(200, 90));
    EXPECT_FALSE(tab->hovered());
}

TEST_F(SlantedTabTest, MarkedTabKeepsPressedLookAndDropsItsCapture) {
    tab->setMarkedMode(true);
    test::moveTo(tab, QPoint(55, 15));
    tab->setMarked(true);
    EXPECT_EQ(tab->look(), IrrLook::Pressed);
    EXPECT_FALSE(tab->hovered());
    tab->setMarked(false);
    EXPECT_EQ(tab->look(), IrrLook::Normal);
}

}  // namespace
}  // namespace q30x
