// bench_startup [RUNS]: the time from exec to the main window's first paint
// of the real program against the virtual mouse, and its peak resident
// memory at that moment, beside the same figures for a bare frameless Qt
// window of the same size, measured in the same run under a private Xvfb.
#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

extern char** environ;

namespace {

constexpr const char* kFirstPaint = "first paint";

// The bare window: what any Qt program of this size pays to paint once.
class BareWindow final : public QWidget {
public:
    BareWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) { setFixedSize(960, 650); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0x1C, 0x1F, 0x25));
        if (painted_) return;
        painted_ = true;
        std::printf("%s\n", kFirstPaint);
        std::fflush(stdout);
        QApplication::quit();
    }

private:
    bool painted_ = false;
};

struct Sample {
    double ms;
    long peakKiB;
};

long peakResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string word;
    while (status >> word)
        if (word == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    return 0;
}

// Starts `argv`, waits for the first-paint line on its output and takes the
// peak memory right then.
Sample measure(const std::vector<std::string>& argv) {
    int out[2];
    if (::pipe(out) != 0) return {0, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const auto started = std::chrono::steady_clock::now();
    const int failed = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    Sample sample{0, 0};
    std::string seen;
    pollfd wait{out[0], POLLIN, 0};
    char buffer[256];
    while (!failed && seen.find(kFirstPaint) == std::string::npos && ::poll(&wait, 1, 30000) > 0) {
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        seen.append(buffer, static_cast<std::size_t>(n));
    }
    if (seen.find(kFirstPaint) != std::string::npos) {
        sample.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        sample.peakKiB = peakResidentKiB(pid);
    }
    ::close(out[0]);
    if (!failed) ::waitpid(pid, nullptr, 0);
    return sample;
}

void report(const char* name, std::vector<Sample> samples) {
    std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
    long peak = 0;
    for (const Sample& s : samples) peak = std::max(peak, s.peakKiB);
    std::printf("%-12s median %7.1f ms   max %7.1f ms   peak resident %6.1f MiB   (%zu runs)\n", name,
                samples[samples.size() / 2].ms, samples.back().ms, peak / 1024.0, samples.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--bare-window") {
        QApplication app(argc, argv);
        BareWindow window;
        window.show();
        return app.exec();
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    q30x::test::XvfbServer xvfb;
    if (!xvfb.running()) {
        std::fprintf(stderr, "bench_startup: Xvfb could not be started\n");
        return 1;
    }
    q30x::test::TempFolder work;
    ::setenv("Q30X_WORKDIR", work.file("wd").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", work.path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::string self = argv[0];
    const std::string folder = self.substr(0, self.rfind('/') + 1);
    const std::vector<std::string> program = {folder + "q30x", "--virtual-mouse", "--no-delays",
                                              "--quit-after-first-paint"};
    const std::vector<std::string> bare = {self, "--bare-window"};
    measure(program);  // the first start seeds the working folder; not counted
    std::vector<Sample> programSamples, bareSamples;
    for (int i = 0; i < runs; ++i) {
        programSamples.push_back(measure(program));
        bareSamples.push_back(measure(bare));
    }
    report("q30x", programSamples);
    report("bare window", bareSamples);
    return 0;
}
