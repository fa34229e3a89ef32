#pragma once
#include <QImage>
#include <QPainter>

#include "skin/layout.h"

// The look shared by every generated picture: dark panels, one cyan-blue
// accent, crisp one-pixel edges.
namespace skingen {

enum class State { Normal, Hover, Pressed };
enum class TitleGlyph { Close, Minimize };

namespace colour {
inline const QColor kPanelTop{0x1C, 0x1F, 0x25};
inline const QColor kPanelBottom{0x0F, 0x11, 0x14};
inline const QColor kEdge{0x2E, 0x34, 0x3C};
inline const QColor kTitle{0x0B, 0x0C, 0x0E};
inline const QColor kAccent{0x15, 0x8C, 0xB9};
inline const QColor kAccentBright{0x4C, 0xC6, 0xF2};
inline const QColor kGroove{0x07, 0x08, 0x0A};
inline const QColor kGlyph{0x6C, 0x74, 0x80};
}  // namespace colour

// A button's fill (top to bottom), its one-pixel edge and the ink of a glyph
// drawn on it, per state.
struct Look {
    QColor top, bottom, edge, ink;
};
Look lookOf(State s);

QRect rectOf(const q30x::layout::Rect& r);
// The accent line under a title strip, fading out to the right.
void drawAccentRule(QPainter& p, const QRect& line);
void drawPanel(QPainter& p, const QRect& r, bool titleStrip);
// A rounded face on pixel centres, so its one-pixel edge stays crisp, shaded
// top to bottom (Vertical) or left to right.
void drawFace(QPainter& p, const QRectF& face, const Look& look, double radius, Qt::Orientation shading = Qt::Vertical);
void drawButtonFace(QPainter& p, const QRect& r, State s);
// The primary action (OK): accent-blue even when idle, yet dark enough for
// the light captions of the normal and hover looks.
Look primaryLook(State s);
// Accent corners just outside a frame, as on a sight.
void drawCornerMarks(QPainter& p, const QRect& frame);
// The flat buttons of a title strip: only a glyph until hovered.
void drawTitleButton(QPainter& p, const QRect& r, State s, TitleGlyph glyph);
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

// The main window in one look of its three rectangular buttons.
QImage mainWindow(State s);
// The eleven slanted buttons of the main window in one look, transparent
// elsewhere.
QImage slantedButtons(State s);
// An empty page of that size.
QImage pageBackground(QSize size);
// A slanted button on the pixels its region keeps.
void drawSlantedButton(QPainter& p, const q30x::layout::mainwin::Quad& quad, const Look& look);
// A recessed slanted plate under a row of slanted buttons, from the first
// one's left side to the last one's right side (antialiased painter).
void drawButtonTray(QPainter& p, const q30x::layout::mainwin::Quad& first, const q30x::layout::mainwin::Quad& last,
                    const QColor& edge);

// The main settings page (mainset_art.cpp): one look of its three skin
// files in a coordinate set, and the page with its seven button tabs in one
// look (built-in bitmaps 160..165).
QImage mainSetPage(q30x::layout::SkinSet set, State s);
QImage mainSetTabs(q30x::layout::SkinSet set, State s);
// The lighting page in one look, laid out in one coordinate set
// (ledset_art.cpp).
QImage ledSetPage(State s, q30x::layout::SkinSet set);

}  // namespace skingen

// Skinned scroll bars and the list box's kind icons (controls_art.cpp).
namespace skingen {

// Built-in bitmap 166: the 9 x 3 cells of both bars.
QImage scrollBarBitmap();
// A list box kind icon (2 key up, 3 key down, 4 delay), plain or for a
// selected row.
QImage listIcon(int kind, bool selected);

}  // namespace skingen

// The assignment popup and its tab pages, one look each (setting_art.cpp).
namespace skingen {

// Small controls the pages share.
QRectF inner(const QRect& r, double by);
// A field sunk into the panel.
void recess(QPainter& p, const QRect& r, const QColor& edge);
// The edge of a field or box: accent once the pointer is over it.
QColor edgeOf(State s);
// A check box: a recessed square, ticked in the pressed look.
void drawCheckBox(QPainter& p, const QRect& r, State s);
// A radio: a ring, with the accent dot when chosen.
void drawRadio(QPainter& p, const QRect& r, State s);

QImage settingPopup(State s);
QImage settingComboPage(State s);
QImage settingMacroPage();
QImage settingBasePage();
QImage settingAdvancedPage(State s);

}  // namespace skingen

// The statistics and support pages, one look each (sts_art.cpp,
// support_art.cpp; page_art.cpp holds what both draw).
namespace skingen {

// A raised plate that groups a page's controls.
void drawPlate(QPainter& p, const QRect& r);
// A heading's accent rule under `title`, the text itself painted at run time.
void drawHeadingRule(QPainter& p, const QRect& title);
// A mouse seen from above in the glyph colour; `lit` 0 left, 1 middle,
// 2 right, 3 all, anything else none.
void drawMouseGlyph(QPainter& p, const QRectF& box, int lit);
// A sunken field for a painted value.
void drawValueWell(QPainter& p, const QRect& r);

QImage statsPage(q30x::layout::SkinSet set, State s);
// The picture of trophy level 0..12, the trophy's size.
QImage trophy(int level);
QImage supportPage(State s);

}  // namespace skingen

// The macro editor page, one look in one coordinate set (macro_art.cpp).
namespace skingen {

QImage macroPage(State s, q30x::layout::SkinSet set);

}  // namespace skingen
