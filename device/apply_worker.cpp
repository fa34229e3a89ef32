#include "device/apply_worker.h"

#include <array>

#include "device/frame_data.h"
#include "device/key_codes.h"
#include "macros/payload_encoder.h"
#include "platform/messages.h"

namespace q30x {
namespace {

constexpr uint32_t kStartPauseMs = 50;
constexpr uint32_t kButtonPauseMs = 50;
constexpr uint32_t kFinalPauseMs = 300;
constexpr int kProgressPerButton = 7;

}  // namespace

std::u16string_view applyFailureText(int step) {
    static constexpr std::u16string_view kTexts[] = {
        u"write mousekey metix fail.\n",   u"Write mouse LED color failed.\n", u"Write mouse effect failed.\n",
        u"Write LED color123 failed.\n",   u"Write mouse touch failed.\n",     u"Write mouse DPI failed.\n",
    };
    return step >= 0 && step < static_cast<int>(std::size(kTexts)) ? kTexts[step] : std::u16string_view{};
}

void ApplyWorker::start(MessageTarget* progressWindow) {
    if (thread_.joinable()) return;
    runFlag_ = 1;
    thread_ = std::thread([this, progressWindow] { run(progressWindow); });
}

void ApplyWorker::stop() {
    runFlag_ = 0;
    trigger_.set();
    if (thread_.joinable()) thread_.join();
}

bool ApplyWorker::requestApply() {
    if (applyReady_.load() != 1) return false;
    trigger_.set();
    return true;
}

void ApplyWorker::run(MessageTarget* progress) {
    Clock& clock = context_.link.pacingClock();
    while (runFlag_.load() == 1) {
        trigger_.wait();
        if (runFlag_.load() == 0) return;
        trigger_.reset();
        applyReady_ = 0;
        clock.sleepMs(kStartPauseMs);
        if (!mainWindow_.load()) {
            if (progress) progress->post(msg::kClose, 0, 0);
            return;
        }
        if (progress) applyProfile(*progress);
    }
}

int ApplyWorker::applyProfile(MessageTarget& progress) {
    CUSBDriver& link = context_.link;
    Clock& clock = link.pacingClock();
    const ProfileRecord& record = context_.state.current;

    ButtonMacros uploaded{};
    int macroNumber = 1;
    int percent = 0;
    for (const auto& button : kPhysicalButtons) {
        const ButtonAssignment& slot = record.buttons[button.index];
        const auto inputCode = static_cast<int32_t>(button.inputCode);
        context_.hooks.removeIntercept(inputCode);
        progress.post(msg::kApplyProgress, static_cast<uintptr_t>(percent), 0);

        if (slot.functionType == kFunctionMacro) {
            const auto id = static_cast<uint32_t>(context_.state.macroRefs[button.index]);
            const MacroRecord* stored = findById(context_.macros, id);
            if (stored && stored->size != 0) {
                EncodedMacro encoded = encodeMacroPayload(*stored, context_.language.languageNumber);
                // Whether the upload went out is not checked: the button still gets its number.
                MacroWrite written = link.writeMacro(macroNumber, &encoded);
                clock.sleepMs(kButtonPauseMs);
                uploaded[button.index] = {macroNumber++, written.wordCount};
            }
        } else if (slot.functionType == kFunctionAdvanced) {
            context_.hooks.addIntercept(inputCode);
        }
        // The code itself goes into the table below; its pause is taken here, in button order.
        if (hasDeviceKeyCode(slot.functionType)) clock.sleepMs(kButtonPauseMs);
        percent += kProgressPerButton;
    }
    const KeyTable table = buildKeyTable(record, uploaded);

    auto fail = [&](int step) {
        // The progress window ends only on 100 or a close; without one the
        // user would never get the main window back after a failure.
        progress.post(msg::kClose, 0, 0);
        notifyMainWindow(msg::kApplyFailed, 0, step);
        return step;
    };

    if (!link.writeKeyTable(table)) return fail(kStepKeyTable);
    progress.post(msg::kApplyProgress, 60, 0);
    if (!link.writeLightColour(record.ledColour[3])) return fail(kStepLightColour);
    if (!link.writeLightingEffect(lightingEffectFor(record))) return fail(kStepLightingEffect);
    if (sendsCustomColours(record) && !link.writeCustomColours(buildCustomColours(record))) return fail(kStepCustomColours);
    progress.post(msg::kApplyProgress, 70, 0);
    if (!link.writeProximitySensing(record.proximitySensing == 1 ? 1 : 0, record.lightingMode))
        return fail(kStepProximity);
    progress.post(msg::kApplyProgress, 75, 0);
    if (!link.writeDpiTable(buildDpiTable(record))) return fail(kStepDpiTable);
    link.writeDpiLevel(dpiLevelFor(record));
    progress.post(msg::kApplyProgress, 80, 0);
    applyDesktopSettings();
    progress.post(msg::kApplyProgress, 90, 0);
    link.writeReportRate(record.reportInterval);
    progress.post(msg::kApplyProgress, 100, 0);
    clock.sleepMs(kFinalPauseMs);
    notifyMainWindow(msg::kApplySucceeded, 0, 0);
    return kApplySucceeded;
}

void ApplyWorker::applyDesktopSettings() {
    const ProfileRecord& record = context_.state.current;
    Trace* trace = context_.trace;
    // Each call is followed by the settings-change notice, sent so the worker
    // waits until the window has seen it. Failures are not reported.
    std::array<int, 3> mouse = record.enhancePointerPrecision != 0 ? std::array<int, 3>{6, 10, 1} : std::array<int, 3>{};
    if (trace) trace->desktop(kSetMouse, std::array<int32_t, 3>{mouse[0], mouse[1], mouse[2]});
    context_.desktop.setMouse(mouse);
    notifyMainWindow(msg::kSettingChange, kSetMouse, reinterpret_cast<intptr_t>(mouse.data()));

    if (trace) trace->desktop(kSetMouseSpeed, std::array<int32_t, 1>{record.pointerSpeed});
    context_.desktop.setMouseSpeed(record.pointerSpeed);
    notifyMainWindow(msg::kSettingChange, kSetMouseSpeed, 0);

    if (trace) trace->desktop(kSetWheelScrollLines, std::array<int32_t, 1>{record.wheelScrollLines});
    context_.desktop.setWheelScrollLines(record.wheelScrollLines);
    notifyMainWindow(msg::kSettingChange, kSetWheelScrollLines, 0);
}

void ApplyWorker::notifyMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    MessageTarget* window = mainWindow_.load();
    if (!window) return;
    if (message == msg::kSettingChange) window->send(message, wParam, lParam);
    else window->post(message, wParam, lParam);
}

}  // namespace q30x
