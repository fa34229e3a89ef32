#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

#include "skin/layout.h"

namespace q30x {

// Shown where a skin file is missing: loud enough to be noticed, dark
// enough not to blind.
inline const QColor kPlaceholderColour{0x5a, 0x1e, 0x5a};

// A BMP or PNG of the program folder ("skins/..."). A missing or broken file
// gives a null image; callers draw through fillOrPlaceholder / cut and keep
// working.
QImage loadSkinImage(const QString& programFolder, const QString& relativePath);

// A built-in bitmap or icon by its resource number (the Qt resource
// ":/builtin/<id>.png"); null when the number is unknown. Decoded once per
// process, on the window's thread.
QImage builtinImage(int id);

// Starts decoding these skin files (relative paths) and built-in pictures
// on two background threads, in the order given, so the window's thread
// finds them ready when it asks through loadSkinImage or builtinImage.
void preloadImages(const QString& programFolder, const QStringList& skinFiles, const std::vector<int>& builtinIds);

// The part of `source` under `rect`; a placeholder-filled image of that size
// when the source is null or too small.
QImage cut(const QImage& source, const QRect& rect);

// `image` if it is not null, otherwise a placeholder image of `size`.
QImage orPlaceholder(const QImage& image, QSize size);

QRect toQRect(const layout::Rect& r);

// The primary screen's work area, where the windows centre themselves.
QRect workArea();
// Top-left that centres `size` in the work area.
QPoint centredInWorkArea(QSize size);

// Caption colours of the skinned buttons: normal, hover, pressed/checked.
inline const QColor kCaptionNormal{0xBD, 0xBD, 0xC8};
inline const QColor kCaptionHover{0xFF, 0xFF, 0xFF};
inline const QColor kCaptionPressed{0x26, 0x1D, 0x05};

// COLORREF (0x00BBGGRR) as the windows name their colours.
inline QColor colorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The windows ask for "MS Shell Dlg" and "Arial" by cell height in pixels
// and GDI weight; both resolve to the installed sans-serif font, with the
// CJK font behind it for Chinese text.
void installFontSubstitutes();
QFont skinFont(const QString& family, int cellHeight, int weight);
// "MS Shell Dlg", 14, 300: captions and message texts.
inline QFont shellDlgFont() { return skinFont(QStringLiteral("MS Shell Dlg"), 14, 300); }

// One line of text in the painter's font and pen, vertically centred in `r`
// and cut with an ellipsis where it does not fit.
void drawTextLine(QPainter& p, const QRect& r, const QString& text, Qt::Alignment horizontal);

}  // namespace q30x
