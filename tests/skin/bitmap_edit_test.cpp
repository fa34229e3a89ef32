#include <gtest/gtest.h>

#include <QSet>
#include <QTest>

#include "recorder.h"
#include "skin/bitmap_edit.h"

namespace q30x {
namespace {

using test::RecordingWindow;

class BitmapEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    RecordingWindow window;
};

TEST_F(BitmapEditTest, TypingStopsAt256CharactersInEveryStyle) {
    struct Case {
        bool digitsOnly;
        QString typed;
        QString kept;
    };
    const QString digits(300, QLatin1Char('7'));
    const QString letters(300, QLatin1Char('x'));
    const Case cases[] = {
        {true, digits, digits.left(256)},
        {true, QStringLiteral("1a2-3 "), QStringLiteral("123")},
        {false, letters, letters.left(256)},
    };
    for (const Case& c : cases) {
        CBitmapEdit edit(QRect(10, 10, 60, 18), &window, c.digitsOnly, Qt::AlignHCenter);
        edit.setFocus();
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.text(), c.kept) << c.digitsOnly << " " << c.typed.size();
    }
}

// A page whose every pixel tells its own place.
QImage pageImage() {
    QImage page(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) page.setPixelColor(x, y, QColor(x, y, 0x40));
    return page;
}

TEST_F(BitmapEditTest, BackgroundIsThePagePieceUnderItAndTheTextIsTheSkinsGrey) {
    CBitmapEdit edit(QRect(30, 20, 60, 18), &window, true, Qt::AlignHCenter);
    const QImage page = pageImage();
    edit.setBackground(QRect(30, 20, 60, 18), page);
    QImage shot = edit.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), page.pixelColor(30, 20));
    EXPECT_EQ(shot.pixelColor(59, 17), page.pixelColor(89, 37));
    EXPECT_FALSE(edit.hasFrame());

    // A later piece replaces the first.
    edit.setBackground(QRect(100, 50, 60, 18), page);
    shot = edit.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), page.pixelColor(100, 50));

    QImage plain(60, 18, QImage::Format_RGB32);
    plain.fill(Qt::black);
    edit.setBackground(QRect(0, 0, 60, 18), plain);
    edit.setText(QStringLiteral("111"));
    shot = edit.grab().toImage();
    QSet<QRgb> ink;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) ink.insert(shot.pixel(x, y));
    EXPECT_TRUE(ink.contains(QColor(0x58, 0x5F, 0x67).rgb()));
}

TEST_F(BitmapEditTest, WithoutABackgroundItPaintsWithTheParentsDefault) {
    QPalette colours = window.palette();
    colours.setColor(QPalette::Base, QColor(0x20, 0x30, 0x40));
    window.setPalette(colours);
    CBitmapEdit edit(QRect(30, 20, 60, 18), &window, false, Qt::AlignLeft);
    EXPECT_FALSE(edit.hasBackground());
    EXPECT_EQ(edit.grab().toImage().pixelColor(30, 9), QColor(0x20, 0x30, 0x40));
}

TEST_F(BitmapEditTest, TabDoesNotStopAtIt) {
    auto* first = new QLineEdit(&window);
    first->setGeometry(10, 50, 60, 18);
    first->show();
    auto* edit = new CBitmapEdit(QRect(80, 50, 60, 18), &window, false, Qt::AlignLeft);
    auto* last = new QLineEdit(&window);
    last->setGeometry(150, 50, 60, 18);
    last->show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_TRUE(last->hasFocus());
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(edit->hasFocus());
}

}  // namespace
}  // namespace q30x
