#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "pages/dlg_sts.h"
#include "pages/dlg_support.h"
#include "pages/pointer_sampler.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/message_port.h"
#include "tests/support/bytes.h"
#include "tests/support/program_world.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/recording_target.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

constexpr uintptr_t kLeft = 0x201, kMiddle = 0x207, kRight = 0x204, kWheelForward = 0x20A01, kWheelBackward = 0x20A00;

std::vector<uint8_t> statsFile(const StatsBlock& b) {
    std::vector<uint8_t> bytes(sizeof b);
    std::memcpy(bytes.data(), &b, sizeof b);
    return bytes;
}

std::vector<uint8_t> imageOf(const ProfileRecord& r) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&r);
    return {bytes, bytes + sizeof r};
}

// The program's state as the pages see it, with the drawn art of the build
// and a working folder of its own.
class PagesTest : public ::testing::Test, protected test::ProgramWorld {
protected:
    PagesTest() : ProgramWorld(Q30X_TEST_LIBDIR) {}
    void SetUp() override { fillProfileDefaults(settings.current, 0); }

    void writeStats(const StatsBlock& b) { test::writeAll(folder.file("Sts.cfg"), statsFile(b)); }
    std::unique_ptr<CDlgSts> stsPage() {
        auto page = std::make_unique<CDlgSts>(state, nullptr, nullptr);
        page->show();
        return page;
    }
    std::unique_ptr<CDlgSupport> supportPage(QString chosen = QString()) {
        auto page = std::make_unique<CDlgSupport>(state, launcher, nullptr);
        page->setPathChooser([this, chosen](CDlgSupport::FileDialog kind) {
            dialogs.push_back(kind);
            return chosen;
        });
        page->show();
        return page;
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2)); }
    // A move of the pointer over `w` at `at`, as the page's controls see it.
    static void moveOver(QWidget* w, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    std::vector<intptr_t> hintsPosted() const {
        std::vector<intptr_t> hints;
        for (const auto& m : mainWindow.messages())
            if (m.message == msg::kShowHint) hints.push_back(m.lParam);
        return hints;
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (const auto& m : messages.shown) texts.push_back(m.text);
        return texts;
    }

    test::RecordingLauncher launcher;
    std::vector<CDlgSupport::FileDialog> dialogs;
};

// ---- Statistics ------------------------------------------------------------

struct LevelLook {
    int level;
    int litLamps;
    int barWidth;
};

void expectLevel(CDlgSts& page, const LevelLook& want, const std::string& name) {
    EXPECT_EQ(page.shownLevel(), want.level) << name;
    EXPECT_EQ(page.trophyFile(), QStringLiteral("skins/trophy/trophy%1Down.bmp").arg(want.level)) << name;
    const QImage file = loadSkinImage(QString::fromUtf8(Q30X_TEST_LIBDIR), page.trophyFile());
    ASSERT_FALSE(file.isNull()) << name;
    EXPECT_EQ(page.trophy()->grab().toImage().convertToFormat(QImage::Format_RGB32), file.convertToFormat(QImage::Format_RGB32))
        << name;
    for (int i = 0; i < kTrophyLevelCount; ++i)
        EXPECT_EQ(page.lamp(i)->checkedState(), i < want.litLamps ? 1 : 0) << name << ", lamp " << i;
    EXPECT_EQ(page.levelBar()->geometry(), QRect(631, 62, want.barWidth, 15)) << name;
}

TEST_F(PagesTest, TheLevelShowsInTrophyLampsAndBar) {
    struct Case {
        const char* name;
        StatsBlock file;
        std::vector<uintptr_t> inputs;
        LevelLook look;
    };
    const Case cases[] = {
        {"99,999 clicks", {99'999, 0, 0, 0, 0, 0}, {}, {0, 1, 21}},
        {"the 100,000th click", {99'999, 0, 0, 0, 0, 0}, {kLeft}, {1, 2, 42}},
        {"60,000 clicks and 60,000 notches", {59'999, 0, 0, 30'000, 29'999, 0}, {kRight, kWheelBackward}, {0, 1, 21}},
        {"the 100,000th notch", {0, 0, 0, 50'000, 49'999, 0}, {kWheelForward}, {1, 2, 42}},
        {"10,000,000 clicks", {9'999'999, 0, 0, 0, 0, 0}, {kMiddle}, {12, 13, 273}},
    };
    for (const Case& c : cases) {
        writeStats(c.file);
        auto page = stsPage();
        for (uintptr_t code : c.inputs) page->port()->send(msg::kStatsInput, code, 0);
        expectLevel(*page, c.look, c.name);
    }
}

TEST_F(PagesTest, SideButtonsAndKeysCountNothing) {
    writeStats({1, 2, 3, 4, 5, 6});
    auto page = stsPage();
    std::vector<QString> before;
    for (int row = 0; row < layout::sts::kValueCount; ++row) before.push_back(page->valueText(row));
    for (uintptr_t code : {0x2020B, 0x1020B, 0x41, 0x0D, 0x202})
        page->port()->send(msg::kStatsInput, code, 0);
    for (int row = 0; row < layout::sts::kValueCount; ++row) EXPECT_EQ(page->valueText(row), before[static_cast<std::size_t>(row)]);
}

TEST_F(PagesTest, ValuesShowCountersTotalsAndTravel) {
    struct Case {
        StatsBlock file;
        std::vector<QString> shown;
    };
    const Case cases[] = {
        {{10, 20, 30, 40, 50, 123'456}, {"11", "20", "30", "61", "40", "50", "90", "12.35"}},
        {{0x7FFF'FFFF, 0, 0, 0x8000'0000, 0, 0}, {"2147483648", "0", "0", "2147483648", "2147483648", "0", "2147483648", "0.00"}},
    };
    for (const Case& c : cases) {
        writeStats(c.file);
        auto page = stsPage();
        page->port()->send(msg::kStatsInput, kLeft, 0);
        for (int row = 0; row < layout::sts::kValueCount; ++row)
            EXPECT_EQ(page->valueText(row), c.shown[static_cast<std::size_t>(row)]) << row;
    }
}

TEST_F(PagesTest, SamplesAddTheirTravel) {
    writeStats({});
    auto page = stsPage();
    // The first sample counts from the position noted at start-up (none here: 0, 0).
    for (auto [x, y] : {std::pair{100, 50}, std::pair{-20, 60}})
        page->port()->send(msg::kStatsTick, static_cast<uint32_t>(x), y);
    EXPECT_EQ(page->statistics().block().distance, 150u + 130u);
}

TEST_F(PagesTest, TheSamplerPostsPositionsInsideItsMessages) {
    struct Pointer final : PointerPosition {
        std::optional<ScreenPoint> position() override { return ScreenPoint{-5, 7}; }
    } pointer;
    test::RecordingTarget page;
    {
        PointerSampler sampler(pointer, page);
        ASSERT_TRUE(page.waitForCount(2));
    }
    const auto m = page.messages().front();
    EXPECT_EQ(m.message, msg::kStatsTick);
    const ScreenPoint at = PointerSampler::sampleOf(m.wParam, m.lParam);
    EXPECT_EQ(at.x, -5);
    EXPECT_EQ(at.y, 7);
}

TEST_F(PagesTest, ResetAsksThenZeroesAndSaves) {
    struct Case {
        const char* name;
        int chineseUi;
        bool answer;
        const char* question;
    };
    const Case cases[] = {
        {"English, OK", 0, true, "Do you want to reset trophy data ?"},
        {"Chinese, OK", 1, true, "确定要重置奖杯和统计数据么？"},
        {"English, Cancel", 0, false, "Do you want to reset trophy data ?"},
    };
    for (const Case& c : cases) {
        const StatsBlock counted{3'000'000, 1, 2, 3, 4, 5};
        writeStats(counted);
        language.chineseUi = c.chineseUi;
        messages.shown.clear();
        messages.answer = c.answer;
        auto page = stsPage();
        click(page->resetButton());
        EXPECT_EQ(shown(), std::vector<std::string>{c.question}) << c.name;
        EXPECT_EQ(test::readAll(folder.file("Sts.cfg")), c.answer ? std::vector<uint8_t>(24, 0) : statsFile(counted))
            << c.name;
        expectLevel(*page, c.answer ? LevelLook{0, 1, 21} : LevelLook{7, 8, 168}, c.name);
    }
}

TEST_F(PagesTest, SaveCountersWritesTheCounts) {
    writeStats({});
    auto page = stsPage();
    for (uintptr_t code : {kLeft, kLeft, kWheelForward}) page->port()->send(msg::kStatsInput, code, 0);
    page->saveCounters();
    const auto bytes = test::readAll(folder.file("Sts.cfg"));
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(test::u32At(bytes, 0), 2u);
    EXPECT_EQ(test::u32At(bytes, 12), 1u);
}

TEST_F(PagesTest, AMissingStatisticsFileIsToldOnce) {
    auto page = stsPage();
    EXPECT_EQ(shown(), std::vector<std::string>{"Failed to open file, check whether there is a " + folder.file("Sts.cfg") +
                                                " path?"});
    EXPECT_EQ(page->valueText(0), "0");
}

TEST_F(PagesTest, TheSkinSetOfTheValuesFollowsTheInstalledSkin) {
    writeStats({});
    for (auto [chineseUi, chineseSkin] : {std::pair{1, 0}, std::pair{0, 1}}) {
        language.chineseUi = chineseUi;
        language.chineseSkin = chineseSkin;
        auto page = stsPage();
        EXPECT_EQ(page->skinSet(), chineseSkin ? layout::SkinSet::Chinese : layout::SkinSet::Standard);
    }
}

TEST_F(PagesTest, StatisticsHintsAndLabels) {
    writeStats({});
    strings.setEntry(catalogueIndex("str_resetSts"), u"Reset");
    auto page = stsPage();
    moveOver(page->trophy(), {10, 10});
    moveOver(page->resetButton(), {2, 2});
    moveOver(page.get(), {20, 440});  // over nothing
    moveOver(page.get(), {702, 378});  // one pixel outside the reset button's corner
    EXPECT_EQ(hintsPosted(), (std::vector<intptr_t>{54, 55, 55}));

    EXPECT_EQ(page->resetButton()->caption(), "Reset");
    strings.setEntry(catalogueIndex("str_resetSts"), u"Zurücksetzen");
    page->applyLabels();
    EXPECT_EQ(page->resetButton()->caption(), QString::fromUtf8("Zurücksetzen"));
}

// ---- Support ---------------------------------------------------------------

TEST_F(PagesTest, VersionsAsShown) {
    const std::pair<std::u16string, const char*> cases[] = {
        {u"", "Unknown"}, {u"7", "V 0.0.7"}, {u"12", "V 0.1.2"}, {u"123", "V 1.2.3"},
    };
    auto page = supportPage();
    EXPECT_EQ(page->programVersion(), "V1.0.2");
    for (const auto& [text, shownText] : cases) {
        page->setFirmwareVersionText(text);
        EXPECT_EQ(page->firmwareVersion(), shownText);
    }
}

TEST_F(PagesTest, ImportTakesAProfileAndRefusesTheRest) {
    ProfileRecord other;
    std::memset(static_cast<void*>(&other), 0x33, sizeof other);
    other.magic = kProfileMagic;
    std::vector<uint8_t> zeroMagic = imageOf(other);
    std::fill_n(zeroMagic.begin(), 4, 0);
    struct Case {
        const char* name;
        std::string path;
        std::vector<uint8_t> file;
        bool write;
        bool imported;
    };
    const Case cases[] = {
        {"65 02 80 80 ...", folder.file("good.cfg"), imageOf(other), true, true},
        {"00 00 00 00 ...", folder.file("zero.cfg"), zeroMagic, true, false},
        {"empty", folder.file("empty.cfg"), {}, true, false},
        {"3 bytes", folder.file("three.cfg"), {0x65, 0x02, 0x80}, true, false},
        {"a folder", folder.path(), {}, false, false},
        {"missing", folder.file("missing.cfg"), {}, false, false},
    };
    for (const Case& c : cases) {
        fillProfileDefaults(settings.current, 0);
        const std::vector<uint8_t> before = imageOf(settings.current);
        if (c.write) test::writeAll(c.path, c.file);
        messages.shown.clear();
        auto page = supportPage(QString::fromStdString(c.path));
        click(page->importButton());
        ASSERT_EQ(messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages.shown[0].text, c.path + (c.imported ? " import success!" : " is an invalid Profile!")) << c.name;
        EXPECT_EQ(messages.shown[0].caption, "Info") << c.name;
        EXPECT_FALSE(messages.shown[0].skinned) << c.name;
        EXPECT_EQ(imageOf(settings.current), c.imported ? imageOf(other) : before) << c.name;
    }
}

TEST_F(PagesTest, ExportThenImportIsByteIdentical) {
    const std::string path = folder.file("mine.cfg");
    settings.current.buttons[2].functionType = 5;
    settings.current.buttons[4].functionType = 6;
    settings.current.buttons[4].macroId = 0x15000003;
    const std::vector<uint8_t> record = imageOf(settings.current);
    auto page = supportPage(QString::fromStdString(path));
    click(page->exportButton());
    EXPECT_EQ(test::readAll(path), record);
    fillProfileDefaults(settings.current, 1);
    settings.macroRefs.fill(0x15000009);
    click(page->importButton());
    EXPECT_EQ(imageOf(settings.current), record);
    EXPECT_EQ(settings.macroRefs, (ProfileMacroRefs{0, 0, 0, 0, 0x15000003, 0, 0})) << "the file's macro button";
    EXPECT_EQ(shown(), (std::vector<std::string>{path + " export success!", path + " import success!"}));
    EXPECT_EQ(dialogs, (std::vector<CDlgSupport::FileDialog>{CDlgSupport::FileDialog::Save, CDlgSupport::FileDialog::Open}));
}

TEST_F(PagesTest, ACancelledDialogDoesNothing) {
    const std::vector<uint8_t> before = imageOf(settings.current);
    auto page = supportPage(QString());
    click(page->importButton());
    click(page->exportButton());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(imageOf(settings.current), before);
}

TEST_F(PagesTest, RestoreAsksInTheInterfacesWordingThenPosts2054) {
    struct Case {
        const char* name;
        LanguageState language;
        bool answer;
        const char* question;
    };
    const Case cases[] = {
        {"English, OK", {0, 0, 2}, true, "Do you want to restore the default setting?"},
        {"Chinese interface", {1, 0, 1}, true, "确定要恢复默认设置?"},
        {"Traditional Chinese: not the Chinese interface", {0, 1, 12}, true, "Do you want to restore the default setting?"},
        {"Cancel", {0, 0, 2}, false, "Do you want to restore the default setting?"},
    };
    for (const Case& c : cases) {
        language = c.language;
        messages.shown.clear();
        messages.answer = c.answer;
        mainWindow.clear();
        auto page = supportPage();
        click(page->defaultButton());
        EXPECT_EQ(shown(), std::vector<std::string>{c.question}) << c.name;
        const auto posted = mainWindow.messages();
        const bool restored = std::find(posted.begin(), posted.end(),
                                        test::RecordingTarget::Message{msg::kRestoreDefaults, 0, 0, false}) != posted.end();
        EXPECT_EQ(restored, c.answer) << c.name;
    }
}

TEST_F(PagesTest, WebAndUpdateButtons) {
    auto page = supportPage();
    int checks = 0;
    page->setUpdateCheck([&checks] { ++checks; });
    click(page->webButton());
    click(page->updateButton());
    ASSERT_EQ(launcher.launched.size(), 1u);
    EXPECT_EQ(launcher.launched[0].first, "xdg-open");
    EXPECT_EQ(launcher.launched[0].second, std::vector<std::string>{std::string(kMakerWebsite)});
    EXPECT_EQ(checks, 1);
}

TEST_F(PagesTest, SupportHintsAndLabels) {
    strings.setEntry(catalogueIndex("str_importFile"), u"Import");
    auto page = supportPage();
    for (CGDIBitmapBtn* b : {page->updateButton(), page->webButton(), page->importButton(), page->exportButton(),
                             page->defaultButton()})
        moveOver(b, {3, 3});
    moveOver(page.get(), {100, 120});  // the program's version
    moveOver(page.get(), {559, 140});  // the firmware's, one pixel past its corner
    moveOver(page.get(), {600, 20});   // nothing
    EXPECT_EQ(hintsPosted(), (std::vector<intptr_t>{56, 57, 58, 59, 60, 89, 90}));
    EXPECT_EQ(page->importButton()->caption(), "Import");
    strings.setEntry(catalogueIndex("str_importFile"), u"Importer");
    page->applyLabels();
    EXPECT_EQ(page->importButton()->caption(), "Importer");
}

}  // namespace
}  // namespace q30x
