#include "skin/skin_page.h"

#include <QPainter>

#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"

namespace q30x {

namespace {
QImage pageImage(const QString& folder, std::string_view file, QSize size) {
    return orPlaceholder(loadSkinImage(folder, QStringLiteral("skins/") + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size()))), size);
}
}  // namespace

CSkinPage::CSkinPage(const QString& programFolder, const std::array<std::string_view, 3>& files, QWidget* parent)
    : CSkinPage(programFolder, files, toQRect(layout::mainwin::kPages), parent) {}

CSkinPage::CSkinPage(const QString& programFolder, const std::array<std::string_view, 3>& files, const QRect& rect,
                     QWidget* parent)
    : QWidget(parent),
      folder_(programFolder),
      files_(files),
      port_(new MessagePort(this)),
      normal_(pageImage(programFolder, files[0], rect.size())) {
    setGeometry(rect);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

const QImage& CSkinPage::pressedImage() const {
    if (pressed_.isNull()) pressed_ = pageImage(folder_, files_[1], size());
    return pressed_;
}

const QImage& CSkinPage::hoverImage() const {
    if (hover_.isNull()) hover_ = pageImage(folder_, files_[2], size());
    return hover_;
}

void CSkinPage::releaseStateImages() {
    pressed_ = QImage();
    hover_ = QImage();
}

void CSkinPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, normal_);
}

}  // namespace q30x
