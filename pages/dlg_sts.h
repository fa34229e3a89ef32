#pragma once
#include <array>
#include <memory>

#include "app/program_state.h"
#include "pages/stats.h"
#include "platform/pointer_position.h"
#include "skin/layout.h"
#include "skin/skin_page.h"

namespace q30x {

class CGDIBitmapBtn;
class PageHints;
class PointerSampler;

// The statistics page: clicks, wheel notches and pointer travel counted from
// the hooks' events (1225, forwarded by the main window) and the sampling
// thread's positions (1226), shown with the trophy level they earn.
class CDlgSts : public CSkinPage {
public:
    static constexpr uint32_t kRepaintTimer = 1;
    static constexpr int kRepaintPeriodMs = 5000;
    static constexpr int kHintTrophy = 54, kHintReset = 55;
    // The level no picture is shown for yet.
    static constexpr int kNoLevel = 800;

    // Reads "Sts.cfg"; without `pointer` the travel is not sampled.
    CDlgSts(ProgramState& state, PointerPosition* pointer, QWidget* parent);
    ~CDlgSts() override;

    // Writes "Sts.cfg": at the session's end and at shutdown.
    void saveCounters();
    void applyLabels();
    // The reset button: asks, then zeroes the counters and saves them.
    void reset();

    const Statistics& statistics() const { return stats_; }
    int shownLevel() const { return shownLevel_; }
    // Each value as painted, top to bottom.
    QString valueText(int row) const;
    QString trophyFile() const { return trophyFile_; }
    CGDIBitmapBtn* trophy() const { return trophy_; }
    CGDIBitmapBtn* levelBar() const { return levelBar_; }
    CGDIBitmapBtn* lamp(int i) const { return lamps_[static_cast<std::size_t>(i)]; }
    CGDIBitmapBtn* resetButton() const { return reset_; }
    layout::SkinSet skinSet() const { return set_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // Brings the trophy, the lamps and the bar to the stored level.
    void showLevel();
    QRect valueColumn() const;

    ProgramState& state_;
    layout::SkinSet set_;
    Statistics stats_;
    int shownLevel_ = kNoLevel;
    QString trophyFile_;
    CGDIBitmapBtn* trophy_ = nullptr;
    CGDIBitmapBtn* levelBar_ = nullptr;
    std::array<CGDIBitmapBtn*, kTrophyLevelCount> lamps_{};
    CGDIBitmapBtn* reset_ = nullptr;
    PageHints* hints_ = nullptr;
    std::unique_ptr<PointerSampler> sampler_;
};

}  // namespace q30x
