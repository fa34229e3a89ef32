#include "skin/dlg_info.h"

#include <QCloseEvent>
#include <QPainter>

#include "platform/messages.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"
#include "skin/modal_loop.h"

namespace q30x {

namespace li = layout::info;
namespace res = layout::res;

CDlgInfo::CDlgInfo(const QString& text, bool questionMode, bool countdownMode, bool chineseUi, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      text_(text),
      question_(questionMode),
      countdownMode_(countdownMode),
      chinese_(chineseUi),
      port_(new MessagePort(this)) {
    port_->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    setWindowTitle(QStringLiteral("TarvoQ30xInfoDlg"));
    setModal(true);
    const QSize size(li::kSize.width, li::kSize.height);
    normal_ = orPlaceholder(builtinImage(question_ ? res::kInfoQuestionNormal : res::kInfoOkNormal), size);
    hover_ = orPlaceholder(builtinImage(question_ ? res::kInfoQuestionHover : res::kInfoOkHover), size);
    pressed_ = orPlaceholder(builtinImage(question_ ? res::kInfoQuestionPressed : res::kInfoOkPressed), size);
    setFixedSize(normal_.size());

    const QRect area = workArea();
    if (countdownMode_)
        move(area.left() + area.width() - width() - 10, area.top() + area.height() - height());
    else
        move(centredInWorkArea(QWidget::size()));

    auto makeButton = [this](const QString& caption, const layout::Rect& r, int result) {
        auto* b = new CGDIBitmapBtn(caption, toQRect(r), this);
        b->cutImages(toQRect(r), normal_, hover_, pressed_, normal_);
        QObject::connect(b, &QAbstractButton::clicked, this, [this, result] { done(result); });
        return b;
    };
    close_ = makeButton(QString(), li::kClose, kCancel);
    ok_ = makeButton(chinese_ ? QStringLiteral("确定") : QStringLiteral("OK"), question_ ? li::kQuestionOk : li::kOkOnly,
                     kOk);
    if (question_) cancel_ = makeButton(chinese_ ? QStringLiteral("取消") : QStringLiteral("Cancel"), li::kQuestionCancel, kCancel);

    if (countdownMode_) restartCountdown(text_);
}

void CDlgInfo::restartCountdown(const QString& text) {
    text_ = text;
    countdown_ = 5;
    ok_->setCaption(okCaption(countdown_));
    port_->setTimer(kCountdownTimer, 1000);
    update();
}

int CDlgInfo::showMessage(QWidget* owner, const QString& text, bool questionMode, bool chineseUi) {
    CDlgInfo box(text, questionMode, false, chineseUi, owner);
    ModalLoopScope modal;
    return box.exec();
}

QString CDlgInfo::okCaption(int seconds) const {
    return (chinese_ ? QStringLiteral("确定 (%1s)") : QStringLiteral("OK (%1s)")).arg(seconds);
}

intptr_t CDlgInfo::onMessage(uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == msg::kClose) {
        close();
    } else if (message == msg::kTimer && wParam == kCountdownTimer) {
        // The 0s caption is set in the same tick that asks for the close, so
        // it shows only for the moment the close takes.
        if (countdown_ <= 0) {
            port_->killTimer(kCountdownTimer);
            port_->post(msg::kClose, 0, 0);
        }
        ok_->setCaption(okCaption(countdown_));
        --countdown_;
    }
    return 0;
}

void CDlgInfo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, normal_);
    p.setFont(shellDlgFont());
    p.setPen(colorRef(li::kTextColour));
    // Long messages wrap below the rectangle instead of being cut.
    const QRect text = toQRect(li::kText);
    p.drawText(QRect(text.left(), text.top(), text.width(), height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               text_);
    const QRect title = toQRect(li::kTitle);
    p.drawText(title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(chinese_ ? QStringLiteral("提示") : QStringLiteral("Tips"), Qt::ElideRight,
                                          title.width()));
}

void CDlgInfo::closeEvent(QCloseEvent* e) {
    port_->killTimer(kCountdownTimer);
    e->ignore();
    done(kCancel);
}

}  // namespace q30x
