#include "skin/popup.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QPainter>

#include "i18n/languages.h"
#include "platform/messages.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"

namespace q30x {

namespace lpop = layout::popup;

namespace {

// Stretches the edges and centre of `image` over `target`, keeping its four
// corners of `corner` pixels unscaled.
void drawNineSlice(QPainter& p, const QImage& image, const QRect& target, int corner) {
    const int c = std::min({corner, image.width() / 2, image.height() / 2, target.width() / 2, target.height() / 2});
    const int sw = image.width(), sh = image.height();
    const int tw = target.width(), th = target.height();
    const int sx[4] = {0, c, sw - c, sw}, sy[4] = {0, c, sh - c, sh};
    const int tx[4] = {0, c, tw - c, tw}, ty[4] = {0, c, th - c, th};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QRect src(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
            const QRect dst(target.left() + tx[col], target.top() + ty[row], tx[col + 1] - tx[col],
                            ty[row + 1] - ty[row]);
            if (src.isValid() && dst.isValid()) p.drawImage(dst, image, src);
        }
}

}  // namespace

CWndPopup::CWndPopup(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      port_(new MessagePort(this)),
      font_(skinFont(QStringLiteral("Arial"), 12, 400)) {
    port_->setHandler([this](uint32_t m, uintptr_t, intptr_t) {
        if (m == msg::kClose) close();
        return intptr_t{0};
    });
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
}

void CWndPopup::setBackground(int resourceId) { setBackground(builtinImage(resourceId)); }

void CWndPopup::setBackground(const QImage& image) {
    background_ = image;
    update();
}

void CWndPopup::create(int left, int top, int right, int bottom, uint32_t notification) {
    notification_ = notification;
    resize(right - left, bottom - top);
    fillItems();
    move(left, top);
    show();
    raise();
    activateWindow();
}

QImage CWndPopup::render() const {
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    const QRect r = rect();
    if (!background_.isNull()) {
        drawNineSlice(p, background_, r, lpop::kCorner);
    } else {
        p.fillRect(r, colorRef(0xD19300));
        p.fillRect(r.adjusted(1, 1, -1, -1), Qt::white);
    }
    drawTexts(p, r);
    drawIcons(p, r);
    return frame;
}

void CWndPopup::notifyParent(intptr_t lParam) {
    if (MessagePort* port = MessagePort::of(parent())) port->send(notification_, 0, lParam);
}

void CWndPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, render());
}

void CWndPopup::resizeEvent(QResizeEvent* e) {
    // The shape follows the picture's opaque pixels, so the rounded corners
    // stay clear on an X server without a compositor too, where the
    // transparent ones would show black.
    if (!background_.isNull()) setMask(QBitmap::fromImage(render().createAlphaMask(Qt::ThresholdAlphaDither)));
    QWidget::resizeEvent(e);
}

void CWndPopup::mouseMoveEvent(QMouseEvent* e) {
    if (!pressed_ && onHover(e->position().toPoint())) update();
}

void CWndPopup::leaveEvent(QEvent*) {
    if (!pressed_ && onHover(mapFromGlobal(QCursor::pos()))) update();
}

void CWndPopup::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    pressed_ = true;
    if (onPress(e->position().toPoint())) update();
}

void CWndPopup::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (onRelease(e->position().toPoint())) update();
}

void CWndPopup::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
        // Posted: the click that took the activation away is still being
        // delivered.
        port_->post(msg::kClose, 0, 0);
    }
    QWidget::changeEvent(e);
}

void CWndPopup::closeEvent(QCloseEvent* e) {
    if (!closeNoticeSent_) {
        closeNoticeSent_ = true;
        notifyParent(0);
    }
    e->accept();
}

void CMenuEx::addItem(const QString& text, int iconResourceId, int32_t command) {
    addItem(text, builtinImage(iconResourceId), command);
}

void CMenuEx::addItem(const QString& text, const QImage& icon, int32_t command) {
    const int top = lpop::kFirstItemTop + static_cast<int>(items_.size()) * lpop::kItemHeight;
    items_.push_back({command, icon, text, QRect(lpop::kItemLeft, top, lpop::kItemRight - lpop::kItemLeft, lpop::kItemHeight)});
    resize(lpop::kWidth, lpop::heightFor(static_cast<int>(items_.size())));
}

void CMenuEx::drawTexts(QPainter& p, const QRect&) const {
    p.setFont(itemFont());
    const QFontMetrics fm(itemFont());
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        const bool hot = static_cast<int>(i) == hovered_;
        if (hot) p.fillRect(item.rect, colorRef(0xD19300));
        p.setPen(colorRef(hot ? 0xF5F5F5 : 0x050505));
        // The 82-pixel area would run 2 pixels past the window and cut the
        // ellipsis; it ends at the frame instead.
        const int right = std::min(item.rect.left() + 112, lpop::kWidth - 4);
        const QRect text(item.rect.left() + 30, item.rect.top(), right - (item.rect.left() + 30), item.rect.height());
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   fm.elidedText(item.text, Qt::ElideRight, text.width()));
    }
}

void CMenuEx::drawIcons(QPainter& p, const QRect&) const {
    for (const Item& item : items_) {
        if (item.icon.isNull()) continue;
        const int x = item.rect.left() + (25 - item.icon.width()) / 2;
        const int y = item.rect.top() + (item.rect.height() - item.icon.height()) / 2;
        p.drawImage(x, y, item.icon);
    }
}

bool CMenuEx::onHover(const QPoint& p) {
    if (hovered_ >= 0 && items_[static_cast<size_t>(hovered_)].rect.contains(p)) return false;
    const int before = hovered_;
    hovered_ = -1;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].rect.contains(p)) {
            hovered_ = static_cast<int>(i);
            break;
        }
    return hovered_ != before;
}

bool CMenuEx::onRelease(const QPoint& p) {
    if (hovered_ < 0) return false;
    const Item& item = items_[static_cast<size_t>(hovered_)];
    if (!item.rect.contains(p)) {
        hovered_ = -1;
        return true;
    }
    notifyParent(item.command);
    return false;
}

CMenuExA* CMenuExA::open(QWidget* mainWindow, const QRect& button) {
    auto* popup = new CMenuExA(mainWindow);
    popup->setBackground(layout::res::kLanguagePopup);
    const int bottom = button.top() + button.height();
    popup->create(button.left() - 4, bottom - 287, button.left() + button.width(), bottom, msg::kApplyLanguage);
    return popup;
}

void CMenuExA::fillItems() {
    for (const Language& l : kLanguages)
        addItem(QString::fromStdU16String(std::u16string(l.popupText)), l.popupIcon, l.number);
}

}  // namespace q30x
