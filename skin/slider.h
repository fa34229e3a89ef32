#pragma once
#include <QImage>
#include <QWidget>

namespace q30x {

// Value of a click at x (parent coordinates) on a track from l to r, with
// the snap rule of the three ranges the pages use: the last step is taken a
// little before the end of the track. Kept within [minimum, maximum].
int sliderClickValue(int x, int l, int r, int minimum, int maximum);

// Left edge of a thumb of width w for value v between two limits; a value
// outside the range counts as the minimum.
int thumbLeft(int v, int minimum, int maximum, int leftLimit, int rightLimit, int w);

class CPngHSliderBar;

// The draggable thumb, shaped by its picture: every pixel of the colour of
// pixel (0,0) is cut away.
class CPngHSlider : public QWidget {
public:
    CPngHSlider(const QImage& image, CPngHSliderBar* bar);

    void setRange(int minimum, int maximum);
    void setAllowedRange(int minimum, int maximum);
    void setLimits(int left, int right);
    void setPosition(int v);
    int value() const { return value_; }
    void setDragEnabled(bool on) { dragEnabled_ = on; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    CPngHSliderBar* bar_;
    QImage image_;
    int leftLimit_ = 0, rightLimit_ = 0;
    int minimum_ = 1, maximum_ = 10;
    int allowedMin_ = 1, allowedMax_ = 10;
    int value_ = 1;
    bool dragEnabled_ = true;
    bool dragging_ = false;
    int pressX_ = 0;
};

// A horizontal track cut from a page image with a thumb on it. Every click
// on the track and every move of a dragged thumb posts 2048 (value, id) to
// the parent's port.
class CPngHSliderBar : public QWidget {
public:
    // `thumb` is the thumb picture (usually skins/Slider.png).
    CPngHSliderBar(const QImage& thumb, const QRect& rect, QWidget* parent, int id);

    void setTrackImage(int x, int y, int width, int height, const QImage& source);
    // In the parent's coordinates.
    void setTrackRect(const QRect& track) { track_ = track; }
    void setRange(int minimum, int maximum);
    void setPosition(int v);
    int position() const { return thumb_->value(); }
    void setEnabledFlag(bool on) { disabled_ = !on; }
    bool disabledFlag() const { return disabled_; }
    int id() const { return id_; }
    CPngHSlider* thumb() const { return thumb_; }

    // Called by the thumb while it is dragged.
    void thumbMoved(int v);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    int id_;
    int minimum_ = 0, maximum_ = 10;
    QRect track_;
    QImage trackImage_;
    bool disabled_ = false;
    CPngHSlider* thumb_;
};

// A bar with a filled part over a background; a drag on it sets the value
// and its end posts 1104 (value, id) to the owner's port.
class CPngHProgressBar : public QWidget {
public:
    CPngHProgressBar(const QRect& rect, QWidget* owner, int id);

    void setImages(int x, int y, int width, int height, const QImage& background, const QImage& foreground);
    void setRange(int minimum, int maximum);
    void setValue(int v);
    int value() const { return value_; }
    // Off: the bar only shows the value (the progress window's use).
    void setInteractive(bool on) { enabled_ = on; }
    // Width of the filled part.
    int fillWidth() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent*) override { dragging_ = false; }

private:
    int valueAt(const QPoint& ownPoint) const;

    int id_;
    int minimum_ = 0, maximum_ = 10;
    int value_ = 0;
    bool enabled_ = true;
    bool disabled_ = false;
    bool dragging_ = false;
    QImage background_, foreground_;
};

}  // namespace q30x
