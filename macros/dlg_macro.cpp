#include "macros/dlg_macro.h"

#include <QKeyEvent>
#include <QPainter>
#include <cstdio>

#include "macros/game_presets.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/images.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "skin/page_controls.h"
#include "skin/qt_text.h"

namespace q30x {

namespace lm = layout::macropage;

static_assert(CListBoxEx::kEditLimit == kMacroNameLimit, "the rename box takes a whole macro name");

namespace {


constexpr int kMenuItemHeight = 24;
constexpr std::array<int, 8> kMenuFiles = {0, 1, 2, 0, 3, 4, 5, 3};  // into layout::menu::kFiles

// Static labels painted on the page from the catalogue.
struct Label {
    const layout::SetRect* rect;
    std::string_view key;
};
constexpr std::array<Label, 2> kLabels = {{{&lm::kGroupLabel, "str_macro_manager"}, {&lm::kEventLabel, "str_macro_set"}}};

// Hover hints whose number never changes; Record's follows its state.
struct FixedHint {
    const layout::SetRect* rect;
    int number;
};
constexpr std::array<FixedHint, 18> kHints = {{
    {&lm::kMacroFrame, 87}, {&lm::kNewMacro, 40}, {&lm::kDeleteMacro, 41}, {&lm::kEventFrame, 88},
    {&lm::kEventLabel, 88}, {&lm::kInsert, 42}, {&lm::kDeleteRow, 43}, {&lm::kModify, 44},
    {&lm::kNoDelay, 47}, {&lm::kLoopField, 48}, {&lm::kLeftPicture, 49}, {&lm::kMiddlePicture, 50},
    {&lm::kRightPicture, 51}, {&lm::kKeyOption, 52}, {&lm::kKeyField, 52}, {&lm::kDelayOption, 53},
    {&lm::kDelayField, 53}, {&lm::kGroupLabel, 86},
}};
constexpr int kRecordHint = 45, kStopHint = 46;

struct Tooltip {
    CGDIBitmapBtn* CDlgMacro::*button;
    std::string_view key;
};

}  // namespace

CDlgMacro::CDlgMacro(ProgramState& state, Clock& clock, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kMacro, parent),
      state_(state),
      clock_(clock),
      set_(state.language.chineseUi ? layout::SkinSet::Chinese : layout::SkinSet::Standard),
      keyLayout_(currentKeyboardLayout()),
      recorder_(clock) {
    port()->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    createControls();
    group_ = kCustomGamePreset;
    port()->setTimer(kLoopTimer, kLoopTimerMs);
}

CDlgMacro::~CDlgMacro() {
    closeGameMenu();
    // The hooks must not post to a page that is gone; unstored rows are lost.
    if (capturing_ || recording()) state_.hooks.setForwarding(0, 0);
}

QString CDlgMacro::entry(std::string_view key) const { return qtext(state_.strings.text(key)); }

QLineEdit* CDlgMacro::loopField() const { return loop_; }
QLineEdit* CDlgMacro::keyField() const { return keyField_; }
QLineEdit* CDlgMacro::delayField() const { return delayField_; }
bool CDlgMacro::noDelay() const { return noDelay_->checkedState() != 0; }

void CDlgMacro::createControls() {
    const QString folder = QString::fromStdString(state_.folders.program);
    const ListColours colours{Qt::black, colorRef(lm::kListSelectedFill), colorRef(lm::kListText),
                              colorRef(lm::kListSelectedText)};
    const QColor white(Qt::white);

    game_ = pageButton(this, at(lm::kGameButton), qtext(gamePresetCaption(kCustomGamePreset, state_.language.chineseUi)));
    game_->setColours(colorRef(lm::kGameText), white, white);
    QObject::connect(game_, &QAbstractButton::clicked, this, [this] { openGameMenu(); });

    macros_ = pageList(this, folder, at(lm::kMacroList), lm::kMacroListId, lm::kItemHeight, colours);
    macros_->setDoubleClickEditing(true);
    events_ = pageList(this, folder, at(lm::kEventList), lm::kEventListId, lm::kItemHeight, colours);

    auto on = [this](CGDIBitmapBtn* b, void (CDlgMacro::*handler)()) {
        QObject::connect(b, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
        return b;
    };
    auto command = [&](const layout::SetRect& r, void (CDlgMacro::*handler)(), const QString& caption = {}) {
        return on(pageButton(this, at(r), caption), handler);
    };
    // Options and the switch: a box, then the catalogue's words; the chosen
    // one reads in the accent.
    auto asOption = [&](CGDIBitmapBtn* b) {
        b->setCaptionLayout(Qt::AlignLeft, Qt::ElideRight);
        b->setCaptionIndent(lm::kCaptionIndent);
        b->setCaptionShrinks(true);
        b->setColours(colorRef(lm::kOptionText), white, colorRef(lm::kListSelectedText));
        return b;
    };
    auto option = [&](const layout::SetRect& r, void (CDlgMacro::*handler)()) {
        CGDIBitmapBtn* b = command(r, handler);
        b->setModes(true, false);
        return asOption(b);
    };
    newMacro_ = command(lm::kNewMacro, &CDlgMacro::onNewMacro);
    deleteMacro_ = command(lm::kDeleteMacro, &CDlgMacro::onDeleteMacro);
    // Two small buttons whose words are long in some languages.
    for (CGDIBitmapBtn* b : {newMacro_, deleteMacro_}) {
        b->setCaptionIndent(lm::kSmallCaptionIndent);
        b->setCaptionShrinks(true);
    }
    insert_ = on(pageGlyphButton(this, at(lm::kInsert)), &CDlgMacro::onInsert);
    deleteRow_ = on(pageGlyphButton(this, at(lm::kDeleteRow)), &CDlgMacro::onDeleteRow);
    modify_ = on(pageGlyphButton(this, at(lm::kModify)), &CDlgMacro::onModify);
    record_ = command(lm::kRecord, &CDlgMacro::toggleRecording, qtext(recordCaption(false, state_.language.chineseUi)));
    record_->setColours(colorRef(lm::kRecordText), white, white);
    noDelay_ = asOption(pageCheckBox(this, at(lm::kNoDelay)));
    noDelay_->setModes(true, true);

    const std::array<const layout::SetRect*, 3> pictureRects = {&lm::kLeftPicture, &lm::kMiddlePicture, &lm::kRightPicture};
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        pictures_[i] = pageButton(this, at(*pictureRects[i]));
        pictures_[i]->setPressReports(true);
    }

    keyOption_ = option(lm::kKeyOption, &CDlgMacro::onKeyOption);
    keyConfirm_ = command(lm::kKeyConfirm, &CDlgMacro::onKeyConfirm);
    delayOption_ = option(lm::kDelayOption, &CDlgMacro::onDelayOption);
    delayConfirm_ = command(lm::kDelayConfirm, &CDlgMacro::onDelayConfirm);

    auto edit = [this](const layout::SetRect& r, bool digits) {
        auto* e = new CBitmapEdit(toQRect(at(r)), this, digits, Qt::AlignLeft);
        e->setBackground(toQRect(at(r)), normalImage());
        QPalette palette = e->palette();
        palette.setColor(QPalette::Text, colorRef(lm::kEditText));
        palette.setColor(QPalette::Base, colorRef(lm::kEditFill));
        e->setPalette(palette);
        e->setFont(shellDlgFont());
        return e;
    };
    loop_ = edit(lm::kLoopField, true);
    loop_->setMaxLength(5);
    loop_->setText(QStringLiteral("1"));
    QObject::connect(loop_, &QLineEdit::textChanged, this, [this] { onLoopChanged(); });
    // The key field only shows the captured key's name: typing is not used.
    keyField_ = edit(lm::kKeyField, false);
    keyField_->setReadOnly(true);
    delayField_ = edit(lm::kDelayField, true);
    delayField_->setMaxLength(4);
    hideEditControls();

    for (QObject* child : children())
        if (child->isWidgetType()) child->installEventFilter(this);
    for (CListBoxEx* list : {macros_, events_}) list->viewport()->installEventFilter(this);
    applyLabels();
    releaseStateImages();
}

void CDlgMacro::applyLabels() {
    const std::array<Tooltip, 11> tooltips = {{
        {&CDlgMacro::newMacro_, "str_new_macro"}, {&CDlgMacro::deleteMacro_, "str_del_macro"},
        {&CDlgMacro::insert_, "str_macro_new"}, {&CDlgMacro::deleteRow_, "str_macro_del"},
        {&CDlgMacro::modify_, "str_macro_modify"}, {&CDlgMacro::noDelay_, "str_macro_delay"},
        {&CDlgMacro::keyOption_, "str_macro_msg6"}, {&CDlgMacro::keyConfirm_, "str_macro_msg6"},
        {&CDlgMacro::delayOption_, "str_macro_msg7"}, {&CDlgMacro::delayConfirm_, "str_macro_msg7"},
        {&CDlgMacro::record_, recording() ? "str_macro_end" : "str_macro_start"},
    }};
    for (const Tooltip& t : tooltips) (this->*t.button)->setTooltip(entry(t.key), true);
    const std::array<std::string_view, 3> pictureKeys = {"str_click", "str_middle", "str_menu"};
    for (std::size_t i = 0; i < pictures_.size(); ++i) pictures_[i]->setTooltip(entry(pictureKeys[i]), true);
    // These captions are the catalogue's words, so every language reads its own.
    newMacro_->setCaption(entry("str_new_macro"));
    deleteMacro_->setCaption(entry("str_del_macro"));
    noDelay_->setCaption(entry("str_macro_delay"));
    keyOption_->setCaption(entry("str_macro_msg6"));
    delayOption_->setCaption(entry("str_macro_msg7"));
    update();
}

void CDlgMacro::paintEvent(QPaintEvent* e) {
    CSkinPage::paintEvent(e);
    QPainter p(this);
    p.setFont(shellDlgFont());
    p.setPen(colorRef(lm::kListText));
    for (const Label& label : kLabels) drawTextLine(p, toQRect(at(*label.rect)), entry(label.key), Qt::AlignLeft);
    // A hidden editor control leaves the bare plate, not a control that cannot be used.
    for (QWidget* w : std::initializer_list<QWidget*>{keyOption_, keyField_, keyConfirm_, delayOption_, delayField_, delayConfirm_})
        if (w->isHidden())
            p.fillRect(w->geometry().adjusted(-lm::kFieldMarginX, -lm::kFieldMarginY, lm::kFieldMarginX, lm::kFieldMarginY),
                       colorRef(lm::kEditorPlate));
}

intptr_t CDlgMacro::onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case msg::kListSelectionChanged: onSelectionChanged(static_cast<int>(wParam), static_cast<int>(lParam)); break;
    case msg::kListRowRenamed: onRenamed(static_cast<int>(lParam)); break;
    case msg::kMenuChoice: onGameChosen(lParam); break;
    case msg::kHookInput: onCaptured(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)); break;
    case msg::kBitmapButtonNotify: onPicture(wParam, lParam); break;
    case msg::kTimer:
        if (wParam == kLoopTimer) normaliseLoopField();
        break;
    default: break;
    }
    return 0;
}

void CDlgMacro::fillLists() { refill(kCustomGamePreset); }

void CDlgMacro::openGameMenu() {
    if (!menuLibrary_.ready()) menuLibrary_.loadDefault(QString::fromStdString(state_.folders.program));
    if (!menuLibrary_.ready()) return;
    // A second press opens the menu afresh rather than a second one over it.
    closeGameMenu();
    std::array<MenuExItem, kGamePresetCount> items{};
    for (int i = 0; i < kGamePresetCount; ++i) {
        const GamePreset& preset = kGamePresets[i];
        items[static_cast<std::size_t>(i)] = {kMenuExTopLevel, i + 1, {}};
        setFixedText(items[static_cast<std::size_t>(i)].text,
                     state_.language.chineseUi ? preset.chineseMenu : preset.englishMenu);
    }
    std::array<std::u16string, 8> paths;
    const QString menuFolder = QString::fromStdString(state_.folders.program) + QStringLiteral("/skins/Menu/");
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string_view file = layout::menu::kFiles[static_cast<std::size_t>(kMenuFiles[i])];
        paths[i] = (menuFolder + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size()))).toStdU16String();
    }
    const QPoint below = game_->mapToGlobal(QPoint(1, game_->height() + 1));
    menuLibrary_.create()(port(), kMenuItemHeight, {below.x(), below.y()}, lm::kGameText, 0xFFFFFF, lm::kListSelectedText,
                          paths[0].c_str(), paths[1].c_str(), paths[2].c_str(), paths[3].c_str(), paths[4].c_str(),
                          paths[5].c_str(), paths[6].c_str(), paths[7].c_str(), items.data(), kGamePresetCount);
}

void CDlgMacro::closeGameMenu() {
    if (menuLibrary_.ready()) menuLibrary_.destroy()();
}

void CDlgMacro::onGameChosen(intptr_t lParam) {
    closeGameMenu();
    const int n = static_cast<int>(lParam & 0xFFFF);
    game_->setCaption(qtext(gamePresetCaption(n, state_.language.chineseUi)));
    refill(n);
}

void CDlgMacro::refill(int group) {
    if (recording()) endRecording();
    // The rows an edit was aimed at are about to go.
    endEdit();
    group_ = group;
    macros_->resetContent();
    events_->resetContent();
    for (const MacroListEntry& macro : listByGroup(state_.macros, group)) macros_->addRow(0, qtext(macro.name), macro.id);
    macroSel_ = macros_->selection();
    rowSel_ = -1;
    loadRows();
}

void CDlgMacro::onNewMacro() {
    const uint32_t id = newMacroId(state_.macros, group_, clock_.tickMs());
    const int index = macros_->addRow(0, qtext(newMacroName(state_.language.chineseUi)), id, true);
    macroSel_ = index;
    loadRows();
    rowSel_ = -1;
    loop_->setText(QStringLiteral("1"));
}

void CDlgMacro::onDeleteMacro() {
    const int index = macros_->selection();
    const std::optional<uint32_t> id = macros_->itemData(index);
    if (!id) return;
    // A macro that was never stored has no slot: its row just goes.
    if (state_.macroStore.deleteMacro(*id, state_.settings) == MacroResult::InUse) return;
    macros_->deleteRow(index);
    macroSel_ = macros_->selection();
    rowSel_ = -1;
    events_->resetContent();
}

void CDlgMacro::onRenamed(int index) {
    const std::optional<uint32_t> id = macros_->itemData(index);
    if (!id) return;
    state_.macroStore.rename(*id, macros_->text(index).toStdU16String());
}

void CDlgMacro::onSelectionChanged(int list, int index) {
    if (list == lm::kMacroListId && index != macroSel_) {
        changingSelection_ = true;
        endEdit();
        if (recording()) endRecording();
        macroSel_ = index;
        loadRows();
        if (events_->count() == 0) loop_->setText(QStringLiteral("1"));
        rowSel_ = events_->selection();
        changingSelection_ = false;
    } else if (list == lm::kEventListId && index != rowSel_) {
        rowSel_ = index;
        endEdit();
    }
}

void CDlgMacro::loadRows() {
    events_->resetContent();
    const std::optional<uint32_t> id = macros_->itemData(macroSel_);
    const MacroRecord* record = id ? findById(state_.macros, *id) : nullptr;
    if (!record) return;
    // Showing a stored macro is no change: its loop count is not saved again.
    const bool wasChanging = changingSelection_;
    changingSelection_ = true;
    loop_->setText(record->loopCount == kSingleKeyDownLoops ? QStringLiteral("1") : QString::number(record->loopCount));
    changingSelection_ = wasChanging;
    bool complete = true;
    const std::vector<MacroRow> stored = rowsOfRecord(*record, state_.language.languageNumber, *keyLayout_, &complete);
    showRows(stored);
    if (!complete) std::fputs("LoadMacroToList:  Not a vaild item\n", stderr);
}

void CDlgMacro::showHint(const QPoint& pagePoint) {
    // A move a control passes on reaches the page a second time.
    if (pagePoint == lastHintPoint_) return;
    lastHintPoint_ = pagePoint;
    auto post = [&](const layout::SetRect& r, int number) {
        if (toQRect(at(r)).adjusted(-1, -1, 1, 1).contains(pagePoint)) state_.mainWindow.post(msg::kShowHint, 0, number);
    };
    for (const FixedHint& h : kHints) post(*h.rect, h.number);
    post(lm::kRecord, recording() ? kStopHint : kRecordHint);
}

void CDlgMacro::mousePressEvent(QMouseEvent* e) {
    closeGameMenu();
    CSkinPage::mousePressEvent(e);
}

void CDlgMacro::mouseMoveEvent(QMouseEvent* e) { showHint(e->position().toPoint()); }

// The controls see the pointer before the page does, and the page sees
// their keys first: hints follow the pointer over them, and Enter, Esc and
// Space never press one of them.
bool CDlgMacro::eventFilter(QObject* watched, QEvent* e) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && e->type() == QEvent::MouseMove)
        showHint(widget->mapTo(this, static_cast<QMouseEvent*>(e)->position().toPoint()));
    const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
    if (key && isDialogKey(static_cast<QKeyEvent*>(e)->key())) return true;
    return CSkinPage::eventFilter(watched, e);
}

void CDlgMacro::keyPressEvent(QKeyEvent* e) {
    if (isDialogKey(e->key())) return e->accept();
    CSkinPage::keyPressEvent(e);
}

void CDlgMacro::keyReleaseEvent(QKeyEvent* e) {
    if (isDialogKey(e->key())) return e->accept();
    CSkinPage::keyReleaseEvent(e);
}

}  // namespace q30x
