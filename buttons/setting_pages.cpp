#include "buttons/setting_pages.h"

#include <QDir>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "buttons/assignment.h"
#include "buttons/function_names.h"
#include "buttons/key_names.h"
#include "buttons/key_tables.h"
#include "macros/game_presets.h"
#include "macros/macro_library.h"
#include "platform/messages.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "skin/modal_loop.h"
#include "skin/page_controls.h"
#include "skin/qt_text.h"
#include "skin/skin_scroll.h"

namespace q30x {

namespace ls = layout::setting;

namespace {


QString programFolder(const ProgramState& state) { return QString::fromStdString(state.folders.program); }

QRect pageRect() { return toQRect(ls::kPageArea); }

// The popup's lists share one look.
CListBoxEx* pageList(CSkinPage* page, const ProgramState& state, const layout::Rect& r, int id, uint16_t itemHeight) {
    return pageList(page, programFolder(state), r, id, itemHeight,
                    {QColor::fromRgb(ls::kListBackground), QColor::fromRgb(ls::kListSelectedBackground),
                     QColor::fromRgb(ls::kListText), QColor::fromRgb(ls::kListSelectedText)});
}

// addRow selects what it adds, scrolling it into view; the popup starts
// with nothing chosen and the first rows in view.
void addRows(CListBoxEx* list, const std::vector<std::pair<QString, uint32_t>>& rows) {
    for (const auto& [text, value] : rows) list->addRow(0, text, value);
    list->setSelection(-1);
    list->verticalScrollBar()->setValue(0);
}

struct ModifierKeys {
    uint32_t bit;
    std::array<uint32_t, 3> virtualKeys;  // 0: none
};

// In box order: Ctrl, Alt, Shift, Win.
constexpr std::array<ModifierKeys, 4> kModifierKeys = {{
    {kModifierCtrl, {0x11, 0xA2, 0xA3}},
    {kModifierAlt, {0x12, 0xA4, 0xA5}},
    {kModifierShift, {0x10, 0xA0, 0xA1}},
    {kModifierWin, {0x5B, 0x5C, 0}},
}};

// Key presses as the hook flags them: extended, injected and Alt held
// combine; the release flag 0x80 never does.
bool isKeyPress(intptr_t flags) {
    switch (flags) {
    case 0x00: case 0x01: case 0x10: case 0x11: case 0x20: case 0x21: return true;
    default: return false;
    }
}

// The game list shows the groups' button captions; only Dota 2's Chinese
// row keeps the trailing space of its menu text.
QString gameRowText(int group, int chineseUi) {
    const GamePreset& preset = kGamePresets[group - 1];
    if (!chineseUi) return qtext(preset.englishCaption);
    return qtext(group == 13 ? preset.chineseMenu : preset.chineseCaption);
}

constexpr std::string_view kAdvancedKeys[] = {"str_advanced_sound", "str_advanced_exe", "str_advanced_file",
                                              "str_advanced_dir"};

}  // namespace

// ---- Key combination ------------------------------------------------------

CSetting_SingleComboDlg::CSetting_SingleComboDlg(ProgramState& state, const KeyboardLayout& layout, QWidget* parent)
    : CSkinPage(programFolder(state), ls::combo::kFiles, pageRect(), parent), state_(state), layout_(layout) {
    for (std::size_t m = 0; m < boxes_.size(); ++m) {
        boxes_[m] = pageCheckBox(this, ls::combo::kModifiers[m]);
        QObject::connect(boxes_[m], &QAbstractButton::clicked, this, [this, m] { invert(static_cast<Modifier>(m)); });
    }
}

void CSetting_SingleComboDlg::invert(Modifier m) { boxes_[m]->setCheckedState(boxes_[m]->checkedState() ? 0 : 1); }

void CSetting_SingleComboDlg::onHookKey(uintptr_t virtualKey, intptr_t flags) {
    // Both the press and the release of every key arrive; a release names
    // no new key, and a box must not flip back when its key is let go.
    if (!isKeyPress(flags) || virtualKey == 0 || virtualKey > 0xFF) return;
    for (std::size_t m = 0; m < kModifierKeys.size(); ++m)
        for (uint32_t vk : kModifierKeys[m].virtualKeys)
            if (vk != 0 && vk == virtualKey) return invert(static_cast<Modifier>(m));
    key_ = static_cast<uint32_t>(virtualKey);
    update(toQRect(ls::combo::kKeyName));
}

int32_t CSetting_SingleComboDlg::code() const {
    uint32_t modifiers = 0;
    for (std::size_t m = 0; m < boxes_.size(); ++m)
        if (boxes_[m]->checkedState()) modifiers |= kModifierKeys[m].bit;
    return combinationCode(modifiers, usageOfVirtualKey(key_, state_.language.languageNumber));
}

QString CSetting_SingleComboDlg::keyText() const {
    if (key_ == 0) return {};
    return qtext(keyName(key_, KeyNameStyle::Combination, state_.language.languageNumber, layout_));
}

void CSetting_SingleComboDlg::paintEvent(QPaintEvent* e) {
    CSkinPage::paintEvent(e);
    const QString text = keyText();
    if (text.isEmpty()) return;
    QPainter p(this);
    p.setFont(shellDlgFont());
    p.setPen(QColor::fromRgb(ls::combo::kKeyNameColour));
    drawTextLine(p, toQRect(ls::combo::kKeyName), text, Qt::AlignLeft);
}

// ---- Macro ----------------------------------------------------------------

CSetting_MacroDlg::CSetting_MacroDlg(ProgramState& state, QWidget* parent)
    : CSkinPage(programFolder(state), ls::macro::kFiles, pageRect(), parent),
      state_(state),
      games_(pageList(this, state, ls::macro::kGames, ls::macro::kGamesId, ls::macro::kItemHeight)),
      macros_(pageList(this, state, ls::macro::kMacros, ls::macro::kMacrosId, ls::macro::kItemHeight)) {
    port()->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    std::vector<std::pair<QString, uint32_t>> rows;
    for (int g = 0; g < kGamePresetCount; ++g)
        rows.emplace_back(gameRowText(g + 1, state.language.chineseUi), static_cast<uint32_t>(g));
    addRows(games_, rows);
    fillMacros(-1);
}

intptr_t CSetting_MacroDlg::onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == msg::kListSelectionChanged && wParam == static_cast<uintptr_t>(ls::macro::kGamesId) &&
        lParam != game_)
        fillMacros(static_cast<int>(lParam));
    return 0;
}

void CSetting_MacroDlg::fillMacros(int game) {
    game_ = game;
    macros_->setUpdatesEnabled(false);
    macros_->resetContent();
    std::vector<std::pair<QString, uint32_t>> rows;
    // No game selected lists group 0, which holds nothing.
    for (const MacroListEntry& entry : listByGroup(state_.macros, game + 1)) rows.emplace_back(qtext(entry.name), entry.id);
    addRows(macros_, rows);
    macros_->setUpdatesEnabled(true);
}

std::optional<uint32_t> CSetting_MacroDlg::chosenMacro() const { return macros_->itemData(macros_->selection()); }

// ---- Basic ----------------------------------------------------------------

CSetting_BaseDlg::CSetting_BaseDlg(ProgramState& state, QWidget* parent)
    : CSkinPage(programFolder(state), ls::base::kFiles, pageRect(), parent),
      list_(pageList(this, state, ls::base::kList, ls::base::kListId, ls::base::kItemHeight)) {
    std::vector<std::pair<QString, uint32_t>> rows;
    for (const BasicFunction& row : kBasicFunctions) {
        // A language file without the key still names the row.
        std::u16string_view text = state.strings.text(row.key);
        if (text.empty()) text = functionName(row.type, state.language.chineseUi);
        rows.emplace_back(qtext(text), static_cast<uint32_t>(row.type));
    }
    addRows(list_, rows);
}

std::optional<int32_t> CSetting_BaseDlg::chosenType() const {
    const std::optional<uint32_t> data = list_->itemData(list_->selection());
    if (!data) return std::nullopt;
    return static_cast<int32_t>(*data);
}

// ---- Advanced -------------------------------------------------------------

CSetting_AdvanceDlg::CSetting_AdvanceDlg(ProgramState& state, int inputIndex, QWidget* parent)
    : CSkinPage(programFolder(state), ls::advanced::kFiles, pageRect(), parent), state_(state) {
    namespace la = ls::advanced;
    const QString browseText = qtext(state.strings.text("str_browse"));
    for (int row = 0; row < kRows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        radios_[r] = pageCheckBox(this, la::kRadios[r]);
        radios_[r]->setValue(advancedParam(row, inputIndex));
        QObject::connect(radios_[r], &QAbstractButton::clicked, this, [this, row] { checkRadio(row); });
        paths_[r] = pageButton(this, la::kPaths[r]);
        paths_[r]->setCaptionLayout(Qt::AlignLeft, Qt::ElideMiddle);
        paths_[r]->installEventFilter(this);
        browse_[r] = pageButton(this, la::kBrowse[r], browseText);
        QObject::connect(browse_[r], &QAbstractButton::clicked, this, [this, row] { browse(row); });
    }
    chooser_ = [this](int row) { return choosePath(row); };
}

void CSetting_AdvanceDlg::checkRadio(int row) {
    for (int r = 0; r < kRows; ++r) radios_[static_cast<std::size_t>(r)]->setCheckedState(r == row ? 1 : 0);
}

void CSetting_AdvanceDlg::browse(int row) {
    if (row < 0 || row >= kRows) return;
    checkRadio(row);
    const QString path = chooser_(row);
    if (path.isEmpty()) return;
    // A cut path would name another file, or none.
    if (path.size() >= static_cast<qsizetype>(kPathUnits)) {
        state_.messages.info(assignmentMessage(AssignOutcome::PathTooLong, state_.language.chineseUi));
        return;
    }
    CGDIBitmapBtn* field = paths_[static_cast<std::size_t>(row)];
    field->setCaption(path);
    field->setTooltip(path, true);
}

QString CSetting_AdvanceDlg::choosePath(int row) {
    QFileDialog dialog(this, qtext(state_.strings.text(kAdvancedKeys[row])));
    // Qt's own dialog, so that the executable filter applies on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(QDir::home());
    switch (row) {
    case 0:
        dialog.setDirectory(QStringLiteral("/usr/share/sounds"));
        dialog.setNameFilter(QStringLiteral("Sounds (*.wav *.ogg *.oga *.flac *.mp3)"));
        break;
    case 1:
        dialog.setDirectory(QStringLiteral("/usr/bin"));
        dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
        break;
    case 3:
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        break;
    default: break;
    }
    ModalLoopScope modal;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<CSetting_AdvanceDlg::Choice> CSetting_AdvanceDlg::choice() const {
    for (int row = 0; row < kRows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (radios_[r]->checkedState() && !paths_[r]->caption().isEmpty())
            return Choice{row, radios_[r]->value(), paths_[r]->caption()};
    }
    return std::nullopt;
}

void CSetting_AdvanceDlg::paintEvent(QPaintEvent* e) {
    CSkinPage::paintEvent(e);
    QPainter p(this);
    p.setFont(shellDlgFont());
    p.setPen(QColor::fromRgb(ls::advanced::kLabelColour));
    for (std::size_t r = 0; r < kRows; ++r)
        drawTextLine(p, toQRect(ls::advanced::kLabels[r]), qtext(state_.strings.text(kAdvancedKeys[r])), Qt::AlignLeft);
}

bool CSetting_AdvanceDlg::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
        for (int row = 0; row < kRows; ++row)
            if (watched == paths_[static_cast<std::size_t>(row)]) {
                browse(row);
                return true;
            }
    return false;
}

}  // namespace q30x
