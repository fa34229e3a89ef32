#include "app/event_loop_probe.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <thread>

namespace q30x {
namespace {

void runFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(EventLoopProbe, ATurnThatHoldsTheThreadIsTheLongestGapAndRepaintsAreTimed) {
    QWidget window;
    window.resize(40, 40);
    window.show();
    EventLoopProbe probe(&window);
    probe.start();
    runFor(150);
    QTimer::singleShot(0, [] { std::this_thread::sleep_for(std::chrono::milliseconds(180)); });
    runFor(250);
    // The repaint it asks for every tenth tick comes, however busy the machine.
    QElapsedTimer waited;
    waited.start();
    while (probe.repaints() == 0 && waited.elapsed() < 5000) runFor(10);
    EXPECT_GE(probe.repaints(), 1);
    probe.stop();
    // Sleeping is the program's own wait, not a wait for a CPU.
    EXPECT_GE(probe.longestGapMs(), 180);
    EXPECT_GE(probe.longestOwnGapMs(), 170);
    EXPECT_LE(probe.longestOwnGapMs(), probe.longestGapMs());
    EXPECT_NE(probe.report().find("event-loop-gap-max-own-ms "), std::string::npos);

    const int ticks = probe.ticks();
    runFor(100);
    EXPECT_EQ(probe.ticks(), ticks) << "stopped means stopped";
}

}  // namespace
}  // namespace q30x
