#include "skin/dlg_progress.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/messages.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"
#include "skin/modal_loop.h"
#include "skin/slider.h"

namespace q30x {

namespace lp = layout::progress;

bool progressSwallowsKey(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Space: return true;
        case Qt::Key_F4: return modifiers & Qt::AltModifier;
        default: return false;
    }
}

CDlgProgress::CDlgProgress(const QString& programFolder, bool chineseUi, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), folder_(programFolder), chinese_(chineseUi),
      port_(new MessagePort(this)) {
    port_->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    setWindowTitle(QStringLiteral("TarvoQ30xProcessDlg"));
    setModal(true);
    bar_ = new CPngHProgressBar(toQRect(lp::kBar), this, lp::kBarId);
    bar_->setInteractive(false);
    bar_->setRange(0, 100);
}

QString CDlgProgress::text() const {
    return chinese_ ? QStringLiteral("更新进行中，请稍候...") : QStringLiteral("Updating is in progress, please wait…");
}

void CDlgProgress::prepare() {
    closing_ = false;
    background_ = loadSkinImage(folder_, QStringLiteral("skins/ProgressBar/Progress_Normal.png"));
    fill_ = loadSkinImage(folder_, QStringLiteral("skins/ProgressBar/Progress_Over.png"));
    const QSize size = background_.isNull() ? QSize(lp::kSize.width, lp::kSize.height) : background_.size();
    setFixedSize(size);
    move(centredInWorkArea(QWidget::size()));
    const QRect r = toQRect(lp::kBar);
    bar_->setImages(r.left(), r.top(), r.width(), r.height(), background_, fill_);
    bar_->setValue(0);
}

int CDlgProgress::runModal() {
    prepare();
    show();
    raise();
    activateWindow();
    ModalLoopScope modal;
    return exec();
}

intptr_t CDlgProgress::onMessage(uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == msg::kApplyProgress) {
        bar_->setValue(static_cast<int>(std::min<uintptr_t>(wParam, 100)));
        repaint();
        // A timer rather than a pause, so the full bar is painted while it
        // waits.
        if (wParam >= 100) port_->setTimer(kCloseTimer, kCloseDelayMs);
    } else if (message == msg::kTimer && wParam == kCloseTimer) {
        port_->killTimer(kCloseTimer);
        finish();
    } else if (message == msg::kClose) {
        finish();
    }
    return 0;
}

void CDlgProgress::finish() {
    port_->killTimer(kCloseTimer);
    closing_ = true;
    background_ = QImage();
    fill_ = QImage();
    done(QDialog::Accepted);
}

bool CDlgProgress::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease || e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (progressSwallowsKey(k->key(), k->modifiers())) {
            e->accept();
            return true;
        }
    }
    return QDialog::event(e);
}

void CDlgProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(rect(), orPlaceholder(background_, size()));
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    p.setFont(font);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawText(toQRect(lp::kText), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
}

void CDlgProgress::closeEvent(QCloseEvent* e) {
    // Only the window itself ends the wait (at 100 or on kClose); the
    // window manager's close (Alt+F4 there) is refused.
    if (!closing_) e->ignore();
    else QDialog::closeEvent(e);
}

}  // namespace q30x
