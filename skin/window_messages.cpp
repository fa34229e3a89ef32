#include "skin/window_messages.h"

#include <QMessageBox>

#include "skin/dlg_info.h"
#include "skin/modal_loop.h"
#include "skin/qt_text.h"

namespace q30x {

void WindowMessages::info(std::u16string_view text) {
    CDlgInfo::showMessage(owner_, qtext(text), false, language_.chineseUi != 0);
}

void WindowMessages::standard(std::u16string_view text, std::u16string_view caption) {
    QMessageBox box(QMessageBox::Information, qtext(caption), qtext(text), QMessageBox::Ok, owner_);
    ModalLoopScope modal;
    box.exec();
}

bool WindowMessages::question(std::u16string_view text) {
    return CDlgInfo::showMessage(owner_, qtext(text), true, language_.chineseUi != 0) == CDlgInfo::kOk;
}

void WindowMessages::countdown(std::u16string_view text) {
    if (countdownBox_) {
        countdownBox_->restartCountdown(qtext(text));
        return;
    }
    CDlgInfo box(qtext(text), false, true, language_.chineseUi != 0, owner_);
    countdownBox_ = &box;
    ModalLoopScope modal;
    box.exec();
}

}  // namespace q30x
