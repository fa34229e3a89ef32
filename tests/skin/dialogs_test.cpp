#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "platform/messages.h"
#include "skin/bitmap_button.h"
#include "skin/dlg_info.h"
#include "skin/dlg_progress.h"
#include "skin/message_port.h"
#include "skin/slider.h"
#include "skin/window_messages.h"
#include "support/temp_folder.h"

namespace q30x {
namespace {

QPoint middle(QWidget* w) { return w->rect().center(); }

// Opens the box without blocking and returns its result after `act`.
template <class Act>
int resultOf(CDlgInfo& box, Act act) {
    box.open();
    act();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(box.isVisible());
    return box.result();
}

TEST(CDlgInfo, QuestionButtonsAndClosingGiveTheirResults) {
    struct Case {
        const char* name;
        std::function<void(CDlgInfo&)> act;
        int result;
    };
    const Case cases[] = {
        {"ok", [](CDlgInfo& b) { QTest::mouseClick(b.okButton(), Qt::LeftButton, {}, middle(b.okButton())); }, 1},
        {"cancel", [](CDlgInfo& b) { QTest::mouseClick(b.cancelButton(), Qt::LeftButton, {}, middle(b.cancelButton())); }, 2},
        {"close button", [](CDlgInfo& b) { QTest::mouseClick(b.closeButton(), Qt::LeftButton, {}, middle(b.closeButton())); }, 2},
        {"escape", [](CDlgInfo& b) { QTest::keyClick(&b, Qt::Key_Escape); }, 2},
        {"window closed", [](CDlgInfo& b) { b.close(); }, 2},
        {"close message", [](CDlgInfo& b) { b.port()->post(msg::kClose, 0, 0); }, 2},
    };
    for (const Case& c : cases) {
        CDlgInfo box(QStringLiteral("Reset all statistics?"), true, false, false, nullptr);
        EXPECT_EQ(resultOf(box, [&] { c.act(box); }), c.result) << c.name;
    }
}

TEST(CDlgInfo, ModesHaveTheirButtonsCaptionsAndGeometry) {
    CDlgInfo question(QStringLiteral("?"), true, false, false, nullptr);
    EXPECT_EQ(question.size(), QSize(330, 160));
    EXPECT_EQ(question.windowTitle(), QStringLiteral("TarvoQ30xInfoDlg"));
    EXPECT_EQ(question.okButton()->geometry(), QRect(178, 127, 66, 32));
    EXPECT_EQ(question.cancelButton()->geometry(), QRect(245, 127, 66, 32));
    EXPECT_EQ(question.closeButton()->geometry(), QRect(300, 0, 29, 29));
    EXPECT_EQ(question.okButton()->caption(), QStringLiteral("OK"));
    EXPECT_EQ(question.cancelButton()->caption(), QStringLiteral("Cancel"));

    CDlgInfo notice(QStringLiteral("!"), false, false, true, nullptr);
    EXPECT_EQ(notice.cancelButton(), nullptr);
    EXPECT_EQ(notice.okButton()->geometry(), QRect(240, 127, 66, 32));
    EXPECT_EQ(notice.okButton()->caption(), QStringLiteral("确定"));
}

// Rows of the text column (x 90..305) below the text rectangle that carry ink.
int inkedRowsBelowText(const QString& text) {
    CDlgInfo box(text, false, false, false, nullptr);
    const QImage shot = box.grab().toImage();
    const QImage plain = CDlgInfo(QString(), false, false, false, nullptr).grab().toImage();
    int rows = 0;
    for (int y = 92; y < 125; ++y) {
        bool inked = false;
        for (int x = 90; x < 305; ++x) inked |= shot.pixel(x, y) != plain.pixel(x, y);
        rows += inked;
    }
    return rows;
}

TEST(CDlgInfo, LongMessageWrapsBelowItsRectangleInsteadOfBeingCut) {
    EXPECT_EQ(inkedRowsBelowText(QStringLiteral("Profile saved.")), 0);
    EXPECT_GT(inkedRowsBelowText(QStringLiteral("The mouse was not found. Check that it is plugged in and start the "
                                                "configuration again.")),
              8);
}

TEST(CDlgInfo, CountdownShowsFiveSecondsTwiceThenClosesWithCancel) {
    CDlgInfo box(QStringLiteral("Mouse unplugged."), false, true, false, nullptr);
    box.open();
    EXPECT_TRUE(box.port()->hasTimer(CDlgInfo::kCountdownTimer));
    QStringList captions{box.okButton()->caption()};
    for (int tick = 0; tick < 6; ++tick) {
        box.port()->send(msg::kTimer, CDlgInfo::kCountdownTimer, 0);
        captions << box.okButton()->caption();
    }
    EXPECT_EQ(captions, (QStringList{"OK (5s)", "OK (5s)", "OK (4s)", "OK (3s)", "OK (2s)", "OK (1s)", "OK (0s)"}));
    EXPECT_FALSE(box.port()->hasTimer(CDlgInfo::kCountdownTimer));
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), CDlgInfo::kCancel);
}

TEST(CDlgInfo, CountdownRunsOnItsOwnTimerWhenLeftAlone) {
    CDlgInfo box(QStringLiteral("Mouse unplugged."), false, true, true, nullptr);
    EXPECT_EQ(box.okButton()->caption(), QStringLiteral("确定 (5s)"));
    box.port()->setTimer(CDlgInfo::kCountdownTimer, 1);  // the 1000 ms period shortened
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(box.exec(), CDlgInfo::kCancel);
    EXPECT_LT(t.elapsed(), 5000);
}

TEST(WindowMessages, NewsWhileACountdownIsShownTakesOverThatBoxAndItsFiveSeconds) {
    LanguageState language{0, 0, 2};  // English
    WindowMessages messages(language);
    QStringList seen;
    int boxes = 0;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = dynamic_cast<CDlgInfo*>(top); box && box->isVisible()) {
                ++boxes;
                box->port()->send(msg::kTimer, CDlgInfo::kCountdownTimer, 0);
                box->port()->send(msg::kTimer, CDlgInfo::kCountdownTimer, 0);
                seen << box->okButton()->caption();
                messages.countdown(u"The Q30x gaming mouse is found.");  // returns at once
                seen << box->okButton()->caption();
                box->port()->setTimer(CDlgInfo::kCountdownTimer, 1);
            }
    });
    QElapsedTimer t;
    t.start();
    messages.countdown(u"The Q30x gaming mouse cannot be found.");
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(seen, (QStringList{"OK (4s)", "OK (5s)"}));
}

class ProgressTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    CDlgProgress dialog{QString::fromStdString(folder.path()), false};
};

TEST_F(ProgressTest, WithoutItsImagesTheWindowStillWorks) {
    dialog.prepare();
    EXPECT_EQ(dialog.size(), QSize(330, 80));
    EXPECT_EQ(dialog.bar()->geometry(), QRect(35, 47, 260, 9));
    EXPECT_EQ(dialog.text(), QStringLiteral("Updating is in progress, please wait…"));
    EXPECT_FALSE(dialog.grab().isNull());
}

TEST_F(ProgressTest, ClosesOnlyHalfASecondAfterHundred) {
    dialog.prepare();
    dialog.open();
    dialog.port()->post(msg::kApplyProgress, 42, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dialog.bar()->value(), 42);
    EXPECT_FALSE(dialog.port()->hasTimer(CDlgProgress::kCloseTimer));
    dialog.port()->post(msg::kApplyProgress, 100, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dialog.bar()->fillWidth(), 260);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.port()->hasTimer(CDlgProgress::kCloseTimer));
    dialog.port()->send(msg::kTimer, CDlgProgress::kCloseTimer, 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ProgressTest, KeyboardAndWindowManagerCannotCloseIt) {
    dialog.prepare();
    dialog.open();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) QTest::keyClick(&dialog, key);
    QTest::keyClick(&dialog, Qt::Key_F4, Qt::AltModifier);
    dialog.close();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(dialog.isVisible());
    dialog.port()->post(msg::kClose, 0, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ProgressKeys, FilterSwallowsExactlyTheClosingKeys) {
    EXPECT_TRUE(progressSwallowsKey(Qt::Key_Escape, {}));
    EXPECT_TRUE(progressSwallowsKey(Qt::Key_Space, {}));
    EXPECT_TRUE(progressSwallowsKey(Qt::Key_F4, Qt::AltModifier));
    EXPECT_FALSE(progressSwallowsKey(Qt::Key_F4, {}));
    EXPECT_FALSE(progressSwallowsKey(Qt::Key_A, {}));
}

}  // namespace
}  // namespace q30x
