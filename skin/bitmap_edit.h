#pragma once
#include <QImage>
#include <QLineEdit>

namespace q30x {

// An edit box that blends into a skinned page: no border, the piece of the
// page image under it as its background, the skin's grey text, at most 256
// characters. Until a background is set it keeps the default base colour of
// its palette.
class CBitmapEdit : public QLineEdit {
public:
    static constexpr int kTextLimit = 256;
    static const QColor kTextColour;

    // digitsOnly refuses every character but 0..9, typed or pasted.
    CBitmapEdit(const QRect& rect, QWidget* parent, bool digitsOnly, Qt::Alignment alignment);

    // `rect` is in page coordinates; replaces an earlier background.
    void setBackground(const QRect& rect, const QImage& pageImage);
    bool hasBackground() const { return !background_.isNull(); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage background_;
};

}  // namespace q30x
