#include "app/event_loop_probe.h"

#include <QEvent>
#include <algorithm>

namespace q30x {

EventLoopProbe::EventLoopProbe(QWidget* watched) : watched_(watched) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    if (watched_) watched_->installEventFilter(this);
}

void EventLoopProbe::start() {
    clock_.start();
    lastTick_ = 0;
    timer_.start();
}

void EventLoopProbe::stop() {
    timer_.stop();
    repaintAskedAt_ = -1;
}

void EventLoopProbe::tick() {
    const qint64 now = clock_.elapsed();
    longestGap_ = std::max(longestGap_, now - lastTick_);
    lastTick_ = now;
    // A hidden window paints nothing; a repaint still waiting counts as
    // waiting until now.
    if (!watched_ || !watched_->isVisible()) repaintAskedAt_ = -1;
    if (repaintAskedAt_ >= 0) longestRepaintWait_ = std::max(longestRepaintWait_, now - repaintAskedAt_);
    if (++ticks_ % kRepaintEveryTicks == 0 && repaintAskedAt_ < 0 && watched_ &&
        watched_->isVisible()) {
        repaintAskedAt_ = now;
        watched_->update(0, 0, 1, 1);
    }
}

bool EventLoopProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watched_ && event->type() == QEvent::Paint && repaintAskedAt_ >= 0 && timer_.isActive()) {
        longestRepaintWait_ = std::max(longestRepaintWait_, clock_.elapsed() - repaintAskedAt_);
        repaintAskedAt_ = -1;
        ++repaints_;
    }
    return false;
}

std::string EventLoopProbe::report() const {
    return "event-loop-gap-max-ms " + std::to_string(longestGap_) + "\nrepaint-wait-max-ms " +
           std::to_string(longestRepaintWait_) + "\nticks " + std::to_string(ticks_) + "\nrepaints " +
           std::to_string(repaints_) + "\n";
}

}  // namespace q30x
