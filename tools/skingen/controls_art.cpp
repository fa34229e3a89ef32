#include <QPainterPath>
#include <QTransform>

#include "art.h"

namespace skingen {

namespace lsb = q30x::layout::scrollbar;

namespace {

const QColor kTrackFill{0x0F, 0x11, 0x14};
const QColor kTrackEdge{0x1C, 0x1F, 0x25};

// The groove every track, arrow and corner cell sits on; the same on every
// row along the bar, so that it tiles without seams.
void drawTrack(QPainter& p, const QRect& cell) {
    p.fillRect(cell, kTrackFill);
    p.fillRect(QRect(cell.left(), cell.top(), 1, cell.height()), kTrackEdge);
    p.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), kTrackEdge);
    p.fillRect(QRect(cell.center().x(), cell.top(), 1, cell.height()), colour::kGroove);
}

// Faces across the bar; their rounding stays inside the first and last
// lsb::kThumbEnd pixels, so the middle of a thumb can be tiled.
void drawBarFace(QPainter& p, const QRectF& r, State s) { drawFace(p, r, lookOf(s), lsb::kThumbEnd - 0.5, Qt::Horizontal); }

QImage upArrow(State s) {
    const int u = lsb::kCell;
    QImage img(u, u, QImage::Format_ARGB32);
    QPainter p(&img);
    drawTrack(p, img.rect());
    const QRectF face = QRectF(img.rect()).adjusted(2.5, 2.5, -2.5, -2.5);
    if (s != State::Normal) drawBarFace(p, face, s);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(s == State::Normal ? QColor(0x6A, 0x7A, 0x86) : s == State::Hover ? colour::kAccentBright : QColor(Qt::white));
    const QPointF c = face.center();
    p.drawPolygon(QPolygonF({c + QPointF(0, -3), c + QPointF(4, 2), c + QPointF(-4, 2)}));
    return img;
}

QImage vThumb(State s) {
    const int u = lsb::kCell;
    QImage img(u, u, QImage::Format_ARGB32);
    QPainter p(&img);
    drawTrack(p, img.rect());
    drawBarFace(p, QRectF(3.5, 0.5, u - 7, u - 1), s);
    return img;
}

QImage vTrack() {
    const int u = lsb::kCell;
    QImage img(u, u, QImage::Format_ARGB32);
    QPainter p(&img);
    drawTrack(p, img.rect());
    return img;
}

QImage corner() {
    const int u = lsb::kCell;
    QImage img(u, u, QImage::Format_ARGB32);
    QPainter p(&img);
    p.fillRect(img.rect(), kTrackFill);
    p.setPen(kTrackEdge);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

// The horizontal bar's cells are the vertical ones turned a quarter to the
// left: up becomes left, down becomes right.
QImage turned(const QImage& vertical) { return vertical.transformed(QTransform().rotate(-90)); }

}  // namespace

QImage scrollBarBitmap() {
    const int u = lsb::kCell;
    QImage img(lsb::kBitmapSize.width, lsb::kBitmapSize.height, QImage::Format_ARGB32);
    img.fill(kTrackFill);
    QPainter p(&img);
    const State states[lsb::kRows] = {State::Normal, State::Hover, State::Pressed};
    const QTransform flip = QTransform().scale(1, -1);
    for (int row = 0; row < lsb::kRows; ++row) {
        const State s = states[row];
        const QImage up = upArrow(s), down = up.transformed(flip), thumb = vThumb(s), track = vTrack();
        const QImage cells[lsb::kColumns] = {up,     down,          thumb,          track,
                                             turned(up), turned(down), turned(thumb), turned(track),
                                             row == 1 ? corner().mirrored(true, false) : corner()};
        for (int column = 0; column < lsb::kColumns; ++column) p.drawImage(column * u, row * u, cells[column]);
    }
    return img;
}

QImage listIcon(int kind, bool selected) {
    const q30x::layout::Size size = q30x::layout::listbox::kIconSize;
    QImage img(size.width, size.height, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = selected ? colour::kAccentBright : QColor(0x6A, 0x7A, 0x86);
    const QPointF c(size.width / 2.0, size.height / 2.0);
    if (kind == 4) {  // delay: a clock
        p.setPen(QPen(ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 6, 6);
        p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, c + QPointF(0, -4));
        p.drawLine(c, c + QPointF(3, 1.5));
        return img;
    }
    // Key up (2): an arrow rising from a key top; key down (3): pressing
    // onto it.
    const bool up = kind == 2;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(2, 12, 12, 2.5), 1, 1);
    const double tip = up ? 1.5 : 10.5, base = up ? 6.5 : 5.5;
    p.drawPolygon(QPolygonF({QPointF(c.x(), tip), QPointF(c.x() + 4.5, base), QPointF(c.x() - 4.5, base)}));
    p.drawRect(QRectF(c.x() - 1.25, up ? base : 1.5, 2.5, up ? 10.5 - base : base - 1.5));
    return img;
}

}  // namespace skingen
