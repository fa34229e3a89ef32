#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "macros/dlg_macro.h"
#include "macros/game_presets.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "support/program_world.h"
#include "support/recording_target.h"
#include "support/temp_folder.h"

namespace q30x {
namespace {

constexpr uint32_t kA = 0x41, kB = 0x42, kRCtrl = 0xA3;
constexpr uint32_t kUp = 0x80;
constexpr uint32_t kCustomId = 21u << 24;

uint32_t down(uint32_t vk) { return kRowKeyDown << 24 | vk; }
uint32_t up(uint32_t vk) { return kRowKeyUp << 24 | vk; }
uint32_t delay(uint32_t ms) { return kRowDelay << 24 | ms; }

// A step of a recording: the time that passes first, then one key event.
struct Key {
    uint32_t afterMs;
    uint32_t vk;
    uint32_t flags;
};

class MacroPageTest : public ::testing::Test, protected test::ProgramWorld {
protected:
    void SetUp() override {
        fillProfileDefaults(settings.current, 0);
        ASSERT_TRUE(hooks.installHooks(&mainWindow));
        // The filter outlives each recording by design; each test starts from
        // a key no test presses.
        processRepeatFilter() = RepeatFilter{};
        ASSERT_EQ(writeFileAtomic(macroFile(), std::span<const uint8_t>(std::vector<uint8_t>(sizeof(MacroLibrary))),
                                  FileAccess::Private),
                  FileError::None);
    }

    std::string macroFile() const { return macroStore.filePath(); }

    std::unique_ptr<CDlgMacro> open() {
        auto page = std::make_unique<CDlgMacro>(state, clock, nullptr);
        page->show();
        page->fillLists();
        return page;
    }
    MacroRecord& addMacro(int slot, uint32_t id, std::u16string_view name, std::vector<MacroEvent> events = {}) {
        MacroRecord& r = macros->slots[slot];
        r.size = kMacroBaseSize + 4 * static_cast<uint32_t>(std::max<std::size_t>(events.size(), 1));
        r.magic = kMacroMagic;
        r.id = id;
        r.loopCount = 1;
        r.eventCount = static_cast<uint32_t>(events.size());
        std::copy(events.begin(), events.end(), r.events);
        setFixedText(r.name, name);
        return r;
    }
    void key(uint32_t vk, uint32_t flags = 0) {
        hooks.keyboardHook({vk, flags});
        QCoreApplication::sendPostedEvents();
    }
    void play(const std::vector<Key>& keys) {
        for (const Key& k : keys) {
            clock.advance(k.afterMs);
            key(k.vk, k.flags);
        }
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2)); }
    static void selectRow(CListBoxEx* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(row).center());
        QCoreApplication::sendPostedEvents();
    }
    static std::vector<uint32_t> data(const CListBoxEx* list) {
        std::vector<uint32_t> d;
        for (int i = 0; i < list->count(); ++i) d.push_back(*list->itemData(i));
        return d;
    }
    static std::vector<std::string> texts(const CListBoxEx* list) {
        std::vector<std::string> t;
        for (int i = 0; i < list->count(); ++i) t.push_back(list->text(i).toStdString());
        return t;
    }
    std::vector<MacroEvent> stored(uint32_t id) const {
        const MacroRecord* r = findById(*macros, id);
        return r ? std::vector<MacroEvent>(r->events, r->events + storedEventCount(*r)) : std::vector<MacroEvent>{};
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> t;
        for (const auto& m : messages.shown) t.push_back(m.text);
        return t;
    }
    std::vector<int> hints() const {
        std::vector<int> h;
        for (const auto& m : mainWindow.messages())
            if (m.message == msg::kShowHint) h.push_back(static_cast<int>(m.lParam));
        return h;
    }
    // Insert, key option, the key on the keyboard, key confirm.
    void insertKey(CDlgMacro& page, uint32_t vk) {
        click(page.insertButton());
        click(page.keyOption());
        key(vk);
        key(vk, kUp);
        click(page.keyConfirm());
    }
    void insertDelay(CDlgMacro& page, const char* ms) {
        click(page.insertButton());
        click(page.delayOption());
        page.delayField()->setText(QString::fromLatin1(ms));
        click(page.delayConfirm());
    }
};

TEST_F(MacroPageTest, RecordingTurnsKeysIntoRowsWithTheirDelays) {
    struct Case {
        const char* name;
        bool noDelay;
        std::vector<Key> keys;
        std::vector<uint32_t> rows;
    };
    const Case cases[] = {
        {"a key held two seconds repeats its key-down, which counts once",
         false,
         {{0, kA, 0}, {500, kA, 0}, {500, kA, 0}, {500, kA, 0}, {500, kA, kUp}},
         {down(kA), delay(2000), up(kA)}},
        {"A, A, A",
         false,
         {{0, kA, 0}, {120, kA, kUp}, {80, kA, 0}},
         {down(kA), delay(120), up(kA), delay(80), down(kA)}},
        {"the first event has no delay before it however late it comes",
         false,
         {{9000, kB, 0}, {30, kB, kUp}},
         {down(kB), delay(30), up(kB)}},
        {"the no-delay switch records key rows only",
         true,
         {{0, kA, 0}, {120, kA, kUp}, {80, kB, 0}, {50, kB, kUp}},
         {down(kA), up(kA), down(kB), up(kB)}},
        {"Right Ctrl is told from Left Ctrl", false, {{0, kRCtrl, 0}, {60, kRCtrl, kUp}}, {down(kRCtrl), delay(60), up(kRCtrl)}},
        {"mouse event codes that reach the page are no keys", false, {{0, 0x201, 0}, {10, 0x1020B, 0}, {10, kA, 0}}, {down(kA)}},
    };
    for (const Case& c : cases) {
        processRepeatFilter() = RepeatFilter{};
        macros->slots[0] = MacroRecord{};
        addMacro(0, kCustomId | 1, u"m");
        auto page = open();
        if (c.noDelay) click(page->noDelaySwitch());
        click(page->recordButton());
        ASSERT_TRUE(page->recording()) << c.name;
        play(c.keys);
        EXPECT_EQ(data(page->eventList()), c.rows) << c.name;
        click(page->recordButton());
        EXPECT_FALSE(page->recording()) << c.name;
    }
}

TEST(MacroRecorder, DelaysAreMeasuredFromAnyTickTheFirstEventCameAtEvenZeroOrAcrossTheWrap) {
    const auto layout = currentKeyboardLayout();
    for (uint32_t start : {0u, 0xFFFFFFF0u}) {
        FakeClock clock(start);
        RepeatFilter filter;
        MacroRecorder recorder(clock, filter);
        recorder.start();
        EXPECT_EQ(recorder.record(kA, 0, false, 2, *layout).size(), 1u);
        clock.advance(180);
        const std::vector<MacroRow> rows = recorder.record(kB, 0, false, 2, *layout);
        ASSERT_EQ(rows.size(), 2u) << start;
        EXPECT_EQ(rows[0].datum, delay(180)) << start;
    }
}

TEST_F(MacroPageTest, APageGoneWhileRecordingHandsTheHooksBack) {
    addMacro(0, kCustomId | 1, u"m");
    auto page = open();
    click(page->recordButton());
    page.reset();
    mainWindow.clear();
    key(kA);
    EXPECT_TRUE(mainWindow.messages().empty()) << "neither the page nor anything else was posted the key";
    hooks.setStatistics(1, 0);
    key(kB);
    EXPECT_FALSE(mainWindow.messages().empty()) << "the main window is the target again";
}

TEST_F(MacroPageTest, DelayRowsReadInMilliseconds) {
    addMacro(0, kCustomId | 1, u"m");
    auto page = open();
    click(page->recordButton());
    play({{0, kRCtrl, 0}, {2000, kRCtrl, kUp}});
    EXPECT_EQ(texts(page->eventList()), (std::vector<std::string>{"RCtrl", "2000  ms", "RCtrl"}));
}

TEST_F(MacroPageTest, AStrayReleaseAfterARecordingThatEndedOnItIsFiltered) {
    addMacro(0, kCustomId | 1, u"m");
    auto page = open();
    click(page->recordButton());
    play({{0, kA, 0}, {100, kA, kUp}});
    click(page->recordButton());
    click(page->recordButton());
    play({{100, kA, kUp}, {100, kB, kUp}});
    EXPECT_EQ(data(page->eventList()), (std::vector<uint32_t>{up(kB)}));
}

TEST_F(MacroPageTest, MouseButtonPicturesRecordTheirVirtualKeysAndRealClicksNothing) {
    struct Case {
        CDlgMacro::Picture picture;
        uint32_t vk;
    };
    for (const Case& c : {Case{CDlgMacro::kLeftPicture, 1}, Case{CDlgMacro::kRightPicture, 2}, Case{CDlgMacro::kMiddlePicture, 4}}) {
        processRepeatFilter() = RepeatFilter{};
        addMacro(0, kCustomId | 1, u"m");
        auto page = open();
        page->noDelaySwitch()->setCheckedState(1);
        click(page->recordButton());
        hooks.mouseHook({0x201, 0});
        hooks.mouseHook({0x202, 0});
        QCoreApplication::sendPostedEvents();
        click(page->picture(c.picture));
        // The picture's report, then the key the page posts itself.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(data(page->eventList()), (std::vector<uint32_t>{down(c.vk), up(c.vk)})) << c.vk;
    }
}

TEST_F(MacroPageTest, PicturesAreIgnoredWhenNeitherRecordingNorCapturingAKey) {
    addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kB)});
    auto page = open();
    click(page->picture(CDlgMacro::kLeftPicture));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(data(page->eventList()), (std::vector<uint32_t>{down(kB)}));
}

TEST_F(MacroPageTest, EveryWayOfStoppingStoresIntoTheMacroSelectedAtTheStart) {
    struct Case {
        const char* name;
        std::function<void(CDlgMacro&)> stop;
    };
    const Case cases[] = {
        {"Record again", [](CDlgMacro& p) { click(p.recordButton()); }},
        {"another page shown", [](CDlgMacro& p) { p.stopRecording(); }},
        {"another macro selected", [](CDlgMacro& p) { selectRow(p.macroList(), 1); }},
        {"another game group chosen", [](CDlgMacro& p) { p.port()->send(msg::kMenuChoice, 0, 3); }},
    };
    for (const Case& c : cases) {
        *macros = MacroLibrary{};
        addMacro(0, kCustomId | 1, u"first");
        addMacro(1, kCustomId | 2, u"second");
        auto page = open();
        selectRow(page->macroList(), 0);
        click(page->recordButton());
        play({{0, kA, 0}, {50, kA, kUp}});
        c.stop(*page);
        EXPECT_FALSE(page->recording()) << c.name;
        EXPECT_EQ(stored(kCustomId | 1),
                  (std::vector<MacroEvent>{macroEvent(kEventKeyDown, kA), macroEvent(kEventDelay, 50), macroEvent(kEventKeyUp, kA)}))
            << c.name;
        EXPECT_TRUE(stored(kCustomId | 2).empty()) << c.name;
    }
}

TEST_F(MacroPageTest, RecordingStopsAt999KeyRowsAndTellsWhatDidNotFitTheRecord) {
    addMacro(0, kCustomId | 1, u"m");
    auto page = open();
    click(page->recordButton());
    for (int i = 0; i < 1200; ++i) play({{10, kA, i % 2 ? kUp : 0u}});
    int keyRows = 0, delayRows = 0;
    for (uint32_t d : data(page->eventList())) (d >> 24 == kRowDelay ? delayRows : keyRows)++;
    EXPECT_EQ(keyRows, 999);
    EXPECT_EQ(delayRows, 998);
    click(page->recordButton());
    EXPECT_EQ(stored(kCustomId | 1).size(), 1000u);
    EXPECT_EQ(shown(), (std::vector<std::string>{"A macro holds at most 1,000 events: the last 997 rows were not stored."}));
}

TEST_F(MacroPageTest, RecordIsRefusedWhileARowIsEdited) {
    struct Case {
        int chineseUi;
        bool keyRow;
        std::string text;
    };
    const Case cases[] = {
        {0, true, "It is Modifying or inserting a button,you can not record"},
        {0, false, "It is Modifying or inserting a delay,you can not record"},
        {1, true, "正在修改/插入一个键，无法录制"},
        {1, false, "正在修改/插入一个延时，无法录制"},
    };
    for (const Case& c : cases) {
        language.chineseUi = c.chineseUi;
        messages.shown.clear();
        *macros = MacroLibrary{};
        addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kA), macroEvent(kEventDelay, 40), macroEvent(kEventKeyUp, kA)});
        auto page = open();
        // Modify on a key row or on the delay row.
        selectRow(page->eventList(), c.keyRow ? 0 : 1);
        click(page->modifyButton());
        click(page->recordButton());
        EXPECT_FALSE(page->recording());
        EXPECT_EQ(shown(), (std::vector<std::string>{c.text}));
    }
}

TEST_F(MacroPageTest, RecordWithoutASelectedMacroDoesNothing) {
    auto page = open();
    click(page->recordButton());
    EXPECT_FALSE(page->recording());
    EXPECT_EQ(page->recordButton()->caption(), "Start Record");
}

TEST_F(MacroPageTest, InsertingADelayFollowsItsNeighbours) {
    struct Case {
        const char* name;
        std::vector<MacroEvent> rows;
        int selected;
        const char* ms;
        std::vector<uint32_t> result;
    };
    const MacroEvent aDown = macroEvent(kEventKeyDown, kA), aUp = macroEvent(kEventKeyUp, kA);
    const MacroEvent bDown = macroEvent(kEventKeyDown, kB);
    const Case cases[] = {
        {"before the first row nothing", {aDown, aUp}, 0, "200", {down(kA), up(kA)}},
        {"below a delay of 300 ms it grows to 500", {aDown, macroEvent(kEventDelay, 300), aUp}, 2, "200",
         {down(kA), delay(500), up(kA)}},
        {"on a delay below a key it grows", {aDown, macroEvent(kEventDelay, 300), aUp}, 1, "200", {down(kA), delay(500), up(kA)}},
        {"between two keys a new row", {aDown, aUp}, 1, "200", {down(kA), delay(200), up(kA)}},
        {"a merge stops at 327,670 ms", {aDown, macroEvent(kEventDelay, 327000), aUp}, 2, "9999",
         {down(kA), delay(327670), up(kA)}},
        {"letters in the field change nothing", {aDown, aUp, bDown}, 1, "2x", {down(kA), up(kA), down(kB)}},
        {"an empty field is 0 ms", {aDown, aUp}, 1, "", {down(kA), delay(0), up(kA)}},
    };
    for (const Case& c : cases) {
        *macros = MacroLibrary{};
        addMacro(0, kCustomId | 1, u"m", c.rows);
        auto page = open();
        selectRow(page->eventList(), c.selected);
        insertDelay(*page, c.ms);
        EXPECT_EQ(data(page->eventList()), c.result) << c.name;
        EXPECT_EQ(page->editMode(), CDlgMacro::kIdle) << c.name;
        EXPECT_FALSE(page->delayField()->isVisible()) << c.name;
    }
}

TEST_F(MacroPageTest, KeysAreInsertedAsPairsAndModifiedOneRowAtATime) {
    struct Case {
        const char* name;
        bool modify;
        int selected;
        uint32_t vk;
        std::vector<uint32_t> result;
    };
    const Case cases[] = {
        {"inserting A before B down", false, 0, kA, {down(kA), up(kA), down(kB), up(kB)}},
        {"inserting A before B up", false, 1, kA, {down(kB), down(kA), up(kA), up(kB)}},
        {"modifying the key-up row leaves its key-down row", true, 1, kA, {down(kB), up(kA)}},
        {"modifying the key-down row keeps it a key-down", true, 0, kRCtrl, {down(kRCtrl), up(kB)}},
    };
    for (const Case& c : cases) {
        *macros = MacroLibrary{};
        addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kB), macroEvent(kEventKeyUp, kB)});
        auto page = open();
        selectRow(page->eventList(), c.selected);
        if (c.modify) {
            click(page->modifyButton());
            key(c.vk);
            click(page->keyConfirm());
        } else {
            insertKey(*page, c.vk);
        }
        EXPECT_EQ(data(page->eventList()), c.result) << c.name;
        std::vector<uint32_t> words;
        for (MacroEvent e : stored(kCustomId | 1)) words.push_back(eventKind(e) == kEventKeyDown ? down(eventValue(e)) : up(eventValue(e)));
        EXPECT_EQ(words, c.result) << c.name << ": stored at once";
    }
}

TEST_F(MacroPageTest, CapturingAKeyShowsItsNameAndLeavesTheFilterAlone) {
    addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kB), macroEvent(kEventKeyUp, kB)});
    auto page = open();
    selectRow(page->eventList(), 0);
    click(page->modifyButton());
    key(kRCtrl);
    EXPECT_EQ(page->keyField()->text(), "RCtrl");
    click(page->keyConfirm());
    click(page->recordButton());
    key(kRCtrl);
    EXPECT_EQ(data(page->eventList()), (std::vector<uint32_t>{down(kRCtrl)}));
}

TEST_F(MacroPageTest, DeletingRowsStoresUnlessTheLastOneGoes) {
    addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kA), macroEvent(kEventKeyUp, kA)});
    auto page = open();
    selectRow(page->eventList(), 1);
    click(page->deleteRowButton());
    EXPECT_EQ(stored(kCustomId | 1), (std::vector<MacroEvent>{macroEvent(kEventKeyDown, kA)}));
    selectRow(page->eventList(), 0);
    click(page->deleteRowButton());
    EXPECT_EQ(page->eventList()->count(), 0);
    EXPECT_EQ(stored(kCustomId | 1), (std::vector<MacroEvent>{macroEvent(kEventKeyDown, kA)}));
}

TEST_F(MacroPageTest, LoopFieldIsStoredOnEveryChangeAndNormalisedByTimer153) {
    struct Case {
        const char* typed;
        uint32_t storedAtOnce;
        const char* shownAfterTimer;
        uint32_t storedAfterTimer;
    };
    const Case cases[] = {
        {"007", 7, "7", 7},
        {"0", 1, "1", 1},
        {"99999", 65533, "65533", 65533},
        {"", 1, "1", 1},
    };
    for (const Case& c : cases) {
        *macros = MacroLibrary{};
        addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kA), macroEvent(kEventKeyUp, kA)});
        auto page = open();
        page->loopField()->clear();
        QTest::keyClicks(page->loopField(), QString::fromLatin1(c.typed));
        EXPECT_EQ(findById(*macros, kCustomId | 1)->loopCount, c.storedAtOnce) << c.typed;
        page->port()->send(msg::kTimer, CDlgMacro::kLoopTimer, 0);
        EXPECT_EQ(page->loopField()->text().toStdString(), c.shownAfterTimer) << c.typed;
        EXPECT_EQ(findById(*macros, kCustomId | 1)->loopCount, c.storedAfterTimer) << c.typed;
    }
}

TEST_F(MacroPageTest, TheLoopFieldShowsTheStoredCountAndOneForASingleKeyDown) {
    addMacro(0, kCustomId | 1, u"twice", {macroEvent(kEventKeyDown, kA), macroEvent(kEventKeyUp, kA)}).loopCount = 2;
    addMacro(1, kCustomId | 2, u"hold", {macroEvent(kEventKeyDown, kA)}).loopCount = kSingleKeyDownLoops;
    auto page = open();
    EXPECT_EQ(page->loopField()->text(), "1");
    selectRow(page->macroList(), 0);
    EXPECT_EQ(page->loopField()->text(), "2");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MacroPageTest, StartUpShowsTheCustomGroupWithItsLastMacroSelected) {
    struct Case {
        int chineseUi;
        std::string caption;
        std::string record;
    };
    for (const Case& c : {Case{0, "Customisze", "Start Record"}, Case{1, "玩家自定义", "开始录制"}}) {
        language.chineseUi = c.chineseUi;
        addMacro(0, kCustomId | 1, u"one", {macroEvent(kEventKeyDown, kA)});
        addMacro(1, 3u << 24 | 5, u"cs", {macroEvent(kEventKeyDown, kB)});
        addMacro(2, kCustomId | 2, u"two", {macroEvent(kEventKeyDown, kB), macroEvent(kEventKeyUp, kB)});
        auto page = open();
        EXPECT_EQ(page->gameButton()->caption().toStdString(), c.caption);
        EXPECT_EQ(page->recordButton()->caption().toStdString(), c.record);
        EXPECT_EQ(page->gameGroup(), 21);
        EXPECT_EQ(texts(page->macroList()), (std::vector<std::string>{"one", "two"}));
        EXPECT_EQ(page->macroList()->selection(), 1);
        EXPECT_EQ(data(page->eventList()), (std::vector<uint32_t>{down(kB), up(kB)}));
    }
}

TEST_F(MacroPageTest, ANewMacroIsStoredWithItsFirstRowsAndLostWithoutThem) {
    clock.advance(0x01000000);  // the id keeps only the tick's low 24 bits
    auto page = open();
    click(page->newMacroButton());
    ASSERT_EQ(texts(page->macroList()), (std::vector<std::string>{"New Macro"}));
    const uint32_t id = *page->macroList()->itemData(0);
    EXPECT_EQ(id, kCustomId | ((5000 + 0x01000000) & 0xFFFFFF));
    EXPECT_NE(page->macroList()->editor(), nullptr) << "the new row opens for its name";
    page->port()->send(msg::kMenuChoice, 0, 3);
    page->port()->send(msg::kMenuChoice, 0, 21);
    EXPECT_EQ(page->macroList()->count(), 0);

    click(page->newMacroButton());
    QTest::keyClicks(page->macroList()->editor(), QStringLiteral("Jump"));
    QTest::keyClick(page->macroList()->editor(), Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    click(page->recordButton());
    play({{0, kA, 0}});
    click(page->recordButton());
    const MacroRecord* r = findById(*macros, *page->macroList()->itemData(0));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(fixedText(r->name), u"Jump");
}

TEST_F(MacroPageTest, RenamingAStoredMacroChangesItsName) {
    addMacro(0, kCustomId | 1, u"old", {macroEvent(kEventKeyDown, kA)});
    auto page = open();
    QTest::mouseDClick(page->macroList()->viewport(), Qt::LeftButton, {}, page->macroList()->rowRect(0).center());
    ASSERT_NE(page->macroList()->editor(), nullptr);
    page->macroList()->editor()->setText(QStringLiteral("new"));
    QTest::keyClick(page->macroList()->editor(), Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(fixedText(findById(*macros, kCustomId | 1)->name), u"new");
}

TEST_F(MacroPageTest, DeletingAMacroInUseIsRefused) {
    struct Case {
        bool inUse;
        std::vector<std::string> rowsAfter;
        std::vector<std::string> messagesShown;
    };
    for (const Case& c : {Case{true, {"m"}, {"The macro is being applied and cannot be deleted!"}}, Case{false, {}, {}}}) {
        messages.shown.clear();
        *macros = MacroLibrary{};
        addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kA)});
        settings.current.buttons[2].functionType = c.inUse ? 6 : 1;
        settings.current.buttons[2].macroId = kCustomId | 1;
        auto page = open();
        click(page->deleteMacroButton());
        EXPECT_EQ(texts(page->macroList()), c.rowsAfter);
        EXPECT_EQ(shown(), c.messagesShown);
        EXPECT_EQ(findById(*macros, kCustomId | 1) != nullptr, c.inUse);
        EXPECT_EQ(page->eventList()->count(), c.inUse ? 1 : 0);
    }
}

TEST_F(MacroPageTest, GameMenuListsTheGroupsAndItsChoiceRefillsTheList) {
    addMacro(0, 3u << 24 | 5, u"cs", {macroEvent(kEventKeyDown, kB)});
    auto page = open();
    page->openGameMenu();
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr) << "libMenuEx.so beside the program";
    ASSERT_EQ(menu->actions().size(), 21);
    EXPECT_EQ(menu->actions()[0]->text(), "Battlefield 3 ");
    EXPECT_EQ(menu->geometry().topLeft(), page->gameButton()->mapToGlobal(QPoint(1, page->gameButton()->height() + 1)));
    menu->actions()[2]->trigger();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(page->gameGroup(), 3);
    EXPECT_EQ(page->gameButton()->caption(), "Counter-Strike: Global Offensive");
    EXPECT_EQ(texts(page->macroList()), (std::vector<std::string>{"cs"}));
    page->port()->send(msg::kMenuChoice, 0, 0x10016);  // only the low 16 bits count: 22 is no group
    EXPECT_EQ(page->gameButton()->caption(), "");
    EXPECT_EQ(page->macroList()->count(), 0);
}

TEST_F(MacroPageTest, AClickOnThePageClosesTheGameMenu) {
    auto page = open();
    page->openGameMenu();
    QTest::mouseClick(page.get(), Qt::LeftButton, {}, QPoint(600, 430));
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w)) {
            EXPECT_FALSE(m->isVisible());
        }
}

TEST_F(MacroPageTest, DamagedRecordsShowTheirValidRowsAndTellStandardError) {
    struct Case {
        const char* name;
        std::vector<MacroEvent> events;
        uint32_t claimedCount;
        std::size_t rowsShown;
        bool diagnostic;
    };
    const MacroEvent aDown = macroEvent(kEventKeyDown, kA), aUp = macroEvent(kEventKeyUp, kA);
    const Case cases[] = {
        {"a word of no kind stops the rows", {aDown, 0x12000041, aUp}, 3, 1, true},
        {"a count past the record shows the thousand words", std::vector<MacroEvent>(1000, aDown), 0xFFFFFFFF, 1000, true},
        {"a sound record", {aDown, aUp}, 2, 2, false},
    };
    for (const Case& c : cases) {
        *macros = MacroLibrary{};
        addMacro(0, kCustomId | 1, u"m", c.events).eventCount = c.claimedCount;
        testing::internal::CaptureStderr();
        auto page = open();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(static_cast<std::size_t>(page->eventList()->count()), c.rowsShown) << c.name;
        EXPECT_EQ(err == "LoadMacroToList:  Not a vaild item\n", c.diagnostic) << c.name << ": " << err;
    }
}

TEST_F(MacroPageTest, AFullLibraryTellsTheMacroWasNotStoredAndKeepsTheRows) {
    for (int s = 0; s < kMacroSlots; ++s) addMacro(s, 5u << 24 | static_cast<uint32_t>(s + 1), u"x", {macroEvent(kEventKeyDown, kA)});
    auto page = open();
    click(page->newMacroButton());
    click(page->recordButton());
    play({{0, kA, 0}});
    click(page->recordButton());
    EXPECT_EQ(shown(), (std::vector<std::string>{
                           "The macro library is full (500 macros): this macro could not be stored. Delete a macro you no "
                           "longer use first."}));
    EXPECT_EQ(data(page->eventList()), (std::vector<uint32_t>{down(kA)}));
}

TEST_F(MacroPageTest, AnUnwritableMacroFileIsToldAndTheChangeKeptInMemory) {
    std::filesystem::remove(macroFile());
    std::filesystem::create_directory(macroFile());
    addMacro(0, kCustomId | 1, u"m", {macroEvent(kEventKeyDown, kA), macroEvent(kEventKeyUp, kA)});
    auto page = open();
    selectRow(page->eventList(), 1);
    click(page->deleteRowButton());
    EXPECT_EQ(stored(kCustomId | 1), (std::vector<MacroEvent>{macroEvent(kEventKeyDown, kA)}));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, toUtf8(strings.messageText("str_msg4")));
    EXPECT_EQ(messages.shown.back().caption, "Info");
}

TEST_F(MacroPageTest, EnterEscAndSpaceNeverPressTheFocusedButton) {
    auto page = open();
    for (Qt::Key k : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        page->newMacroButton()->setFocus();
        QTest::keyClick(page->newMacroButton(), k);
        EXPECT_EQ(page->macroList()->count(), 0) << k;
    }
}

TEST_F(MacroPageTest, HoverHintsNameTheControlUnderThePointer) {
    namespace lm = layout::macropage;
    const std::pair<layout::SetRect, int> cases[] = {
        {lm::kNewMacro, 40}, {lm::kDeleteMacro, 41}, {lm::kInsert, 42}, {lm::kModify, 44}, {lm::kRecord, 45},
        {lm::kNoDelay, 47},  {lm::kLoopField, 48},   {lm::kLeftPicture, 49}, {lm::kRightPicture, 51}, {lm::kGroupLabel, 86},
    };
    for (int chineseUi : {0, 1}) {
        language.chineseUi = chineseUi;
        auto page = open();
        for (const auto& [rect, hint] : cases) {
            mainWindow.clear();
            const QRect r = toQRect(rect.in(page->skinSet()));
            QWidget* under = page->childAt(r.center());
            QWidget* target = under ? under : page.get();
            const QPointF at = target->mapFrom(page.get(), r.center());
            QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &move);
            EXPECT_EQ(hints(), (std::vector<int>{hint})) << hint << " in set " << chineseUi;
        }
    }
}

TEST_F(MacroPageTest, LabelsAreTheCataloguesWordsInEveryLanguage) {
    const QDir languages(QStringLiteral(Q30X_SOURCE_DIR "/data/Language"));
    const QStringList files = languages.entryList({QStringLiteral("*.xml")});
    ASSERT_EQ(files.size(), 12);
    for (const QString& file : files) {
        ASSERT_TRUE(strings.LoadCatalogue(languages.filePath(file).toStdString())) << file.toStdString();
        auto page = open();
        const auto word = [&](const char* key) { return QString::fromStdU16String(strings.text(key)); };
        EXPECT_FALSE(word("str_new_macro").isEmpty()) << file.toStdString();
        EXPECT_EQ(page->newMacroButton()->caption(), word("str_new_macro")) << file.toStdString();
        EXPECT_EQ(page->deleteMacroButton()->caption(), word("str_del_macro")) << file.toStdString();
        EXPECT_EQ(page->noDelaySwitch()->caption(), word("str_macro_delay")) << file.toStdString();
        EXPECT_EQ(page->keyOption()->caption(), word("str_macro_msg6")) << file.toStdString();
        EXPECT_EQ(page->delayOption()->caption(), word("str_macro_msg7")) << file.toStdString();
    }
}

}  // namespace
}  // namespace q30x
