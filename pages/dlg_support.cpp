#include "pages/dlg_support.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>

#include "app/host_actions.h"
#include "device/firmware_version.h"
#include "pages/page_hints.h"
#include "pages/profile_transfer.h"
#include "platform/messages.h"
#include "platform/user_messages.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/modal_loop.h"
#include "skin/qt_text.h"

namespace q30x {

namespace ls = layout::support;

namespace {
// The versions' font: 12 points at 96 dpi.
constexpr int kVersionPixels = 16;
}  // namespace

CDlgSupport::CDlgSupport(ProgramState& state, ProgramLauncher& launcher, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kSupport, parent),
      state_(state),
      launcher_(launcher),
      set_(state.language.chineseUi ? layout::SkinSet::Chinese : layout::SkinSet::Standard),
      chooser_([this](FileDialog kind) { return choosePath(kind); }) {
    hints_ = new PageHints(this, state.mainWindow);
    auto makeButton = [this](const layout::SetRect& r, int hint, auto onClick) {
        const QRect rect = toQRect(r.in(set_));
        auto* button = new CGDIBitmapBtn(QString(), rect, this);
        button->cutImages(rect, normalImage(), hoverImage(), pressedImage(), normalImage());
        QObject::connect(button, &QAbstractButton::clicked, this, onClick);
        hints_->add(button, rect, hint);
        return button;
    };
    update_ = makeButton(ls::kUpdate, kHintUpdate, [this] {
        if (updateCheck_) updateCheck_();
    });
    web_ = makeButton(ls::kWeb, kHintWeb, [this] { openWebsite(); });
    import_ = makeButton(ls::kImport, kHintImport, [this] { importProfile(); });
    export_ = makeButton(ls::kExport, kHintExport, [this] { exportProfile(); });
    default_ = makeButton(ls::kDefault, kHintDefault, [this] { restoreDefaults(); });
    // The version areas show nothing of their own: they carry the hints.
    hints_->add(this, toQRect(ls::kProgramVersionArea.in(set_)), kHintProgramVersion);
    hints_->add(this, toQRect(ls::kFirmwareVersionArea.in(set_)), kHintFirmwareVersion);
    releaseStateImages();
    applyLabels();
}

void CDlgSupport::setFirmwareVersionText(std::u16string text) {
    firmwareVersionText_ = std::move(text);
    update();
}

void CDlgSupport::applyLabels() {
    const std::pair<CGDIBitmapBtn*, std::string_view> labels[] = {
        {update_, "str_update"}, {web_, "str_tarvoWeb"}, {import_, "str_importFile"},
        {export_, "str_exportFile"}, {default_, "str_defaultname"},
    };
    for (const auto& [button, key] : labels) {
        button->setCaption(qtext(state_.strings.text(key)));
        button->setCaptionWrap(true);
        button->setTooltip(button->caption(), true);
    }
    update();
}

QString CDlgSupport::programVersion() const { return qtext(kProgramVersion); }

QString CDlgSupport::firmwareVersion() const { return qtext(firmwareVersionLabel(firmwareVersionText_)); }

void CDlgSupport::openWebsite() { launcher_.launch(kOpener, {std::string(kMakerWebsite)}); }

void CDlgSupport::restoreDefaults() {
    const bool ok = state_.messages.question(state_.language.chineseUi ? u"确定要恢复默认设置?"
                                                                       : u"Do you want to restore the default setting?");
    if (ok) state_.mainWindow.post(msg::kRestoreDefaults, 0, 0);
}

void CDlgSupport::importProfile() {
    const QString path = chooser_(FileDialog::Open);
    if (path.isEmpty()) return;
    const TransferResult result = q30x::importProfile(path.toStdString(), state_.settings);
    state_.messages.standard(result.text, kInfoCaption);
}

void CDlgSupport::exportProfile() {
    const QString path = chooser_(FileDialog::Save);
    if (path.isEmpty()) return;
    const TransferResult result = exportProfileFile(path.toStdString(), state_.settings.current);
    state_.messages.standard(result.text, kInfoCaption);
}

QString CDlgSupport::choosePath(FileDialog kind) {
    const bool open = kind == FileDialog::Open;
    QFileDialog dialog(this, qtext(state_.strings.text(open ? "str_importFile" : "str_exportFile")));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("CFG Files (*.cfg)"));
    dialog.setDefaultSuffix(QStringLiteral("cfg"));
    dialog.setDirectory(QDir::home());
    ModalLoopScope modal;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

void CDlgSupport::paintEvent(QPaintEvent* e) {
    CSkinPage::paintEvent(e);
    QPainter p(this);
    QFont font = shellDlgFont();
    font.setPixelSize(kVersionPixels);
    font.setWeight(QFont::Normal);
    p.setFont(font);
    p.setPen(QColor::fromRgb(ls::kVersionColour));
    drawTextLine(p, toQRect(ls::kProgramVersion.in(set_)), programVersion(), Qt::AlignLeft);
    drawTextLine(p, toQRect(ls::kFirmwareVersion.in(set_)), firmwareVersion(), Qt::AlignLeft);
    p.setFont(shellDlgFont());
    p.setPen(kCaptionNormal);
    const std::pair<const layout::SetRect&, std::string_view> titles[] = {
        {ls::kPageTitle, "str_about"},
        {ls::kProgramTitle, "str_driver_version"},
        {ls::kFirmwareTitle, "str_firmware_version"},
    };
    for (const auto& [rect, key] : titles)
        drawTextLine(p, toQRect(rect.in(set_)), qtext(state_.strings.text(key)), Qt::AlignLeft);
}

}  // namespace q30x
