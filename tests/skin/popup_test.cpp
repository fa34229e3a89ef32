#include <gtest/gtest.h>

#include <QPointer>
#include <QMouseEvent>
#include <QTest>

#include "platform/messages.h"
#include "recorder.h"
#include "skin/popup.h"

namespace q30x {
namespace {


using test::Message;
using test::RecordingWindow;

class LanguagePopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        popup = CMenuExA::open(&main, QRect(15, 617, 42, 18));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    }
    void TearDown() override {
        if (popup) delete popup.data();
    }
    QPoint itemCentre(int i) const { return popup->items()[static_cast<size_t>(i)].rect.center(); }

    RecordingWindow main{QSize(960, 640)};
    QPointer<CMenuExA> popup;
};

TEST_F(LanguagePopupTest, TwelveLanguagesMeasure116By273AtTheButton) {
    EXPECT_EQ(popup->size(), QSize(116, 273));
    EXPECT_EQ(popup->pos(), QPoint(11, 635 - 287));
    ASSERT_EQ(popup->items().size(), 12u);
    EXPECT_EQ(popup->items()[0].text, QStringLiteral("Chinese"));
    EXPECT_EQ(popup->items()[11].text, QStringLiteral("Trad.Chinese"));
    EXPECT_EQ(popup->items()[11].command, 12);
    EXPECT_EQ(popup->items()[11].rect, QRect(6, 6 + 11 * 22, 104, 22));
    EXPECT_FALSE(popup->items()[3].icon.isNull());
    EXPECT_FALSE(popup->mask().contains(QPoint(0, 0)));  // rounded corner
    EXPECT_TRUE(popup->mask().contains(QPoint(58, 136)));
}

TEST_F(LanguagePopupTest, HoverHighlightsTheItemUnderThePointer) {
    test::moveTo(popup, itemCentre(2));
    EXPECT_EQ(popup->hovered(), 2);
    test::moveTo(popup, QPoint(3, 3));  // the margin
    EXPECT_EQ(popup->hovered(), -1);
    const QImage frame = popup->render();
    test::moveTo(popup, itemCentre(4));
    EXPECT_NE(popup->render(), frame);
    EXPECT_EQ(popup->render().pixelColor(itemCentre(4) + QPoint(40, 0)), QColor(0x00, 0x93, 0xD1));
}

TEST_F(LanguagePopupTest, ClickSendsTheLanguageNumberAtOnce) {
    test::moveTo(popup, itemCentre(4));
    QTest::mousePress(popup, Qt::LeftButton, {}, itemCentre(4));
    QTest::mouseRelease(popup, Qt::LeftButton, {}, itemCentre(4));
    EXPECT_EQ(main.received, (std::vector<Message>{{msg::kApplyLanguage, 0, 5}}));
}

TEST_F(LanguagePopupTest, PressDragOffReleaseSendsNothingAndDropsTheHighlight) {
    test::moveTo(popup, itemCentre(1));
    QTest::mousePress(popup, Qt::LeftButton, {}, itemCentre(1));
    test::moveTo(popup, itemCentre(6));
    EXPECT_EQ(popup->hovered(), 1);  // no hover change while pressed
    QTest::mouseRelease(popup, Qt::LeftButton, {}, itemCentre(6));
    EXPECT_EQ(popup->hovered(), -1);
    EXPECT_TRUE(main.messages().empty());
}

TEST_F(LanguagePopupTest, ClosingWithoutAChoiceSendsOnlyTheGoingAwayNotice) {
    popup->port()->post(msg::kClose, 0, 0);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(main.messages(), (std::vector<Message>{{msg::kApplyLanguage, 0, 0}}));
}

TEST_F(LanguagePopupTest, LosingActivationClosesIt) {
    popup->activateWindow();
    QTest::qWait(20);
    main.activateWindow();
    for (int i = 0; i < 50 && popup; ++i) QTest::qWait(10);
    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(main.messages(), (std::vector<Message>{{msg::kApplyLanguage, 0, 0}}));
}

TEST(CMenuEx, LongTextEndsInAnEllipsisInsideTheWindow) {
    RecordingWindow owner;
    CMenuEx list(&owner);
    list.setBackground(QImage());
    list.addItem(QStringLiteral("Ukrainian Ukrainian Ukrainian"), QImage(), 1);
    const QImage frame = list.render();
    auto inkIn = [&](int x0, int x1) {
        int ink = 0;
        for (int y = 6; y < 28; ++y)
            for (int x = x0; x < x1; ++x) ink += frame.pixelColor(x, y).lightness() < 100;
        return ink;
    };
    EXPECT_GT(inkIn(100, 112), 0);  // the ellipsis
    EXPECT_EQ(inkIn(112, 115), 0);  // nothing runs into the frame
}

}  // namespace
}  // namespace q30x
