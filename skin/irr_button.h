#pragma once
#include <QAbstractButton>
#include <QImage>
#include <QRegion>
#include <array>

namespace q30x {

enum class IrrLook { Normal, Pressed, Hover, Disabled };

// Marked mode holds the pressed look while marked and ignores the pressed
// and disabled states.
IrrLook irrLook(bool markedMode, bool marked, bool pressed, bool hover, bool enabled);

// x of a CIrrButton caption centred near `centreX`.
int irrCaptionX(int centreX, int length);

// A button of any shape: it occupies the bounding box of its region, accepts
// the pointer only inside the region and shows the part of four full-page
// images under it. It reports on the press, not on the release: the parent's
// port is sent kCommand (0, the button's handle) at once.
class CIrrButton : public QAbstractButton {
public:
    // `region` is in the parent's coordinates.
    CIrrButton(const QString& caption, const QRegion& region, QWidget* parent);

    void setImages(int normalId, int pressedId, int hoverId, int disabledId);
    void setImages(const QImage& normal, const QImage& pressed, const QImage& hover, const QImage& disabled);
    void setMarkedMode(bool on);
    void setMarked(bool on);
    bool marked() const { return marked_; }
    bool hovered() const { return hover_; }
    IrrLook look() const;
    // In the button's own coordinates.
    bool hitTest(const QPoint& p) const;
    QPoint centre() const { return centre_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool hitButton(const QPoint& p) const override { return hitTest(p); }

private:
    void track(const QPoint& p);

    std::array<QImage, 4> images_;  // by IrrLook
    QPoint centre_;
    bool hover_ = false;
    bool captured_ = false;
    QRegion region_;  // own coordinates
    QRect box_;       // parent coordinates
    bool marked_ = false;
    bool markedMode_ = false;
};

}  // namespace q30x
