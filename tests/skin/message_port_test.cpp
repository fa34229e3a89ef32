#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <thread>

#include "platform/messages.h"
#include "recorder.h"

namespace q30x {
namespace {

using test::Message;
using test::RecordingWindow;

TEST(MessagePort, PostIsQueuedAndKeepsOrder) {
    RecordingWindow w;
    w.port->post(msg::kApplyProgress, 7, 0);
    w.port->post(msg::kApplyProgress, 14, 0);
    EXPECT_TRUE(w.received.empty());
    EXPECT_EQ(w.messages(), (std::vector<Message>{{msg::kApplyProgress, 7, 0}, {msg::kApplyProgress, 14, 0}}));
}

TEST(MessagePort, SendOnOwnThreadRunsAtOnceWithItsResult) {
    MessagePort port(nullptr, [](uint32_t m, uintptr_t w, intptr_t l) { return static_cast<intptr_t>(m + w + l); });
    EXPECT_EQ(port.send(1000, 20, 3), 1023);
}

TEST(MessagePort, SendFromWorkerBlocksUntilHandledOnWindowThread) {
    QThread* windowThread = QThread::currentThread();
    bool onWindowThread = false;
    MessagePort port(nullptr, [&](uint32_t, uintptr_t w, intptr_t) {
        onWindowThread = QThread::currentThread() == windowThread;
        return static_cast<intptr_t>(w * 2);
    });
    intptr_t result = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = port.send(msg::kApplyProgress, 21, 0);
        done = true;
    });
    QElapsedTimer t;
    t.start();
    while (!done && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(onWindowThread);
}

TEST(MessagePort, PostsFromWorkersArriveOnWindowThread) {
    RecordingWindow w;
    std::thread worker([&] {
        for (uintptr_t p = 0; p <= 100; p += 50) w.port->post(msg::kApplyProgress, p, 0);
    });
    worker.join();
    EXPECT_EQ(w.messages(), (std::vector<Message>{{msg::kApplyProgress, 0, 0},
                                                  {msg::kApplyProgress, 50, 0},
                                                  {msg::kApplyProgress, 100, 0}}));
}

TEST(MessagePort, PendingPostsDieWithThePort) {
    int handled = 0;
    auto* port = new MessagePort(nullptr, [&](uint32_t, uintptr_t, intptr_t) { return intptr_t{++handled}; });
    port->post(1, 0, 0);
    delete port;
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(handled, 0);
}

TEST(MessagePort, TimersArriveByTheirWindowIdUntilKilled) {
    RecordingWindow w;
    w.port->setTimer(2321, 1);
    EXPECT_TRUE(w.port->hasTimer(2321));
    QElapsedTimer t;
    t.start();
    while (w.received.size() < 2 && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_GE(w.received.size(), 2u);
    EXPECT_EQ(w.received[0], (Message{msg::kTimer, 2321, 0}));
    w.port->killTimer(2321);
    EXPECT_FALSE(w.port->hasTimer(2321));
    const size_t before = w.received.size();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.received.size(), before);
}

}  // namespace
}  // namespace q30x
