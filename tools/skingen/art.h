#pragma once
#include <QImage>
#include <QPainter>

#include "skin/layout.h"

// The look shared by every generated picture: dark panels, one cyan-blue
// accent, crisp one-pixel edges.
namespace skingen {

enum class State { Normal, Hover, Pressed };

namespace colour {
inline const QColor kPanelTop{0x1C, 0x1F, 0x25};
inline const QColor kPanelBottom{0x0F, 0x11, 0x14};
inline const QColor kEdge{0x2E, 0x34, 0x3C};
inline const QColor kTitle{0x0B, 0x0C, 0x0E};
inline const QColor kAccent{0x15, 0x8C, 0xB9};
inline const QColor kAccentBright{0x4C, 0xC6, 0xF2};
inline const QColor kGroove{0x07, 0x08, 0x0A};
}  // namespace colour

QRect rectOf(const q30x::layout::Rect& r);
void drawPanel(QPainter& p, const QRect& r, bool titleStrip);
// A rounded face in the look of state s, shaded top to bottom (Vertical) or
// left to right.
void drawFace(QPainter& p, const QRectF& r, State s, Qt::Orientation shading, qreal radius);
void drawButtonFace(QPainter& p, const QRect& r, State s);
void drawCloseGlyph(QPainter& p, const QRect& r, State s);
void drawInfoMark(QPainter& p, QPoint centre, int radius);
void drawFlag(QPainter& p, const QRect& r, int language);
void drawGear(QPainter& p, const QRect& r);
void drawPower(QPainter& p, const QRect& r);
void drawAppIcon(QPainter& p, const QRect& r);

QImage infoBox(bool question, State s);
QImage progressImage(bool filled);
QImage sliderThumb();
QImage popupBackground();
QImage menuItem(bool hasSub, State s);

}  // namespace skingen

// Skinned scroll bars and the list box's kind icons (controls_art.cpp).
namespace skingen {

// Built-in bitmap 166: the 9 x 3 cells of both bars.
QImage scrollBarBitmap();
// A list box kind icon (2 key up, 3 key down, 4 delay), plain or for a
// selected row.
QImage listIcon(int kind, bool selected);

}  // namespace skingen
