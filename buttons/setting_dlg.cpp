#include "buttons/setting_dlg.h"

#include <QKeyEvent>
#include <QPainter>

#include "buttons/function_names.h"
#include "buttons/setting_pages.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"
#include "skin/modal_loop.h"
#include "skin/page_controls.h"
#include "skin/qt_text.h"

namespace q30x {

namespace ls = layout::setting;

namespace {

constexpr std::string_view kTabKeys[CSettingDlg::kPages] = {"str_key_com", "str_macro_set", "str_basic", "str_advance"};


bool isInput(int index) { return index >= 0 && index < kButtonCount; }

}  // namespace

CSettingDlg::CSettingDlg(ProgramState& state, int inputIndex, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      inputIndex_(inputIndex),
      layout_(currentKeyboardLayout()),
      port_(new MessagePort(this)) {
    result_.inputIndex = inputIndex;
    port_->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    createControls();
    showPage(1);
}

CSettingDlg::~CSettingDlg() { setKeyCapture(false); }

QString CSettingDlg::entry(std::string_view key) const { return qtext(state_.strings.text(key)); }

void CSettingDlg::createControls() {
    const QString folder = QString::fromStdString(state_.folders.program);
    auto skin = [&folder](std::string_view file) {
        return loadSkinImage(folder, QStringLiteral("skins/") + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size())));
    };
    normal_ = skin(ls::kFiles[0]);
    // The popup takes the size of its picture; without one, the layout's.
    const QSize size = normal_.isNull() ? QSize(ls::kSize.width, ls::kSize.height) : normal_.size();
    normal_ = orPlaceholder(normal_, size);
    pressed_ = orPlaceholder(skin(ls::kFiles[1]), size);
    hover_ = orPlaceholder(skin(ls::kFiles[2]), size);
    setFixedSize(size);
    const QRect host = parentWidget() ? parentWidget()->window()->geometry() : workArea();
    move(host.left() + (host.width() - size.width()) / 2, host.top() + (host.height() - size.height()) / 2);

    auto button = [this](const layout::Rect& r, const QString& caption) {
        auto* b = new CGDIBitmapBtn(caption, toQRect(r), this);
        b->cutImages(toQRect(r), normal_, hover_, pressed_, normal_);
        return b;
    };
    close_ = button(ls::kClose, {});
    QObject::connect(close_, &QAbstractButton::clicked, this, [this] { reject(); });
    const QColor white(Qt::white);
    for (int p = 1; p <= kPages; ++p) {
        CGDIBitmapBtn* t = tabs_[static_cast<std::size_t>(p - 1)] =
            button(ls::kTabs[static_cast<std::size_t>(p - 1)], entry(kTabKeys[p - 1]));
        t->setModes(true, false);
        t->setColours(QColor::fromRgb(ls::kTabCaptionColour), white, white);
        QObject::connect(t, &QAbstractButton::clicked, this, [this, p] { showPage(p); });
    }
    disable_ = button(ls::kDisable, {});
    disable_->setModes(true, false);
    disable_->setTooltip(entry("str_disable"), true);
    QObject::connect(disable_, &QAbstractButton::clicked, this, [this] { onDisable(); });
    default_ = button(ls::kDefault, entry("str_default_setting"));
    QObject::connect(default_, &QAbstractButton::clicked, this, [this] { onDefault(); });
    ok_ = button(ls::kOk, entry("str_ok"));
    QObject::connect(ok_, &QAbstractButton::clicked, this, [this] { onOk(); });

    combo_ = new CSetting_SingleComboDlg(state_, *layout_, this);
    macro_ = new CSetting_MacroDlg(state_, this);
    base_ = new CSetting_BaseDlg(state_, this);
    advanced_ = new CSetting_AdvanceDlg(state_, inputIndex_, this);
    for (int p = 1; p <= kPages; ++p) page(p)->hide();
}

QWidget* CSettingDlg::page(int p) const {
    const std::array<QWidget*, kPages> pages = {combo_, macro_, base_, advanced_};
    return p >= 1 && p <= kPages ? pages[static_cast<std::size_t>(p - 1)] : nullptr;
}

QString CSettingDlg::currentText() const {
    QString text = entry("str_cur_function");
    if (isInput(inputIndex_))
        text += qtext(labelTranslation(fixedText(state_.settings.current.buttons[inputIndex_].label), state_.language.chineseUi));
    return text;
}

void CSettingDlg::showPage(int p) {
    if (disable_->checkedState()) {
        for (CGDIBitmapBtn* t : tabs_) t->setCheckedState(0);
        for (int n = 1; n <= kPages; ++n) page(n)->hide();
        // No page shows, so no key may be captured.
        page_ = 0;
        setKeyCapture(false);
        return;
    }
    if (!page(p)) return;
    page_ = p;
    for (int n = 1; n <= kPages; ++n) {
        tabs_[static_cast<std::size_t>(n - 1)]->setCheckedState(n == p ? 1 : 0);
        page(n)->setVisible(n == p);
    }
    setKeyCapture(p == 1);
}

void CSettingDlg::setKeyCapture(bool on) {
    if (on) {
        state_.hooks.setTarget(port_);
        state_.hooks.setForwarding(1, 0);
    } else if (capturing_) {
        // Both off hands the hooks back to the main window.
        state_.hooks.setForwarding(0, 0);
    }
    capturing_ = on;
}

intptr_t CSettingDlg::onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // A key posted before capture ended may still arrive; it is not the user's choice any more.
    if (message == msg::kHookInput && capturing_) combo_->onHookKey(wParam, lParam);
    return 0;
}

void CSettingDlg::onDisable() {
    disable_->setCheckedState(disable_->checkedState() ? 0 : 1);
    showPage(1);
}

void CSettingDlg::onOk() {
    if (disable_->checkedState()) {
        result_.code = kDisabledCode;
        result_.category = kCategoryDisabled;
        return end(true);
    }
    switch (page_) {
    case 1:
        result_.category = kCategoryCombination;
        result_.code = combo_->code();
        break;
    case 2:
        if (const std::optional<uint32_t> id = macro_->chosenMacro()) {
            result_.category = kCategoryMacro;
            result_.code = static_cast<int32_t>(*id);
        }
        break;
    case 3:
        if (const std::optional<int32_t> type = base_->chosenType()) result_.code = *type;
        break;
    case 4:
        if (const auto choice = advanced_->choice()) {
            result_.code = choice->code;
            result_.category = kCategoryAdvanced;
            result_.actionIndex = choice->row;
            setFixedText(result_.actionPath, choice->path.toStdU16String());
        }
        break;
    default: break;
    }
    end(result_.code != 0);
}

void CSettingDlg::onDefault() {
    result_.code = isInput(inputIndex_) ? kPhysicalButtons[static_cast<std::size_t>(inputIndex_)].defaultType : 0;
    end(result_.code != 0);
}

void CSettingDlg::reject() { end(false); }

void CSettingDlg::end(bool chosen) {
    setKeyCapture(false);
    done(chosen ? Accepted : Rejected);
}

int CSettingDlg::exec() {
    int result = Rejected;
    {
        ModalLoopScope modal;
        result = QDialog::exec();
    }
    if (result == Accepted) commit();
    return result;
}

AssignOutcome CSettingDlg::commit() {
    const AssignmentContext context{state_.macros, state_.language.chineseUi, state_.language.languageNumber, *layout_};
    const AssignOutcome outcome = storeAssignment(state_.settings, inputIndex_, result_, context);
    const std::u16string_view text = assignmentMessage(outcome, state_.language.chineseUi);
    if (!text.empty()) state_.messages.info(text);
    return outcome;
}

void CSettingDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, normal_);
    p.setFont(shellDlgFont());
    p.setPen(QColor::fromRgb(ls::kTitleColour));
    drawTextLine(p, toQRect(ls::kTitle), entry("str_panel"), Qt::AlignHCenter);
    p.setPen(QColor::fromRgb(ls::kTextColour));
    drawTextLine(p, toQRect(ls::kCurrent), currentText(), Qt::AlignLeft);
    drawTextLine(p, toQRect(ls::kDisableText), entry("str_disable"), Qt::AlignLeft);
}

void CSettingDlg::keyPressEvent(QKeyEvent* e) {
    if (isDialogKey(e->key())) return e->accept();
    QDialog::keyPressEvent(e);
}

void CSettingDlg::keyReleaseEvent(QKeyEvent* e) {
    if (isDialogKey(e->key())) return e->accept();
    QDialog::keyReleaseEvent(e);
}

void CSettingDlg::mousePressEvent(QMouseEvent* e) { drag_.press(this, e); }

void CSettingDlg::mouseMoveEvent(QMouseEvent* e) { drag_.move(this, e); }

}  // namespace q30x
