#include "skin/bitmap_edit.h"

#include <QPainter>
#include <QRegularExpressionValidator>

#include "skin/images.h"

namespace q30x {

const QColor CBitmapEdit::kTextColour{0x58, 0x5F, 0x67};

CBitmapEdit::CBitmapEdit(const QRect& rect, QWidget* parent, bool digitsOnly, Qt::Alignment alignment)
    : QLineEdit(parent) {
    setFrame(false);
    setFocusPolicy(Qt::ClickFocus);  // no tab stop
    setMaxLength(kTextLimit);
    // "Arial" stands for the default Swiss face the box asks for.
    setFont(skinFont(QStringLiteral("Arial"), 12, 500));
    setAlignment(alignment | Qt::AlignVCenter);
    if (digitsOnly) setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    QPalette colours = palette();
    colours.setColor(QPalette::Text, kTextColour);
    setPalette(colours);
    setGeometry(rect);
    show();
}

void CBitmapEdit::setBackground(const QRect& rect, const QImage& pageImage) {
    background_ = q30x::cut(pageImage, rect);
    // The style's own fill would cover the piece.
    QPalette colours = palette();
    colours.setBrush(QPalette::Base, Qt::transparent);
    setPalette(colours);
    update();
}

void CBitmapEdit::paintEvent(QPaintEvent* e) {
    if (!background_.isNull()) {
        QPainter p(this);
        p.fillRect(rect(), QBrush(background_));
    }
    QLineEdit::paintEvent(e);
}

}  // namespace q30x
