// The macro page's rows: inserting, modifying and deleting them, recording
// them live, and the loop field.
#include <QLineEdit>
#include <algorithm>
#include <optional>

#include "buttons/key_names.h"
#include "macros/dlg_macro.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "skin/qt_text.h"

namespace q30x {

namespace {


// The picture's virtual keys: left, middle, right button.
constexpr std::array<uint32_t, 3> kPictureKeys = {1, 4, 2};

}  // namespace

std::vector<MacroRow> CDlgMacro::rows() const {
    std::vector<MacroRow> list;
    for (int i = 0; i < events_->count(); ++i) list.push_back({events_->text(i).toStdU16String(), *events_->itemData(i)});
    return list;
}

void CDlgMacro::appendRow(const MacroRow& row) {
    events_->addRow(static_cast<uint8_t>(rowKind(row)), qtext(row.text), rowValue(row));
}

void CDlgMacro::showRows(const std::vector<MacroRow>& list) {
    const int selected = events_->selection();
    events_->setUpdatesEnabled(false);
    events_->resetContent();
    for (const MacroRow& row : list) appendRow(row);
    events_->setSelection(selected < events_->count() ? selected : -1);
    events_->setUpdatesEnabled(true);
    rowSel_ = events_->selection();
}

void CDlgMacro::saveMacro() {
    std::vector<MacroRow> list = rows();
    const std::optional<uint32_t> id = macros_->itemData(macroSel_);
    const std::size_t before = list.size();
    int dropped = 0;
    const MacroResult result = state_.macroStore.buildAndStore(list, loop_->text().toStdU16String(), id ? &*id : nullptr,
                                                               macros_->text(macroSel_).toStdU16String(), &dropped);
    // Merged delays show as the one row they became.
    if (list.size() != before) showRows(list);
    const int chineseUi = state_.language.chineseUi;
    if (result == MacroResult::LibraryFull) state_.messages.info(macroLibraryFullText(chineseUi));
    else if (dropped > 0) state_.messages.info(macroRowsNotStoredText(dropped, chineseUi));
}

void CDlgMacro::hideEditControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{keyOption_, keyField_, keyConfirm_, delayOption_, delayField_, delayConfirm_})
        w->hide();
    keyField_->clear();
    delayField_->clear();
    update();
}

void CDlgMacro::startCapture() {
    state_.hooks.setTarget(port());
    state_.hooks.setForwarding(1, 0);
    capturing_ = true;
}

void CDlgMacro::stopCapture() {
    // Both off hands the hooks back to the main window.
    if (capturing_) state_.hooks.setForwarding(0, 0);
    capturing_ = false;
}

void CDlgMacro::endEdit() {
    if (mode_ == kIdle) return;
    stopCapture();
    hideEditControls();
    mode_ = kIdle;
}

void CDlgMacro::onInsert() {
    stopCapture();
    hideEditControls();
    mode_ = kInsertKey;
    keyOption_->setCheckedState(0);
    delayOption_->setCheckedState(0);
    keyOption_->show();
    delayOption_->show();
    update();
}

void CDlgMacro::showEditor(bool key, bool bothOptions) {
    hideEditControls();
    keyOption_->setCheckedState(key ? 1 : 0);
    delayOption_->setCheckedState(key ? 0 : 1);
    (key ? keyOption_ : delayOption_)->show();
    if (bothOptions) (key ? delayOption_ : keyOption_)->show();
    QLineEdit* field = key ? static_cast<QLineEdit*>(keyField_) : delayField_;
    field->show();
    field->setFocus();
    (key ? keyConfirm_ : delayConfirm_)->show();
}

void CDlgMacro::onKeyOption() {
    const bool inserting = mode_ == kInsertKey || mode_ == kInsertDelay;
    if (inserting) mode_ = kInsertKey;
    showEditor(true, inserting);
    capturedKey_ = 0;
    startCapture();
}

void CDlgMacro::onDelayOption() {
    const bool inserting = mode_ == kInsertKey || mode_ == kInsertDelay;
    if (inserting) mode_ = kInsertDelay;
    showEditor(false, inserting);
    stopCapture();
}

void CDlgMacro::onModify() {
    stopCapture();
    const std::optional<uint32_t> datum = events_->itemData(events_->selection());
    if (!datum) return;
    const bool key = kindOf(*datum) != kRowDelay;
    mode_ = key ? kModifyKey : kModifyDelay;
    showEditor(key, false);
    if (!key) return;
    capturedKey_ = 0;
    startCapture();
}

void CDlgMacro::confirm(bool key) {
    const int row = events_->selection();
    if (mode_ == (key ? kInsertKey : kInsertDelay)) key ? insertKey(row) : insertDelay(row);
    else if (mode_ == (key ? kModifyKey : kModifyDelay)) key ? replaceKey(row) : replaceDelay(row);
    else return;
    stopCapture();
    hideEditControls();
    rowSel_ = events_->selection();
    saveMacro();
    mode_ = kIdle;
    (key ? keyConfirm_ : delayConfirm_)->setFocus();
}

void CDlgMacro::insertKey(int row) {
    if (row >= 0 && capturedKey_ != 0) {
        const int lang = state_.language.languageNumber;
        const MacroRow down = keyRow(kRowKeyDown, capturedKey_, lang, *keyLayout_);
        events_->insertRow(row, kRowKeyDown, qtext(down.text), capturedKey_);
        events_->insertRow(row + 1, kRowKeyUp, qtext(down.text), capturedKey_);
    }
}

void CDlgMacro::replaceKey(int row) {
    const std::optional<uint32_t> datum = events_->itemData(row);
    if (datum && capturedKey_ != 0) {
        const MacroRow key = keyRow(kindOf(*datum), capturedKey_, state_.language.languageNumber, *keyLayout_);
        events_->replaceRow(row, kindOf(*datum), qtext(key.text), capturedKey_);
    }
}

void CDlgMacro::insertDelay(int row) {
    const std::optional<uint32_t> value = delayFromText(delayField_->text().toStdU16String());
    // A delay cannot go before the first row: nothing would precede it.
    if (value && row > 0) {
        const uint32_t v = *value & 0xFFFFFF;
        const auto isDelay = [this](int r) { return kindOf(events_->itemData(r).value_or(0)) == kRowDelay; };
        const int target = isDelay(row - 1) ? row - 1 : isDelay(row) ? row : -1;
        if (target >= 0) {
            const MacroRow merged = delayRow(mergedDelay(*events_->itemData(target) & 0xFFFFFF, v));
            events_->replaceRow(target, kRowDelay, qtext(merged.text), rowValue(merged));
        } else {
            events_->insertRow(row, kRowDelay, qtext(delayRowText(v)), v);
        }
    }
}

void CDlgMacro::replaceDelay(int row) {
    const std::optional<uint32_t> value = delayFromText(delayField_->text().toStdU16String());
    if (value && events_->itemData(row)) {
        const uint32_t v = std::min(*value, kMaxDelayValue);
        events_->replaceRow(row, kRowDelay, qtext(delayRowText(v)), v);
    }
}

void CDlgMacro::onDeleteRow() {
    const int row = events_->selection();
    if (row < 0) return;
    events_->deleteRow(row);
    // The last row's removal is not stored: the macro keeps its rows.
    if (events_->count() > 0) saveMacro();
    rowSel_ = events_->selection();
}

void CDlgMacro::onCaptured(uint32_t virtualKey, uint32_t flags) {
    // Mouse event codes are no keys: clicks elsewhere are never recorded.
    if (virtualKey > 0xFF) return;
    if (recorder_.filter().repeats(virtualKey, flags)) return;
    if (mode_ == kInsertKey || mode_ == kModifyKey) {
        keyField_->setText(qtext(keyName(virtualKey, KeyNameStyle::Macro, state_.language.languageNumber, *keyLayout_)));
        capturedKey_ = virtualKey;
        return;
    }
    // A key still queued when the recording stopped belongs to no macro.
    if (!recording()) return;
    for (const MacroRow& row : recorder_.record(virtualKey, flags, noDelay(), state_.language.languageNumber, *keyLayout_))
        appendRow(row);
    rowSel_ = events_->selection();
}

void CDlgMacro::onPicture(uintptr_t what, intptr_t button) {
    if (!recording() && mode_ != kInsertKey && mode_ != kModifyKey) return;
    for (std::size_t i = 0; i < pictures_.size(); ++i)
        if (MessagePort::handle(pictures_[i]) == button)
            port()->post(msg::kHookInput, kPictureKeys[i], what == msg::kButtonReleased ? kKeyReleased : 0);
}

void CDlgMacro::toggleRecording() {
    if (mode_ != kIdle) {
        state_.messages.info(recordRefusalText(mode_ == kInsertKey || mode_ == kModifyKey, state_.language.chineseUi));
        return;
    }
    capturing_ = false;
    state_.hooks.setForwarding(0, 0);
    hideEditControls();
    if (macros_->selection() < 0) return;
    if (recording()) endRecording();
    else startRecording();
}

void CDlgMacro::stopRecording() {
    if (recording()) endRecording();
}

void CDlgMacro::setRecordControls(bool recordingNow) {
    record_->setCaption(qtext(recordCaption(recordingNow, state_.language.chineseUi)));
    record_->setTooltip(entry(recordingNow ? "str_macro_end" : "str_macro_start"), true);
    for (CGDIBitmapBtn* b : {newMacro_, deleteMacro_, insert_, deleteRow_, modify_}) b->setEnabled(!recordingNow);
}

void CDlgMacro::startRecording() {
    setRecordControls(true);
    events_->resetContent();
    rowSel_ = -1;
    recorder_.start();
    recorder_.setRecording(true);
    state_.hooks.setTarget(port());
    state_.hooks.setForwarding(1, 0);
}

void CDlgMacro::endRecording() {
    setRecordControls(false);
    state_.hooks.setForwarding(0, 0);
    recorder_.setRecording(false);
    saveMacro();
}

void CDlgMacro::writeLoopField(const QString& text) {
    // This write is a change of its own: it saves.
    normalising_ = false;
    loop_->setText(text);
    loop_->setCursorPosition(static_cast<int>(text.size()));
}

void CDlgMacro::normaliseLoopField() {
    normalising_ = true;
    const QString read = loop_->text();
    QString text = read;
    while (text.startsWith(u'0')) text.remove(0, 1);
    if (!text.isEmpty() && text != read) writeLoopField(text);
    bool digits = !text.isEmpty();
    for (QChar c : text) digits = digits && c >= u'0' && c <= u'9';
    const uint32_t value = digits ? text.toUInt() : 0;
    if (value == 0) writeLoopField(QStringLiteral("1"));
    else if (value > kMaxLoopCount) writeLoopField(QString::number(kMaxLoopCount));
    normalising_ = false;
}

void CDlgMacro::commitLoopField() { normaliseLoopField(); }

void CDlgMacro::onLoopChanged() {
    if (!normalising_ && !changingSelection_) saveMacro();
}

}  // namespace q30x
