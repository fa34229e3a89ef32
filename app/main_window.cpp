#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/hints.h"
#include "app/host_actions.h"
#include "buttons/setting_dlg.h"
#include "device/presence.h"
#include "i18n/language_choice.h"
#include "macros/dlg_macro.h"
#include "pages/dlg_led_set.h"
#include "pages/dlg_main_set.h"
#include "pages/dlg_sts.h"
#include "pages/dlg_support.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/dlg_progress.h"
#include "skin/images.h"
#include "skin/irr_button.h"
#include "skin/layout.h"
#include "skin/message_port.h"
#include "skin/modal_loop.h"
#include "skin/popup.h"
#include "skin/qt_text.h"
#include "skin/window_messages.h"
#include "skin/xp_menu.h"

namespace q30x {

namespace mw = layout::mainwin;

namespace {


QRegion quadRegion(const mw::Quad& quad) {
    QPolygon polygon;
    for (const auto& point : quad) polygon << QPoint(point.x, point.y);
    return QRegion(polygon);
}

bool isOwnWidget(const QObject* object, const QWidget* window) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->window() == window;
}

// The hint line: word-wrapped, vertically centred, the last line that fits
// ending in an ellipsis when the text is longer.
void drawHint(QPainter& p, const QRect& r, const QString& text) {
    const QFontMetrics metrics(p.font());
    QTextLayout layout(text, p.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    const int maxLines = std::max(1, r.height() / metrics.height());
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(r.width());
        if (lines.size() == maxLines - 1) {
            lines << metrics.elidedText(text.mid(line.textStart()).simplified(), Qt::ElideRight, r.width());
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    const int height = static_cast<int>(lines.size()) * metrics.height();
    int y = r.top() + (r.height() - height) / 2;
    for (const QString& line : lines) {
        p.drawText(QRect(r.left(), y, r.width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += metrics.height();
    }
}

}  // namespace

CQ52XDriverDlg::CQ52XDriverDlg(ProgramServices& services, LanguageState& language, StringCatalogue& strings,
                               WindowMessages& messages)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      services_(services),
      language_(language),
      strings_(strings),
      messages_(messages),
      profileStore_(settings_, SettingsContext{services.folders, messages, strings, language}),
      macroWriter_(services.clock,
                   [this](FileError error) { port_->post(msg::kMacroFileNotWritten, static_cast<uintptr_t>(error), 0); }),
      macroStore_(macros_, SettingsContext{services.folders, messages, strings, language}, services.clock),
      hooks_(services.input),
      port_(new MessagePort(this)),
      state_{services.folders, language, strings, messages, settings_, profileStore_, macros_, macroStore_, hooks_, *port_},
      worker_({services.link, settings_, macros_, language, hooks_, services.desktop, services.trace}),
      presence_(services.link, hooks_, *port_, language, services.clock) {
    port_->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    macroStore_.setWriter(&macroWriter_);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    messages_.setOwner(this);
    worker_.setMainWindow(port_);
    // A close that waited for modal windows comes again from the top.
    ModalLoopScope::setOnAllEnded([this] {
        if (closePending_ && !closing_) port_->post(msg::kClose, 0, 0);
    });
}

CQ52XDriverDlg::~CQ52XDriverDlg() {
    ModalLoopScope::setOnAllEnded(nullptr);
    worker_.setMainWindow(nullptr);
    worker_.stop();
    hooks_.removeHooks();
    if (qApp) qApp->removeEventFilter(this);
}

QWidget* CQ52XDriverDlg::page(int n) const {
    const std::array<QWidget*, kPageCount> pages = {mainSet_, ledSet_, macro_, sts_, support_};
    return n >= 1 && n <= kPageCount ? pages[static_cast<std::size_t>(n - 1)] : nullptr;
}

QRect CQ52XDriverDlg::hintRect() const { return toQRect(mw::kHintLine); }

void CQ52XDriverDlg::createControls() {
    const QString folder = QString::fromStdString(services_.folders.program);
    const QSize size(mw::kSize.width, mw::kSize.height);
    auto skin = [&folder](std::string_view file) {
        return loadSkinImage(folder, QStringLiteral("skins/") + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size())));
    };
    normal_ = skin(mw::kFiles[0]);
    // The window takes the size of its background; the placeholders keep the
    // layout's size when the art is missing.
    const QSize windowSize = normal_.isNull() ? size : normal_.size();
    normal_ = orPlaceholder(normal_, windowSize);
    // Only the three rectangular buttons cut from the pressed and hover windows.
    const QImage pressed = orPlaceholder(skin(mw::kFiles[1]), windowSize);
    const QImage hover = orPlaceholder(skin(mw::kFiles[2]), windowSize);
    setFixedSize(windowSize);
    move(centredInWorkArea(windowSize));

    auto makeButton = [this, &pressed, &hover](const layout::Rect& r, auto onClick) {
        auto* button = new CGDIBitmapBtn(QString(), toQRect(r), this);
        button->cutImages(toQRect(r), normal_, hover, pressed, normal_);
        QObject::connect(button, &QAbstractButton::clicked, this, onClick);
        return button;
    };
    minimize_ = makeButton(mw::kMinimize, [this] {
        showMinimized();
        hooks_.setForwarding(0, 0);
    });
    hide_ = makeButton(mw::kHide, [this] { hideToTray(); });
    language_button_ = makeButton(mw::kLanguage, [this] { openLanguagePopup(); });

    flagPicture_ = new QLabel(this);
    flagPicture_->setGeometry(toQRect(mw::kFlag));

    const bool chinese = language_.chineseUi != 0;
    const int normalId = chinese ? mw::res::kChineseNormal : mw::res::kStandardNormal;
    const int pressedId = chinese ? mw::res::kChinesePressed : mw::res::kStandardPressed;
    const int hoverId = chinese ? mw::res::kChineseHover : mw::res::kStandardHover;
    auto makeIrr = [&](const mw::Quad& quad) {
        auto* button = new CIrrButton(QString(), quadRegion(quad), this);
        button->setImages(normalId, pressedId, hoverId, normalId);
        button->setMarkedMode(true);
        return button;
    };
    for (int n = 0; n < kPageCount; ++n) tabs_[static_cast<std::size_t>(n)] = makeIrr(mw::kTabs[static_cast<std::size_t>(n)]);
    for (int n = 0; n < kProfileCount; ++n)
        profiles_[static_cast<std::size_t>(n)] = makeIrr(mw::kProfiles[static_cast<std::size_t>(n)]);
    ok_ = makeIrr(mw::kOk);
    applyLabels();
}

void CQ52XDriverDlg::createPages() {
    mainSet_ = new CDlgMainSet(state_, this);
    mainSet_->setOpenAssignment([this](int input) {
        CSettingDlg popup(state_, input, this);
        popup.exec();
    });
    mainSet_->releaseStateImages();
    // Each page lets go of its pressed and hover pictures before the next is
    // made, so the start-up never holds all fifteen.
    ledSet_ = new CDlgLEDSet(state_, this);
    ledSet_->releaseStateImages();
    macro_ = new CDlgMacro(state_, services_.clock, this);
    macro_->releaseStateImages();
    sts_ = new CDlgSts(state_, services_.pointer, this);
    sts_->releaseStateImages();
    support_ = new CDlgSupport(state_, services_.launcher, this);
    support_->releaseStateImages();
    if (services_.downloader) createUpdateCheck(*services_.downloader);
    for (int n = 1; n <= kPageCount; ++n) page(n)->setVisible(n == 1);
    tab(1)->setMarked(true);
}

void CQ52XDriverDlg::releasePageStates() {
    // The controls have cut their looks; a page reads its pressed and hover
    // pictures again only when its labels are redrawn.
    for (CSkinPage* p : std::initializer_list<CSkinPage*>{mainSet_, ledSet_, macro_, sts_, support_})
        p->releaseStateImages();
}

void CQ52XDriverDlg::createUpdateCheck(Downloader& downloader) {
    updateLink_ = std::make_unique<UpdatePageLink>(*support_->port());
    const UpdateServices services{downloader, services_.launcher, messages_, *port_, services_.folders, language_};
    update_ = std::make_unique<UpdateCheck>(services, *updateLink_, updateDescriptionUrl(std::getenv(kUpdateUrlVariable)),
                                            chooseUpdateFolder(services_.folders.program, defaultCacheFolder()));
    updateLink_->connect(*update_);
    support_->setUpdateCheck([this] { update_->StartUpdateCheck(support_->firmwareVersionText()); });
}

void CQ52XDriverDlg::addTrayIcon() {
    tray_ = new QSystemTrayIcon(QIcon(QPixmap::fromImage(builtinImage(layout::res::kAppIcon))), this);
    tray_->setToolTip(QString::fromLatin1(kTrayText));
    QObject::connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) port_->post(msg::kTrayNotify, 0, msg::kTrayDoubleClick);
        if (reason == QSystemTrayIcon::Context) port_->post(msg::kTrayNotify, 0, kTrayRightButtonUp);
    });
    tray_->show();
    if (QSystemTrayIcon::supportsMessages())
        tray_->showMessage(QStringLiteral("Running"), QString::fromLatin1(kTrayText), QSystemTrayIcon::Information, 5000);
}

void CQ52XDriverDlg::applyLabels() {
    for (int n = 0; n < kPageCount; ++n) {
        tabs_[static_cast<std::size_t>(n)]->setText(qtext(strings_.entry(static_cast<std::size_t>(n))));
        tabs_[static_cast<std::size_t>(n)]->setToolTip(tabs_[static_cast<std::size_t>(n)]->text());
    }
    for (int n = 0; n < kProfileCount; ++n) {
        auto* button = profiles_[static_cast<std::size_t>(n)];
        button->setText(qtext(strings_.entry(static_cast<std::size_t>(kPageCount + n))));
        button->setToolTip(button->text());
    }
    ok_->setText(qtext(strings_.text("str_ok")));
    ok_->setToolTip(ok_->text());
    if (mainSet_) {
        mainSet_->applyLabels();
        ledSet_->applyLabels();
        macro_->applyLabels();
        sts_->applyLabels();
        support_->applyLabels();
        releasePageStates();
    }
}

void CQ52XDriverDlg::setFlag(int bitmapId) {
    flag_ = builtinImage(bitmapId);
    if (flagPicture_) flagPicture_->setPixmap(QPixmap::fromImage(flag_));
}

// ---- Messages -------------------------------------------------------------

intptr_t CQ52XDriverDlg::onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // Before the pages exist (the loader's hand-over) and after the shutdown
    // only the close means anything.
    if (closing_ || (!mainSet_ && message != msg::kClose)) return 0;
    switch (message) {
    case msg::kApplyLanguage: onLanguage(wParam, lParam); break;
    case msg::kTrayNotify: onTray(lParam); break;
    case msg::kApplySucceeded: onApplySucceeded(); break;
    case msg::kApplyFailed: onApplyFailed(static_cast<int>(lParam)); break;
    case msg::kInputEvent: onInputEvent(wParam, lParam); break;
    case msg::kShowHint: onShowHint(static_cast<int>(lParam)); break;
    case msg::kRestoreDefaults: onRestoreDefaults(); break;
    case msg::kMacroFileNotWritten: macroStore_.reportWriteFailure(static_cast<FileError>(wParam)); break;
    case msg::kTimer: onTimer(wParam); break;
    case msg::kClose: shutdown(); break;
    case msg::kCommand:
        if (lParam) onCommand(reinterpret_cast<const QObject*>(lParam));
        else onTrayCommand(wParam);
        break;
    default: break;  // the worker's settings-change notices need no answer
    }
    return 0;
}

void CQ52XDriverDlg::onCommand(const QObject* control) {
    for (int n = 1; n <= kPageCount; ++n)
        if (control == tab(n)) return switchPage(n);
    for (int n = 1; n <= kProfileCount; ++n)
        if (control == profileButton(n)) return selectProfile(n);
    if (control == ok_) {
        macro_->commitLoopField();
        if (settings_.current.wheelScrollLines != -1) mainSet_->commitWheelField();
        startApply();
    }
}

void CQ52XDriverDlg::onTrayCommand(uintptr_t command) {
    if (command == kCommandConfig) showFromTray();
    else if (command == kCommandExit) port_->post(msg::kClose, 0, 0);
}

void CQ52XDriverDlg::switchPage(int n) {
    if (n < 1 || n > kPageCount) return;
    macro_->closeGameMenu();
    if (n != 3 && macro_->recording()) macro_->stopRecording();
    for (int t = 1; t <= kPageCount; ++t) tab(t)->setMarked(t == n);
    for (int t = 1; t <= kPageCount; ++t) page(t)->setVisible(t == n);
    const bool settingsPage = n <= 2;
    for (auto* button : profiles_) button->setEnabled(settingsPage);
    ok_->setEnabled(settingsPage);
    if (n == 1) mainSet_->Refresh();
    if (n == 2) ledSet_->Refresh();
    currentPage_ = n;
}

void CQ52XDriverDlg::refreshSettingsPages() {
    mainSet_->Refresh();
    ledSet_->Refresh();
}

void CQ52XDriverDlg::selectProfile(int n) {
    for (int p = 1; p <= kProfileCount; ++p) profileButton(p)->setMarked(p == n);
    if (profileStore_.switchProfile(n - 1)) refreshSettingsPages();
    // A profile that did not load leaves the previous one current, and its mark.
    showProfileMarks();
}

void CQ52XDriverDlg::showProfileMarks() {
    const auto marks = settings_.selectionMarks();
    for (int p = 1; p <= kProfileCount; ++p) profileButton(p)->setMarked(marks[static_cast<std::size_t>(p - 1)]);
}

void CQ52XDriverDlg::startApply() {
    if (applying_ || !worker_.requestApply()) return;
    applying_ = true;
    progress_->setChineseUi(language_.chineseUi != 0);
    progress_->runModal();
}

void CQ52XDriverDlg::onApplySucceeded() {
    profileStore_.saveAfterApply();
    hooks_.removeHooks();
    hooks_.installHooks(port_);
    hooks_.setStatistics(0, 1);
    worker_.rearm();
    applyEnded();
}

void CQ52XDriverDlg::onApplyFailed(int step) {
    worker_.rearm();
    ok_->setMarked(false);
    messages_.info(applyFailureText(step));
    applyEnded();
}

void CQ52XDriverDlg::applyEnded() {
    // The apply runs until its outcome is handled, not until the progress
    // window closes: the worker posts that close just before the outcome,
    // and a close taken in between would drop the failed step's text.
    applying_ = false;
    if (closePending_) shutdown();
}

void CQ52XDriverDlg::onRestoreDefaults() {
    restoreDefaults(settings_, language_.chineseUi);
    refreshSettingsPages();
    startApply();
}

void CQ52XDriverDlg::onInputEvent(uintptr_t code, intptr_t flags) {
    // Counted at once: a forward posted behind a close already queued
    // would die with the page, and the click with it.
    sts_->port()->send(msg::kStatsInput, code, flags);
    runHostAction(hostActionFor(settings_.current, code), services_.launcher, services_.sound);
}

void CQ52XDriverDlg::onLanguage(uintptr_t wParam, intptr_t number) {
    LanguageContext context{services_.folders, messages_, language_, strings_};
    const LanguageActions actions = applyLanguage(context, static_cast<uint32_t>(wParam),
                                                  static_cast<int32_t>(number), !popup_.isNull());
    if (actions.ignored) return;
    if (actions.flagBitmap) setFlag(actions.flagBitmap);
    hooks_.setKeyLayout(language_.languageNumber);
    if (actions.refreshLabels) applyLabels();
    if (actions.closePopup && popup_) popup_->port()->post(msg::kClose, 0, 0);
    if (actions.forgetPopup) popup_ = nullptr;
    update();
}

void CQ52XDriverDlg::openLanguagePopup() {
    if (popup_) return;
    const QRect button(language_button_->mapToGlobal(QPoint(0, 0)), language_button_->size());
    popup_ = CMenuExA::open(this, button);
}

void CQ52XDriverDlg::onTray(intptr_t mouseMessage) {
    if (mouseMessage == msg::kTrayDoubleClick) {
        showFromTray();
    } else if (mouseMessage == kTrayRightButtonUp) {
        static const XPMenuItem kConfig{layout::res::kTrayConfig, layout::res::kTrayConfig, QStringLiteral("Config")};
        static const XPMenuItem kExit{layout::res::kTrayExit, layout::res::kTrayExit, QStringLiteral("Exit")};
        CXPMenu menu(this);
        menu.appendItem(static_cast<int>(kCommandConfig), &kConfig);
        menu.appendItem(static_cast<int>(kCommandExit), &kExit);
        activateWindow();
        if (QAction* chosen = menu.exec(QCursor::pos())) port_->post(msg::kCommand, chosen->data().toUInt(), 0);
    }
}

void CQ52XDriverDlg::showFromTray() {
    refreshSettingsPages();
    showNormal();
    raise();
    activateWindow();
}

void CQ52XDriverDlg::hideToTray() {
    if (macro_) macro_->closeGameMenu();
    hide();
    hooks_.setForwarding(0, 0);
}

void CQ52XDriverDlg::onTimer(uintptr_t id) {
    if (id == kUpdaterTimer) {
        port_->killTimer(kUpdaterTimer);
        // A missing updater is not reported: it is an optional part of an install.
        startUpdater(services_.launcher, services_.folders);
    } else if (id == DevicePresence::kRetryTimer && !applying_) {
        // During an apply the link is the worker's: the next tick tries.
        DevicePresence::Action action;
        presence_.onRetryTimer(action);
        onPresenceAction(action);
    }
}

void CQ52XDriverDlg::onDeviceNotifications() {
    std::vector<DeviceNotification> news(pendingNews_.begin(), pendingNews_.end());
    for (DeviceNotification& notification : services_.notifications->takePending()) news.push_back(std::move(notification));
    const std::vector<DeviceNotification> folded = foldMouseNews(news);
    pendingNews_.assign(folded.begin(), folded.end());
    scheduleNews();
}

void CQ52XDriverDlg::scheduleNews() {
    if (pendingNews_.empty() || newsScheduled_) return;
    newsScheduled_ = true;
    QTimer::singleShot(0, this, [this] { takeNews(); });
}

void CQ52XDriverDlg::takeNews() {
    // One piece per turn of the event loop: an arrival holds the window for
    // the link's open and its firmware read, and two in one turn would
    // hold it past what a user notices.
    newsScheduled_ = false;
    // A box shown for an earlier piece may have run the shutdown: the pages
    // and the link are gone, nothing is to be opened again.
    if (closing_ || pendingNews_.empty()) return;
    const DeviceNotification notification = pendingNews_.front();
    pendingNews_.pop_front();
    scheduleNews();
    // While an apply runs the link is the worker's: opening it again here
    // would put the firmware request between the worker's command and its
    // data. A removal during the apply ends the program at its outcome
    // anyway, and an arrival with the link open changes nothing.
    if (applying_ && isMouseArrival(notification)) return;
    DevicePresence::Action action;
    presence_.onDeviceChange(notification, action);
    onPresenceAction(action);
}

void CQ52XDriverDlg::onPresenceAction(const DevicePresence::Action& action) {
    if (action.retryTimer == DevicePresence::Action::Timer::Start)
        port_->setTimer(DevicePresence::kRetryTimer, DevicePresence::kRetryPeriodMs);
    if (action.retryTimer == DevicePresence::Action::Timer::Stop) port_->killTimer(DevicePresence::kRetryTimer);
    if (action.firmwareVersionChanged) support_->setFirmwareVersionText(action.firmwareVersionText);
    if (!action.countdownMessage.empty()) showCountdown(action.countdownMessage);
}

void CQ52XDriverDlg::showCountdown(std::u16string_view text) {
    // A removal posts the program's close before its news is shown; the box
    // would otherwise vanish with the program at once, its text unread.
    const bool outermost = !std::exchange(countingDown_, true);
    messages_.countdown(text);
    if (!outermost) return;
    countingDown_ = false;
    if (closePending_) shutdown();
}

void CQ52XDriverDlg::onShowRequests() {
    for (int n = services_.instance->takeShowRequests(); n > 0; --n)
        port_->post(msg::kTrayNotify, 0, msg::kTrayDoubleClick);
}

// ---- Hints, painting, the pointer and the keyboard ------------------------

void CQ52XDriverDlg::onShowHint(int hint) {
    hint_ = qtext(q30x::hintText(hint, strings_, settings_.current, language_.chineseUi));
    update(hintRect());
}

void CQ52XDriverDlg::trackHints(const QPoint& windowPoint) {
    if (!hint_.isEmpty()) {
        hint_.clear();
        update(hintRect());
    }
    auto postIfOver = [&](const CIrrButton* button, int hint) {
        if (button->geometry().adjusted(-1, -1, 1, 1).contains(windowPoint)) port_->post(msg::kShowHint, 0, hint);
    };
    for (int n = 0; n < kPageCount; ++n) postIfOver(tabs_[static_cast<std::size_t>(n)], kHintTabs + n);
    for (int n = 0; n < kProfileCount; ++n) postIfOver(profiles_[static_cast<std::size_t>(n)], kHintProfiles + n);
    postIfOver(ok_, kHintOk);
}

void CQ52XDriverDlg::paintEvent(QPaintEvent*) {
    if (onFirstPaint_) QTimer::singleShot(0, this, std::exchange(onFirstPaint_, nullptr));
    QPainter p(this);
    p.drawImage(0, 0, normal_);
    if (hint_.isEmpty()) return;
    p.setFont(shellDlgFont());
    p.setPen(colorRef(mw::kHintColour));
    drawHint(p, hintRect(), hint_);
}

void CQ52XDriverDlg::mousePressEvent(QMouseEvent* e) { drag_.press(this, e); }

void CQ52XDriverDlg::mouseMoveEvent(QMouseEvent* e) {
    drag_.move(this, e);
    trackHints(e->position().toPoint());
}

void CQ52XDriverDlg::mouseReleaseEvent(QMouseEvent*) { drag_.release(); }

void CQ52XDriverDlg::closeEvent(QCloseEvent* e) {
    // The window manager's close hides to the tray; only the program's own
    // close (tray Exit, removal, a signal) ends it.
    if (!closed_) {
        e->ignore();
        hideToTray();
    }
}

bool CQ52XDriverDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove) {
        const auto* slanted = std::find(profiles_.begin(), profiles_.end(), watched) != profiles_.end() ||
                                      std::find(tabs_.begin(), tabs_.end(), watched) != tabs_.end() || watched == ok_
                                  ? static_cast<QWidget*>(watched)
                                  : nullptr;
        if (slanted) trackHints(slanted->mapToParent(static_cast<QMouseEvent*>(event)->position().toPoint()));
        return false;
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
        !isOwnWidget(watched, this))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F4 && (key->modifiers() & Qt::AltModifier)) {
        if (type == QEvent::KeyPress) hideToTray();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        return true;
    default:
        return false;
    }
}

void CQ52XDriverDlg::saveScreenshots(const QString& folder) {
    QDir().mkpath(folder);
    auto save = [&folder](const QPixmap& picture, const QString& name) {
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!picture.save(file)) std::fprintf(stderr, "q30x: cannot write %s\n", qPrintable(file));
    };
    static const char* const kPages[] = {"main", "lighting", "macros", "statistics", "support"};
    const int shown = currentPage_;
    for (int n = 1; n <= kPageCount; ++n) {
        switchPage(n);
        save(grab(), QStringLiteral("main_page%1_%2").arg(n).arg(kPages[n - 1]));
    }
    // The game menu is a window of its own: the screen under the main window shows both.
    switchPage(3);
    macro_->openGameMenu();
    QCoreApplication::processEvents();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        save(screen->grabWindow(0, x(), y(), width(), height()), QStringLiteral("macro_game_menu"));
    macro_->closeGameMenu();
    switchPage(shown);
    static const char* const kTabs[] = {"combination", "macro", "basic", "advanced"};
    for (int tab = 1; tab <= 4; ++tab) {
        CSettingDlg popup(state_, 1, this);
        popup.showPage(tab);
        popup.show();
        save(popup.grab(), QStringLiteral("popup_tab%1_%2").arg(tab).arg(kTabs[tab - 1]));
    }
}

void CQ52XDriverDlg::installKeyboardFilter() {
    // Keys reach the focused child first, so the filter sits on the application.
    qApp->installEventFilter(this);
}

}  // namespace q30x
