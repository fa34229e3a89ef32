#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "platform/messages.h"
#include "recorder.h"
#include "skin/bitmap_button.h"
#include "skin/list_box.h"
#include "skin/skin_scroll.h"
#include "support/temp_folder.h"

namespace q30x {
namespace {

using test::Message;
using test::RecordingWindow;

const QColor kBackground{0x00, 0x00, 0x80};
const QColor kSelectedBackground{0x00, 0x80, 0x00};
const QColor kText{0xFF, 0xFF, 0xFF};
const QColor kSelectedText{0xFF, 0xFF, 0x00};
// Kind icons as solid squares: each file its own colour.
const std::pair<const char*, QColor> kIconFiles[] = {
    {"up_normal.png", QColor(0xC0, 0x00, 0x00)},    {"up_select.png", QColor(0xC0, 0x00, 0xC0)},
    {"down_normal.png", QColor(0x00, 0xC0, 0xC0)},  {"down_select.png", QColor(0x80, 0x40, 0x00)},
    {"delay_normal.png", QColor(0x40, 0x40, 0x40)}, {"delay_select.png", QColor(0xA0, 0xA0, 0x00)},
};

QColor iconColour(const char* file) {
    for (const auto& [name, colour] : kIconFiles)
        if (std::string_view(name) == file) return colour;
    return {};
}

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString skins = QString::fromStdString(folder.path()) + "/skins";
        QDir().mkpath(skins);
        for (const auto& [name, colour] : kIconFiles) {
            QImage icon(16, 16, QImage::Format_RGB32);
            icon.fill(colour);
            ASSERT_TRUE(icon.save(skins + "/" + name));
        }
        list = makeList(QRect(10, 10, 200, 100), 257);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    CListBoxEx* makeList(const QRect& r, int id) {
        auto* l = new CListBoxEx(r, &window, id, QString::fromStdString(folder.path()));
        l->setColours(kBackground, kSelectedBackground);
        l->setTextColours(kText, kSelectedText);
        l->setItemHeight(20);
        return l;
    }

    // The middle of the icon place of a row.
    static QColor iconPixel(CListBoxEx* l, int row) { return l->grab().toImage().pixelColor(5 + 8, row * 20 + 1 + 8); }
    QColor iconPixel(int row) { return iconPixel(list, row); }
    // Whether a row has ink of `ink` left of where text stands beside the
    // icon column.
    static bool inkBeforeIconColumn(CListBoxEx* l, int row, QColor ink) {
        const QImage img = l->grab().toImage();
        for (int y = row * 20; y < row * 20 + 20; ++y)
            for (int x = 5; x < 26; ++x)
                if (img.pixelColor(x, y) == ink) return true;
        return false;
    }
    bool inkBeforeIconColumn(int row, QColor ink) { return inkBeforeIconColumn(list, row, ink); }
    // Clicks in a row; a second click on the same row goes elsewhere in it,
    // so that the two do not make a double click.
    // As a mouse makes it: a click, then the second press as a double click.
    void doubleClick(QPoint p) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
    }
    void click(int row, int x = 100) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(x, row * 20 + 10)); }

    test::TempFolder folder;
    RecordingWindow window{QSize(500, 300)};
    CListBoxEx* list = nullptr;
};

TEST(ItemData, KindTakesTheTopByteOnlyWhenItIsNotZero) {
    struct Case {
        uint8_t kind;
        uint32_t value, data;
    };
    const Case cases[] = {
        {0, 0x12345678, 0x12345678}, {0, 0xFFFFFFFF, 0xFFFFFFFF}, {3, 0x12345678, 0x03345678},
        {2, 0x00000041, 0x02000041}, {4, 0xFFFFFFFF, 0x04FFFFFF}, {255, 1, 0xFF000001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(packItemData(c.kind, c.value), c.data) << int(c.kind) << " " << c.value;
        EXPECT_EQ(kindOf(c.data), c.kind ? c.kind : c.value >> 24);
    }
}

TEST_F(ListBoxTest, WideValueSurvivesKindZeroAndLosesItsTopByteToAKind) {
    list->addRow(0, QStringLiteral("macro"), 0x15000007);
    list->addRow(4, QStringLiteral("300  ms"), 0x15000007);
    EXPECT_EQ(list->itemData(0), 0x15000007u);
    EXPECT_EQ(list->itemData(1), 0x04000007u);
    EXPECT_EQ(list->itemData(2), std::nullopt);
    EXPECT_EQ(list->itemData(-1), std::nullopt);
}

TEST_F(ListBoxTest, KindZeroTurnsTheIconColumnOffForEveryRowUntilAKindComesBack) {
    list->addRow(3, QStringLiteral("A"), 0x41);
    list->addRow(2, QStringLiteral("A"), 0x41);
    EXPECT_EQ(iconPixel(0), iconColour("down_normal.png"));
    EXPECT_EQ(iconPixel(1), iconColour("up_select.png"));  // the new row is selected
    EXPECT_FALSE(inkBeforeIconColumn(0, kText));

    list->addRow(0, QStringLiteral("plain"), 7);
    EXPECT_FALSE(list->showsIcons());
    EXPECT_EQ(iconPixel(0), kBackground);
    EXPECT_EQ(iconPixel(1), kBackground);
    EXPECT_TRUE(inkBeforeIconColumn(0, kText));

    list->addRow(4, QStringLiteral("20  ms"), 20);
    EXPECT_TRUE(list->showsIcons());
    EXPECT_EQ(iconPixel(0), iconColour("down_normal.png"));
    EXPECT_EQ(iconPixel(3), iconColour("delay_select.png"));
    // A kind-0 row among icon rows keeps its text at the left edge.
    EXPECT_TRUE(inkBeforeIconColumn(2, kText));
}

TEST_F(ListBoxTest, KindsWithoutAnIconIndentTheirTextAndMissingIconsAreNotDrawn) {
    struct Case {
        uint8_t kind;
        bool iconsInFolder;
        QColor iconPlace;
    };
    const Case cases[] = {
        {1, true, kSelectedBackground},  // no icon of its own
        {9, true, kSelectedBackground},  // an unknown kind
        {3, false, kSelectedBackground},  // icon file missing
        {3, true, iconColour("down_select.png")},
    };
    for (const Case& c : cases) {
        const QString program = c.iconsInFolder ? QString::fromStdString(folder.path()) : QStringLiteral("/nonexistent");
        CListBoxEx l(QRect(10, 120, 200, 40), &window, 1, program);
        l.setColours(kBackground, kSelectedBackground);
        l.setTextColours(kText, kSelectedText);
        l.setItemHeight(20);
        l.addRow(c.kind, QStringLiteral("WWW"), 0);
        EXPECT_EQ(iconPixel(&l, 0), c.iconPlace) << int(c.kind);
        EXPECT_FALSE(inkBeforeIconColumn(&l, 0, kSelectedText)) << int(c.kind);
    }
}

TEST_F(ListBoxTest, SelectedRowTakesTheSelectedColoursAndADisabledListTheShadowText) {
    list->addRow(0, QStringLiteral("HHHH"), 1);
    list->addRow(0, QStringLiteral("HHHH"), 2);
    list->setSelection(0);
    QImage img = list->grab().toImage();
    EXPECT_EQ(img.pixelColor(190, 10), kSelectedBackground);
    EXPECT_EQ(img.pixelColor(190, 30), kBackground);
    EXPECT_EQ(img.pixelColor(190, 60), kBackground);  // below the rows
    EXPECT_TRUE(inkBeforeIconColumn(0, kSelectedText));
    EXPECT_TRUE(inkBeforeIconColumn(1, kText));

    list->setEnabled(false);
    img = list->grab().toImage();
    EXPECT_EQ(img.pixelColor(190, 30), kBackground);
    EXPECT_EQ(img.pixelColor(190, 60), list->palette().color(QPalette::Disabled, QPalette::Window));
    const QColor shadow = list->palette().color(QPalette::Dark);
    EXPECT_TRUE(inkBeforeIconColumn(0, shadow));
    EXPECT_TRUE(inkBeforeIconColumn(1, shadow));
    EXPECT_FALSE(inkBeforeIconColumn(1, kText));
}

TEST_F(ListBoxTest, RowsAreTheItemHeightHighAndScrollByWholeRows) {
    for (int i = 0; i < 12; ++i) list->addRow(0, QString::number(i), static_cast<uint32_t>(i));
    // 100 pixels hold 5 rows of 20.
    const QScrollBar* bar = list->verticalScrollBar();
    EXPECT_EQ(bar->pageStep(), 5);
    EXPECT_EQ(bar->maximum(), 7);
    EXPECT_EQ(bar->value(), 7);  // the last row was selected, so it is in view
    EXPECT_EQ(list->rowAt(QPoint(5, 99)), 11);
    list->setSelection(2);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(list->rowAt(QPoint(5, 0)), 2);

    list->setItemHeight(10);
    EXPECT_EQ(bar->pageStep(), 10);
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(list->rowRect(3).height(), 10);
    list->setItemHeight(0);  // no division by zero: one pixel
    EXPECT_EQ(list->itemHeight(), 1);
}

TEST_F(ListBoxTest, SelectionNotifiesTheTargetWhenUsedElseTheListsWindow) {
    RecordingWindow target;
    struct Case {
        bool setTarget, useTarget, toTarget;
    };
    const Case cases[] = {{false, false, false}, {true, true, true}, {true, false, false}};
    for (const Case& c : cases) {
        window.received.clear();
        target.received.clear();
        list->setNotifyTarget(c.setTarget ? &target : nullptr, c.useTarget);
        list->resetContent();
        list->addRow(0, QStringLiteral("one"), 1);
        list->addRow(0, QStringLiteral("two"), 2);
        click(0);
        const std::vector<Message> expected{{msg::kListSelectionChanged, 257, 0}};
        EXPECT_EQ(target.messages(), c.toTarget ? expected : std::vector<Message>{}) << c.setTarget << c.useTarget;
        EXPECT_EQ(window.messages(), c.toTarget ? std::vector<Message>{} : expected) << c.setTarget << c.useTarget;
    }
}

TEST_F(ListBoxTest, OnlyTheUsersSelectionsNotify) {
    list->addRow(0, QStringLiteral("one"), 1);
    list->addRow(0, QStringLiteral("two"), 2);
    list->insertRow(0, 0, QStringLiteral("zero"), 0);
    list->setSelection(2);
    EXPECT_TRUE(window.messages().empty());
    click(1);
    click(1, 20);  // the selected row again
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(100, 90));  // below the rows
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(100, 10));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);  // already the last row
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kListSelectionChanged, 257, 1},
                                                {msg::kListSelectionChanged, 257, 1},
                                                {msg::kListSelectionChanged, 257, 2},
                                                {msg::kListSelectionChanged, 257, 0}}));
    EXPECT_EQ(list->selection(), 0);
}

TEST_F(ListBoxTest, NotificationsReachTheListsWindowAfterTheScrollFrameTookIt) {
    list->addRow(0, QStringLiteral("one"), 1);
    list->addRow(0, QStringLiteral("two"), 2);
    CSkinScrollWnd::wrap(list, QImage());
    click(1);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kListSelectionChanged, 257, 1}}));
}

TEST_F(ListBoxTest, InsertReplaceAndDeleteKeepTheRowsInOrder) {
    list->addRow(0, QStringLiteral("b"), 2);
    EXPECT_TRUE(list->insertRow(0, 0, QStringLiteral("a"), 1));
    EXPECT_TRUE(list->insertRow(-1, 0, QStringLiteral("d"), 4));  // -1 appends
    EXPECT_FALSE(list->insertRow(4, 0, QStringLiteral("x"), 9));  // past the end
    EXPECT_FALSE(list->insertRow(-2, 0, QStringLiteral("x"), 9));
    EXPECT_TRUE(list->replaceRow(2, 3, QStringLiteral("c"), 3));
    EXPECT_EQ(list->selection(), 2);
    EXPECT_FALSE(list->replaceRow(3, 0, QStringLiteral("x"), 9));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->text(0), QStringLiteral("a"));
    EXPECT_EQ(list->text(2), QStringLiteral("c"));
    EXPECT_EQ(list->itemData(2), 0x03000003u);

    EXPECT_TRUE(list->deleteRow(0));
    EXPECT_EQ(list->selection(), 1);  // the selected row moved up with the rest
    EXPECT_TRUE(list->deleteRow(1));
    EXPECT_EQ(list->selection(), -1);
    EXPECT_FALSE(list->deleteRow(1));
    EXPECT_EQ(list->count(), 1);
    EXPECT_TRUE(window.messages().empty());
}

TEST_F(ListBoxTest, EnterCommitsTheEditAndReportsTheRow) {
    list->addRow(0, QStringLiteral("Old"), 0x15000009);
    list->addRow(0, QStringLiteral("New Macro"), 0x15000010, true);
    QLineEdit* editor = list->editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("New Macro"));
    EXPECT_EQ(editor->selectedText(), QStringLiteral("New Macro"));
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(list->editedRow(), 1);
    QTest::keyClicks(editor, QStringLiteral("Jump"));
    QTest::keyPress(editor, Qt::Key_Return);
    EXPECT_EQ(list->editor(), editor);  // the release decides
    QTest::keyRelease(editor, Qt::Key_Return);
    EXPECT_EQ(list->editor(), nullptr);
    EXPECT_EQ(list->editedRow(), -1);
    EXPECT_EQ(list->text(1), QStringLiteral("Jump"));
    EXPECT_EQ(list->itemData(1), 0x15000010u);
    EXPECT_EQ(list->selection(), 1);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kListRowRenamed, 257, 1}}));
}

TEST_F(ListBoxTest, EscapeCancelsWithoutReportAndKeepsTheText) {
    list->addRow(0, QStringLiteral("Keep"), 1, true);
    list->addRow(0, QStringLiteral("Other"), 2);  // closes the editor without saving
    EXPECT_EQ(list->editor(), nullptr);
    list->setDoubleClickEditing(true);
    doubleClick(QPoint(100, 10));
    ASSERT_NE(list->editor(), nullptr);
    EXPECT_EQ(list->editedRow(), 0);
    QTest::keyClicks(list->editor(), QStringLiteral("Changed"));
    QTest::keyClick(list->editor(), Qt::Key_Escape);
    EXPECT_EQ(list->editor(), nullptr);
    EXPECT_EQ(list->text(0), QStringLiteral("Keep"));
    EXPECT_EQ(list->selection(), 0);
    for (const Message& m : window.messages()) EXPECT_NE(m.message, msg::kListRowRenamed);
}

TEST_F(ListBoxTest, ClickingElsewhereCommits) {
    auto* other = new QLineEdit(&window);
    other->setGeometry(250, 10, 100, 20);
    other->show();
    auto* button = new CGDIBitmapBtn(QStringLiteral("New"), QRect(250, 40, 60, 20), &window);  // takes no focus
    struct Case {
        const char* name;
        std::function<void()> click;
        std::vector<Message> after;
    };
    const Case cases[] = {
        {"an edit box", [&] { QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(5, 5)); }, {}},
        {"a skinned button", [&] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); }, {}},
        {"another row", [&] { click(0); }, {{msg::kListSelectionChanged, 257, 0}}},
    };
    for (const Case& c : cases) {
        list->resetContent();
        window.received.clear();
        list->addRow(0, QStringLiteral("first"), 1);
        list->addRow(0, QStringLiteral("second"), 2, true);
        ASSERT_NE(list->editor(), nullptr) << c.name;
        QTest::keyClicks(list->editor(), QStringLiteral("Rename"));
        c.click();
        EXPECT_EQ(list->editor(), nullptr) << c.name;
        EXPECT_EQ(list->text(1), QStringLiteral("Rename")) << c.name;
        std::vector<Message> expected{{msg::kListRowRenamed, 257, 1}};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(window.messages(), expected) << c.name;
    }
}

TEST_F(ListBoxTest, TypingStopsAtTwentyCharactersButALongerTextIsKept) {
    list->addRow(0, QStringLiteral("x"), 1, true);
    QTest::keyClicks(list->editor(), QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(list->editor()->text(), QStringLiteral("abcdefghijklmnopqrst"));
    QTest::keyClick(list->editor(), Qt::Key_Enter);
    EXPECT_EQ(list->text(0), QStringLiteral("abcdefghijklmnopqrst"));

    const QString longName = QStringLiteral("A name of thirty-one characters");
    list->addRow(0, longName, 2, true);
    EXPECT_EQ(list->editor()->text(), longName);
    QTest::keyClick(list->editor(), Qt::Key_End);
    QTest::keyClick(list->editor(), Qt::Key_Backspace);
    QTest::keyClicks(list->editor(), QStringLiteral("ss"));
    EXPECT_EQ(list->editor()->text(), longName.chopped(1));
    QTest::keyClick(list->editor(), Qt::Key_Return);
    EXPECT_EQ(list->text(1), longName.chopped(1));
}

TEST_F(ListBoxTest, OneEditorInTheProgram) {
    CListBoxEx* second = makeList(QRect(250, 120, 200, 100), 256);
    list->addRow(0, QStringLiteral("a"), 1, true);
    QTest::keyClicks(list->editor(), QStringLiteral("typed"));
    second->addRow(0, QStringLiteral("b"), 2, true);
    EXPECT_EQ(list->editor(), nullptr);
    EXPECT_EQ(list->editedRow(), -1);
    EXPECT_EQ(list->text(0), QStringLiteral("a"));  // closed without saving
    ASSERT_NE(second->editor(), nullptr);
    EXPECT_TRUE(window.messages().empty());

    // A double click on the first list ends the second's edit before it
    // opens its own.
    QTest::keyClicks(second->editor(), QStringLiteral("c"));
    list->setDoubleClickEditing(true);
    doubleClick(QPoint(100, 10));
    EXPECT_EQ(second->editor(), nullptr);
    EXPECT_EQ(second->text(0), QStringLiteral("c"));
    ASSERT_NE(list->editor(), nullptr);
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kListRowRenamed, 256, 0}, {msg::kListSelectionChanged, 257, 0}}));
}

TEST_F(ListBoxTest, DoubleClickOpensOnlyWhenOnAndOnARow) {
    list->addRow(0, QStringLiteral("a"), 1);
    doubleClick(QPoint(100, 10));
    EXPECT_EQ(list->editor(), nullptr);
    list->setDoubleClickEditing(true);
    doubleClick(QPoint(100, 50));
    EXPECT_EQ(list->editor(), nullptr);
    doubleClick(QPoint(100, 10));
    ASSERT_NE(list->editor(), nullptr);
    EXPECT_EQ(list->editor()->geometry(), list->rowRect(0));
}

TEST_F(ListBoxTest, HotRowFollowsThePointerExceptWhileEditing) {
    list->addRow(0, QStringLiteral("a"), 1);
    list->addRow(0, QStringLiteral("b"), 2);
    test::moveTo(list->viewport(), QPoint(50, 30));
    EXPECT_EQ(list->hotRow(), 1);
    test::moveTo(list->viewport(), QPoint(50, 70));
    EXPECT_EQ(list->hotRow(), -1);
    test::moveTo(list->viewport(), QPoint(50, 5));
    EXPECT_EQ(list->hotRow(), 0);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(list, &leave);
    EXPECT_EQ(list->hotRow(), -1);

    list->addRow(0, QStringLiteral("c"), 3, true);
    test::moveTo(list->viewport(), QPoint(50, 30));
    EXPECT_EQ(list->hotRow(), -1);
}

TEST_F(ListBoxTest, RowChangesWhileEditingDropTheEdit) {
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"insert", [&] { list->insertRow(0, 0, QStringLiteral("new"), 9); }},
        {"delete", [&] { list->deleteRow(0); }},
        {"reset", [&] { list->resetContent(); }},
    };
    for (const auto& [name, change] : changes) {
        list->resetContent();
        list->addRow(0, QStringLiteral("a"), 1);
        list->addRow(0, QStringLiteral("b"), 2, true);
        QTest::keyClicks(list->editor(), QStringLiteral("typed"));
        change();
        EXPECT_EQ(list->editor(), nullptr) << name;
        EXPECT_EQ(list->editedRow(), -1) << name;
        for (int i = 0; i < list->count(); ++i) EXPECT_NE(list->text(i), QStringLiteral("typed")) << name;
    }
    EXPECT_TRUE(window.messages().empty());
}

}  // namespace
}  // namespace q30x
