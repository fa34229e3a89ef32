#include "app/program.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/event_loop_probe.h"
#include "app/input_source_choice.h"
#include "app/main_window.h"
#include "app/qt_sound_player.h"
#include "device/link_setup.h"
#include "platform/command_line.h"
#include "platform/input_sources.h"
#include "platform/messages.h"
#include "platform/termination_signals.h"
#include "platform/utf16.h"
#include "platform/virtual/virtual_usb_devices.h"
#include "skin/images.h"
#include "skin/message_port.h"
#include "skin/window_messages.h"

namespace q30x {
namespace {

constexpr int kExitUsage = 64;
constexpr int kExitNoMouse = 1;

constexpr CommandOption kOptions[] = {
    {"workdir", "DIR", "working folder (default: $Q30X_WORKDIR, else ~/.config/TARVO/Q30X)"},
    {"program-dir", "DIR", "program folder with skins, languages and defaults (default: the folder of q30x)"},
    {"virtual-mouse", nullptr, "talk to the built-in virtual Q30X (also Q30X_VIRTUAL_MOUSE=1)"},
    {"trace", "FILE|-", "write every HID transfer and pause to FILE, - for standard output"},
    {"no-delays", nullptr, "skip the real waiting of every pause (virtual mouse only)"},
    {"desktop", nullptr, "with --virtual-mouse, still apply the pointer settings to this desktop"},
    {"screenshots", "DIR", "start, save a picture of every window into DIR, end"},
    {"quit-after-first-paint", nullptr, "end right after the window's first paint (start-up benchmark)"},
    {"stall-report", "FILE", "at the end, write the longest pause of the window's event loop and of a repaint to FILE"},
};

void noteOnce(const std::string& text) { std::fprintf(stderr, "q30x: %s\n", text.c_str()); }

// With nobody at the screen (screenshots, the start-up benchmark) a box
// would wait forever: the messages go to standard error instead.
class UnattendedMessages final : public WindowMessages {
public:
    using WindowMessages::WindowMessages;
    void info(std::u16string_view text) override { print(text); }
    void standard(std::u16string_view text, std::u16string_view) override { print(text); }
    void countdown(std::u16string_view text) override { print(text); }
    // No one is there to answer: nothing is confirmed.
    bool question(std::u16string_view text) override {
        print(text);
        return false;
    }

private:
    static void print(std::u16string_view text) { std::fprintf(stderr, "q30x: %s\n", toUtf8(text).c_str()); }
};

}  // namespace

int runProgram(int argc, char** argv) {
    ParsedCommandLine parsed;
    std::string error;
    if (!parseCommandLine(argc, argv, kOptions, parsed, error) || !parsed.words.empty()) {
        std::cerr << "q30x: " << (error.empty() ? "unexpected '" + parsed.words.front() + "'" : error)
                  << " (see q30x --help)\n";
        return kExitUsage;
    }
    if (parsed.help) {
        std::cout << "usage: q30x [OPTIONS]\n\nThe Q30X gaming mouse configuration utility.\n\nOptions:\n"
                  << optionHelp(kOptions);
        return 0;
    }
    auto has = [&](const char* name) { return parsed.options.count(name) != 0; };

    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    app.setApplicationName(QStringLiteral("q30x"));
    app.setDesktopFileName(QStringLiteral("q30x"));
    installFontSubstitutes();

    // One copy per user: a second start shows the first and ends quietly.
    auto instance = makeSingleInstance(instanceFolder());
    if (!instance->acquire()) {
        const bool shown = instance->requestShow();
        // Only an unattended run says why it ended; the user sees the first copy come back.
        if (has("screenshots") || has("quit-after-first-paint"))
            std::fprintf(stderr, "q30x: another copy runs already%s\n", shown ? "; it was asked to show itself" : "");
        return 0;
    }

    Folders folders;
    folders.program = has("program-dir") ? parsed.options["program-dir"] : executableFolder();
    folders.working = has("workdir") ? parsed.options["workdir"] : defaultWorkingFolder();

    // The Chinese catalogue exists before any window; the user's language
    // replaces it once the main window runs.
    LanguageState language;
    StringCatalogue strings;
    strings.LoadCatalogue(joinPath(folders.program, "Language/sc.xml"));

    LinkOptions linkOptions;
    linkOptions.virtualMouse = has("virtual-mouse");
    linkOptions.noDelays = has("no-delays");
    if (has("trace")) linkOptions.tracePath = parsed.options["trace"];
    DeviceLinkSetup device;
    if (!device.setUp(withEnvironment(linkOptions, has("trace")), std::cout, error)) {
        std::cerr << "q30x: " << error << "\n";
        return kExitUsage;
    }
    bool noDisplay = false;
    auto desktop = makeDesktopFor(device.isVirtual(), has("desktop"), noteOnce, noDisplay);
    FallbackInputSource input(makeEvdevInputSource(), makeX11RawInputSource(), noteOnce);
    auto launcher = makeSystemProgramLauncher();
    auto pointer = makeSystemPointerPosition();
    // The virtual mouse stands in for the whole bus, its loader included.
    const char* loader = std::getenv("Q30X_VIRTUAL_LOADER");
    std::unique_ptr<UsbDeviceList> usbDevices =
        device.isVirtual() ? std::make_unique<VirtualUsbDevices>(loader && std::string(loader) == "1")
                           : makeSystemUsbDeviceList();
    auto notifications = device.deviceNotifications(error);
    if (!notifications) {
        std::cerr << "q30x: " << error << "\n";
        return kExitUsage;
    }
    QtSoundPlayer sound;
    auto downloader = makeCurlDownloader();
    ProgramServices services{folders,   device.link(), device.clock(), device.trace(), input,
                             *desktop,  *launcher,     *usbDevices,    sound,          notifications.get(),
                             instance.get(), pointer.get(), downloader.get()};

    const bool unattended = has("screenshots") || has("quit-after-first-paint");
    std::unique_ptr<WindowMessages> messages =
        unattended ? std::make_unique<UnattendedMessages>(language) : std::make_unique<WindowMessages>(language);
    // On the heap: the window holds the whole macro library.
    auto owned = std::make_unique<CQ52XDriverDlg>(services, language, strings, *messages);
    CQ52XDriverDlg& window = *owned;
    // How long the window ever waited, measured from the start of its event loop to its close.
    std::unique_ptr<EventLoopProbe> probe;
    if (has("stall-report")) probe = std::make_unique<EventLoopProbe>(&window);
    window.setOnClosed([&app, &probe, &parsed] {
        if (probe) {
            probe->stop();
            std::ofstream(parsed.options["stall-report"]) << probe->report();
        }
        app.quit();
    });

    // SIGTERM, SIGINT and the end of the session end the program as the
    // window's close does, so nothing kept at shutdown is lost.
    QSocketNotifier* signals = nullptr;
    if (const int fd = watchTerminationSignals(); fd >= 0) {
        signals = new QSocketNotifier(fd, QSocketNotifier::Read, &window);
        QObject::connect(signals, &QSocketNotifier::activated, &window, [&window] {
            if (takeTerminationSignal()) window.port()->post(msg::kClose, 0, 0);
        });
    }
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.onQueryEndSession(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] {
        if (!window.closed()) window.shutdown();
    });

    if (has("quit-after-first-paint"))
        window.setOnFirstPaint([&window] {
            std::printf("first paint\n");
            std::fflush(stdout);
            window.port()->post(msg::kClose, 0, 0);
        });
    if (has("screenshots")) {
        const QString folder = QString::fromStdString(parsed.options["screenshots"]);
        window.setOnFirstPaint([&window, folder] {
            window.saveScreenshots(folder);
            std::printf("screenshots: %s\n", qPrintable(QDir(folder).absolutePath()));
            std::fflush(stdout);
            window.port()->post(msg::kClose, 0, 0);
        });
    }

    window.initialise();
    if (probe && window.initialised()) probe->start();
    const int status = app.exec();
    return window.mouseMissing() ? kExitNoMouse : status;
}

}  // namespace q30x
