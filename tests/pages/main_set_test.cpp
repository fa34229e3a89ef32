#include <gtest/gtest.h>

#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <cstring>
#include <memory>
#include <vector>

#include "app/standalone_state.h"
#include "buttons/function_names.h"
#include "pages/dlg_main_set.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/images.h"
#include "skin/message_port.h"
#include "skin/slider.h"
#include "support/recording_target.h"
#include "support/temp_folder.h"

namespace q30x {
namespace {

namespace ms = layout::mainset;
using layout::SkinSet;

constexpr int32_t kEnglish = 2, kChinese = 1, kGerman = 5;

class MainSetPage : public testing::Test {
public:
    void SetUp() override { open(kEnglish); }

    void open(int32_t language) {
        page.reset();
        standalone = std::make_unique<StandaloneState>(Folders{Q30X_TEST_LIBDIR, work.path()}, messages, mainWindow,
                                                       language);
        page = std::make_unique<CDlgMainSet>(standalone->state, nullptr);
    }

    ProfileRecord& profile() { return standalone->settings.current; }
    // The profile changed behind the page's back, as a switch or an import does.
    void load(const ProfileRecord& record) {
        profile() = record;
        page->Refresh();
    }
    void timer(uint32_t id) { page->port()->send(msg::kTimer, id, 0); }
    void type(const QString& text) {
        page->wheelEdit()->selectAll();
        QTest::keyClick(page->wheelEdit(), Qt::Key_Backspace);
        QTest::keyClicks(page->wheelEdit(), text);
    }
    void moveTo(const QPoint& pagePoint) {
        QMouseEvent move(QEvent::MouseMove, pagePoint, page->mapToGlobal(pagePoint), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(page.get(), &move);
    }
    std::vector<intptr_t> hints() const {
        std::vector<intptr_t> shown;
        for (const auto& m : mainWindow.messages())
            if (m.message == msg::kShowHint) shown.push_back(m.lParam);
        return shown;
    }
    std::vector<int32_t> dpiLevels() { return {std::begin(profile().dpiLevels), std::end(profile().dpiLevels)}; }

    test::TempFolder work;
    test::RecordedMessages messages;
    test::RecordingTarget mainWindow;
    std::unique_ptr<StandaloneState> standalone;
    std::unique_ptr<CDlgMainSet> page;
};

ProfileRecord defaults() {
    ProfileRecord record;
    fillProfileDefaults(record, 0);
    return record;
}

std::size_t dpiIndex(int32_t value) {
    return static_cast<std::size_t>(std::find(kOfferedDpiValues.begin(), kOfferedDpiValues.end(), value) -
                                    kOfferedDpiValues.begin());
}

// ---- DPI levels ------------------------------------------------------------

TEST_F(MainSetPage, DpiClicksKeepOneToSevenLevelsInTableOrder) {
    struct Case {
        const char* name;
        std::vector<int32_t> stored;
        std::vector<int32_t> clicks;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {"an eighth level does nothing", {750, 1250, 1500, 2000, 2500, 3500, 4000}, {500},
         {750, 1250, 1500, 2000, 2500, 3500, 4000}},
        {"table order, not click order", {750, 1250, 1500, 2000, 2500, 3500, 4000}, {2500, 7000, 500},
         {750, 1250, 1500, 2000, 3500, 4000, 7000}},
        {"the last level stays", {1000}, {1000}, {1000}},
        {"a second level joins in order", {3000}, {500}, {500, 3000}},
        {"levels outside the table are dropped by a click", {1750, 3000}, {500}, {500, 3000}},
    };
    for (const Case& c : cases) {
        ProfileRecord record = defaults();
        std::fill(std::begin(record.dpiLevels), std::end(record.dpiLevels), 0);
        std::copy(c.stored.begin(), c.stored.end(), record.dpiLevels);
        load(record);
        for (int32_t value : c.clicks) page->dpiButton(static_cast<int>(dpiIndex(value)))->click();
        std::vector<int32_t> expected = c.expected;
        expected.resize(kDpiSlots, 0);
        EXPECT_EQ(dpiLevels(), expected) << c.name;
        for (std::size_t i = 0; i < kOfferedDpiValues.size(); ++i)
            EXPECT_EQ(page->dpiButton(static_cast<int>(i))->checkedState() != 0,
                      std::count(c.expected.begin(), c.expected.end(), kOfferedDpiValues[i]) == 1)
                << c.name << ", " << kOfferedDpiValues[i];
    }
}

// ---- Showing what a profile holds, and never writing it ---------------------

TEST_F(MainSetPage, RefreshShowsWhatItCanOfDamagedProfiles) {
    struct Case {
        const char* name;
        void (*damage)(ProfileRecord&);
        std::vector<int32_t> checkedDpi;
        int rate;  // -1: none
        int speed, height;
        const char* wheelText;
        bool lines;
    };
    const Case cases[] = {
        {"defaults", [](ProfileRecord&) {}, {750, 1250, 1500, 2000, 2500, 3500, 4000}, 3, 10, 15, "3", true},
        {"1750 and 0 check nothing", [](ProfileRecord& r) { r.dpiLevels[0] = 1750; r.dpiLevels[3] = 0; },
         {1250, 1500, 2500, 3500, 4000}, 3, 10, 15, "3", true},
        {"slots past seven are not looked at", [](ProfileRecord& r) { r.dpiLevels[7] = 500; },
         {750, 1250, 1500, 2000, 2500, 3500, 4000}, 3, 10, 15, "3", true},
        {"interval 3", [](ProfileRecord& r) { r.reportInterval = 3; }, {750, 1250, 1500, 2000, 2500, 3500, 4000}, -1,
         10, 15, "3", true},
        {"interval 8", [](ProfileRecord& r) { r.reportInterval = 8; }, {750, 1250, 1500, 2000, 2500, 3500, 4000}, 0,
         10, 15, "3", true},
        {"speed 0, height 99, wheel 0",
         [](ProfileRecord& r) { r.pointerSpeed = 0; r.heightSetting = 99; r.wheelScrollLines = 0; },
         {750, 1250, 1500, 2000, 2500, 3500, 4000}, 3, 1, 30, "1", true},
        {"speed 99, height -4, wheel 1000",
         [](ProfileRecord& r) { r.pointerSpeed = 99; r.heightSetting = -4; r.wheelScrollLines = 1000; },
         {750, 1250, 1500, 2000, 2500, 3500, 4000}, 3, 20, 1, "30", true},
        {"one screen", [](ProfileRecord& r) { r.wheelScrollLines = -1; }, {750, 1250, 1500, 2000, 2500, 3500, 4000},
         3, 10, 15, "1", false},
    };
    for (const Case& c : cases) {
        ProfileRecord record = defaults();
        c.damage(record);
        load(record);
        for (std::size_t i = 0; i < kOfferedDpiValues.size(); ++i)
            EXPECT_EQ(page->dpiButton(static_cast<int>(i))->checkedState() != 0,
                      std::count(c.checkedDpi.begin(), c.checkedDpi.end(), kOfferedDpiValues[i]) == 1)
                << c.name << ", " << kOfferedDpiValues[i];
        for (int i = 0; i < 4; ++i) EXPECT_EQ(page->rateRadio(i)->checkedState() != 0, i == c.rate) << c.name << ", radio " << i;
        EXPECT_EQ(page->speedSlider()->position(), c.speed) << c.name;
        EXPECT_EQ(page->heightSlider()->position(), c.height) << c.name;
        EXPECT_EQ(page->wheelEdit()->text(), QString::fromLatin1(c.wheelText)) << c.name;
        EXPECT_EQ(page->wheelLinesRadio()->checkedState() != 0, c.lines) << c.name;
        EXPECT_EQ(page->wheelScreenRadio()->checkedState() != 0, !c.lines) << c.name;
        EXPECT_EQ(page->wheelEdit()->isEnabled(), c.lines) << c.name;
        EXPECT_EQ(page->spinUp()->isEnabled(), c.lines) << c.name;
    }
}

TEST_F(MainSetPage, DamagedValuesTheUserDidNotTouchAreNeverWrittenBack) {
    ProfileRecord record = defaults();
    record.dpiLevels[0] = 1750;
    record.reportInterval = 3;
    record.pointerSpeed = 99;
    record.heightSetting = 0;
    record.wheelScrollLines = 1000;
    record.enhancePointerPrecision = 5;
    record.buttons[2].functionType = 777;  // no catalogue knows it
    std::fill(std::begin(record.buttons[4].label), std::end(record.buttons[4].label), u'x');  // no terminator
    load(record);
    for (int i = 0; i < 3; ++i) {
        timer(CDlgMainSet::kWheelTimer);
        timer(CDlgMainSet::kMarkerTimer);
    }
    page->commitWheelField();
    page->applyLabels();
    page->Refresh();
    EXPECT_EQ(std::memcmp(&profile(), &record, sizeof record), 0);
    EXPECT_TRUE(page->tab(2)->marked());
    EXPECT_EQ(page->tab(4)->label(), QString(static_cast<int>(kPathUnits), QLatin1Char('x')));
}

// ---- Precision, rate and sliders -------------------------------------------

TEST_F(MainSetPage, ControlsStoreTheirValuesAndSendNothing) {
    struct Case {
        const char* name;
        void (*act)(CDlgMainSet&);
        int32_t ProfileRecord::*field;
        int32_t expected;
    };
    const Case cases[] = {
        {"precision on", [](CDlgMainSet& p) { p.precisionBox()->click(); }, &ProfileRecord::enhancePointerPrecision, 1},
        {"precision off again", [](CDlgMainSet& p) { p.precisionBox()->click(); p.precisionBox()->click(); },
         &ProfileRecord::enhancePointerPrecision, 0},
        {"125 Hz", [](CDlgMainSet& p) { p.rateRadio(0)->click(); }, &ProfileRecord::reportInterval, 8},
        {"250 Hz", [](CDlgMainSet& p) { p.rateRadio(1)->click(); }, &ProfileRecord::reportInterval, 4},
        {"500 Hz", [](CDlgMainSet& p) { p.rateRadio(2)->click(); }, &ProfileRecord::reportInterval, 2},
        {"speed slider", [](CDlgMainSet& p) { p.port()->send(msg::kSliderChanged, 17, ms::kSpeedSliderId); },
         &ProfileRecord::pointerSpeed, 17},
        {"lift-off slider", [](CDlgMainSet& p) { p.port()->send(msg::kSliderChanged, 4, ms::kHeightSliderId); },
         &ProfileRecord::heightSetting, 4},
        {"another slider's id", [](CDlgMainSet& p) { p.port()->send(msg::kSliderChanged, 4, 2561); },
         &ProfileRecord::heightSetting, 15},
    };
    for (const Case& c : cases) {
        load(defaults());
        mainWindow.clear();
        c.act(*page);
        EXPECT_EQ(profile().*c.field, c.expected) << c.name;
        EXPECT_TRUE(mainWindow.messages().empty()) << c.name;
    }
    load(defaults());
    page->rateRadio(1)->click();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(page->rateRadio(i)->checkedState() != 0, i == 1);
}

// ---- The wheel ---------------------------------------------------------------

TEST_F(MainSetPage, TheWheelCheckNormalisesWhatWasTyped) {
    struct Case {
        const char* typed;
        int32_t stored;
        const char* shown;
    };
    const Case cases[] = {
        {"007", 7, "7"}, {"45", 30, "30"}, {"", 1, "1"}, {"0", 1, "1"}, {"000", 1, "1"},
        {"30", 30, "30"}, {"12", 12, "12"}, {"99999999999999999999", 30, "30"},
    };
    for (const Case& c : cases) {
        load(defaults());
        type(QString::fromLatin1(c.typed));
        EXPECT_EQ(profile().wheelScrollLines, 3) << c.typed << ": nothing before the check";
        timer(CDlgMainSet::kWheelTimer);
        EXPECT_EQ(profile().wheelScrollLines, c.stored) << c.typed;
        EXPECT_EQ(page->wheelEdit()->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(page->wheelEdit()->cursorPosition(), page->wheelEdit()->text().size()) << c.typed;
    }
    // OK commits it too, without waiting for the timer.
    load(defaults());
    type(QStringLiteral("045"));
    page->commitWheelField();
    EXPECT_EQ(profile().wheelScrollLines, 30);
}

TEST_F(MainSetPage, OneScreenStoresMinusOneAndLinesBringsBackTheFieldsValue) {
    struct Case {
        const char* name;
        void (*before)(MainSetPage&);
        int32_t linesAgain;
    };
    const Case cases[] = {
        {"spun up", [](MainSetPage& t) { t.page->spinUp()->click(); }, 4},
        {"typed, not yet checked", [](MainSetPage& t) { t.type(QStringLiteral("12")); }, 12},
        {"typed and checked", [](MainSetPage& t) { t.type(QStringLiteral("9")); t.timer(CDlgMainSet::kWheelTimer); }, 9},
    };
    for (const Case& c : cases) {
        load(defaults());
        c.before(*this);
        page->wheelScreenRadio()->click();
        EXPECT_EQ(profile().wheelScrollLines, -1) << c.name;
        EXPECT_FALSE(page->wheelEdit()->isEnabled()) << c.name;
        EXPECT_FALSE(page->spinDown()->isEnabled()) << c.name;
        timer(CDlgMainSet::kWheelTimer);
        EXPECT_EQ(profile().wheelScrollLines, -1) << c.name << ": no check while one screen is chosen";
        page->wheelLinesRadio()->click();
        EXPECT_EQ(profile().wheelScrollLines, c.linesAgain) << c.name;
        EXPECT_TRUE(page->wheelEdit()->isEnabled()) << c.name;
    }
}

TEST_F(MainSetPage, SpinButtonsStayWithinOneToThirty) {
    struct Case {
        int32_t stored;
        bool up;
        int32_t expected;
    };
    const Case cases[] = {{3, true, 4}, {3, false, 2}, {30, true, 30}, {1, false, 1}, {1000, false, 29}, {0, true, 2}};
    for (const Case& c : cases) {
        ProfileRecord record = defaults();
        record.wheelScrollLines = c.stored;
        load(record);
        (c.up ? page->spinUp() : page->spinDown())->click();
        EXPECT_EQ(profile().wheelScrollLines, c.expected) << c.stored << (c.up ? " up" : " down");
        EXPECT_EQ(page->wheelEdit()->text(), QString::number(c.expected));
    }
}

// ---- Coordinates ---------------------------------------------------------------

TEST_F(MainSetPage, BothCoordinateSetsPlaceTheControlsAtTheLayoutsRectangles) {
    for (const auto& [language, set] : {std::pair{kChinese, SkinSet::Chinese}, std::pair{kEnglish, SkinSet::Standard}}) {
        open(language);
        ASSERT_EQ(page->skinSet(), set);
        std::vector<std::pair<QWidget*, layout::Rect>> expected;
        for (int i = 0; i < 14; ++i) expected.emplace_back(page->dpiButton(i), ms::kDpi[static_cast<std::size_t>(i)]);
        expected.emplace_back(page->speedSlider(), ms::kSpeedSlider);
        expected.emplace_back(page->precisionBox(), ms::kPrecision);
        expected.emplace_back(page->heightSlider(), ms::kHeightSlider);
        for (int i = 0; i < 4; ++i) expected.emplace_back(page->rateRadio(i), ms::kRates[static_cast<std::size_t>(i)]);
        expected.emplace_back(page->wheelLinesRadio(), ms::kWheelLines.in(set));
        expected.emplace_back(page->wheelEdit(), ms::kWheelEdit.in(set));
        expected.emplace_back(page->spinUp(), ms::kSpinUp.in(set));
        expected.emplace_back(page->spinDown(), ms::kSpinDown.in(set));
        expected.emplace_back(page->wheelScreenRadio(), ms::kWheelScreen.in(set));
        for (int i = 0; i < 7; ++i) expected.emplace_back(page->marker(i), ms::kMarkers[static_cast<std::size_t>(i)].in(set));
        for (int i = 0; i < 6; ++i) expected.emplace_back(page->title(i), ms::kTitles[static_cast<std::size_t>(i)]);
        for (const auto& [control, r] : expected) EXPECT_EQ(control->geometry(), toQRect(r)) << "set " << int(set);
        for (std::size_t i = 0; i < ms::kTabs.size(); ++i) {
            QPolygon quad;
            for (const auto& point : ms::kTabs[i]) quad << QPoint(point.x, point.y);
            EXPECT_EQ(page->tab(static_cast<int>(i))->geometry(), QRegion(quad).boundingRect()) << "tab " << i;
        }
    }
    EXPECT_NE(ms::kWheelEdit.chinese.left, ms::kWheelEdit.standard.left);
}

// ---- Hints and markers ---------------------------------------------------------

TEST_F(MainSetPage, HoverPostsTheHintOfEveryControlUnderThePointer) {
    const QRect dpi0 = toQRect(ms::kDpi[0]);
    struct Case {
        const char* name;
        QPoint at;
        std::vector<intptr_t> expected;
    };
    const Case cases[] = {
        {"DPI level", dpi0.center(), {12}},
        {"one pixel left of a DPI level", QPoint(dpi0.left() - 1, dpi0.center().y()), {12}},
        {"two pixels left of it", QPoint(dpi0.left() - 2, dpi0.center().y()), {}},
        {"pointer speed", toQRect(ms::kSpeedSlider).center(), {13}},
        {"precision", toQRect(ms::kPrecision).center(), {14}},
        {"lift-off", toQRect(ms::kHeightSlider).center(), {15}},
        {"a rate", toQRect(ms::kRates[2]).center(), {16}},
        {"lines", toQRect(ms::kWheelLines.standard).center(), {17}},
        {"one screen", toQRect(ms::kWheelScreen.standard).center(), {18}},
        {"a tab", QPoint(60, 425), {65}},
        {"DPI title", toQRect(ms::kTitles[ms::kTitleDpi]).center(), {61}},
        {"pointer title", toQRect(ms::kTitles[ms::kTitlePointer]).center(), {13}},
        {"sensor title", toQRect(ms::kTitles[ms::kTitleSensor]).center(), {62}},
        {"rate title", toQRect(ms::kTitles[ms::kTitleRate]).center(), {63}},
        {"wheel title", toQRect(ms::kTitles[ms::kTitleWheel]).center(), {64}},
        {"keys title", toQRect(ms::kTitles[ms::kTitleKeys]).center(), {65}},
        {"the mouse picture", QPoint(880, 420), {}},
    };
    for (const Case& c : cases) {
        mainWindow.clear();
        moveTo(c.at);
        EXPECT_EQ(hints(), c.expected) << c.name;
    }
    // Controls that do not pass their moves on are watched by the page.
    mainWindow.clear();
    // The thumb stands out above its bar; its lower part lies over the bar.
    const QPointF onBar(3, layout::slider::kThumb.height - 4);
    QMouseEvent overThumb(QEvent::MouseMove, onBar, onBar, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page->heightSlider()->thumb(), &overThumb);
    EXPECT_EQ(hints(), std::vector<intptr_t>{15});
    mainWindow.clear();
    const QPointF onTab(page->tab(2)->width() / 2, page->tab(2)->height() / 2);
    QMouseEvent overTab(QEvent::MouseMove, onTab, onTab, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page->tab(2), &overTab);
    EXPECT_EQ(hints(), std::vector<intptr_t>{65});
}

TEST_F(MainSetPage, TimerSeventeenLightsTheMarkerOfTheTabUnderThePointer) {
    page->show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    const QRect tab3 = page->tab(3)->geometry();
    struct Case {
        const char* name;
        QPoint at;
        int lit;  // -1: none
    };
    const Case cases[] = {
        {"middle of tab 3", tab3.center(), 3},
        {"17 pixels inside its left edge", QPoint(tab3.left() + CDlgMainSet::kMarkerInset, tab3.center().y()), 3},
        {"16 pixels inside it", QPoint(tab3.left() + CDlgMainSet::kMarkerInset - 1, tab3.center().y()), -1},
        {"middle of tab 0", page->tab(0)->geometry().center(), 0},
        {"above the tabs", QPoint(tab3.center().x(), tab3.top() - 1), -1},
    };
    for (const Case& c : cases) {
        QCursor::setPos(page->mapToGlobal(c.at));
        timer(CDlgMainSet::kMarkerTimer);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(page->marker(i)->checkedState() != 0, i == c.lit) << c.name << ", marker " << i;
    }
}

// ---- Tabs -------------------------------------------------------------------------

TEST_F(MainSetPage, ATabTranslatesItsLabelOpensTheAssignmentAndShowsTheOutcome) {
    std::vector<int> opened;
    setFixedText(profile().buttons[0].label, u"单击");
    page->Refresh();
    EXPECT_EQ(page->tab(0)->label(), QStringLiteral("Click"));
    EXPECT_FALSE(page->tab(5)->marked());
    struct Case {
        int tab;
        const char16_t* labelBefore;  // in the profile when the popup opens
    };
    const Case cases[] = {{0, u"Click"}, {5, u"Scroll up"}};
    for (const Case& c : cases) {
        std::u16string seen;
        page->setOpenAssignment([&](int index) {
            opened.push_back(index);
            seen = fixedText(profile().buttons[index].label);
            profile().buttons[index].functionType = 32;
            setFixedText(profile().buttons[index].label, u"Play/Pause");
        });
        CKeyTab* tab = page->tab(c.tab);
        QTest::mousePress(tab, Qt::LeftButton, {}, QPoint(tab->width() / 3, tab->height() / 2));
        QTest::mouseRelease(tab, Qt::LeftButton, {}, QPoint(tab->width() / 3, tab->height() / 2));
        EXPECT_EQ(opened.back(), c.tab);
        EXPECT_EQ(seen, c.labelBefore);
        EXPECT_TRUE(tab->marked()) << c.tab;
        EXPECT_EQ(tab->label(), QStringLiteral("Play/Pause"));
    }
    EXPECT_EQ(opened, (std::vector<int>{0, 5}));
}

TEST_F(MainSetPage, ATabWithoutAHookOrWithAnUnterminatedLabelChangesNothing) {
    std::fill(std::begin(profile().buttons[1].label), std::end(profile().buttons[1].label), u'y');
    page->Refresh();
    const ProfileRecord before = profile();
    CKeyTab* tab = page->tab(1);
    QTest::mouseClick(tab, Qt::LeftButton, {}, QPoint(tab->width() / 2, tab->height() / 2));
    EXPECT_EQ(std::memcmp(&profile(), &before, sizeof before), 0);
}

// ---- Texts and keys -----------------------------------------------------------------

TEST(SectionTitle, IsTheHintsLeadUpToItsColon) {
    struct Case {
        std::u16string_view hint, title;
    };
    const Case cases[] = {
        {u"DPI: the levels", u"DPI"},
        {u"Capteur : hauteur", u"Capteur"},
        {u"传感器：鼠标抬起", u"传感器"},
        {u"Pointer speed", u"Pointer speed"},
        {u"", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(mainset::sectionTitle(c.hint), c.title);
}

TEST_F(MainSetPage, ApplyLabelsDrawsTheNewLanguagesTexts) {
    const QRect title = toQRect(ms::kTitles[ms::kTitlePointer]);
    const QRect precision = toQRect(ms::kPrecisionText);
    // The art has no text: the page draws it.
    EXPECT_NE(page->labelledNormal().copy(title), page->normalImage().convertToFormat(QImage::Format_RGB32).copy(title));
    const QImage englishTitle = page->labelledNormal().copy(title);
    const QImage englishPrecision = page->labelledNormal().copy(precision);
    const QString englishTooltip = page->dpiButton(0)->toolTip();

    LanguageContext context{standalone->folders, messages, standalone->language, standalone->strings};
    loadLanguage(context, kGerman);
    page->applyLabels();
    EXPECT_NE(page->labelledNormal().copy(title), englishTitle);
    EXPECT_NE(page->labelledNormal().copy(precision), englishPrecision);
    EXPECT_EQ(page->dpiButton(0)->toolTip().toStdU16String(), standalone->strings.text("str_dpiwant"));
    EXPECT_NE(page->dpiButton(0)->toolTip(), englishTooltip);
    EXPECT_EQ(page->wheelScreenRadio()->toolTip().toStdU16String(), standalone->strings.text("str_rollerScreen"));
}

// A window around the page that notes every key reaching it.
struct KeyRecorder : QWidget {
    std::vector<int> keys;
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

TEST_F(MainSetPage, EnterAndEscapeNeverLeaveThePage) {
    KeyRecorder around;
    page->setParent(&around);
    // The line edit passes these on to its parents; the page keeps them.
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(page->wheelEdit(), key);
    EXPECT_TRUE(around.keys.empty());
    page->setParent(nullptr);
}

}  // namespace
}  // namespace q30x
