#include <QPainterPath>

#include "art.h"

// The macro editor page: its lists' frames, its buttons and fields, and the
// mouse whose three buttons the user clicks to record them.
namespace skingen {

namespace P = q30x::layout::macropage;
using q30x::layout::SkinSet;

namespace {

const QColor kHairline{0x1F, 0x23, 0x29};
const QColor kRecordRed{0xD8, 0x3A, 0x3A};

// Glyphs of the small row buttons.
enum class Glyph { Plus, Minus, Pencil, Check };

void drawGlyph(QPainter& p, const QRectF& r, Glyph glyph, const QColor& ink) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = r.center();
    const double h = std::min(r.width(), r.height()) * 0.28;
    switch (glyph) {
    case Glyph::Plus:
        p.drawLine(c + QPointF(-h, 0), c + QPointF(h, 0));
        p.drawLine(c + QPointF(0, -h), c + QPointF(0, h));
        break;
    case Glyph::Minus: p.drawLine(c + QPointF(-h, 0), c + QPointF(h, 0)); break;
    case Glyph::Pencil:
        p.drawLine(c + QPointF(-h, h), c + QPointF(h, -h));
        p.setPen(QPen(ink, 1.2));
        p.drawLine(c + QPointF(-h, h), c + QPointF(-h + 3, h));
        break;
    case Glyph::Check:
        p.drawPolyline(QPolygonF({c + QPointF(-h, 0), c + QPointF(-h / 3, h * 0.7), c + QPointF(h, -h * 0.7)}));
        break;
    }
    p.restore();
}

void glyphButton(QPainter& p, const QRect& r, State s, Glyph glyph) {
    drawButtonFace(p, r, s);
    drawGlyph(p, QRectF(r), glyph, s == State::Normal ? lookOf(s).ink : colour::kAccentBright);
}

// A list's well: black inside a hairline frame marked at its corners.
void listWell(QPainter& p, const QRect& frame) {
    p.fillRect(frame, Qt::black);
    p.setPen(colour::kEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(-1, -1, 0, 0));
    drawCornerMarks(p, frame.adjusted(-1, -1, 1, 1));
}

// An option or switch: its box at the left of its rectangle; the caption
// that follows is the catalogue's, drawn at run time.
void optionRow(QPainter& p, const QRect& r, State s, bool radio) {
    const QRect box(r.left() + 2, r.center().y() - P::kBoxSide / 2, P::kBoxSide, P::kBoxSide);
    if (radio) drawRadio(p, box, s);
    else drawCheckBox(p, box, s);
    if (s != State::Normal) p.fillRect(QRect(r.left() + P::kCaptionIndent - 2, r.bottom() - 1, r.width() - P::kCaptionIndent, 1), kHairline);
}

// The field behind an edit: the edit draws its text on this art.
void field(QPainter& p, const QRect& r, State s) {
    recess(p, r.adjusted(-P::kFieldMarginX, -P::kFieldMarginY, P::kFieldMarginX, P::kFieldMarginY), edgeOf(s));
}

// Two arrows chasing each other: how often the macro repeats.
void drawLoopGlyph(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::kAccent, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(r, 30 * 16, 150 * 16);
    p.drawArc(r, 210 * 16, 150 * 16);
    const QPointF tip1(r.center().x() + r.width() / 2 * 0.87, r.center().y() - r.height() / 2 * 0.5);
    const QPointF tip2(r.center().x() - r.width() / 2 * 0.87, r.center().y() + r.height() / 2 * 0.5);
    p.drawLine(tip1, tip1 + QPointF(-3.5, -1));
    p.drawLine(tip1, tip1 + QPointF(0.5, -3.5));
    p.drawLine(tip2, tip2 + QPointF(3.5, 1));
    p.drawLine(tip2, tip2 + QPointF(-0.5, 3.5));
    p.restore();
}

// The mouse under the three pictures: a body whose buttons light up under
// the pointer and when pressed.
void drawMouse(QPainter& p, SkinSet set, State s) {
    const QRectF body = QRectF(rectOf(P::kMouseBody.in(set))).adjusted(20.5, 0.5, -20.5, -0.5);
    QPainterPath shell;
    shell.addRoundedRect(body, body.width() / 2.2, body.width() / 2.6);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, QColor(0x22, 0x26, 0x2D));
    g.setColorAt(1, QColor(0x12, 0x14, 0x18));
    p.setPen(QPen(colour::kEdge, 1));
    p.setBrush(g);
    p.drawPath(shell);
    // The seam between the two buttons and the line under them.
    const QRect middle = rectOf(P::kMiddlePicture.in(set));
    const double buttonsBottom = std::max(rectOf(P::kLeftPicture.in(set)).bottom(), rectOf(P::kRightPicture.in(set)).bottom()) + 10;
    p.setPen(QPen(kHairline, 1.5));
    p.drawLine(QPointF(middle.center().x() + 0.5, body.top() + 2), QPointF(middle.center().x() + 0.5, middle.top() - 2));
    p.drawLine(QPointF(middle.center().x() + 0.5, middle.bottom() + 3), QPointF(middle.center().x() + 0.5, buttonsBottom));
    p.drawLine(QPointF(body.left() + 4, buttonsBottom), QPointF(body.right() - 4, buttonsBottom));
    p.setBrush(colour::kAccent);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(body.center().x(), body.bottom() - body.height() * 0.22), 3, 3);
    p.restore();
    for (const auto* picture : {&P::kLeftPicture, &P::kMiddlePicture, &P::kRightPicture}) {
        const QRect r = rectOf(picture->in(set));
        const Look look = lookOf(s);
        drawFace(p, inner(r, 0.5), look, std::min(r.width(), r.height()) / 3.0);
        if (s == State::Pressed) p.fillRect(QRect(r.left() + 3, r.bottom() - 2, r.width() - 6, 2), colour::kAccentBright);
    }
}

}  // namespace

QImage macroPage(State s, SkinSet set) {
    QImage img = pageBackground(QSize(q30x::layout::kPageSize.width, q30x::layout::kPageSize.height));
    QPainter p(&img);
    auto at = [set](const q30x::layout::SetRect& r) { return rectOf(r.in(set)); };

    // Left column: the game, its macros and their two buttons.
    drawAccentRule(p, QRect(at(P::kGroupLabel).left(), at(P::kGroupLabel).bottom() + 2, at(P::kMacroFrame).width(), 1));
    // The game button reads as a drop-down field, so its grey caption stands on black.
    const QRect game = at(P::kGameButton);
    recess(p, game, edgeOf(s));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(s == State::Normal ? colour::kAccent : colour::kAccentBright);
    const QPointF arrow(game.right() - 14, game.center().y() + 2);
    p.drawPolygon(QPolygonF({arrow + QPointF(-5, -3), arrow + QPointF(5, -3), arrow + QPointF(0, 3)}));
    p.restore();
    listWell(p, at(P::kMacroFrame));
    drawButtonFace(p, at(P::kNewMacro), s);
    drawButtonFace(p, at(P::kDeleteMacro), s);

    // Middle column: the rows and the three row buttons.
    drawAccentRule(p, QRect(at(P::kEventLabel).left(), at(P::kEventLabel).bottom() + 2, at(P::kEventFrame).width(), 1));
    listWell(p, at(P::kEventFrame));
    glyphButton(p, at(P::kInsert), s, Glyph::Plus);
    glyphButton(p, at(P::kDeleteRow), s, Glyph::Minus);
    glyphButton(p, at(P::kModify), s, Glyph::Pencil);

    // Right column: recording, then the row editor under the mouse.
    const QRect record = at(P::kRecord);
    drawFace(p, QRectF(record).adjusted(0.5, 0.5, -1.5, -1.5), primaryLook(s), 4);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kRecordRed);
    p.drawEllipse(QPointF(record.left() + 11, record.center().y() + 0.5), 4, 4);
    p.restore();
    optionRow(p, at(P::kNoDelay), s, false);
    const QRect loop = at(P::kLoopField);
    field(p, loop, s);
    drawLoopGlyph(p, QRectF(loop.left() - 24, loop.center().y() - 7, 14, 14));
    drawMouse(p, set, s);

    const int m = P::kEditorMargin;
    const QRect editor = at(P::kKeyOption).united(at(P::kDelayConfirm)).adjusted(-m, -m, m, m);
    p.fillRect(editor, QColor(P::kEditorPlate & 0xFF, (P::kEditorPlate >> 8) & 0xFF, P::kEditorPlate >> 16));
    p.setPen(kHairline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(editor.adjusted(0, 0, -1, -1));
    optionRow(p, at(P::kKeyOption), s, true);
    optionRow(p, at(P::kDelayOption), s, true);
    field(p, at(P::kKeyField), s);
    field(p, at(P::kDelayField), s);
    glyphButton(p, at(P::kKeyConfirm), s, Glyph::Check);
    glyphButton(p, at(P::kDelayConfirm), s, Glyph::Check);
    return img;
}

}  // namespace skingen
