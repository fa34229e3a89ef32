#include "skin/images.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QImageReader>
#include <QPainter>

// Q_INIT_RESOURCE must be used outside a namespace.
static void initBuiltinResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(builtin);
        return true;
    }();
    (void)done;
}

namespace q30x {

QImage loadSkinImage(const QString& programFolder, const QString& relativePath) {
    QImageReader reader(programFolder + QLatin1Char('/') + relativePath);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) return {};
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

QImage builtinImage(int id) {
    initBuiltinResources();
    QImage image(QStringLiteral(":/builtin/%1.png").arg(id));
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage cut(const QImage& source, const QRect& rect) {
    if (!source.isNull() && source.rect().contains(rect)) return source.copy(rect);
    return orPlaceholder({}, rect.size());
}

QImage orPlaceholder(const QImage& image, QSize size) {
    if (!image.isNull()) return image;
    QImage placeholder(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    placeholder.fill(kPlaceholderColour);
    return placeholder;
}

QRect toQRect(const layout::Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

QRect workArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPoint centredInWorkArea(QSize size) {
    const QRect area = workArea();
    return QPoint(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

void installFontSubstitutes() {
    const QStringList sans{QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei"),
                           QStringLiteral("Sans Serif")};
    QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
}

QFont skinFont(const QString& family, int cellHeight, int weight) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    // A GDI cell height holds the internal leading as well; the em is about
    // six sevenths of it.
    font.setPixelSize(std::max(1, cellHeight * 6 / 7));
    // GDI draws weights below 550 of a font without light faces in its
    // regular face; so do we, instead of DejaVu's hairline ExtraLight.
    font.setWeight(weight >= 550 ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void drawTextLine(QPainter& p, const QRect& r, const QString& text, Qt::Alignment horizontal) {
    p.drawText(r, static_cast<int>(horizontal) | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
}

}  // namespace q30x
