// q30x-gallery [--screens DIR]
// Shows every skinned control in each of its states and every window of the
// controls subsystem; with --screens writes each as a PNG into DIR.
#include <QApplication>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

#include "app/program_state.h"
#include "art.h"
#include "buttons/setting_dlg.h"
#include "buttons/setting_pages.h"
#include "pages/dlg_sts.h"
#include "pages/dlg_support.h"
#include "pages/stats.h"

#include "macros/dlg_macro.h"
#include "i18n/languages.h"
#include "platform/clock.h"
#include "app/standalone_state.h"
#include "pages/dlg_main_set.h"
#include "pages/dlg_led_set.h"
#include "pages/led_model.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/dlg_info.h"
#include "skin/dlg_progress.h"
#include "skin/images.h"
#include "skin/irr_button.h"
#include "skin/layout.h"
#include "skin/list_box.h"
#include "skin/menu_library.h"
#include "skin/message_port.h"
#include "skin/popup.h"
#include "skin/skin_scroll.h"
#include "skin/window_messages.h"
#include "skin/slider.h"
#include "skin/window_messages.h"
#include "skin/xp_menu.h"

namespace {

using namespace q30x;
namespace L = q30x::layout;

QString programFolder() { return QString::fromStdString(executableFolder()); }

void hoverOver(QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), w->mapTo(w->window(), QPointF(2, 2)), w->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w, &enter);
}

// Three full-page images for the demo page, drawn with the skin's own art:
// every button cell in its normal, hover and pressed look.
struct DemoPage {
    QImage normal, hover, pressed;
};

DemoPage demoPage(const QSize& size, const std::vector<QRect>& cells) {
    DemoPage page;
    const skingen::State states[3] = {skingen::State::Normal, skingen::State::Hover, skingen::State::Pressed};
    QImage* out[3] = {&page.normal, &page.hover, &page.pressed};
    for (int i = 0; i < 3; ++i) {
        QImage img(size, QImage::Format_RGB32);
        QPainter p(&img);
        skingen::drawPanel(p, img.rect(), false);
        for (const QRect& c : cells) skingen::drawButtonFace(p, c, states[i]);
        *out[i] = img;
    }
    return page;
}

QPolygon slantedTab(int left, int top) {
    return QPolygon({QPoint(left + 14, top), QPoint(left + 110, top), QPoint(left + 96, top + 30), QPoint(left, top + 30)});
}

const XPMenuItem kConfigItem{L::res::kTrayConfig, L::res::kTrayConfig, QStringLiteral("Config")};
const XPMenuItem kExitItem{L::res::kTrayExit, L::res::kTrayExit, QStringLiteral("Exit")};
const XPMenuItem kLongItem{L::res::kTrayConfig, L::res::kTrayConfig, QStringLiteral("Configuration")};

// The tray menu as the tray icon builds it, with a third, too long item to
// show the ellipsis.
CXPMenu* trayMenu(QWidget* parent) {
    auto* menu = new CXPMenu(parent);
    menu->appendItem(0x6000, &kConfigItem);
    menu->appendItem(0x6001, &kExitItem);
    menu->appendItem(0x6002, &kLongItem);
    return menu;
}

// A page of the gallery: its background with a caption over each group of
// controls.
class GalleryPage : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, background_);
        p.setPen(QColor(0x8A, 0x90, 0x9A));
        p.setFont(shellDlgFont());
        for (const auto& [at, text] : captions_) p.drawText(at, text);
    }

    QImage background_;
    std::vector<std::pair<QPoint, QString>> captions_;
};

// The controls page: bitmap buttons and slanted tabs in every state, two
// sliders and a progress bar.
class ControlsPage : public GalleryPage {
public:
    ControlsPage() {
        setFixedSize(560, 250);
        port_ = new MessagePort(this);
        std::vector<QRect> cells;
        for (int i = 0; i < 5; ++i) cells.emplace_back(20 + i * 104, 36, 96, 34);
        const DemoPage page = demoPage(size(), cells);
        background_ = page.normal;
        pageBackground_ = page.normal;
        const char* captions[5] = {"Normal", "Hover", "Checked", "Disabled", "Off, ticked"};
        for (int i = 0; i < 5; ++i) {
            auto* b = new CGDIBitmapBtn(QString::fromLatin1(captions[i]), cells[static_cast<size_t>(i)], this);
            b->cutImages(cells[static_cast<size_t>(i)], page.normal, page.hover, page.pressed, page.normal);
            buttons_.push_back(b);
        }
        buttons_[2]->setModes(true, false);
        buttons_[2]->setCheckedState(1);
        buttons_[3]->setEnabled(false);
        buttons_[4]->setModes(true, false);
        buttons_[4]->setCheckedState(1);
        buttons_[4]->setEnabled(false);

        // Slanted tabs cut from one page image per look.
        std::vector<QPolygon> tabs;
        for (int i = 0; i < 4; ++i) tabs.push_back(slantedTab(20 + i * 104, 100));
        QImage tabPages[4];  // normal, pressed, hover, disabled
        for (int s = 0; s < 4; ++s) {
            QImage img(size(), QImage::Format_RGB32);
            QPainter p(&img);
            skingen::drawPanel(p, img.rect(), false);
            p.setRenderHint(QPainter::Antialiasing);
            for (const QPolygon& t : tabs) {
                const QColor fills[4] = {QColor(0x24, 0x28, 0x2F), skingen::colour::kAccent, QColor(0x34, 0x3B, 0x46),
                                         QColor(0x17, 0x19, 0x1D)};
                p.setPen(s == 2 ? skingen::colour::kAccentBright : s == 3 ? QColor(0x22, 0x26, 0x2B) : skingen::colour::kEdge);
                p.setBrush(fills[s]);
                p.drawPolygon(t);
            }
            tabPages[s] = img;
        }
        const char* tabCaptions[4] = {"Main", "Hover", "Marked", "Off"};
        for (int i = 0; i < 4; ++i) {
            auto* t = new CIrrButton(QString::fromLatin1(tabCaptions[i]), QRegion(tabs[static_cast<size_t>(i)]), this);
            t->setImages(tabPages[0], tabPages[1], tabPages[2], tabPages[3]);
            t->setMarkedMode(i != 3);
            tabs_.push_back(t);
        }
        tabs_[2]->setMarked(true);
        tabs_[3]->setEnabled(false);

        const QImage thumb = loadSkinImage(programFolder(), QStringLiteral("skins/Slider.png"));
        const QImage track = loadSkinImage(programFolder(), QStringLiteral("skins/ProgressBar/Progress_Normal.png"));
        const int values[2] = {1, 4};
        for (int i = 0; i < 2; ++i) {
            const QRect r(20 + i * 260, 160, 220, 17);
            auto* s = new CPngHSliderBar(thumb, r, this, 2560 + i);
            // The groove of the progress art with the panel around it.
            s->setTrackImage(L::progress::kBar.left, L::progress::kBar.top - 4, L::progress::kBar.width(), 17, track);
            s->setTrackRect(r);
            s->setRange(1, 5);
            s->setPosition(values[i]);
            sliders_.push_back(s);
        }
        const QImage over = loadSkinImage(programFolder(), QStringLiteral("skins/ProgressBar/Progress_Over.png"));
        auto* bar = new CPngHProgressBar(QRect(20, 205, 480, 9), this, 9);
        bar->setImages(L::progress::kBar.left, L::progress::kBar.top, L::progress::kBar.width(), L::progress::kBar.height(),
                       track, over);
        bar->setValue(5);
        captions_ = {
            {{20, 26}, QStringLiteral("CGDIBitmapBtn: normal, hover, checked, disabled, disabled and checked")},
            {{20, 94}, QStringLiteral("CIrrButton tabs: normal, hover, marked, disabled")},
            {{20, 152}, QStringLiteral("CPngHSliderBar 1..5 at 1 and 4")},
            {{20, 199}, QStringLiteral("CPngHProgressBar at 5 of 0..10")},
        };
    }

    // A row of buttons that open each window, for the interactive gallery.
    void addLaunchers() {
        setFixedSize(560, 300);
        const std::vector<std::pair<QString, std::function<void(QWidget*)>>> launchers = {
            {"Notice", [](QWidget* w) { CDlgInfo::showMessage(w, QStringLiteral("Profile saved."), false, false); }},
            {"Question", [](QWidget* w) { CDlgInfo::showMessage(w, QStringLiteral("Reset all statistics?"), true, false); }},
            {"Countdown", [](QWidget* w) { CDlgInfo(QStringLiteral("Mouse unplugged."), false, true, false, w).exec(); }},
            {"Progress", [](QWidget* w) {
                 CDlgProgress dialog(programFolder(), false, w);
                 // Stands in for the apply worker: 0 to 100 in steps.
                 QTimer feed;
                 int percent = 0;
                 QObject::connect(&feed, &QTimer::timeout, [&] {
                     dialog.port()->post(msg::kApplyProgress, static_cast<uintptr_t>(percent), 0);
                     if ((percent += 7) > 100) percent = 100;
                 });
                 feed.start(150);
                 dialog.runModal();
             }},
            {"Language", [](QWidget* w) {
                 const QPoint at = w->mapToGlobal(QPoint(470, 290));
                 CMenuExA::open(w, QRect(at, QSize(42, 18)));
             }},
            {"Tray menu", [](QWidget* w) {
                 CXPMenu* menu = trayMenu(w);
                 menu->setAttribute(Qt::WA_DeleteOnClose);
                 menu->popup(QCursor::pos());
             }},
        };
        std::vector<QRect> cells;
        for (size_t i = 0; i < launchers.size(); ++i) cells.emplace_back(20 + static_cast<int>(i) * 88, 250, 84, 34);
        const DemoPage page = demoPage(size(), cells);
        for (size_t i = 0; i < launchers.size(); ++i) {
            auto* b = new CGDIBitmapBtn(launchers[i].first, cells[i], this);
            b->cutImages(cells[i], page.normal, page.hover, page.pressed, page.normal);
            QObject::connect(b, &QAbstractButton::clicked, this, [this, open = launchers[i].second] { open(this); });
        }
        background_ = page.normal.copy();
        QPainter p(&background_);
        p.drawImage(0, 0, pageBackground_);
    }

    void showStates() {
        hoverOver(buttons_[1]);
        hoverOver(tabs_[1]);
        for (CGDIBitmapBtn* b : buttons_) b->update();
    }

private:
    MessagePort* port_;
    QImage pageBackground_;
    std::vector<CGDIBitmapBtn*> buttons_;
    std::vector<CIrrButton*> tabs_;
    std::vector<CPngHSliderBar*> sliders_;
};

// The lists of the macro page: the event list with its kind icons, a
// selected row, scrolled part way with the pointer on the thumb; a list that
// fits, whose bar stays without a thumb; an edit box on the page's art.
class ListsPage : public GalleryPage {
public:
    ListsPage() {
        setFixedSize(560, 250);
        new MessagePort(this);  // receives the lists' notifications
        background_ = QImage(size(), QImage::Format_RGB32);
        QPainter p(&background_);
        skingen::drawPanel(p, background_.rect(), false);
        p.fillRect(kEditRect.adjusted(-1, -1, 1, 1), skingen::colour::kEdge);
        p.fillRect(kEditRect, QColor(0x0F, 0x0F, 0x0F));
        p.end();

        CListBoxEx* events = makeList(QRect(20, 36, 240, 180), 257);
        const char* keys[] = {"A", "Shift", "B", "Space", "Ctrl", "F5"};
        int delay = 40;
        for (const char* key : keys) {
            delay += 20;
            events->addRow(3, QString::fromLatin1(key), 0x41);
            events->addRow(4, QStringLiteral("%1  ms").arg(delay), static_cast<uint32_t>(delay));
            events->addRow(2, QString::fromLatin1(key), 0x41);
        }
        events->setSelection(7);
        events->verticalScrollBar()->setValue(4);
        auto* eventsFrame = CSkinScrollWnd::wrap(events, builtinImage(L::scrollbar::kBitmap));

        auto* macros = makeList(QRect(290, 36, 240, 100), 256);
        macros->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        for (const char* name : {"Rocket jump", "Quick scope", "Reload cancel"}) macros->addRow(0, QString::fromLatin1(name), 0x15000001);
        macros->setSelection(1);
        CSkinScrollWnd::wrap(macros, builtinImage(L::scrollbar::kBitmap));

        auto* edit = new CBitmapEdit(kEditRect, this, true, Qt::AlignHCenter);
        edit->setBackground(kEditRect, background_);
        edit->setText(QStringLiteral("3"));

        CSkinScrollBar* bar = eventsFrame->verticalBar();
        const ScrollBarGeometry g = bar->geometryNow();
        const QPointF onThumb(bar->cell() / 2, g.arrow + g.offset + g.thumb / 2);
        QMouseEvent move(QEvent::MouseMove, onThumb, bar->mapToGlobal(onThumb), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        captions_ = {
            {{20, 26}, QStringLiteral("CListBoxEx in CSkinScrollWnd")},
            {{290, 26}, QStringLiteral("Rows that fit: bar disabled")},
            {{290, 176}, QStringLiteral("CBitmapEdit, digits only")},
        };
    }

private:
    static constexpr QRect kEditRect{290, 186, 60, 18};

    CListBoxEx* makeList(const QRect& r, int id) {
        auto* list = new CListBoxEx(r, this, id, programFolder());
        list->setItemHeight(18);
        list->setColours(Qt::black, colorRef(0x141414));
        list->setTextColours(colorRef(0x676153), colorRef(0xB98C15));
        return list;
    }
};

QImage onDark(const QImage& image, int margin) {
    QImage out(image.width() + 2 * margin, image.height() + 2 * margin, QImage::Format_RGB32);
    QPainter p(&out);
    skingen::drawPanel(p, out.rect(), false);
    p.drawImage(margin, margin, image);
    return out;
}

QImage grabbed(QWidget* w) { return w->grab().toImage(); }

QImage infoScreen(const QString& text, bool question, bool countdown, bool chinese, int ticks) {
    CDlgInfo box(text, question, countdown, chinese, nullptr);
    for (int i = 0; i < ticks; ++i) box.port()->send(msg::kTimer, CDlgInfo::kCountdownTimer, 0);
    if (question) hoverOver(box.okButton());
    return grabbed(&box);
}

QImage progressScreen(bool chinese, int percent) {
    CDlgProgress dialog(programFolder(), chinese);
    dialog.prepare();
    dialog.port()->send(msg::kApplyProgress, static_cast<uintptr_t>(percent), 0);
    dialog.port()->killTimer(CDlgProgress::kCloseTimer);
    return grabbed(&dialog);
}

QImage popupScreen(QWidget* owner) {
    auto* popup = CMenuExA::open(owner, QRect(400, 600, 42, 18));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 6 + 22 * 2 + 8), popup->mapToGlobal(QPointF(40, 60)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &move);
    const QImage frame = popup->render();
    popup->hide();
    popup->deleteLater();
    return onDark(frame, 12);
}

QImage trayMenuScreen(QWidget* parent) {
    CXPMenu* menu = trayMenu(parent);
    menu->popup(QPoint(200, 200));
    menu->setActiveAction(menu->actions().value(1));
    const QImage shot = onDark(grabbed(menu), 12);
    menu->close();
    menu->deleteLater();
    return shot;
}

QImage menuLibraryScreen(QWidget* owner, MessagePort* port) {
    MenuLibrary library;
    if (library.loadDefault(programFolder()) != MenuLibrary::Result::Loaded) {
        std::fprintf(stderr, "q30x-gallery: %s\n", qPrintable(library.error()));
        return {};
    }
    const char* groups[] = {"All games", "Shooters", "Strategy", "Role play", "Racing"};
    std::vector<MenuExItem> items;
    for (int i = 0; i < 5; ++i) {
        MenuExItem item{kMenuExTopLevel, i, {}};
        const std::u16string text = QString::fromLatin1(groups[i]).toStdU16String();
        std::copy(text.begin(), text.end(), item.text);
        items.push_back(item);
    }
    items.push_back({1, 100, {u'C', u'S', 0}});
    items.push_back({1, 101, {u'V', u'a', u'l', u'o', u'r', u'a', u'n', u't', 0}});
    std::vector<std::u16string> paths;
    for (int i : {0, 1, 2, 0, 3, 4, 5, 3})
        paths.push_back((programFolder() + "/skins/Menu/" + QString::fromLatin1(L::menu::kFiles[static_cast<size_t>(i)].data())).toStdU16String());
    const QPoint at = owner->mapToGlobal(QPoint(10, 10));
    library.create()(port, 24, {at.x(), at.y()}, 0x676153, 0xFFFFFF, 0xB98C15, paths[0].c_str(), paths[1].c_str(),
                     paths[2].c_str(), paths[3].c_str(), paths[4].c_str(), paths[5].c_str(), paths[6].c_str(),
                     paths[7].c_str(), items.data(), static_cast<int32_t>(items.size()));
    // Open the sub-menu of the second group, then put every open menu on
    // one picture at its place on the screen.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = dynamic_cast<QMenu*>(w); menu && menu->isVisible() && !menu->actions().isEmpty() &&
                                                  menu->actions().value(1) && menu->actions().value(1)->menu()) {
            menu->setActiveAction(menu->actions().value(1));
            menu->actions().value(1)->menu()->popup(menu->mapToGlobal(menu->actionGeometry(menu->actions().value(1)).topRight()));
        }
    QCoreApplication::processEvents();
    std::vector<QMenu*> open;
    QRect all;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = dynamic_cast<QMenu*>(w); menu && menu->isVisible()) {
            open.push_back(menu);
            all |= menu->geometry();
        }
    QImage shot(all.size(), QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    QPainter p(&shot);
    for (QMenu* menu : open) p.drawImage(menu->geometry().topLeft() - all.topLeft(), grabbed(menu));
    p.end();
    library.destroy()();
    return open.empty() ? QImage() : onDark(shot, 12);
}

// Where a page shown alone sends its hints and messages: nowhere.
struct Nowhere final : MessageTarget, UserMessages {
    void post(uint32_t, uintptr_t, intptr_t) override {}
    intptr_t send(uint32_t, uintptr_t, intptr_t) override { return 0; }
    void info(std::u16string_view) override {}
    void standard(std::u16string_view, std::u16string_view) override {}
};

// The build folder as program folder; for the Chinese coordinate set a
// folder in `scratch` whose skins/ is the build's skins-sc/, as an install
// of the Chinese skin has it.
Folders pageFolders(bool chineseSet, const QTemporaryDir& scratch) {
    Folders folders{executableFolder(), QDir::tempPath().toStdString()};
    if (chineseSet) {
        const QString build = programFolder();
        QFile::link(build + "/skins-sc", scratch.path() + "/skins");
        QFile::link(build + "/Language", scratch.path() + "/Language");
        folders.program = scratch.path().toStdString();
    }
    return folders;
}

// The main settings page in a language, on the skin set that language's
// coordinates belong to (skins-sc/ holds the Chinese one): two inputs
// changed, the back button's tab under the pointer and its marker lit, and
// with `oneScreen` the wheel on one screen, its field disabled.
QImage mainSetScreen(int32_t language, bool oneScreen) {
    Nowhere nowhere;
    QTemporaryDir chineseFolder;
    StandaloneState standalone(pageFolders(language == 1, chineseFolder), nowhere, nowhere, language);
    ProfileRecord& profile = standalone.settings.current;
    profile.buttons[3].functionType = 32;
    setFixedText(profile.buttons[3].label, u"Play/Pause");
    profile.buttons[6].functionType = 19;
    setFixedText(profile.buttons[6].label, u"/home/player/Music/Victory fanfare.ogg");
    profile.dpiLevels[6] = 0;  // six levels
    if (oneScreen) profile.wheelScrollLines = -1;
    CDlgMainSet page(standalone.state, nullptr);
    page.Refresh();
    page.show();
    hoverOver(page.dpiButton(1));
    QMouseEvent onTab(QEvent::MouseMove, QPointF(40, 16), page.tab(4)->mapToGlobal(QPointF(40, 16)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page.tab(4), &onTab);
    page.marker(4)->setCheckedState(1);
    return grabbed(&page);
}

// The lighting page in one coordinate set and language; `setUp` chooses
// the profile's lighting, and the pointer rests on a mode button.
QImage ledSetScreen(bool chineseSet, int32_t language, const std::function<void(ProfileRecord&)>& setUp,
                    int hoveredMode) {
    Nowhere nowhere;
    QTemporaryDir chineseFolder;
    auto standalone = std::make_unique<StandaloneState>(pageFolders(chineseSet, chineseFolder), nowhere, nowhere, language);
    standalone->language.chineseUi = chineseSet ? 1 : 0;  // the page picks its coordinate set from it
    setUp(standalone->settings.current);
    CDlgLEDSet page(standalone->state, nullptr);
    page.Refresh();
    page.show();
    hoverOver(page.modeButton(hoveredMode));
    QCoreApplication::processEvents();
    return grabbed(&page);
}

QImage iconsScreen() {
    QImage img(12 * 42 + 20, 120, QImage::Format_RGB32);
    QPainter p(&img);
    skingen::drawPanel(p, img.rect(), false);
    p.drawImage(12, 12, builtinImage(L::res::kAppIcon));
    p.drawImage(90, 20, builtinImage(L::res::kTrayConfig));
    p.drawImage(114, 20, builtinImage(L::res::kTrayExit));
    for (int i = 0; i < 12; ++i) {
        p.drawImage(12 + i * 42, 82, builtinImage(L::res::kFirstFlagBitmap + i));
        p.drawImage(20 + i * 42, 60, builtinImage(L::res::kFirstFlagIcon + i));
    }
    return img;
}

// A few macros in the Counter-Strike group, from slot 0.
void addCounterStrikeMacros(MacroLibrary& macros) {
    const char16_t* names[] = {u"Jump throw", u"Quick buy AK-47", u"Bomb drop", u"Burst fire x3", u"Crouch peek"};
    for (uint32_t k = 0; k < std::size(names); ++k) {
        MacroRecord& slot = macros.slots[k];
        slot.size = kMacroBaseSize + 8;
        slot.magic = kMacroMagic;
        slot.id = 3u << 24 | (k + 1);
        setFixedText(slot.name, names[k]);
    }
}

// The program's state as the assignment popup sees it, in language n, with
// a few macros in the Counter-Strike group, over the working folder `working`.
struct PopupWorld {
    explicit PopupWorld(int languageNumber, std::string working = QDir::tempPath().toStdString())
        : standalone({executableFolder(), std::move(working)}, nowhere, nowhere, languageNumber) {
        addCounterStrikeMacros(standalone.macros);
    }
    ProgramState& programState() { return standalone.state; }

    Nowhere nowhere;
    StandaloneState standalone;
};

// The popup for the right button on tab `page`, with a choice made there.
QImage settingScreen(int languageNumber, int page) {
    auto world = std::make_unique<PopupWorld>(languageNumber);  // 2 MB of macros: not on the stack
    CSettingDlg popup(world->programState(), 2, nullptr);
    popup.showPage(page);
    switch (page) {
    case 1:
        for (uintptr_t vk : {0xA2, 0xA0, 0x53}) popup.port()->send(msg::kHookInput, vk, 0);
        break;
    case 2:
        popup.macroPage()->gameList()->setSelection(2);
        popup.macroPage()->port()->send(msg::kListSelectionChanged, layout::setting::macro::kGamesId, 2);
        popup.macroPage()->macroList()->setSelection(1);
        break;
    case 3: popup.basePage()->list()->setSelection(22); break;
    case 4:
        popup.advancedPage()->setPathChooser([](int row) {
            return row == 0 ? QStringLiteral("/usr/share/sounds/freedesktop/stereo/complete.oga")
                            : QStringLiteral("/usr/bin/steam");
        });
        popup.advancedPage()->browse(1);
        popup.advancedPage()->browse(0);
        break;
    default: break;
    }
    hoverOver(popup.okButton());
    return grabbed(&popup);
}

// The statistics page in language n over a few months of counted use.
QImage stsScreen(int languageNumber) {
    QTemporaryDir working;
    auto world = std::make_unique<PopupWorld>(languageNumber, working.path().toStdString());
    const StatsBlock counted{812'345, 48'210, 201'877, 90'412, 85'003, 123'456'789};
    const ProgramState& state = world->programState();
    saveStatsFile(state.folders, state.messages, state.strings, counted, state.language.chineseUi);
    CDlgSts page(world->programState(), nullptr, nullptr);
    page.show();
    hoverOver(page.resetButton());
    return grabbed(&page);
}

// The thirteen trophy pictures side by side at a third of their size.
QImage trophiesScreen() {
    const QSize cell = QSize(L::sts::kTrophy.standard.width(), L::sts::kTrophy.standard.height()) / 3;
    QImage img(cell.width() * L::sts::kLampCount, cell.height(), QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int level = 0; level < L::sts::kLampCount; ++level)
        p.drawImage(QRect(QPoint(level * cell.width(), 0), cell), skingen::trophy(level));
    return img;
}

// The support page in language n with the mouse's firmware 12 known.
QImage supportScreen(int languageNumber) {
    struct NoLauncher final : ProgramLauncher {
        bool launch(const std::string&, const std::vector<std::string>&) override { return false; }
    } launcher;
    auto world = std::make_unique<PopupWorld>(languageNumber);
    CDlgSupport page(world->programState(), launcher, nullptr);
    page.setFirmwareVersionText(u"12");
    page.show();
    hoverOver(page.importButton());
    return grabbed(&page);
}

// What the macro page shows.
enum class MacroScene { Stored, Recording, Inserting, GameMenu };

// The macro page on the Counter-Strike group: a stored macro, one being
// recorded, a key being inserted, or the game menu open under its button.
QImage macroScreen(int languageNumber, MacroScene scene) {
    Nowhere nowhere;
    QTemporaryDir chineseFolder;
    const bool chinese = findLanguage(languageNumber)->chineseUi;
    auto standalone = std::make_unique<StandaloneState>(pageFolders(chinese, chineseFolder), nowhere, nowhere, languageNumber);
    ProgramState& state = standalone->state;
    addCounterStrikeMacros(state.macros);
    // Recorded delays need time that passes.
    FakeClock clock;
    MacroRecord& jump = state.macros.slots[0];
    const std::vector<MacroEvent> events = {
        macroEvent(kEventKeyDown, 0x20), macroEvent(kEventDelay, 40),  macroEvent(kEventKeyDown, 0xA2),
        macroEvent(kEventDelay, 120),    macroEvent(kEventKeyDown, 1), macroEvent(kEventDelay, 35),
        macroEvent(kEventKeyUp, 1),      macroEvent(kEventKeyUp, 0xA2), macroEvent(kEventKeyUp, 0x20),
    };
    std::copy(events.begin(), events.end(), jump.events);
    jump.eventCount = static_cast<uint32_t>(events.size());
    jump.loopCount = 3;
    QWidget window;
    window.resize(layout::kPageSize.width, layout::kPageSize.height);
    CDlgMacro page(state, clock, &window);
    page.move(0, 0);
    window.show();
    page.fillLists();
    page.port()->send(msg::kMenuChoice, 0, 3);
    page.macroList()->setSelection(0);
    page.port()->send(msg::kListSelectionChanged, layout::macropage::kMacroListId, 0);
    switch (scene) {
    case MacroScene::Stored: page.eventList()->setSelection(3); break;
    case MacroScene::Recording:
        page.toggleRecording();
        for (const auto& [after, vk, flags] : std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>>{
                 {0, 0x57, 0}, {180, 0xA0, 0}, {60, 0x57, 0x80}, {640, 0xA0, 0x80}, {95, 0x51, 0}}) {
            clock.advance(after);
            page.port()->send(msg::kHookInput, vk, flags);
        }
        break;
    case MacroScene::Inserting:
        page.eventList()->setSelection(2);
        page.port()->send(msg::kListSelectionChanged, layout::macropage::kEventListId, 2);
        page.insertButton()->click();
        page.keyOption()->click();
        page.port()->send(msg::kHookInput, 0x52, 0);
        break;
    case MacroScene::GameMenu: {
        page.openGameMenu();
        QCoreApplication::processEvents();
        QImage shot = grabbed(&window);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* menu = dynamic_cast<QMenu*>(w); menu && menu->isVisible()) {
                menu->setActiveAction(menu->actions().value(2));
                QPainter p(&shot);
                p.drawImage(window.mapFromGlobal(menu->geometry().topLeft()), grabbed(menu));
            }
        page.closeGameMenu();
        return shot;
    }
    }
    hoverOver(page.recordButton());
    QCoreApplication::processEvents();
    return grabbed(&window);
}

int writeScreens(const QString& dir) {
    if (!QDir().mkpath(dir)) return 1;
    ControlsPage page;
    page.show();
    page.showStates();
    ListsPage lists;
    lists.show();
    QCoreApplication::processEvents();
    const QString longText = QStringLiteral(
        "The mouse was not found. Check that it is plugged in, then start the configuration again; this "
        "message is long on purpose and wraps below its rectangle.");
    const std::vector<std::pair<QString, std::function<QImage()>>> screens = {
        {"controls", [&] { return grabbed(&page); }},
        {"list_box", [&] { return grabbed(&lists); }},
        {"info_ok", [] { return infoScreen(QStringLiteral("Profile saved."), false, false, false, 0); }},
        {"info_question", [] { return infoScreen(QStringLiteral("Reset all statistics?"), true, false, false, 0); }},
        {"info_countdown", [] { return infoScreen(QStringLiteral("Mouse unplugged."), false, true, false, 3); }},
        {"info_long", [&] { return infoScreen(longText, false, false, false, 0); }},
        {"info_chinese", [] { return infoScreen(QStringLiteral("是否重置统计数据？"), true, false, true, 0); }},
        {"progress", [] { return progressScreen(false, 42); }},
        {"progress_chinese", [] { return progressScreen(true, 100); }},
        {"language_popup", [&] { return popupScreen(&page); }},
        {"tray_menu", [&] { return trayMenuScreen(&page); }},
        {"menu_library", [&] { return menuLibraryScreen(&page, MessagePort::of(&page)); }},
        {"icons", [] { return iconsScreen(); }},
        {"setting_combo", [] { return settingScreen(2, 1); }},
        {"setting_macro", [] { return settingScreen(2, 2); }},
        {"setting_basic", [] { return settingScreen(2, 3); }},
        {"setting_advanced", [] { return settingScreen(2, 4); }},
        {"setting_chinese", [] { return settingScreen(1, 1); }},
        {"setting_german", [] { return settingScreen(5, 4); }},
        {"macro_page", [] { return macroScreen(2, MacroScene::Stored); }},
        {"macro_recording", [] { return macroScreen(2, MacroScene::Recording); }},
        {"macro_inserting", [] { return macroScreen(2, MacroScene::Inserting); }},
        {"macro_chinese", [] { return macroScreen(1, MacroScene::Inserting); }},
        {"macro_german", [] { return macroScreen(5, MacroScene::Stored); }},
        {"macro_ukrainian", [] { return macroScreen(11, MacroScene::Inserting); }},
        {"macro_dutch", [] { return macroScreen(8, MacroScene::Recording); }},
        {"macro_game_menu", [] { return macroScreen(2, MacroScene::GameMenu); }},
        {"main_set", [] { return mainSetScreen(2, false); }},
        {"main_set_chinese", [] { return mainSetScreen(1, false); }},
        {"main_set_german", [] { return mainSetScreen(5, true); }},
        {"main_set_russian", [] { return mainSetScreen(10, false); }},
        {"ledset_steady", [] {
             return ledSetScreen(false, 2, [](ProfileRecord& r) {
                 r.lightingMode = 1;
                 r.ledColour[3] = led::kPresets[5];
                 r.ledColourPreset[3] = 5;
                 r.ledColourIsCustom[3] = 0;
             }, 3);
         }},
        {"ledset_cycle_german", [] {
             return ledSetScreen(false, 5, [](ProfileRecord& r) {
                 r.lightingMode = 5;
                 r.symphonyCustom = 1;
                 r.ledColour[0] = 0x3020E0;
                 r.ledColour[1] = 0xE08020;
                 r.ledColour[2] = 0x20E060;
             }, 6);
         }},
        {"ledset_chinese", [] {
             return ledSetScreen(true, 1, [](ProfileRecord& r) { r.lightingMode = 2; }, 4);
         }},
        {"ledset_chinese_set_english", [] {
             return ledSetScreen(true, 2, [](ProfileRecord& r) { r.lightingMode = 5; }, 1);
         }},
        {"sts", [] { return stsScreen(2); }},
        {"sts_chinese", [] { return stsScreen(1); }},
        {"sts_russian", [] { return stsScreen(10); }},
        {"trophies", [] { return trophiesScreen(); }},
        {"support", [] { return supportScreen(2); }},
        {"support_chinese", [] { return supportScreen(1); }},
        {"support_german", [] { return supportScreen(5); }},
    };
    int failed = 0;
    for (const auto& [name, shoot] : screens) {
        const QImage image = shoot();
        const QString path = dir + "/" + name + ".png";
        if (image.isNull() || !image.save(path)) {
            std::fprintf(stderr, "q30x-gallery: %s not written\n", qPrintable(path));
            ++failed;
        }
    }
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Writing screenshots needs no display.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--screens" && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutes();
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--screens"));
    if (at >= 0) {
        if (at + 1 >= args.size()) {
            std::fprintf(stderr, "usage: q30x-gallery [--screens DIR]\n");
            return 2;
        }
        return writeScreens(args[at + 1]);
    }
    ControlsPage page;
    page.setWindowTitle(QStringLiteral("q30x-gallery"));
    page.addLaunchers();
    page.show();
    ListsPage lists;
    lists.setWindowTitle(QStringLiteral("q30x-gallery: lists"));
    lists.show();
    return app.exec();
}
