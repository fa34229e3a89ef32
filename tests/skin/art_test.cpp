#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "skin/images.h"
#include "skin/layout.h"

// The drawn art as the windows load it from the build's program folder.
namespace q30x {
namespace {

namespace L = layout;
namespace M = layout::mainwin;

const QString kProgramFolder = QStringLiteral(Q30X_TEST_LIBDIR);

QString fileName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QImage skin(const char* set, std::string_view file) {
    return loadSkinImage(kProgramFolder, QString::fromLatin1(set) + QLatin1Char('/') + fileName(file));
}

QSize sizeOf(L::Size s) { return QSize(s.width, s.height); }

TEST(SkinArt, EveryFullPageSkinHasTheSizeItsWindowIsLaidOutFor) {
    namespace lp = L::pages;
    struct Case {
        std::array<std::string_view, 3> files;
        L::Size size;
    };
    const Case cases[] = {
        {M::kFiles, M::kSize},       {lp::kMainSet, L::kPageSize}, {lp::kLedSet, L::kPageSize},
        {lp::kMacro, L::kPageSize},  {lp::kSts, L::kPageSize},     {lp::kSupport, L::kPageSize},
    };
    for (const char* set : {"skins", "skins-sc"})
        for (const Case& c : cases)
            for (std::string_view file : c.files) EXPECT_EQ(skin(set, file).size(), sizeOf(c.size)) << set << "/" << file;
}

// The three buttons cut their looks from the three pictures, so each must
// show its own look there, and nothing else may differ: a cut would pick up
// a stray piece of another look.
TEST(SkinArt, MainWindowLooksDifferAtTheirThreeButtonsOnly) {
    const QImage normal = skin("skins", M::kFiles[0]);
    const QImage down = skin("skins", M::kFiles[1]);
    const QImage over = skin("skins", M::kFiles[2]);
    const QRect buttons[] = {toQRect(M::kMinimize), toQRect(M::kHide), toQRect(M::kLanguage)};
    const auto outsideButtons = [&](QImage img) {
        QPainter p(&img);
        for (const QRect& b : buttons) p.fillRect(b, Qt::black);
        return img;
    };
    struct Pair {
        const char* names;
        const QImage &a, &b;
    };
    const Pair pairs[] = {{"normal/down", normal, down}, {"normal/over", normal, over}, {"down/over", down, over}};
    for (const Pair& pair : pairs) {
        for (const QRect& b : buttons)
            EXPECT_NE(pair.a.copy(b), pair.b.copy(b)) << pair.names << " at " << b.x() << "," << b.y();
        EXPECT_EQ(outsideButtons(pair.a), outsideButtons(pair.b)) << pair.names;
    }
}

std::vector<M::Quad> slantedButtons() {
    std::vector<M::Quad> quads(M::kTabs.begin(), M::kTabs.end());
    quads.insert(quads.end(), M::kProfiles.begin(), M::kProfiles.end());
    quads.push_back(M::kOk);
    return quads;
}

QRegion regionOf(const M::Quad& q) {
    QPolygon polygon;
    for (const M::Point& p : q) polygon << QPoint(p.x, p.y);
    return QRegion(polygon);
}

// Each look with the caption colour the buttons draw on it.
struct SlantedLook {
    int id;
    QColor caption;
};
const SlantedLook kSlantedLooks[] = {
    {M::res::kChineseNormal, kCaptionNormal},   {M::res::kChineseHover, kCaptionHover},
    {M::res::kChinesePressed, kCaptionPressed}, {M::res::kStandardNormal, kCaptionNormal},
    {M::res::kStandardHover, kCaptionHover},    {M::res::kStandardPressed, kCaptionPressed},
};

// A pixel of the region left bare would show the window through the button;
// half covered is an antialiased edge.
TEST(SkinArt, SlantedButtonPicturesCoverEveryPixelOfEveryButton) {
    for (const SlantedLook& look : kSlantedLooks) {
        const QImage img = builtinImage(look.id);
        ASSERT_EQ(img.size(), sizeOf(M::kSize)) << look.id;
        for (const M::Quad& q : slantedButtons()) {
            int bare = 0;
            for (const QRect& r : regionOf(q))
                for (int y = r.top(); y <= r.bottom(); ++y)
                    for (int x = r.left(); x <= r.right(); ++x) bare += qAlpha(img.pixel(x, y)) < 128;
            EXPECT_EQ(bare, 0) << look.id << " button at " << q[0].x << "," << q[0].y;
        }
    }
}

double luminance(QRgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The captions are drawn at run time around the middle of each button; the
// fill there must leave them readable (4.5:1, the usual bar for small text).
TEST(SkinArt, SlantedButtonCaptionsStayReadableInEveryLook) {
    for (const SlantedLook& look : kSlantedLooks) {
        const QImage img = builtinImage(look.id).convertToFormat(QImage::Format_ARGB32);
        for (const M::Quad& q : slantedButtons()) {
            const QPoint centre = regionOf(q).boundingRect().center();
            double worst = 21;
            for (int y = centre.y() - 6; y <= centre.y() + 8; ++y)
                for (int x = centre.x() - 20; x <= centre.x() + 20; ++x)
                    worst = std::min(worst, contrast(img.pixel(x, y), look.caption.rgb()));
            EXPECT_GE(worst, 4.5) << look.id << " button at " << q[0].x << "," << q[0].y;
        }
    }
}

TEST(SkinArt, DesktopIconsHaveTheirNamedSizes) {
    for (int n : L::kDesktopIconSizes) {
        const QImage icon(kProgramFolder + QStringLiteral("/icons/hicolor/%1x%1/apps/q30x.png").arg(n));
        EXPECT_EQ(icon.size(), QSize(n, n)) << n;
    }
}

}  // namespace
}  // namespace q30x
