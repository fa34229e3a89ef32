#include "pages/dlg_sts.h"

#include <QPainter>

#include "pages/page_hints.h"
#include "pages/pointer_sampler.h"
#include "platform/messages.h"
#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/message_port.h"
#include "skin/qt_text.h"

namespace q30x {

namespace ls = layout::sts;
static_assert(ls::kLampCount == kTrophyLevelCount, "one lamp per trophy level");

namespace {
QRect levelBarRect(int level) {
    return QRect(QPoint(ls::kLevelBarLeft, ls::kLevelBarTop),
                 QPoint(ls::kLevelBarLeft + levelBarWidth(level), ls::kLevelBarBottom) - QPoint(1, 1));
}

QRect fullLevelBar() { return levelBarRect(kTrophyLevelCount - 1); }
}  // namespace

CDlgSts::CDlgSts(ProgramState& state, PointerPosition* pointer, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kSts, parent),
      state_(state),
      set_(state.language.chineseSkin ? layout::SkinSet::Chinese : layout::SkinSet::Standard) {
    port()->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    stats_.setBlock(loadStatsFile(state.folders, state.messages));

    auto makeButton = [this](const layout::SetRect& r) {
        const QRect rect = toQRect(r.in(set_));
        auto* button = new CGDIBitmapBtn(QString(), rect, this);
        button->cutImages(rect, normalImage(), hoverImage(), pressedImage(), normalImage());
        return button;
    };
    trophy_ = makeButton(ls::kTrophy);
    trophy_->setHoverEnabled(false);
    reset_ = makeButton(ls::kReset);
    QObject::connect(reset_, &QAbstractButton::clicked, this, [this] { reset(); });
    // The bar and the lamps only show: they are "on" in their pressed look.
    const QImage lit = pressedImage();
    levelBar_ = new CGDIBitmapBtn(QString(), toQRect(ls::kLevelBar.in(set_)), this);
    levelBar_->setImages(cut(lit, fullLevelBar()), QImage(), QImage(), QImage());
    levelBar_->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int i = 0; i < kTrophyLevelCount; ++i) {
        const QRect rect = toQRect(ls::lamp(i));
        auto* lamp = new CGDIBitmapBtn(QString(), rect, this);
        lamp->setModes(true, false);
        lamp->cutImages(rect, normalImage(), normalImage(), lit, normalImage());
        lamp->setAttribute(Qt::WA_TransparentForMouseEvents);
        lamps_[static_cast<std::size_t>(i)] = lamp;
    }
    releaseStateImages();

    hints_ = new PageHints(this, state.mainWindow);
    hints_->add(trophy_, trophy_->geometry(), kHintTrophy);
    hints_->add(reset_, reset_->geometry(), kHintReset);

    if (pointer) {
        if (const auto at = pointer->position()) stats_.setLastSample(*at);
        sampler_ = std::make_unique<PointerSampler>(*pointer, *port());
    }
    port()->setTimer(kRepaintTimer, kRepaintPeriodMs);
    applyLabels();
    showLevel();
}

CDlgSts::~CDlgSts() = default;

void CDlgSts::saveCounters() {
    saveStatsFile(state_.folders, state_.messages, state_.strings, stats_.block(), state_.language.chineseUi);
}

void CDlgSts::applyLabels() {
    trophy_->setTooltip(qtext(state_.strings.text("str_cups")), true);
    reset_->setCaption(qtext(state_.strings.text("str_resetSts")));
    update();
}

void CDlgSts::reset() {
    const bool ok = state_.messages.question(state_.language.chineseUi ? u"确定要重置奖杯和统计数据么？"
                                                                       : u"Do you want to reset trophy data ?");
    if (!ok) return;
    stats_.reset();
    shownLevel_ = kNoLevel;
    saveCounters();
    showLevel();
    update();
}

QString CDlgSts::valueText(int row) const {
    const StatsBlock& b = stats_.block();
    const uint32_t values[] = {b.leftClicks,   b.middleClicks,   b.rightClicks,   clicksTotal(b),
                               b.wheelForward, b.wheelBackward, scrollsTotal(b)};
    if (row == ls::kValueCount - 1) return qtext(distanceText(b.distance));
    // Unsigned, as they count: a signed form would turn 2^31 clicks negative.
    return QString::number(values[row]);
}

QRect CDlgSts::valueColumn() const {
    QRect column;
    for (int row = 0; row < ls::kValueCount; ++row) column |= toQRect(ls::value(row).in(set_));
    return column;
}

void CDlgSts::showLevel() {
    const int level = stats_.updateLevel();
    if (level == shownLevel_) return;
    trophyFile_ = QStringLiteral("skins/") +
                  QString::fromLatin1(ls::kTrophyFormat.data(), static_cast<qsizetype>(ls::kTrophyFormat.size())).arg(level);
    const QImage picture = orPlaceholder(loadSkinImage(QString::fromStdString(state_.folders.program), trophyFile_),
                                         trophy_->size());
    trophy_->setImages(picture, picture, picture, picture);
    for (int i = 0; i < kTrophyLevelCount; ++i) lamps_[static_cast<std::size_t>(i)]->setCheckedState(i <= level);
    levelBar_->setGeometry(levelBarRect(level));
    shownLevel_ = level;
    update();
}

intptr_t CDlgSts::onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case msg::kStatsInput:
        if (stats_.count(wParam)) {
            showLevel();
            update(valueColumn());
        }
        break;
    case msg::kStatsTick: stats_.addSample(PointerSampler::sampleOf(wParam, lParam)); break;
    case msg::kTimer: update(toQRect(ls::value(ls::kValueCount - 1).in(set_))); break;
    default: break;
    }
    return 0;
}

void CDlgSts::paintEvent(QPaintEvent* e) {
    CSkinPage::paintEvent(e);
    QPainter p(this);
    p.setFont(shellDlgFont());
    p.setPen(colorRef(ls::kValueColour));
    for (int row = 0; row < ls::kValueCount; ++row)
        drawTextLine(p, toQRect(ls::value(row).in(set_)), valueText(row), Qt::AlignRight);
    p.setPen(kCaptionNormal);
    drawTextLine(p, toQRect(ls::kCountersTitle.in(set_)), qtext(state_.strings.text("str_sts")), Qt::AlignLeft);
    drawTextLine(p, toQRect(ls::kTrophiesTitle.in(set_)), qtext(state_.strings.text("str_cups")), Qt::AlignLeft);
}

}  // namespace q30x
