#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QTest>

#include "platform/messages.h"
#include "recorder.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/menu_library.h"
#include "skin/xp_menu.h"

namespace q30x {
namespace {

using test::Message;
using test::RecordingWindow;

QImage drawnItem(bool highlighted, const QString& text) {
    const XPMenuItem item{layout::res::kTrayConfig, layout::res::kTrayConfig, text};
    QImage img(75, 22, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    drawXPMenuItem(p, img.rect(), highlighted, item);
    return img;
}

TEST(CXPMenu, HighlightHasABlackFrameAroundItsColour) {
    const QImage hot = drawnItem(true, QStringLiteral("Exit"));
    EXPECT_EQ(hot.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(hot.pixelColor(74, 21), QColor(Qt::black));
    EXPECT_EQ(hot.pixelColor(1, 20), colorRef(0xCFB9B1));
    const QImage plain = drawnItem(false, QStringLiteral("Exit"));
    EXPECT_EQ(plain.pixelColor(0, 0), colorRef(0xD1D8DB));
    EXPECT_EQ(plain.pixelColor(74, 21), colorRef(0xD1D8DB));
}

TEST(CXPMenu, LongTextIsCutWithAnEllipsisInsideTheItem) {
    const QImage img = drawnItem(false, QStringLiteral("Configuration of everything"));
    // The text area ends at the item's right edge: the last column stays
    // background.
    for (int y = 0; y < 22; ++y) EXPECT_EQ(img.pixelColor(74, y), colorRef(0xD1D8DB)) << y;
}

TEST(CXPMenu, ItemsMeasure75By22AndCarryTheirCommand) {
    const XPMenuItem config{1012, 1012, QStringLiteral("Config")}, exitItem{1011, 1011, QStringLiteral("Exit")};
    CXPMenu menu;
    QAction* a = menu.appendItem(0x6000, &config);
    QAction* b = menu.appendItem(0x6001, &exitItem);
    menu.popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    EXPECT_EQ(menu.actionGeometry(a).size(), QSize(75, 22));
    EXPECT_EQ(menu.actionGeometry(b).top(), menu.actionGeometry(a).bottom() + 1);
    EXPECT_EQ(b->data().toInt(), 0x6001);
    EXPECT_EQ(menu.itemOf(b), &exitItem);
    menu.close();
}

TEST(MenuLibrary, MissingLibraryOrExportIsReported) {
    MenuLibrary library;
    EXPECT_EQ(library.load(QStringLiteral(Q30X_TEST_LIBDIR "/libNoSuchMenu.so")), MenuLibrary::Result::NotFound);
    EXPECT_FALSE(library.ready());
    EXPECT_EQ(library.load(QStringLiteral(Q30X_TEST_LIBDIR "/libmenuex_missing_export.so")),
              MenuLibrary::Result::MissingExport);
    EXPECT_FALSE(library.ready());
}

TEST(MenuLibrary, ChoiceComesBackAs0x501WithTheCommand) {
    MenuLibrary library;
    ASSERT_EQ(library.loadDefault(QStringLiteral(Q30X_TEST_LIBDIR)), MenuLibrary::Result::Loaded) << qPrintable(library.error());
    RecordingWindow owner;
    const MenuExItem items[] = {{kMenuExTopLevel, 0x10003, {u'F', u'P', u'S', 0}}, {kMenuExTopLevel, 4, {u'R', u'T', u'S', 0}}};
    const char16_t* missing = u"/nonexistent.bmp";  // missing looks fall back to plain colours
    EXPECT_EQ(library.create()(owner.port, 24, {100, 100}, 0x676153, 0xFFFFFF, 0xB98C15, missing, missing, missing,
                               missing, missing, missing, missing, missing, items, 2),
              1);
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = dynamic_cast<QMenu*>(w); m && m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actionGeometry(menu->actions()[0]).height(), 24);
    menu->actions()[0]->trigger();
    EXPECT_EQ(owner.messages(), (std::vector<Message>{{msg::kMenuChoice, 0, 3}}));
    library.destroy()();
    library.destroy()();  // nothing open: nothing happens
}

TEST(Gallery, WritesEveryScreenAndNoneIsBlank) {
    const QString dir = QStringLiteral(Q30X_TEST_LIBDIR "/screens");
    QProcess gallery;
    gallery.start(QStringLiteral(Q30X_TEST_LIBDIR "/q30x-gallery"), {QStringLiteral("--screens"), dir});
    ASSERT_TRUE(gallery.waitForFinished(60000));
    EXPECT_EQ(gallery.exitCode(), 0) << gallery.readAllStandardError().toStdString();
    for (const char* name : {"controls", "info_ok", "info_question", "info_countdown", "info_long", "info_chinese",
                             "progress", "progress_chinese", "language_popup", "tray_menu", "menu_library", "icons", "list_box", "macro_page", "macro_recording",
                             "macro_inserting", "macro_chinese", "macro_game_menu"}) {
        const QImage image(dir + "/" + name + ".png");
        ASSERT_FALSE(image.isNull()) << name;
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 20) << name;
    }
}

TEST(SkinArt, EveryBuiltinOfTheseWindowsIsThere) {
    for (int id : {128, 129, 1004, 1005, 1006, 1007, 1008, 1009, 1011, 1012}) EXPECT_FALSE(builtinImage(id).isNull()) << id;
    for (int id = 130; id <= 153; ++id) EXPECT_FALSE(builtinImage(id).isNull()) << id;
    EXPECT_EQ(builtinImage(1006).size(), QSize(330, 160));
    EXPECT_EQ(builtinImage(129).size(), QSize(116, 273));
    EXPECT_TRUE(builtinImage(999).isNull());
}

// The bars tile their tracks and the middles of their thumbs, so those
// must look the same at every step along the bar.
TEST(SkinArt, ScrollBarCellsTileAlongTheBar) {
    namespace lsb = layout::scrollbar;
    const QImage bitmap = builtinImage(lsb::kBitmap);
    ASSERT_EQ(bitmap.size(), QSize(163, 54));
    const int u = lsb::kCell;
    auto sameAlong = [&](int column, int row, int from, int to) {
        const bool vertical = column < lsb::kLeft;
        for (int a = from + 1; a < to; ++a)
            for (int across = 0; across < u; ++across) {
                const QPoint first = vertical ? QPoint(column * u + across, row * u + from) : QPoint(column * u + from, row * u + across);
                const QPoint here = vertical ? QPoint(column * u + across, row * u + a) : QPoint(column * u + a, row * u + across);
                if (bitmap.pixel(first) != bitmap.pixel(here)) return false;
            }
        return true;
    };
    for (int column : {lsb::kVTrack, lsb::kHTrack}) EXPECT_TRUE(sameAlong(column, 0, 0, u)) << column;
    for (int column : {lsb::kVThumb, lsb::kHThumb})
        for (int row = 0; row < lsb::kRows; ++row)
            EXPECT_TRUE(sameAlong(column, row, lsb::kThumbEnd, u - lsb::kThumbEnd)) << column << " " << row;
}

TEST(SkinArt, ListIconsAreInBothSkinSets) {
    for (const char* set : {"skins", "skins-sc"})
        for (const auto& icons : layout::listbox::kIcons)
            for (std::string_view file : {icons.normal, icons.selected}) {
                const QImage icon(QStringLiteral(Q30X_TEST_LIBDIR "/%1/%2").arg(QLatin1String(set), QLatin1StringView(file.data(), static_cast<qsizetype>(file.size()))));
                EXPECT_EQ(icon.size(), QSize(16, 16)) << set << "/" << file;
            }
}

TEST(SkinArt, MissingSkinFileGivesAPlaceholderNotACrash) {
    const QImage missing = loadSkinImage(QStringLiteral("/nonexistent"), QStringLiteral("skins/Slider.png"));
    EXPECT_TRUE(missing.isNull());
    const QImage piece = cut(missing, QRect(5, 5, 20, 10));
    EXPECT_EQ(piece.size(), QSize(20, 10));
    EXPECT_EQ(piece.pixelColor(3, 3), kPlaceholderColour);
}

}  // namespace
}  // namespace q30x
