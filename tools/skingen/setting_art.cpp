#include <QPainterPath>

#include "art.h"

// The assignment popup and its four tab pages.
namespace skingen {

namespace S = q30x::layout::setting;

namespace {

const QColor kWell{0x09, 0x0A, 0x0C};
const QColor kHairline{0x1F, 0x23, 0x29};
const QColor kInk{0x8A, 0x90, 0x9A};
const QColor kAccentDeep{0x0E, 0x4D, 0x66};

}  // namespace

QRectF inner(const QRect& r, double by) { return QRectF(r).adjusted(by, by, -by, -by); }

void recess(QPainter& p, const QRect& r, const QColor& edge) {
    p.fillRect(r, edge);
    p.fillRect(r.adjusted(1, 1, -1, -1), kWell);
    // A darker top row sinks the field into the panel.
    p.fillRect(QRect(r.left() + 1, r.top() + 1, r.width() - 2, 1), QColor(0x03, 0x03, 0x04));
}

QColor edgeOf(State s) { return s == State::Normal ? lookOf(State::Normal).edge : colour::kAccentBright; }

void drawCheckBox(QPainter& p, const QRect& r, State s) {
    recess(p, r, edgeOf(s));
    if (s != State::Pressed) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(inner(r, 2), colour::kAccent);
    const QRectF c = inner(r, 3);
    p.setPen(QPen(Qt::white, std::max(1.5, r.width() / 8.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(c.left() + c.width() * 0.1, c.top() + c.height() * 0.55),
                              QPointF(c.left() + c.width() * 0.4, c.top() + c.height() * 0.85),
                              QPointF(c.right() - c.width() * 0.05, c.top() + c.height() * 0.15)}));
    p.restore();
}

void drawRadio(QPainter& p, const QRect& r, State s) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = inner(r, 1.5);
    p.setPen(QPen(edgeOf(s), 1));
    p.setBrush(kWell);
    p.drawEllipse(ring);
    if (s == State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kAccentBright);
        p.drawEllipse(ring.center(), ring.width() * 0.26, ring.width() * 0.26);
    }
    p.restore();
}

namespace {

// A tab: quiet when idle, lit from below when hovered, joined to the page
// with an accent top line when chosen.
void drawTab(QPainter& p, const QRect& r, State s) {
    const QRect face = r.adjusted(0, 0, -1, 0);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    switch (s) {
    case State::Normal:
        g.setColorAt(0, QColor(0x17, 0x1A, 0x1F));
        g.setColorAt(1, QColor(0x11, 0x13, 0x17));
        break;
    case State::Hover:
        g.setColorAt(0, QColor(0x1E, 0x23, 0x2A));
        g.setColorAt(1, QColor(0x17, 0x2A, 0x34));
        break;
    case State::Pressed:
        g.setColorAt(0, QColor(0x23, 0x28, 0x30));
        g.setColorAt(1, QColor(0x1A, 0x1E, 0x24));
        break;
    }
    p.fillRect(face, g);
    p.fillRect(QRect(face.right() + 1, face.top() + 5, 1, face.height() - 10), kHairline);
    if (s == State::Pressed) p.fillRect(QRect(face.left(), face.top(), face.width(), 2), colour::kAccentBright);
    else p.fillRect(QRect(face.left(), face.bottom(), face.width(), 1), s == State::Hover ? colour::kAccent : kHairline);
}

// A small keyboard: where the captured key will be named.
void drawKeyboardGlyph(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccentDeep, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kAccent);
    const double key = 2.2, gap = (r.width() - 4) / 7;
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 6; ++k)
            p.drawRect(QRectF(r.left() + 3 + k * gap + row * gap / 2, r.top() + 3 + row * 4, key, key));
    p.drawRect(QRectF(r.left() + r.width() * 0.28, r.bottom() - 4.5, r.width() * 0.44, 2));
    p.restore();
}

// A key cap carrying a modifier's name, beside its box.
void drawKeyCap(QPainter& p, const QRect& box, std::string_view name) {
    const QRect cap(box.right() + 12, box.center().y() - 10, 52, 21);
    drawFace(p, inner(cap, 0.5), lookOf(State::Normal), 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setWeight(QFont::DemiBold);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(cap.adjusted(0, 0, 0, -1), Qt::AlignCenter, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QImage pageCanvas() { return pageBackground(QSize(S::kPageSize.width, S::kPageSize.height)); }

}  // namespace

QImage settingPopup(State s) {
    QImage img(S::kSize.width, S::kSize.height, QImage::Format_RGB32);
    QPainter p(&img);
    const QRect all = img.rect();
    QLinearGradient body(0, 0, 0, all.height());
    body.setColorAt(0, colour::kPanelTop);
    body.setColorAt(1, colour::kPanelBottom);
    p.fillRect(all, body);
    const int tabsTop = S::kTabs.front().top, tabsBottom = S::kTabs.front().bottom;
    p.fillRect(QRect(0, 0, all.width(), tabsTop), colour::kTitle);
    drawAccentRule(p, QRect(0, tabsTop - 1, all.width(), 1));
    for (const auto& tab : S::kTabs) drawTab(p, rectOf(tab), s);
    p.fillRect(QRect(0, tabsBottom, all.width(), 1), kAccentDeep);

    const QRect frame = rectOf(S::kPageArea).adjusted(-1, -1, 1, 1);
    p.fillRect(rectOf(S::kPageArea), kWell);
    p.setPen(colour::kEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    drawCornerMarks(p, frame);

    // The action bar below the page.
    const int barTop = S::kDefault.top - 6;
    p.fillRect(QRect(1, barTop, all.width() - 2, 1), kHairline);
    drawTitleButton(p, rectOf(S::kClose), s, TitleGlyph::Close);
    drawCheckBox(p, rectOf(S::kDisable), s);
    drawButtonFace(p, rectOf(S::kDefault), s);
    drawFace(p, QRectF(rectOf(S::kOk)).adjusted(4.5, 4.5, -4.5, -5.5), primaryLook(s), 3);

    p.setPen(colour::kEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0, 0, -1, -1));
    return img;
}

QImage settingComboPage(State s) {
    namespace C = S::combo;
    QImage img = pageCanvas();
    QPainter p(&img);
    for (std::size_t m = 0; m < C::kModifiers.size(); ++m) {
        drawCheckBox(p, rectOf(C::kModifiers[m]), s);
        drawKeyCap(p, rectOf(C::kModifiers[m]), C::kModifierNames[m]);
    }
    const QRect key = rectOf(C::kKeyName);
    // The plus between the modifiers and the key.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::kAccent, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF plus(key.left() - 22, key.center().y() + 0.5);
    p.drawLine(plus + QPointF(-5, 0), plus + QPointF(5, 0));
    p.drawLine(plus + QPointF(0, -5), plus + QPointF(0, 5));
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect well = key.adjusted(-7, -5, 7, 5);
    recess(p, well, colour::kEdge);
    p.fillRect(QRect(well.left() + 1, well.bottom(), well.width() - 2, 1), colour::kAccent);
    drawKeyboardGlyph(p, QRectF(well.center().x() - 14.5, well.top() - 24.5, 29, 15));
    return img;
}

QImage settingMacroPage() {
    namespace M = S::macro;
    QImage img = pageCanvas();
    QPainter p(&img);
    for (const auto& list : {M::kGames, M::kMacros}) {
        p.setPen(colour::kEdge);
        p.drawRect(rectOf(list).adjusted(-1, -1, 0, 0));
    }
    return img;
}

QImage settingBasePage() { return pageCanvas(); }

QImage settingAdvancedPage(State s) {
    namespace A = S::advanced;
    QImage img = pageCanvas();
    QPainter p(&img);
    // One quiet plate behind the four rows.
    const QRect plate(A::kRadios.front().left - 11, A::kBrowse.front().top - 9,
                      A::kBrowse.front().right - A::kRadios.front().left + 22,
                      A::kBrowse.back().bottom - A::kBrowse.front().top + 18);
    p.fillRect(plate, QColor(0x14, 0x17, 0x1B));
    p.setPen(kHairline);
    p.drawRect(plate.adjusted(0, 0, -1, -1));
    for (std::size_t r = 0; r < A::kRadios.size(); ++r) {
        drawRadio(p, rectOf(A::kRadios[r]), s);
        recess(p, rectOf(A::kPaths[r]), edgeOf(s));
        drawFace(p, inner(rectOf(A::kBrowse[r]), 1.5), lookOf(s), 3);
    }
    return img;
}

}  // namespace skingen
