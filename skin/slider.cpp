#include "skin/slider.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/messages.h"
#include "skin/images.h"
#include "skin/message_port.h"

namespace q30x {
namespace {

void postTo(QObject* window, uint32_t message, int value, int id) {
    if (MessagePort* port = MessagePort::of(window))
        port->post(message, static_cast<uintptr_t>(value), static_cast<intptr_t>(id));
}

}  // namespace

int sliderClickValue(int x, int l, int r, int minimum, int maximum) {
    if (r <= l) return minimum;  // a track of no width cannot be divided
    const int span = maximum - minimum;
    int v = minimum + (x - l) * span / (r - l);
    const double q1 = static_cast<double>(x - l) * span / (r - l) + 1.0;
    if (minimum == 1 && maximum == 5 && q1 > 4.75) v = 5;
    if (minimum == 1 && maximum == 10 && q1 > 9.75) v = 10;
    if (minimum == 1 && maximum == 3 && q1 > 2.87) v = 3;
    return std::clamp(v, std::min(minimum, maximum), std::max(minimum, maximum));
}

int thumbLeft(int v, int minimum, int maximum, int leftLimit, int rightLimit, int w) {
    if (v < minimum || v > maximum || maximum == minimum) v = minimum;
    if (maximum == minimum) return leftLimit;
    return leftLimit + (rightLimit - leftLimit - w) * (v - minimum) / (maximum - minimum);
}

CPngHSlider::CPngHSlider(const QImage& image, CPngHSliderBar* bar)
    : QWidget(bar), bar_(bar), image_(orPlaceholder(image, QSize(layout::slider::kThumb.width, layout::slider::kThumb.height))) {
    resize(image_.size());
    if (!image.isNull()) {
        // The key colour is cut from the shape (hit testing) and made
        // transparent in the picture, so no grab or compositor shows it.
        const QRgb key = image_.pixel(0, 0) | 0xFF000000u;
        const QImage mask = image_.convertToFormat(QImage::Format_RGB32).createMaskFromColor(key, Qt::MaskInColor);
        setMask(QBitmap::fromImage(mask));
        image_ = image_.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < image_.width(); ++x)
                if ((line[x] | 0xFF000000u) == key) line[x] = 0;
        }
        setAttribute(Qt::WA_TranslucentBackground);
    }
    leftLimit_ = 0;
    rightLimit_ = bar->width();
    move(0, bar->height() - height());
    show();
}

void CPngHSlider::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void CPngHSlider::setAllowedRange(int minimum, int maximum) {
    allowedMin_ = minimum;
    allowedMax_ = maximum;
}

void CPngHSlider::setLimits(int left, int right) {
    leftLimit_ = left;
    rightLimit_ = right;
}

void CPngHSlider::setPosition(int v) {
    if (v < minimum_ || v > maximum_) v = minimum_;
    move(thumbLeft(v, minimum_, maximum_, leftLimit_, rightLimit_, width()), bar_->height() - height());
    value_ = v;
}

void CPngHSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void CPngHSlider::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !dragEnabled_ || bar_->disabledFlag()) return;
    dragging_ = true;
    pressX_ = qRound(e->position().x());
}

void CPngHSlider::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
    const int rightMost = rightLimit_ - width();
    const int newLeft = std::clamp(x() + qRound(e->position().x()) - pressX_, leftLimit_, std::max(leftLimit_, rightMost));
    int v = rightMost > leftLimit_ ? minimum_ + (maximum_ - minimum_) * (newLeft - leftLimit_) / (rightMost - leftLimit_)
                                   : minimum_;
    v = std::clamp(v, minimum_, maximum_);
    v = std::clamp(v, allowedMin_, allowedMax_);
    setPosition(v);
    bar_->thumbMoved(v);
}

void CPngHSlider::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

CPngHSliderBar::CPngHSliderBar(const QImage& thumb, const QRect& rect, QWidget* parent, int id)
    : QWidget(parent), id_(id) {
    setGeometry(rect);
    // The thumb keeps its own range (1..10) until the page sets one, so the
    // bar's minimum 0 lies outside it and puts the thumb at 1.
    thumb_ = new CPngHSlider(thumb, this);
    thumb_->setPosition(minimum_);
    show();
}

void CPngHSliderBar::setTrackImage(int x, int y, int width, int height, const QImage& source) {
    trackImage_ = cut(source, QRect(x, y, width, height));
    update();
}

void CPngHSliderBar::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    thumb_->setRange(minimum, maximum);
    thumb_->setAllowedRange(minimum, maximum);
}

void CPngHSliderBar::setPosition(int v) {
    thumb_->setPosition(v);
    update();
}

void CPngHSliderBar::thumbMoved(int v) { postTo(parent(), msg::kSliderChanged, v, id_); }

void CPngHSliderBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(rect(), orPlaceholder(trackImage_, size()));
}

void CPngHSliderBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || disabled_) return;
    const int x = mapToParent(e->position().toPoint()).x();
    const int v = sliderClickValue(x, track_.left(), track_.left() + track_.width(), minimum_, maximum_);
    thumb_->setPosition(v);
    postTo(parent(), msg::kSliderChanged, v, id_);
}

CPngHProgressBar::CPngHProgressBar(const QRect& rect, QWidget* owner, int id) : QWidget(owner), id_(id) {
    setGeometry(rect);
    show();
}

void CPngHProgressBar::setImages(int x, int y, int width, int height, const QImage& background,
                                 const QImage& foreground) {
    background_ = cut(background, QRect(x, y, width, height));
    foreground_ = cut(foreground, QRect(x, y, width, height));
    update();
}

void CPngHProgressBar::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    update();
}

void CPngHProgressBar::setValue(int v) {
    value_ = v;
    update();
}

int CPngHProgressBar::fillWidth() const {
    if (maximum_ == minimum_) return 0;
    return std::clamp(width() * (value_ - minimum_) / (maximum_ - minimum_), 0, width());
}

void CPngHProgressBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(rect(), orPlaceholder(background_, size()));
    const int w = fillWidth();
    if (w > 0 && !foreground_.isNull()) p.drawImage(QRect(0, 0, w, height()), foreground_, QRect(0, 0, w, height()));
}

int CPngHProgressBar::valueAt(const QPoint& ownPoint) const {
    if (width() <= 0) return minimum_;
    const int x = std::max(0, ownPoint.x());  // not left of the bar
    return std::clamp(minimum_ + (maximum_ - minimum_) * x / width(), minimum_, maximum_);
}

void CPngHProgressBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !enabled_ || disabled_) return;
    dragging_ = true;
}

void CPngHProgressBar::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_) return;
    setValue(valueAt(e->position().toPoint()));
}

void CPngHProgressBar::mouseReleaseEvent(QMouseEvent* e) {
    if (!dragging_) return;
    dragging_ = false;
    setValue(valueAt(e->position().toPoint()));
    postTo(parent(), msg::kProgressBarChanged, value_, id_);
}

}  // namespace q30x
