#include "app/event_loop_probe.h"

#include <QEvent>
#include <algorithm>
#include <fstream>

namespace q30x {
namespace {

// Nanoseconds the calling thread has stood ready to run without a CPU; 0
// where the kernel does not tell.
qint64 runQueueWaitNs() {
    std::ifstream stat("/proc/thread-self/schedstat");
    qint64 running = 0, waiting = 0;
    return stat >> running >> waiting ? waiting : 0;
}

}  // namespace

EventLoopProbe::EventLoopProbe(QWidget* watched) : watched_(watched) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    if (watched_) watched_->installEventFilter(this);
}

EventLoopProbe::Moment EventLoopProbe::now() const { return {clock_.elapsed(), runQueueWaitNs()}; }

void EventLoopProbe::Longest::note(const Moment& from, const Moment& to) {
    const qint64 span = to.ms - from.ms;
    wall = std::max(wall, span);
    own = std::max(own, span - (to.cpuWaitedNs - from.cpuWaitedNs) / 1000000);
}

void EventLoopProbe::start() {
    clock_.start();
    lastTick_ = now();
    timer_.start();
}

void EventLoopProbe::stop() {
    timer_.stop();
    repaintAsked_ = false;
}

void EventLoopProbe::tick() {
    const Moment at = now();
    longestGap_.note(lastTick_, at);
    lastTick_ = at;
    // A hidden window paints nothing; a repaint still waiting counts as
    // waiting until now.
    if (!watched_ || !watched_->isVisible()) repaintAsked_ = false;
    if (repaintAsked_) longestRepaintWait_.note(repaintAskedAt_, at);
    if (++ticks_ % kRepaintEveryTicks == 0 && !repaintAsked_ && watched_ && watched_->isVisible()) {
        repaintAsked_ = true;
        repaintAskedAt_ = at;
        watched_->update(0, 0, 1, 1);
    }
}

bool EventLoopProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watched_ && event->type() == QEvent::Paint && repaintAsked_ && timer_.isActive()) {
        longestRepaintWait_.note(repaintAskedAt_, now());
        repaintAsked_ = false;
        ++repaints_;
    }
    return false;
}

std::string EventLoopProbe::report() const {
    auto line = [](const char* name, qint64 value) { return std::string(name) + " " + std::to_string(value) + "\n"; };
    return line("event-loop-gap-max-ms", longestGap_.wall) + line("event-loop-gap-max-own-ms", longestGap_.own) +
           line("repaint-wait-max-ms", longestRepaintWait_.wall) +
           line("repaint-wait-max-own-ms", longestRepaintWait_.own) + line("ticks", ticks_) +
           line("repaints", repaints_);
}

}  // namespace q30x
