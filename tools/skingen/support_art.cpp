#include "art.h"

// The support page: versions, the online actions, the profile file and the
// factory defaults, each on its own plate.
namespace skingen {

namespace L = q30x::layout;
namespace U = q30x::layout::support;

namespace {

constexpr auto kSet = L::SkinSet::Standard;  // the page is the same in both sets

// A program window: the program's own version.
void drawAppGlyph(QPainter& p, const QRectF& box) {
    p.setPen(QPen(colour::kGlyph, 1.4));
    p.setBrush(colour::kGroove);
    p.drawRoundedRect(box, 3, 3);
    p.fillRect(QRectF(box.left() + 1, box.top() + 1, box.width() - 2, 5), colour::kAccent);
    p.setPen(QPen(colour::kAccentBright, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = box.center() + QPointF(0, 3);
    p.drawPolyline(QPolygonF({c + QPointF(-8, -4), c + QPointF(-12, 0), c + QPointF(-8, 4)}));
    p.drawPolyline(QPolygonF({c + QPointF(8, -4), c + QPointF(12, 0), c + QPointF(8, 4)}));
    p.drawLine(c + QPointF(2, -6), c + QPointF(-2, 6));
}

void drawVersion(QPainter& p, const L::SetRect& title, const L::SetRect& value, bool program) {
    const QRect a = rectOf(title.in(kSet)), v = rectOf(value.in(kSet));
    drawHeadingRule(p, a.adjusted(0, 0, 0, -4));
    drawValueWell(p, v.adjusted(-6, -5, 0, 5));
    const QRectF glyph(v.left() - 44.5, v.center().y() - 13.5, program ? 32 : 30, 28);
    if (program) drawAppGlyph(p, glyph);
    else drawMouseGlyph(p, glyph, 4);
}

QRect around(std::initializer_list<L::SetRect> controls, int margin) {
    QRect r;
    for (const auto& c : controls) r |= rectOf(c.in(kSet));
    return r.adjusted(-margin, -margin, margin, margin);
}

}  // namespace

QImage supportPage(State s) {
    QImage img = pageBackground(QSize(L::kPageSize.width, L::kPageSize.height));
    QPainter p(&img);
    drawPlate(p, QRect(52, 84, 672, 136));
    p.fillRect(QRect(358, 104, 1, 96), colour::kEdge);
    p.setRenderHint(QPainter::Antialiasing);
    drawHeadingRule(p, rectOf(U::kPageTitle.in(kSet)));
    drawVersion(p, U::kProgramTitle, U::kProgramVersion, true);
    drawVersion(p, U::kFirmwareTitle, U::kFirmwareVersion, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawPlate(p, around({U::kUpdate, U::kWeb}, 20));
    drawPlate(p, around({U::kImport, U::kExport}, 20));
    drawPlate(p, around({U::kDefault}, 20));
    // The buttons are small for their captions: each face fills its whole
    // rectangle so that a caption on two lines stays on it.
    for (const auto& button : {U::kUpdate, U::kWeb, U::kImport, U::kExport, U::kDefault})
        drawFace(p, QRectF(rectOf(button.in(kSet))).adjusted(0.5, 0.5, -0.5, -0.5), lookOf(s), 3);
    return img;
}

}  // namespace skingen
