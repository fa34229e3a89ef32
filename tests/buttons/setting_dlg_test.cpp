#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "buttons/setting_dlg.h"
#include "buttons/setting_pages.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "support/program_world.h"
#include "support/recording_target.h"
#include "support/temp_folder.h"
#include "tests/support/program_world.h"

namespace q30x {
namespace {

namespace ls = layout::setting;
using Modifier = CSetting_SingleComboDlg::Modifier;

constexpr uint32_t kRelease = 0x80;
constexpr int kRight = 2, kLeft = 0, kMiddle = 1, kWheelForward = 5, kWheelBackward = 6;
constexpr int kSnipeRow = 22;

std::array<uint8_t, 4> bytesOf(int32_t code) {
    const auto u = static_cast<uint32_t>(code);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
}

// The process-wide state the popup is given, with the hooks installed on a
// main window that records what reaches it. Key statistics are on, so a key
// that reaches the main window shows there as 2027.
class SettingDlgTest : public ::testing::Test, protected test::ProgramWorld {
protected:
    SettingDlgTest() : ProgramWorld(Q30X_TEST_LIBDIR) {}
    void SetUp() override {
        fillProfileDefaults(settings.current, 0);
        ASSERT_TRUE(hooks.installHooks(&mainWindow));
        hooks.setStatistics(1, 0);
    }

    std::unique_ptr<CSettingDlg> open(int input) {
        auto popup = std::make_unique<CSettingDlg>(state, input, nullptr);
        popup->show();
        return popup;
    }
    // A key as the keyboard hook sees it; its 1034 reaches whichever window
    // the hook points at.
    void key(uint32_t virtualKey, uint32_t flags = 0) {
        hooks.keyboardHook({virtualKey, flags});
        QCoreApplication::sendPostedEvents();
    }
    void tap(uint32_t virtualKey) {
        key(virtualKey);
        key(virtualKey, kRelease);
    }
    bool mainWindowSawKeys() {
        for (const auto& m : mainWindow.messages())
            if (m.message == msg::kInputEvent) return true;
        return false;
    }
    void addMacro(int slot, uint32_t id, std::u16string_view name) {
        MacroRecord& r = macros->slots[slot];
        r.size = kMacroBaseSize + 4;
        r.magic = kMacroMagic;
        r.id = id;
        setFixedText(r.name, name);
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2)); }
    static void clickRow(CListBoxEx* list, int row) {
        list->verticalScrollBar()->setValue(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(row).center());
        QCoreApplication::sendPostedEvents();
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (const auto& m : messages.shown) texts.push_back(m.text);
        return texts;
    }
};

TEST_F(SettingDlgTest, KeyCombinationsGiveTheirComboCode) {
    struct Case {
        const char* name;
        std::vector<Modifier> ticked;  // boxes clicked
        std::vector<uint32_t> keys;    // tapped on the keyboard
        std::array<uint8_t, 4> code;
    };
    const Case cases[] = {
        {"Ctrl and Shift with S", {Modifier::kCtrl, Modifier::kShift}, {0x53}, {0x00, 0x03, 0x16, 0x00}},
        {"boxes ticked in another order", {Modifier::kShift, Modifier::kCtrl}, {0x53}, {0x00, 0x03, 0x16, 0x00}},
        {"Alt alone is Left Alt", {Modifier::kAlt}, {}, {0x00, 0x00, 0xE2, 0x00}},
        {"Win alone is Left GUI", {Modifier::kWin}, {}, {0x00, 0x00, 0xE3, 0x00}},
        {"F5 alone", {}, {0x74}, {0x00, 0x00, 0x3E, 0x00}},
        {"the last key pressed counts", {}, {0x41, 0x74}, {0x00, 0x00, 0x3E, 0x00}},
        {"all four boxes with A", {Modifier::kCtrl, Modifier::kAlt, Modifier::kShift, Modifier::kWin}, {0x41},
         {0x00, 0x0F, 0x04, 0x00}},
    };
    for (const Case& c : cases) {
        auto popup = open(kRight);
        for (Modifier m : c.ticked) click(popup->comboPage()->modifierBox(m));
        for (uint32_t vk : c.keys) tap(vk);
        click(popup->okButton());
        EXPECT_EQ(popup->result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(bytesOf(popup->assignResult().code), c.code) << c.name;
        EXPECT_EQ(popup->assignResult().category, kCategoryCombination) << c.name;
    }
}

TEST_F(SettingDlgTest, KeypadEnterIsStoredAsEnter) {
    auto popup = open(kRight);
    key(0x0D, 0x01);  // keypad Enter: the extended Enter key
    EXPECT_EQ(popup->comboPage()->keyText(), "Enter");
    click(popup->okButton());
    EXPECT_EQ(bytesOf(popup->assignResult().code), (std::array<uint8_t, 4>{0x00, 0x00, 0x28, 0x00}));
    EXPECT_EQ(popup->commit(), AssignOutcome::Stored);
    EXPECT_EQ(fixedText(settings.current.buttons[kRight].label), u"Enter");
    EXPECT_EQ(settings.current.buttons[kRight].functionType, kCategoryCombination);
}

TEST_F(SettingDlgTest, CombinationsThatNameNothingEndLikeCancel) {
    struct Case {
        const char* name;
        std::vector<Modifier> ticked;
        std::vector<uint32_t> keys;
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"two boxes without a key", {Modifier::kCtrl, Modifier::kShift}, {}},
        {"a key the mouse cannot play (F13)", {}, {0x7C}},
    };
    for (const Case& c : cases) {
        auto popup = open(kRight);
        for (Modifier m : c.ticked) click(popup->comboPage()->modifierBox(m));
        for (uint32_t vk : c.keys) tap(vk);
        click(popup->okButton());
        EXPECT_EQ(popup->result(), QDialog::Rejected) << c.name;
        EXPECT_EQ(popup->commit(), AssignOutcome::NothingChosen) << c.name;
        EXPECT_EQ(settings.current.buttons[kRight].functionType, 2) << c.name;
    }
}

TEST_F(SettingDlgTest, ModifierKeysToggleTheirBoxOnThePressOnly) {
    struct Case {
        const char* name;
        std::vector<std::pair<uint32_t, uint32_t>> events;  // virtual key, flags
        Modifier box;
        int ticked;
    };
    const Case cases[] = {
        {"Ctrl pressed", {{0xA2, 0}}, Modifier::kCtrl, 1},
        {"Ctrl pressed and released", {{0xA2, 0}, {0xA2, kRelease}}, Modifier::kCtrl, 1},
        {"Ctrl pressed twice", {{0xA2, 0}, {0xA2, kRelease}, {0xA2, 0}, {0xA2, kRelease}}, Modifier::kCtrl, 0},
        {"only a release", {{0xA2, kRelease}}, Modifier::kCtrl, 0},
        {"right Ctrl, extended", {{0xA3, 0x01}}, Modifier::kCtrl, 1},
        {"Alt held flag", {{0xA4, 0x20}}, Modifier::kAlt, 1},
        {"generic Shift", {{0x10, 0}}, Modifier::kShift, 1},
        {"right Windows key", {{0x5C, 0x01}}, Modifier::kWin, 1},
    };
    for (const Case& c : cases) {
        auto popup = open(kRight);
        for (const auto& [vk, flags] : c.events) key(vk, flags);
        EXPECT_EQ(popup->comboPage()->modifierBox(c.box)->checkedState(), c.ticked) << c.name;
        EXPECT_EQ(popup->comboPage()->capturedKey(), 0u) << c.name;
    }
}

TEST_F(SettingDlgTest, AReleaseDoesNotReplaceTheCapturedKey) {
    auto popup = open(kRight);
    key(0x41);
    key(0x42);
    key(0x41, kRelease);
    EXPECT_EQ(popup->comboPage()->capturedKey(), 0x42u);
    EXPECT_EQ(popup->comboPage()->keyText(), "B");
}

TEST_F(SettingDlgTest, BasicRowsGiveTheirFunctionTypeWithCategoryZero) {
    struct Case {
        int row;
        int32_t type;
        std::u16string_view label;
    };
    const Case cases[] = {{kSnipeRow, 142, u"SNIPE"}, {23, 143, u"FIRE"}, {0, 81, u"Close window"}, {14, 40, u"Music"}};
    for (const Case& c : cases) {
        auto popup = open(kRight);
        popup->showPage(3);
        clickRow(popup->basePage()->list(), c.row);
        click(popup->okButton());
        EXPECT_EQ(popup->result(), QDialog::Accepted) << c.row;
        EXPECT_EQ(popup->assignResult().code, c.type) << c.row;
        EXPECT_EQ(popup->assignResult().category, kCategoryBasic) << c.row;
        EXPECT_EQ(popup->commit(), AssignOutcome::Stored) << c.row;
        EXPECT_EQ(settings.current.buttons[kRight].functionType, c.type) << c.row;
        EXPECT_EQ(fixedText(settings.current.buttons[kRight].label), c.label) << c.row;
    }
}

TEST_F(SettingDlgTest, BasicPageWithoutASelectionGivesNothing) {
    auto popup = open(kRight);
    popup->showPage(3);
    click(popup->okButton());
    EXPECT_EQ(popup->result(), QDialog::Rejected);
    EXPECT_EQ(popup->assignResult().code, 0);
}

TEST_F(SettingDlgTest, TheDisableBoxAlwaysGivesSevenAndCategory121) {
    for (int page = 1; page <= CSettingDlg::kPages; ++page) {
        auto popup = open(kRight);
        popup->showPage(page);
        if (page == 1) tap(0x41);
        if (page == 3) clickRow(popup->basePage()->list(), kSnipeRow);
        click(popup->disableBox());
        for (int p = 1; p <= CSettingDlg::kPages; ++p) {
            EXPECT_FALSE(popup->page(p)->isVisible()) << page;
            EXPECT_EQ(popup->tab(p)->checkedState(), 0) << page;
        }
        click(popup->okButton());
        EXPECT_EQ(popup->result(), QDialog::Accepted) << page;
        EXPECT_EQ(popup->assignResult().code, 7) << page;
        EXPECT_EQ(popup->assignResult().category, kCategoryDisabled) << page;
    }
    auto popup = open(kRight);
    click(popup->disableBox());
    click(popup->okButton());
    EXPECT_EQ(popup->commit(), AssignOutcome::Stored);
    EXPECT_EQ(settings.current.buttons[kRight].functionType, 121);
    EXPECT_EQ(fixedText(settings.current.buttons[kRight].label), u"Disable key");
}

TEST_F(SettingDlgTest, UntickingTheDisableBoxBringsBackTheKeyCombinationPage) {
    auto popup = open(kRight);
    popup->showPage(4);
    click(popup->disableBox());
    click(popup->tab(3));
    EXPECT_FALSE(popup->page(3)->isVisible());
    click(popup->disableBox());
    EXPECT_TRUE(popup->page(1)->isVisible());
    EXPECT_EQ(popup->tab(1)->checkedState(), 1);
    EXPECT_TRUE(popup->capturingKeys());
}

TEST_F(SettingDlgTest, DefaultGivesTheInputsDefaultType) {
    struct Case {
        int input;
        int32_t type;
    };
    for (const Case& c : {Case{kWheelBackward, 22}, Case{kWheelForward, 11}, Case{kLeft, 1}, Case{kMiddle, 4}, Case{4, 16}}) {
        auto popup = open(c.input);
        click(popup->defaultButton());
        EXPECT_EQ(popup->result(), QDialog::Accepted) << c.input;
        EXPECT_EQ(popup->assignResult().code, c.type) << c.input;
        EXPECT_EQ(popup->assignResult().category, kCategoryBasic) << c.input;
    }
}

TEST_F(SettingDlgTest, AdvancedRowsNeedAPath) {
    auto popup = open(kRight);
    popup->showPage(4);
    CSetting_AdvanceDlg* page = popup->advancedPage();
    click(page->radio(2));
    click(popup->okButton());
    EXPECT_EQ(popup->result(), QDialog::Rejected);
    EXPECT_EQ(popup->assignResult().code, 0);
}

TEST_F(SettingDlgTest, AdvancedRowsGiveTheirActionAndPath) {
    const char* paths[] = {"/usr/share/sounds/alarm.oga", "/usr/bin/steam", "/home/me/notes.txt", "/home/me/Videos"};
    for (int row = 0; row < CSetting_AdvanceDlg::kRows; ++row) {
        auto popup = open(kRight);
        popup->showPage(4);
        CSetting_AdvanceDlg* page = popup->advancedPage();
        page->setPathChooser([&](int asked) { return QString::fromUtf8(paths[asked]); });
        click(page->browseButton(row));
        for (int r = 0; r < CSetting_AdvanceDlg::kRows; ++r) EXPECT_EQ(page->radio(r)->checkedState(), r == row ? 1 : 0);
        click(popup->okButton());
        const AssignResult& result = popup->assignResult();
        EXPECT_EQ(result.code, ((0xC + row) << 20) + (kRight << 16) + 6) << row;
        EXPECT_EQ(result.category, kCategoryAdvanced) << row;
        EXPECT_EQ(result.actionIndex, row);
        EXPECT_EQ(QString::fromStdU16String(std::u16string(fixedText(result.actionPath))), paths[row]);
        EXPECT_EQ(popup->commit(), AssignOutcome::Stored);
        EXPECT_EQ(settings.current.buttons[kRight].advancedKind, 0xC0 + 0x10 * row);
    }
}

TEST_F(SettingDlgTest, BrowsingKeepsTheFieldWhenCancelledOrTooLong) {
    auto popup = open(kRight);
    CSetting_AdvanceDlg* page = popup->advancedPage();
    QString answer = QStringLiteral("/usr/bin/steam");
    page->setPathChooser([&](int) { return answer; });
    page->browse(1);
    answer.clear();
    page->browse(1);
    EXPECT_EQ(page->pathField(1)->caption(), "/usr/bin/steam");
    answer = QStringLiteral("/") + QString(259, QLatin1Char('a'));
    page->browse(1);
    EXPECT_EQ(page->pathField(1)->caption(), "/usr/bin/steam");
    EXPECT_EQ(shown(), std::vector<std::string>{"The path is too long; at most 259 characters are allowed!"});
}

TEST_F(SettingDlgTest, TheMacroListHoldsTheChosenGamesMacros) {
    addMacro(0, 0x03000001, u"Jump throw");
    addMacro(1, 0x05000001, u"Other game");
    addMacro(2, 0x03000002, u"Bomb drop");
    auto popup = open(kRight);
    popup->showPage(2);
    CSetting_MacroDlg* page = popup->macroPage();
    ASSERT_EQ(page->gameList()->count(), 21);
    EXPECT_EQ(page->gameList()->text(20), "Customisze");
    EXPECT_EQ(page->macroList()->count(), 0);
    clickRow(page->gameList(), 2);
    ASSERT_EQ(page->macroList()->count(), 2);
    EXPECT_EQ(page->macroList()->text(1), "Bomb drop");
    EXPECT_EQ(page->macroList()->itemData(1), 0x03000002u);
    click(popup->okButton());
    EXPECT_EQ(popup->result(), QDialog::Rejected);  // no macro row chosen yet

    auto again = open(kRight);
    again->showPage(2);
    clickRow(again->macroPage()->gameList(), 2);
    clickRow(again->macroPage()->macroList(), 1);
    click(again->okButton());
    EXPECT_EQ(again->assignResult().category, kCategoryMacro);
    EXPECT_EQ(again->assignResult().code, 0x03000002);
    EXPECT_EQ(again->commit(), AssignOutcome::Stored);
    EXPECT_EQ(settings.macroRefs[kRight], 0x03000002);
    EXPECT_EQ(fixedText(settings.current.buttons[kRight].label), u"Bomb drop");
}

TEST_F(SettingDlgTest, TheGameListSpeaksTheInterfaceLanguage) {
    language.chineseUi = 1;
    auto popup = open(kRight);
    EXPECT_EQ(popup->macroPage()->gameList()->text(0), QStringLiteral("战地 3"));
    EXPECT_EQ(popup->macroPage()->gameList()->text(12), QStringLiteral("远古遗迹守卫2（Dota 2） "));
}

TEST_F(SettingDlgTest, RefusalsAreShownAndChangeNothing) {
    struct Case {
        const char* name;
        int input;
        int basicRow;   // -1: the advanced sound row
        bool middleClicks;
        std::string message;
    };
    const Case cases[] = {
        {"the last left click", kLeft, 10, false, "At least one button must be configured as 'Left click'!"},
        {"sniper on wheel forward", kWheelForward, kSnipeRow, false, "This key can not use the sniper function!"},
        {"sniper on wheel backward", kWheelBackward, kSnipeRow, false, "This key can not use the sniper function!"},
        {"a host action on the left key", kLeft, -1, true, "The Left key can not use an advanced function!"},
    };
    for (const Case& c : cases) {
        fillProfileDefaults(settings.current, 0);
        if (c.middleClicks) settings.current.buttons[kMiddle].functionType = 1;
        const ProfileRecord before = settings.current;
        messages.shown.clear();
        auto popup = open(c.input);
        if (c.basicRow >= 0) {
            popup->showPage(3);
            clickRow(popup->basePage()->list(), c.basicRow);
        } else {
            popup->showPage(4);
            popup->advancedPage()->setPathChooser([](int) { return QStringLiteral("/usr/share/sounds/a.oga"); });
            popup->advancedPage()->browse(0);
        }
        click(popup->okButton());
        ASSERT_EQ(popup->result(), QDialog::Accepted) << c.name;
        EXPECT_NE(popup->commit(), AssignOutcome::Stored) << c.name;
        EXPECT_EQ(shown(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(std::memcmp(&before, &settings.current, sizeof before), 0) << c.name;
    }
}

TEST_F(SettingDlgTest, KeyCaptureFollowsTheKeyCombinationPage) {
    auto popup = open(kRight);
    EXPECT_TRUE(popup->capturingKeys());
    tap(0x41);
    EXPECT_EQ(popup->comboPage()->capturedKey(), 0x41u);
    EXPECT_FALSE(mainWindowSawKeys());
    for (int page : {2, 3, 4}) {
        popup->showPage(page);
        mainWindow.clear();
        tap(0x42);
        EXPECT_TRUE(mainWindowSawKeys()) << page;
        EXPECT_EQ(popup->comboPage()->capturedKey(), 0x41u) << page;
    }
    click(popup->tab(1));
    mainWindow.clear();
    tap(0x43);
    EXPECT_EQ(popup->comboPage()->capturedKey(), 0x43u);
    EXPECT_FALSE(mainWindowSawKeys());
}

TEST_F(SettingDlgTest, KeyCaptureIsHandedBackWhenThePopupEnds) {
    const std::vector<std::pair<const char*, std::function<void(CSettingDlg&)>>> ends = {
        {"OK", [](CSettingDlg& d) { click(d.okButton()); }},
        {"close", [](CSettingDlg& d) { click(d.closeButton()); }},
        {"Default", [](CSettingDlg& d) { click(d.defaultButton()); }},
        {"window closed", [](CSettingDlg& d) { d.close(); }},
        {"disable box ticked", [](CSettingDlg& d) { click(d.disableBox()); }},
    };
    for (const auto& [name, end] : ends) {
        auto popup = open(kRight);
        end(*popup);
        EXPECT_FALSE(popup->capturingKeys()) << name;
        mainWindow.clear();
        tap(0x44);
        EXPECT_TRUE(mainWindowSawKeys()) << name;
        EXPECT_EQ(popup->comboPage()->capturedKey(), 0u) << name;
    }
    open(kRight).reset();  // destroyed while page 1 shows
    mainWindow.clear();
    tap(0x45);
    EXPECT_TRUE(mainWindowSawKeys());
}

TEST_F(SettingDlgTest, TheKeyboardNeitherConfirmsNorCancels) {
    auto popup = open(kRight);
    for (Qt::Key k : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(popup.get(), k);
        EXPECT_TRUE(popup->isVisible()) << k;
    }
}

TEST_F(SettingDlgTest, LabelsComeFromTheCatalogue) {
    for (std::size_t i = 0; i < kCatalogueKeys.size(); ++i)
        strings.setEntry(i, u"<" + QString::fromLatin1(kCatalogueKeys[i].data(), static_cast<qsizetype>(kCatalogueKeys[i].size())).toStdU16String() + u">");
    strings.setEntry(catalogueIndex("str_fire"), u"");
    auto popup = open(kRight);
    EXPECT_EQ(popup->tab(1)->caption(), "<str_key_com>");
    EXPECT_EQ(popup->tab(4)->caption(), "<str_advance>");
    EXPECT_EQ(popup->okButton()->caption(), "<str_ok>");
    EXPECT_EQ(popup->defaultButton()->caption(), "<str_default_setting>");
    EXPECT_EQ(popup->advancedPage()->browseButton(3)->caption(), "<str_browse>");
    EXPECT_EQ(popup->basePage()->list()->text(kSnipeRow), "<str_snipe>");
    EXPECT_EQ(popup->basePage()->list()->text(23), "FIRE");  // a file without the key
    EXPECT_EQ(popup->currentText(), "<str_cur_function>Menu");
}

TEST_F(SettingDlgTest, BadInputNeverBreaksThePopup) {
    // A label that fills its array without a terminator, an unknown type.
    std::fill(std::begin(settings.current.buttons[kRight].label), std::end(settings.current.buttons[kRight].label), u'x');
    settings.current.buttons[kRight].functionType = 9999;
    auto popup = open(kRight);
    EXPECT_EQ(popup->currentText(), QString(static_cast<qsizetype>(kPathUnits), QLatin1Char('x')));
    const ProfileRecord before = settings.current;
    for (int input : {-1, 7, 100}) {
        auto outside = open(input);
        EXPECT_EQ(outside->currentText(), QString());
        click(outside->defaultButton());
        EXPECT_EQ(outside->result(), QDialog::Rejected) << input;
        auto chosen = open(input);
        chosen->showPage(3);
        clickRow(chosen->basePage()->list(), kSnipeRow);
        click(chosen->okButton());
        EXPECT_EQ(chosen->commit(), AssignOutcome::NotAnInput) << input;
    }
    EXPECT_EQ(std::memcmp(&before, &settings.current, sizeof before), 0);
}

TEST_F(SettingDlgTest, ThePopupIsCentredOverItsParentWindow) {
    QWidget parent;
    parent.setGeometry(100, 50, 960, 650);
    QWidget page(&parent);
    CSettingDlg popup(state, kRight, &page);
    EXPECT_EQ(popup.size(), QSize(ls::kSize.width, ls::kSize.height));
    EXPECT_EQ(popup.pos(), QPoint(100 + (960 - 412) / 2, 50 + (650 - 300) / 2));
}

TEST(SettingArt, EveryPopupSkinHasItsWindowsSizeInBothSets) {
    struct Case {
        std::array<std::string_view, 3> files;
        layout::Size size;
    };
    const Case cases[] = {
        {ls::kFiles, ls::kSize},           {ls::combo::kFiles, ls::kPageSize}, {ls::macro::kFiles, ls::kPageSize},
        {ls::base::kFiles, ls::kPageSize}, {ls::advanced::kFiles, ls::kPageSize},
    };
    for (const char* set : {"skins", "skins-sc"})
        for (const Case& c : cases)
            for (std::string_view file : c.files) {
                const QString path = QString::fromLatin1(set) + "/" + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size()));
                EXPECT_EQ(loadSkinImage(QStringLiteral(Q30X_TEST_LIBDIR), path).size(), QSize(c.size.width, c.size.height))
                    << path.toStdString();
            }
}

}  // namespace
}  // namespace q30x
