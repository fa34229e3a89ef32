#pragma once
#include <QDialog>
#include <QImage>

namespace q30x {

class CGDIBitmapBtn;
class MessagePort;

// The program's own message box: OK only, OK and Cancel, or the
// self-closing notice whose OK counts down from five seconds. Results: 1 for
// OK; 2 for Cancel, the close button, Escape, closing and the countdown's
// end.
class CDlgInfo : public QDialog {
public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr uint32_t kCountdownTimer = 2321;

    CDlgInfo(const QString& text, bool questionMode, bool countdownMode, bool chineseUi, QWidget* owner);

    // The Show of the callers: runs a box modally; never a countdown (the device notices build
    // their own).
    static int showMessage(QWidget* owner, const QString& text, bool questionMode, bool chineseUi);

    MessagePort* port() const { return port_; }
    CGDIBitmapBtn* okButton() const { return ok_; }
    CGDIBitmapBtn* cancelButton() const { return cancel_; }
    CGDIBitmapBtn* closeButton() const { return close_; }
    int countdown() const { return countdown_; }
    // The countdown form with new text: its five seconds start again.
    void restartCountdown(const QString& text);

    void reject() override { done(kCancel); }

protected:
    void paintEvent(QPaintEvent*) override;
    void closeEvent(QCloseEvent* e) override;

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    QString okCaption(int seconds) const;

    QString text_;
    bool question_;
    bool countdownMode_;
    bool chinese_;
    int countdown_ = 5;
    QImage normal_, hover_, pressed_;
    MessagePort* port_;
    CGDIBitmapBtn* close_ = nullptr;
    CGDIBitmapBtn* ok_ = nullptr;
    CGDIBitmapBtn* cancel_ = nullptr;
};

}  // namespace q30x
