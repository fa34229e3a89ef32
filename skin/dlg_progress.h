#pragma once
#include <QDialog>
#include <QImage>

namespace q30x {

class CPngHProgressBar;
class MessagePort;

// Pre-translation of the progress window: Enter, Escape and Space (down and
// up) and Alt+F4 never reach it.
bool progressSwallowsKey(int key, Qt::KeyboardModifiers modifiers);

// The process-wide apply progress window. The worker posts 1067 (percent)
// to port(); at 100 the full bar stays up for 500 ms, then the window closes
// itself. The user cannot close it; an explicit kClose message can.
class CDlgProgress : public QDialog {
public:
    static constexpr uint32_t kCloseTimer = 1;
    static constexpr int kCloseDelayMs = 500;

    CDlgProgress(const QString& programFolder, bool chineseUi, QWidget* owner = nullptr);

    // Loads the images, resets the bar and runs the window modally.
    int runModal();
    // What runModal does before its loop; the gallery and tests call it to
    // see the window without a loop.
    void prepare();
    void setChineseUi(bool on) { chinese_ = on; }

    MessagePort* port() const { return port_; }
    CPngHProgressBar* bar() const { return bar_; }
    QString text() const;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void closeEvent(QCloseEvent* e) override;

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void finish();

    QString folder_;
    bool chinese_;
    QImage background_, fill_;
    MessagePort* port_;
    CPngHProgressBar* bar_;
    bool closing_ = false;
};

}  // namespace q30x
