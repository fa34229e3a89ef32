#pragma once
#include <QAbstractButton>
#include <cstdint>

namespace q30x {

// A button that shows one colour, the same in every state. Its caption is
// kept for its owner but not drawn. Hover follows the pointer like
// CGDIBitmapBtn; every move over it is posted to the parent as a mouse move
// whose position is in screen coordinates. The click arrives as
// QAbstractButton::clicked.
class CColorBtn : public QAbstractButton {
public:
    static constexpr uint32_t kInitialColour = 0x00FFFFFF;

    CColorBtn(const QString& caption, const QRect& rect, QWidget* parent);

    // A COLORREF (0x00BBGGRR); the top byte is ignored.
    void setColour(uint32_t colour);
    uint32_t colour() const { return colour_; }
    void setCaption(const QString& text) { caption_ = text; }
    QString caption() const { return caption_; }
    void setTooltip(const QString& text, bool active);
    bool hovered() const { return hover_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void setHover(bool on);

    bool hover_ = false;
    uint32_t colour_ = kInitialColour;
    QString caption_;
};

}  // namespace q30x
