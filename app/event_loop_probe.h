#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <string>

namespace q30x {

// How long the window's thread goes without turning its event loop, and how
// long a repaint waits for its paint: a 10 ms timer notes the longest gap
// between its ticks; every 100 ms it asks for a one-pixel repaint of the
// watched window and notes the wait until that paint. Behind --stall-report,
// and what tests hold the window's 100 ms to.
class EventLoopProbe final : public QObject {
public:
    static constexpr int kTickMs = 10;
    static constexpr int kRepaintEveryTicks = 10;

    explicit EventLoopProbe(QWidget* watched = nullptr);
    void start();
    // Ends the measuring; what happens after (the shutdown's own pause) is not counted.
    void stop();

    qint64 longestGapMs() const { return longestGap_; }
    qint64 longestRepaintWaitMs() const { return longestRepaintWait_; }
    int ticks() const { return ticks_; }
    int repaints() const { return repaints_; }
    // One "name value" line per figure.
    std::string report() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();

    QPointer<QWidget> watched_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastTick_ = 0;
    qint64 longestGap_ = 0;
    qint64 repaintAskedAt_ = -1;  // -1: no repaint asked for
    qint64 longestRepaintWait_ = 0;
    int ticks_ = 0;
    int repaints_ = 0;
};

}  // namespace q30x
