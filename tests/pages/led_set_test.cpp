#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <cstring>
#include <memory>

#include "app/standalone_state.h"
#include "pages/dlg_led_set.h"
#include "platform/messages.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/color_btn.h"
#include "skin/images.h"
#include "skin/message_port.h"
#include "skin/slider.h"
#include "skin/recorder.h"
#include "support/recording_target.h"
#include "support/temp_folder.h"

namespace q30x {
namespace {

namespace L = layout::ledset;
const std::string kProgramFolder = Q30X_TEST_PROGRAM_DIR;

// The state the main window hands its pages, built from the real types over
// a temporary working folder and the build folder as program folder, in
// English words on the coordinate set `chineseUi` picks.
struct Host {
    explicit Host(int chineseUi)
        : standalone(std::make_unique<StandaloneState>(Folders{kProgramFolder, working.path()}, messages, mainWindow, 2)),
          state(standalone->state),
          settings(standalone->settings),
          strings(standalone->strings),
          language(standalone->language) {
        language.chineseUi = chineseUi;
        fillProfileDefaults(settings.current, chineseUi);
    }
    test::TempFolder working;
    test::RecordedMessages messages;
    test::RecordingTarget mainWindow;
    std::unique_ptr<StandaloneState> standalone;
    ProgramState& state;
    SettingsState& settings;
    StringCatalogue& strings;
    LanguageState& language;
};

class LedSetTest : public ::testing::Test {
protected:
    // A page over a profile that `setUp` prepares, after its first Refresh.
    CDlgLEDSet& open(const std::function<void(ProfileRecord&)>& setUp = [](ProfileRecord&) {}) {
        setUp(record());
        page = std::make_unique<CDlgLEDSet>(host.state, nullptr);
        page->show();
        page->Refresh();
        return *page;
    }
    ProfileRecord& record() { return host.settings.current; }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, 3)); }
    void slide(int id, int position) { page->port()->send(msg::kSliderChanged, static_cast<uintptr_t>(position), id); }
    void press(QPoint at) { QTest::mousePress(page.get(), Qt::LeftButton, {}, at); }
    bool live(int id) const { return !page->slider(id)->disabledFlag(); }
    std::array<QString, 3> boxes() const {
        return {page->valueBox(0)->text(), page->valueBox(1)->text(), page->valueBox(2)->text()};
    }
    std::array<int, 3> colourSliders() const {
        return {page->slider(CDlgLEDSet::kRedId)->position(), page->slider(CDlgLEDSet::kGreenId)->position(),
                page->slider(CDlgLEDSet::kBlueId)->position()};
    }
    int checkedPreset() const {
        int found = -1;
        for (int i = 0; i < L::kPresetCount; ++i)
            if (page->presetButton(i)->checkedState()) found = found < 0 ? i : 99;
        return found;
    }
    std::vector<intptr_t> hints() const {
        std::vector<intptr_t> out;
        for (const auto& m : host.mainWindow.messages())
            if (m.message == msg::kShowHint && m.wParam == 0) out.push_back(m.lParam);
        return out;
    }

    Host host{0};
    std::unique_ptr<CDlgLEDSet> page;
};

TEST_F(LedSetTest, EachModeEnablesItsOwnControlsAndChoosesItsSlot) {
    struct Case {
        int mode;
        bool brightness, breathing, cycleColours, cycleSpeed;
        int slot;
        bool picker;
    };
    const Case cases[] = {
        {1, true, false, false, false, 3, true},   {2, false, true, false, false, 3, true},
        {3, false, false, false, false, 4, false}, {4, false, false, false, false, 4, false},
        {5, false, false, true, true, 4, false},   {6, false, false, false, false, 4, false},
    };
    for (const Case& c : cases) {
        Host fresh(0);
        fresh.settings.current.ledColour[3] = 0x00336699;
        CDlgLEDSet p(fresh.state, nullptr);
        p.show();
        p.Refresh();
        QTest::mouseClick(p.modeButton(c.mode), Qt::LeftButton, {}, QPoint(3, 3));
        const ProfileRecord& r = fresh.settings.current;
        EXPECT_EQ(r.lightingMode, c.mode);
        for (int m = 1; m <= 6; ++m) EXPECT_EQ(p.modeButton(m)->checkedState(), m == c.mode ? 1 : 0) << c.mode << " " << m;
        EXPECT_EQ(!p.slider(CDlgLEDSet::kBrightnessId)->disabledFlag(), c.brightness) << c.mode;
        EXPECT_EQ(!p.slider(CDlgLEDSet::kBreathingId)->disabledFlag(), c.breathing) << c.mode;
        EXPECT_EQ(!p.slider(CDlgLEDSet::kCycleSpeedId)->disabledFlag(), c.cycleSpeed) << c.mode;
        EXPECT_EQ(p.customCycleBox()->isEnabled(), c.cycleColours) << c.mode;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(p.swatch(i)->isEnabled(), c.cycleColours) << c.mode;
        EXPECT_EQ(p.currentSlot(), c.slot) << c.mode;
        EXPECT_EQ(p.pickerLive(), c.picker) << c.mode;
        for (int i = 0; i < L::kPresetCount; ++i) EXPECT_EQ(p.presetButton(i)->isEnabled(), c.picker) << c.mode;
        for (int id : {CDlgLEDSet::kRedId, CDlgLEDSet::kGreenId, CDlgLEDSet::kBlueId})
            EXPECT_EQ(!p.slider(id)->disabledFlag(), c.picker) << c.mode;
        const int red = c.picker ? 0x99 : 0, green = c.picker ? 0x66 : 0, blue = c.picker ? 0x33 : 0;
        EXPECT_EQ(p.slider(CDlgLEDSet::kRedId)->position(), red) << c.mode;
        EXPECT_EQ(p.slider(CDlgLEDSet::kGreenId)->position(), green) << c.mode;
        EXPECT_EQ(p.slider(CDlgLEDSet::kBlueId)->position(), blue) << c.mode;
        EXPECT_EQ(p.valueBox(0)->text(), QString::number(red)) << c.mode;
        EXPECT_EQ(p.valueBox(2)->text(), QString::number(blue)) << c.mode;
        EXPECT_EQ(r.ledColour[3], 0x00336699u) << c.mode;
    }
}

TEST_F(LedSetTest, CustomCycleBoxSelectsTheFirstSwatchAndTakesTheSpeedSlider) {
    open([](ProfileRecord& r) {
        r.lightingMode = 5;
        r.symphonyCustom = 0;
    });
    struct Step {
        int custom, slot;
        bool picker, cycleSpeed;
    };
    const Step steps[] = {{1, 0, true, false}, {0, 4, false, true}, {1, 0, true, false}};
    for (const Step& s : steps) {
        click(page->customCycleBox());
        EXPECT_EQ(record().symphonyCustom, s.custom);
        EXPECT_EQ(page->customCycleBox()->checkedState(), s.custom);
        EXPECT_EQ(page->currentSlot(), s.slot);
        EXPECT_EQ(page->pickerLive(), s.picker);
        EXPECT_EQ(page->presetButton(0)->isEnabled(), s.picker);
        EXPECT_EQ(live(CDlgLEDSet::kCycleSpeedId), s.cycleSpeed);
    }
    click(page->swatch(2));
    EXPECT_EQ(page->currentSlot(), 2);
    click(page->modeButton(5));
    EXPECT_EQ(page->currentSlot(), 0) << "choosing the mode again starts at the first colour";
}

TEST_F(LedSetTest, ProfileWithItsOwnCycleShowsTheBoxSetAtTheFirstRefresh) {
    open([](ProfileRecord& r) {
        r.lightingMode = 5;
        r.symphonyCustom = 1;
        r.ledColour[0] = 0x00102030;
    });
    EXPECT_EQ(page->customCycleBox()->checkedState(), 1);
    EXPECT_EQ(page->currentSlot(), 0);
    EXPECT_TRUE(page->presetButton(12)->isEnabled());
    EXPECT_EQ(colourSliders(), (std::array<int, 3>{0x30, 0x20, 0x10}));
    EXPECT_EQ(page->swatch(0)->colour(), 0x00102030u);
}

TEST_F(LedSetTest, PresetStoresItsColourInTheCurrentSlotOnly) {
    open([](ProfileRecord& r) {
        r.lightingMode = 5;
        r.symphonyCustom = 1;
    });
    click(page->swatch(1));
    const ProfileRecord before = record();
    click(page->presetButton(5));
    ProfileRecord expected = before;
    expected.ledColour[1] = 0x00F927;
    expected.ledColourPreset[1] = 5;
    expected.ledColourIsCustom[1] = 0;
    EXPECT_EQ(std::memcmp(&record(), &expected, sizeof expected), 0);
    EXPECT_EQ(checkedPreset(), 5);
    EXPECT_EQ(page->swatch(1)->colour(), 0x00F927u);
    EXPECT_EQ(colourSliders(), (std::array<int, 3>{0x27, 0xF9, 0x00}));
}

TEST_F(LedSetTest, ColourSliderReplacesOnlyItsByteAndMakesTheColourCustom) {
    open([](ProfileRecord& r) {
        r.lightingMode = 1;
        r.ledColour[3] = 0xAB123456;  // a top byte no window wrote
        r.ledColourIsCustom[3] = 0;
        r.ledColourPreset[3] = 2;
    });
    ASSERT_EQ(checkedPreset(), 2);
    const ProfileRecord before = record();
    slide(CDlgLEDSet::kGreenId, 200);
    ProfileRecord expected = before;
    expected.ledColour[3] = 0xAB12C856;
    expected.ledColourIsCustom[3] = 1;
    EXPECT_EQ(std::memcmp(&record(), &expected, sizeof expected), 0);
    EXPECT_EQ(checkedPreset(), -1);
    EXPECT_EQ(boxes(), (std::array<QString, 3>{"86", "200", "18"}));
    EXPECT_EQ(page->swatch(3)->colour(), 0xAB12C856u);
}

TEST_F(LedSetTest, ParameterSlidersStoreTheirValuesAndShowTheStoredOnes) {
    open([](ProfileRecord& r) { r.lightingMode = 5; });
    struct Report {
        int id, position;
        int32_t ProfileRecord::*field;
        int32_t stored;
    };
    const Report reports[] = {
        {CDlgLEDSet::kCycleSpeedId, 3, &ProfileRecord::symphonySpeed, 6},
        {CDlgLEDSet::kCycleSpeedId, 1, &ProfileRecord::symphonySpeed, 2},
        {CDlgLEDSet::kBrightnessId, 7, &ProfileRecord::brightness, 7},
        {CDlgLEDSet::kBreathingId, 4, &ProfileRecord::breathingFrequency, 4},
    };
    for (const Report& r : reports) {
        slide(r.id, r.position);
        EXPECT_EQ(record().*r.field, r.stored) << r.id;
    }
    struct Shown {
        int32_t symphonySpeed;
        int position;
    };
    for (const Shown s : {Shown{4, 2}, Shown{6, 3}, Shown{5, 2}, Shown{0, 1}}) {
        record().symphonySpeed = s.symphonySpeed;
        page->Refresh();
        EXPECT_EQ(page->slider(CDlgLEDSet::kCycleSpeedId)->position(), s.position) << s.symphonySpeed;
        EXPECT_EQ(record().symphonySpeed, s.symphonySpeed) << "showing never stores";
    }
}

TEST_F(LedSetTest, PresetIndexOutsideThePaletteBecomesZeroForTheCurrentSlotOnly) {
    for (int32_t bad : {40, -1, 26}) {
        Host fresh(0);
        ProfileRecord& r = fresh.settings.current;
        r.lightingMode = 1;
        r.ledColourIsCustom[3] = 0;
        r.ledColourPreset[3] = bad;
        r.ledColourIsCustom[0] = 0;
        r.ledColourPreset[0] = bad;
        CDlgLEDSet p(fresh.state, nullptr);
        p.Refresh();
        EXPECT_EQ(r.ledColourPreset[3], 0) << bad;
        EXPECT_EQ(p.presetButton(0)->checkedState(), 1) << bad;
        EXPECT_EQ(r.ledColourPreset[0], bad) << "slot 0 is not shown in mode 1";
    }
}

TEST_F(LedSetTest, BadProfilesAreShownWithoutChangingTheRecord) {
    struct Case {
        const char* what;
        std::function<void(ProfileRecord&)> set;
        int checkedMode;
    };
    const Case cases[] = {
        {"mode 0", [](ProfileRecord& r) { r.lightingMode = 0; }, 0},
        {"mode 9", [](ProfileRecord& r) { r.lightingMode = 9; }, 0},
        {"cycle speed 5", [](ProfileRecord& r) { r.lightingMode = 5; r.symphonySpeed = 5; }, 5},
        {"brightness 0", [](ProfileRecord& r) { r.lightingMode = 1; r.brightness = 0; }, 1},
        {"brightness 99", [](ProfileRecord& r) { r.lightingMode = 1; r.brightness = 99; }, 1},
        {"top bytes", [](ProfileRecord& r) {
             r.lightingMode = 2;
             for (uint32_t& c : r.ledColour) c |= 0xFF000000u;
         }, 2},
        {"custom flag 7", [](ProfileRecord& r) { r.lightingMode = 5; r.symphonyCustom = 7; }, 5},
    };
    for (const Case& c : cases) {
        Host fresh(0);
        c.set(fresh.settings.current);
        const ProfileRecord before = fresh.settings.current;
        CDlgLEDSet p(fresh.state, nullptr);
        p.Refresh();
        p.Refresh();
        EXPECT_EQ(std::memcmp(&fresh.settings.current, &before, sizeof before), 0) << c.what;
        for (int m = 1; m <= 6; ++m) EXPECT_EQ(p.modeButton(m)->checkedState(), m == c.checkedMode ? 1 : 0) << c.what;
    }
}

TEST_F(LedSetTest, UnknownModeLeavesNothingLiveUntilAModeIsChosen) {
    open([](ProfileRecord& r) { r.lightingMode = 1; });
    record().lightingMode = 9;
    page->Refresh();
    EXPECT_FALSE(page->pickerLive());
    EXPECT_FALSE(live(CDlgLEDSet::kBrightnessId));
    EXPECT_FALSE(page->presetButton(0)->isEnabled());
    click(page->modeButton(2));
    EXPECT_EQ(record().lightingMode, 2);
    EXPECT_TRUE(page->pickerLive());
}

QPoint wheelPoint(double dx, double dy) {
    const QRect w = toQRect(L::kWheel);
    return QPoint(w.center().x() + static_cast<int>(dx * w.width() / 2), w.center().y() + static_cast<int>(dy * w.height() / 2));
}

TEST_F(LedSetTest, WheelClickWithThePickerOffChangesNothing) {
    for (int mode : {3, 4, 6}) {
        open([mode](ProfileRecord& r) { r.lightingMode = mode; });
        const ProfileRecord before = record();
        press(wheelPoint(0.5, 0.2));
        EXPECT_EQ(std::memcmp(&record(), &before, sizeof before), 0) << mode;
        EXPECT_EQ(boxes(), (std::array<QString, 3>{"0", "0", "0"})) << mode;
        EXPECT_EQ(page->cursor().shape(), Qt::ArrowCursor) << mode;
    }
}

TEST_F(LedSetTest, WheelClickStoresExactlyThePaintedPixel) {
    open([](ProfileRecord& r) {
        r.lightingMode = 1;
        r.ledColourIsCustom[3] = 0;
        r.ledColourPreset[3] = 4;
    });
    const QImage art = loadSkinImage(QString::fromStdString(kProgramFolder), QStringLiteral("skins/Light/LedSet_normal.bmp"));
    const QImage shown = page->grab().toImage();
    for (const QPoint at : {wheelPoint(0.9, 0), wheelPoint(-0.3, 0.6), wheelPoint(0, -0.95), wheelPoint(0, 0)}) {
        press(at);
        const QColor c = shown.pixelColor(at);
        const uint32_t expected = static_cast<uint32_t>(c.red() | c.green() << 8 | c.blue() << 16);
        EXPECT_EQ(record().ledColour[3], expected) << at.x() << "," << at.y();
        EXPECT_EQ(art.pixelColor(at), c) << "the page shows its art unchanged";
        EXPECT_EQ(record().ledColourIsCustom[3], 1);
        EXPECT_EQ(colourSliders(), (std::array<int, 3>{c.red(), c.green(), c.blue()}));
        EXPECT_EQ(page->valueBox(1)->text(), QString::number(c.green()));
        EXPECT_EQ(page->swatch(3)->colour(), expected);
        EXPECT_EQ(checkedPreset(), -1);
        EXPECT_EQ(page->cursor().shape(), Qt::CrossCursor);
    }
    EXPECT_NE(record().ledColour[3], 0x00FFFFFFu & art.pixel(wheelPoint(0.9, 0))) << "the wheel is not one colour";
    const uint32_t kept = record().ledColour[3];
    const QRect w = toQRect(L::kWheel);
    press(w.topLeft() + QPoint(2, 2));  // inside the bounding box, outside the ellipse
    EXPECT_EQ(record().ledColour[3], kept);
    EXPECT_EQ(page->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(LedSetTest, HoverHintsIncludeTheCustomBoxStateAndRelayedSwatchMoves) {
    open([](ProfileRecord& r) {
        r.lightingMode = 5;
        r.symphonyCustom = 0;
    });
    const auto centre = [](QWidget* w) { return w->geometry().center(); };
    test::moveTo(page.get(), centre(page->customCycleBox()));
    click(page->customCycleBox());
    host.mainWindow.clear();
    test::moveTo(page.get(), centre(page->customCycleBox()));
    test::moveTo(page.get(), centre(page->titleArea(L::kBacklight)));
    test::moveTo(page.get(), centre(page->modeButton(3)));
    test::moveTo(page->swatch(1), QPoint(4, 4));
    QCoreApplication::sendPostedEvents();
    test::moveTo(page.get(), QPoint(5, 440));
    EXPECT_EQ(hints(), (std::vector<intptr_t>{35, 75, 27, 78}));
    click(page->customCycleBox());
    host.mainWindow.clear();
    test::moveTo(page.get(), centre(page->customCycleBox()));
    EXPECT_EQ(hints(), (std::vector<intptr_t>{34}));
}

TEST_F(LedSetTest, ProximityButtonsStoreAndShowTheirState) {
    open([](ProfileRecord& r) { r.proximitySensing = 1; });
    EXPECT_EQ(page->proximityButton(true)->checkedState(), 1);
    click(page->proximityButton(false));
    EXPECT_EQ(record().proximitySensing, 0);
    EXPECT_EQ(page->proximityButton(true)->checkedState(), 0);
    EXPECT_EQ(page->proximityButton(false)->checkedState(), 1);
}

TEST_F(LedSetTest, LabelsComeFromTheCatalogueAndFollowALanguageChange) {
    open();
    EXPECT_EQ(page->modeButton(1)->caption().toStdU16String(), host.strings.text("str_led_brealways"));
    host.strings.LoadCatalogue(kProgramFolder + "/Language/ger.xml");
    page->applyLabels();
    EXPECT_EQ(page->modeButton(1)->caption().toStdU16String(), host.strings.text("str_led_brealways"));
    EXPECT_EQ(page->proximityButton(true)->caption().toStdU16String(), host.strings.text("str_led_body_on"));
    EXPECT_EQ(page->swatch(3)->caption().toStdU16String(), host.strings.text("str_choose_color"));
    EXPECT_NE(page->modeButton(1)->caption(), QStringLiteral("Steady"));
}

TEST(LedSetLayout, BothCoordinateSetsPlaceTheControlsAtTheLayoutsRectangles) {
    for (int chineseUi : {0, 1}) {
        Host host(chineseUi);
        CDlgLEDSet page(host.state, nullptr);
        const layout::SkinSet set = chineseUi ? layout::SkinSet::Chinese : layout::SkinSet::Standard;
        ASSERT_EQ(page.skinSet(), set);
        host.language.chineseUi = 1 - chineseUi;  // read at creation only
        const auto at = [set](const layout::SetRect& r) { return toQRect(r.in(set)); };
        for (int m = 1; m <= 6; ++m) EXPECT_EQ(page.modeButton(m)->geometry(), at(L::kModes[static_cast<size_t>(m - 1)])) << chineseUi << m;
        EXPECT_EQ(page.customCycleBox()->geometry(), at(L::kCustomCycle)) << chineseUi;
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(page.swatch(static_cast<int>(i))->geometry(), at(L::kCycleSwatches[i])) << chineseUi;
        EXPECT_EQ(page.swatch(3)->geometry(), at(L::kSingleSwatch)) << chineseUi;
        EXPECT_EQ(page.proximityButton(true)->geometry(), at(L::kProximityOn)) << chineseUi;
        EXPECT_EQ(page.proximityButton(false)->geometry(), at(L::kProximityOff)) << chineseUi;
        for (int i = 0; i < L::kPresetCount; ++i) EXPECT_EQ(page.presetButton(i)->geometry(), toQRect(L::presetRect(i, set))) << chineseUi << i;
        for (size_t t = 0; t < L::kTitles.size(); ++t)
            EXPECT_EQ(page.titleArea(static_cast<L::Title>(t))->geometry(), at(L::kTitles[t])) << chineseUi << t;
        for (int c = 0; c < 3; ++c) EXPECT_EQ(page.valueBox(c)->geometry(), toQRect(L::kValueBoxes[static_cast<size_t>(c)]));
        // A slider bar spans its track and is centred on it, as tall as its thumb.
        const std::pair<int, layout::SetRect> sliders[] = {
            {CDlgLEDSet::kBreathingId, L::kBreathingSlider}, {CDlgLEDSet::kBrightnessId, L::kBrightnessSlider},
            {CDlgLEDSet::kCycleSpeedId, L::kCycleSpeedSlider}, {CDlgLEDSet::kRedId, L::kColourSliders[0]},
            {CDlgLEDSet::kGreenId, L::kColourSliders[1]},       {CDlgLEDSet::kBlueId, L::kColourSliders[2]},
        };
        for (const auto& [id, r] : sliders) {
            const QRect bar = page.slider(id)->geometry(), track = at(r);
            EXPECT_EQ(bar.left(), track.left()) << chineseUi << id;
            EXPECT_EQ(bar.width(), track.width()) << chineseUi << id;
            EXPECT_LE(std::abs(bar.center().y() - track.center().y()), 1) << chineseUi << id;
            EXPECT_TRUE(bar.contains(track)) << chineseUi << id;
        }
    }
}

TEST(LedSetLayout, ColourThumbsStopSevenPixelsBeforeTheRightEdge) {
    Host host(0);
    host.settings.current.lightingMode = 1;
    host.settings.current.ledColour[3] = 0x00FFFFFF;
    CDlgLEDSet page(host.state, nullptr);
    page.Refresh();
    for (int id : {CDlgLEDSet::kRedId, CDlgLEDSet::kGreenId, CDlgLEDSet::kBlueId}) {
        const CPngHSliderBar* bar = page.slider(id);
        EXPECT_EQ(bar->thumb()->geometry().right() + 1, bar->width() - L::kColourThumbStop) << id;
    }
    const CPngHSliderBar* brightness = page.slider(CDlgLEDSet::kBrightnessId);
    page.slider(CDlgLEDSet::kBrightnessId)->setPosition(10);
    EXPECT_EQ(brightness->thumb()->geometry().right() + 1, brightness->width());
}

}  // namespace
}  // namespace q30x
