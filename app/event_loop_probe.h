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
// watched window and notes the wait until that paint. Each figure also comes
// less the time the thread stood ready while the machine ran others (the
// kernel's run-queue wait), which is the program's own share of the wait.
// Behind --stall-report, and what tests hold the window's 100 ms to.
class EventLoopProbe final : public QObject {
public:
    static constexpr int kTickMs = 10;
    static constexpr int kRepaintEveryTicks = 10;

    explicit EventLoopProbe(QWidget* watched = nullptr);
    void start();
    // Ends the measuring; what happens after (the shutdown's own pause) is not counted.
    void stop();

    qint64 longestGapMs() const { return longestGap_.wall; }
    qint64 longestOwnGapMs() const { return longestGap_.own; }
    qint64 longestRepaintWaitMs() const { return longestRepaintWait_.wall; }
    qint64 longestOwnRepaintWaitMs() const { return longestRepaintWait_.own; }
    int ticks() const { return ticks_; }
    int repaints() const { return repaints_; }
    // One "name value" line per figure.
    std::string report() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Moment {
        qint64 ms = 0;           // on the probe's clock
        qint64 cpuWaitedNs = 0;  // the thread's run-queue wait so far
    };
    struct Longest {
        qint64 wall = 0;
        qint64 own = 0;
        void note(const Moment& from, const Moment& to);
    };
    Moment now() const;
    void tick();

    QPointer<QWidget> watched_;
    QTimer timer_;
    QElapsedTimer clock_;
    Moment lastTick_;
    Longest longestGap_;
    bool repaintAsked_ = false;
    Moment repaintAskedAt_;
    Longest longestRepaintWait_;
    int ticks_ = 0;
    int repaints_ = 0;
};

}  // namespace q30x
