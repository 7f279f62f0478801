#include "pages/page_bass_out.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <cmath>

#include "controls/notices.h"
#include "platform/ui/controls.h"

namespace {
constexpr int kLastBand = 4;
constexpr float kQ12db = 0.5f;
constexpr float kQ24db = 0.7f;
}  // namespace

PageBassOut::PageBassOut(QWidget* parent) : chan::OutputPage(chan::BassTraits(), parent) {}

void PageBassOut::BuildTemplate() {
    chan::OutputPage::BuildTemplate();
    const auto& s = chan::CrossoverSlider();
    AddSlider(s.id, Qt::Horizontal, QRect(0, 0, 10, 10), s.min, s.max, s.def);
    AddLabel(pageid::kBassLowPassLabel, QRect(0, 0, 10, 10));
    slope_ = new QComboBox(this);
    win::SetControlId(slope_, pageid::kBassSlopeCombo);
    connect(slope_, &QComboBox::activated, this, [this](int) { OnSlopeChanged(); });
}

void PageBassOut::LayOutColumns(int left) {
    PlaceSliderRow(chan::id::kCrossover, pageid::kBassLowPassLabel, left, 4);
    slope_->setGeometry(left, 4 + RowHeight(), ColumnWidth() / 2, fontMetrics().height() + 10);
    chan::OutputPage::LayOutColumns(left + ColumnWidth() + 12);
}

int PageBassOut::CrossoverHz() const {
    return SliderPos(chan::id::kCrossover).value_or(chan::CrossoverSlider().def);
}

int PageBassOut::SlopeItem() const {
    return slope_ && slope_->currentIndex() > 0 ? 1 : 0;
}

void PageBassOut::SelectSlope(int item) {
    if (!slope_) return;
    const QSignalBlocker block(slope_);
    slope_->setCurrentIndex(item);
}

void PageBassOut::FollowSlope() {
    UpdateBassLowPassLabel();
    auto& band = model_.band;
    if (SlopeItem() == 0) {
        band.q[0] = kQ12db;
        band.freq[kLastBand] = kMaxFreq;
        band.type[kLastBand] = kTypeOff;
    } else {
        band.q[0] = kQ24db;
        band.freq[kLastBand] = CrossoverHz();
        band.type[kLastBand] = kTypeLowPass;
    }
}

void PageBassOut::ResetAll(bool withControls) {
    chan::OutputPage::ResetAll(withControls);
    model_.band.gain[kLastBand] = 0.0f;
    if (withControls) {
        const auto& s = chan::CrossoverSlider();
        SetSliderRange(s.id, s.min, s.max);
        SetSliderPos(s.id, s.def);
        if (slope_) {
            const QSignalBlocker block(slope_);
            slope_->clear();
            slope_->addItem("12db");
            slope_->addItem("24db");
            slope_->setCurrentIndex(0);
        }
    }
    // A reset must not leave the Q of "24db" behind a combo showing "12db".
    FollowSlope();
}

void PageBassOut::OnSlopeChanged() {
    FollowSlope();
    const bool steep = SlopeItem() != 0;
    const int type = steep ? kTypeLowPass : kTypeOff;
    const int reported = steep ? CrossoverHz() : kMaxFreq;
    Notify(notice::kBandType, kLastBand, type);
    Notify(notice::kBandFreq, kLastBand, reported);
    Notify(notice::kCrossover, 0, 0);
}

void PageBassOut::OnHScroll(int id, int pos) {
    chan::OutputPage::OnHScroll(id, pos);
    if (id != chan::id::kCrossover) return;
    model_.band.freq[0] = CrossoverHz();
    model_.band.type[0] = kTypeLowPass;
    if (SlopeItem() == 1) OnSlopeChanged();
}

ZemCmd::EqFrame PageBassOut::BuildCrossoverCmd() const {
    return chan::CrossoverFrame(CrossoverHz(), SlopeItem());
}

void PageBassOut::ApplyCrossover(int frequency, int gainDb, int /*filterCode*/, float q) {
    int f = frequency;
    int type = kTypeLowPass;
    if (gainDb == 0) {
        f = chan::kCrossoverTop;
    } else if (frequency > chan::kCrossoverTop) {
        type = kTypeOff;
    }
    SetSliderPos(chan::id::kCrossover, gainDb == 0 ? chan::kCrossoverTop : frequency);
    UpdateBassLowPassLabel();
    if (q == kQ12db) {
        SelectSlope(0);
        // As the slope handler does: no second section at "12db".
        model_.band.q[0] = kQ12db;
        model_.band.freq[kLastBand] = kMaxFreq;
        model_.band.type[kLastBand] = kTypeOff;
    } else {
        SelectSlope(1);
        model_.band.q[0] = kQ24db;
        SetBandFreqGain(kLastBand, f, 0.0f);
        SetTypeButtons(kLastBand, type);
    }
    model_.band.type[0] = type;
}

void PageBassOut::LoadText(const std::vector<std::string>& lines) {
    chan::OutputPage::LoadText(lines);
    SetSliderPos(chan::id::kCrossover, model_.band.freq[0]);
    UpdateBassLowPassLabel();
    SelectSlope(static_cast<int>(model_.band.q[0] * 100.0f) == 50 ? 0 : 1);
}

void PageBassOut::SetLanguage(int language) {
    model_.language = language;
    UpdateBassLowPassLabel();
    chan::OutputPage::SetLanguage(language);
}
