#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <vector>

#include "recorder.h"
#include "skin/bitmap_button.h"
#include "skin/color_btn.h"

namespace q30x {
namespace {

// A parent that notes the position of every mouse move it is given.
class MoveRecorder : public QWidget {
public:
    MoveRecorder() {
        resize(300, 200);
        setMouseTracking(true);
    }
    std::vector<QPointF> moves;

protected:
    void mouseMoveEvent(QMouseEvent* e) override { moves.push_back(e->position()); }
};

class ColorBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    bool allPixels(CColorBtn* b, QColor c) {
        const QImage shot = b->grab().toImage();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y) != c) return false;
        return true;
    }
    MoveRecorder window;
};

TEST_F(ColorBtnTest, FillsWithItsColourOpaqueInEveryState) {
    auto* b = new CColorBtn(QStringLiteral("Color 1"), QRect(10, 10, 25, 25), &window);
    EXPECT_TRUE(allPixels(b, Qt::white));
    struct Case {
        uint32_t colour;
        QColor shown;
    };
    const Case cases[] = {
        {0x000000FF, QColor(255, 0, 0)},
        {0x00FF0000, QColor(0, 0, 255)},
        {0x00123456, QColor(0x56, 0x34, 0x12)},
        {0xFF00FF00, QColor(0, 255, 0)},  // a top byte from a damaged file is no alpha
    };
    for (const Case& c : cases) {
        b->setColour(c.colour);
        b->setColour(c.colour);
        EXPECT_TRUE(allPixels(b, c.shown)) << std::hex << c.colour;
        QTest::mouseMove(b, QPoint(5, 5));
        QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_TRUE(allPixels(b, c.shown)) << "pressed and hovered " << std::hex << c.colour;
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
        b->setEnabled(false);
        EXPECT_TRUE(allPixels(b, c.shown)) << "disabled " << std::hex << c.colour;
        b->setEnabled(true);
    }
    EXPECT_EQ(b->caption(), QStringLiteral("Color 1"));
}

TEST_F(ColorBtnTest, RelaysMovesToTheParentInScreenCoordinates) {
    auto* swatch = new CColorBtn(QString(), QRect(40, 30, 25, 25), &window);
    auto* button = new CGDIBitmapBtn(QString(), QRect(100, 30, 60, 20), &window);
    test::moveTo(swatch, QPoint(3, 4));
    EXPECT_TRUE(window.moves.empty()) << "posted, not sent";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(window.moves.size(), 1u);
    EXPECT_EQ(window.moves[0], swatch->mapToGlobal(QPointF(3, 4)));
    EXPECT_NE(window.moves[0], QPointF(43, 34));
    // The bitmap buttons relay in the parent's own coordinates.
    window.moves.clear();
    test::moveTo(button, QPoint(3, 4));
    ASSERT_FALSE(window.moves.empty());
    EXPECT_EQ(window.moves[0], QPointF(103, 34));
}

TEST_F(ColorBtnTest, HoverFollowsThePointerOntoTheNeighbour) {
    auto* left = new CColorBtn(QString(), QRect(10, 10, 25, 25), &window);
    auto* right = new CColorBtn(QString(), QRect(35, 10, 25, 25), &window);
    QTest::mouseMove(&window, QPoint(200, 150));
    QTest::mouseMove(&window, QPoint(20, 20));
    EXPECT_TRUE(left->hovered());
    QTest::mouseMove(&window, QPoint(36, 20));
    EXPECT_FALSE(left->hovered());
    EXPECT_TRUE(right->hovered());
    QTest::mouseMove(&window, QPoint(200, 150));
    EXPECT_FALSE(right->hovered());
}

TEST_F(ColorBtnTest, ClickNotifiesAndTooltipFollowsItsFlag) {
    auto* b = new CColorBtn(QString(), QRect(10, 10, 25, 25), &window);
    int clicks = 0;
    QObject::connect(b, &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(b, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
    b->setTooltip(QStringLiteral("Light color"), true);
    EXPECT_EQ(b->toolTip(), QStringLiteral("Light color"));
    b->setTooltip(QStringLiteral("Light color"), false);
    EXPECT_TRUE(b->toolTip().isEmpty());
}

}  // namespace
}  // namespace q30x
