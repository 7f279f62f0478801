#include "pages/channel_output_page.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

#include "controls/notices.h"
#include "pages/channel_preset.h"
#include "pages/page_views.h"
#include "platform/ui/color.h"
#include "platform/ui/controls.h"

namespace chan {

namespace {
constexpr char kFaceProperty[] = "k417bFace";
}  // namespace

void SetButtonFace(QAbstractButton* button, unsigned colorRef) {
    if (!button) return;
    QPalette p = button->palette();
    p.setColor(QPalette::Button, win::ColorRef(colorRef));
    button->setPalette(p);
    button->setAutoFillBackground(true);
    button->setProperty(kFaceProperty, colorRef);
    button->update();
}

unsigned ButtonFace(const QAbstractButton* button) {
    return button ? button->property(kFaceProperty).toUInt() : 0;
}

OutputPage::OutputPage(const OutputTraits& traits, QWidget* parent)
    : Page(traits.bandCount, traits.templateId, parent), traits_(traits) {
    model_.sectionName = traits.eqSection;
    for (int b = 1; b <= traits.bandCount - 2; ++b) model_.defaultFreq[b] = traits.peakingFreq[b - 1];
}

int OutputPage::ColumnWidth() const {
    return std::max(230, fontMetrics().averageCharWidth() * 34);
}

int OutputPage::RowHeight() const {
    return fontMetrics().height() + 4 + 26 + 8;
}

void OutputPage::BuildTemplate() {
    const QRect nowhere(0, 0, 10, 10);
    auto add = [&](const SliderSpec& s) {
        if (traits_.framedPairs) frames_[s.id] = pageview::NewGroupFrame(this, nowhere);
        AddSlider(s.id, Qt::Horizontal, nowhere, s.min, s.max, s.def);
        AddLabel(s.labelId, nowhere);
    };
    for (const auto& s : LevelSliders()) add(s);
    for (int id : traits_.delayIds)
        add(id == id::kLeftDelay    ? LeftDelaySlider()
            : id == id::kRightDelay ? RightDelaySlider()
                                    : DelaySlider());
    for (const auto& s : LimiterSliders()) {
        add(s);
        // The limiter is set by reset, preset and read-back only; the user never sees it.
        Control(s.id)->hide();
        Control(s.labelId)->hide();
        if (QWidget* frame = Frame(s.id)) frame->hide();
    }
    const int captionIds[] = {1408, 1409};
    for (std::size_t i = 0; i < traits_.mutes.size(); ++i) {
        const chan::MuteButton& m = traits_.mutes[i];
        auto* button = new QPushButton(QString::fromUtf8("静音"), this);
        win::SetControlId(button, m.id);
        connect(button, &QAbstractButton::clicked, this, [this, bit = m.bit] { OnMuteClicked(bit); });
        muteButtons_.push_back(button);
        if (traits_.channelCaptions && i < 2) {
            auto* caption = new QLabel(this);
            win::SetControlId(caption, captionIds[i]);
            channelCaptions_.push_back(caption);
        }
    }
}

void OutputPage::PlaceSliderRow(int sliderId, int labelId, int x, int y) {
    const int lh = fontMetrics().height() + 4;
    const int inset = Frame(sliderId) ? pageview::kFramedLabelInset : 0;
    if (QWidget* l = Control(labelId)) l->setGeometry(x + inset, y, ColumnWidth() - 2 * inset, lh);
    if (QWidget* s = Control(sliderId)) s->setGeometry(x, y + lh, ColumnWidth(), 26);
    pageview::SetGroupFrameAround(Frame(sliderId), QRect(x, y, ColumnWidth(), lh + 26));
}

QWidget* OutputPage::Frame(int sliderId) const {
    const auto it = frames_.find(sliderId);
    return it == frames_.end() ? nullptr : it->second;
}

void OutputPage::LayOutColumns(int left) {
    const int cw = ColumnWidth();
    const int rh = RowHeight();
    const int gap = 12;
    int x = left;
    // Column 1: the four mix levels.
    int y = 4;
    for (const auto& s : LevelSliders()) {
        PlaceSliderRow(s.id, s.labelId, x, y);
        y += rh;
    }
    // Column 2: delays, then the mute buttons with their channel captions.
    x += cw + gap;
    y = 4;
    for (int id : traits_.delayIds) {
        const SliderSpec& s = id == id::kLeftDelay    ? LeftDelaySlider()
                              : id == id::kRightDelay ? RightDelaySlider()
                                                      : DelaySlider();
        PlaceSliderRow(s.id, s.labelId, x, y);
        y += rh;
    }
    y += 8;
    const int n = static_cast<int>(muteButtons_.size());
    const int bw = (cw - (n - 1) * 8) / std::max(n, 1);
    const int lh = fontMetrics().height() + 4;
    for (int i = 0; i < n; ++i) {
        const int bx = x + i * (bw + 8);
        if (i < static_cast<int>(channelCaptions_.size())) channelCaptions_[i]->setGeometry(bx, y, bw, lh);
        muteButtons_[i]->setGeometry(bx, y + lh + 2, bw, 30);
    }
    // Column 3: the hidden limiter.
    x += cw + gap;
    y = 4;
    for (const auto& s : LimiterSliders()) {
        PlaceSliderRow(s.id, s.labelId, x, y);
        y += rh;
    }
}

void OutputPage::OnInitDialog() {
    Page::OnInitDialog();
    LayOutColumns(std::max(eqRight, 0) + 10);
    SetMuteBits(0);
}

void OutputPage::ResetSpec(const SliderSpec& s) {
    SetSliderRange(s.id, s.min, s.max);
    SetSliderPos(s.id, s.def);
    if (auto* w = qobject_cast<QSlider*>(Control(s.id)); w && s.tick > 0) {
        w->setTickInterval(s.tick);
        w->setTickPosition(QSlider::TicksBelow);
    }
}

void OutputPage::ResetSpecs(std::span<const SliderSpec> specs) {
    for (const auto& s : specs) ResetSpec(s);
}

void OutputPage::RefreshOwnLabels() {
    UpdateLeftDelayLabel();
    UpdateRightDelayLabel();
    UpdateDelayLabel();
    UpdateLimitLabel();
    UpdateStartTimeLabel();
    UpdateAttackLabel();
    UpdateRatioLabel();
    for (int k = 0; k < levelkind::kCount; ++k) UpdateVolumeLabel(k);
}

void OutputPage::ResetAll(bool withControls) {
    Page::ResetAll(true);
    if (!withControls) return;
    for (int id : traits_.delayIds)
        ResetSpec(id == id::kLeftDelay    ? LeftDelaySlider()
                  : id == id::kRightDelay ? RightDelaySlider()
                                          : DelaySlider());
    ResetSpecs(LimiterSliders());
    ResetSpecs(LevelSliders());
    RefreshOwnLabels();
}

void OutputPage::ResetPeq(bool) {
    Page::ResetPeq(true);
}

std::optional<ZemCmd::EqFrame> OutputPage::BuildBandCmd(int band) const {
    const auto base = Page::BuildBandCmd(band);
    if (!base) return std::nullopt;
    return MarkBandFrame(*base, band, traits_.bandCount, traits_.marks);
}

ZemCmd::Cmd OutputPage::BuildAlcCmd() const {
    LimiterValues v;
    v.limit = SliderPos(id::kLimit).value_or(v.limit);
    v.startTime = SliderPos(id::kStartTime).value_or(v.startTime);
    v.releaseMultiplier = SliderPos(id::kReleaseMultiplier).value_or(v.releaseMultiplier);
    v.ratio = SliderPos(id::kRatio).value_or(v.ratio);
    return LimiterFrame(traits_.limiter, v);
}

SliderAccess PageSliders(Page& page) {
    return {[&page](int id) { return page.SliderPos(id).value_or(0); },
            [&page](int id, int pos) { page.SetSliderPos(id, pos); }};
}

SliderAccess PageSliderReader(const Page& page) {
    return {[&page](int id) { return page.SliderPos(id).value_or(0); }, nullptr};
}

std::string OutputPage::SaveText() const {
    std::string s = std::string(traits_.eqSection) + "\n";
    s += Page::SaveText();
    s += SlidersSection(traits_.alcSection, PageSliderReader(*this), LimiterIds());
    s += MuteSection(traits_.muteSection, muteBits_);
    return s;
}

void OutputPage::LoadText(const std::vector<std::string>& lines) {
    Page::LoadText(lines);
    if (LoadSlidersSection(lines, traits_.alcSection, PageSliders(*this), LimiterIds())) {
        UpdateLimitLabel();
        UpdateStartTimeLabel();
        UpdateAttackLabel();
        UpdateRatioLabel();
    }
    if (const auto bits = LoadMuteSection(lines, traits_.muteSection, traits_.MuteMask())) SetMuteBits(*bits);
}

void OutputPage::SetDirectVolume(int value) {
    SetSliderPos(id::kDirectLevel, value);
    UpdateVolumeLabel(levelkind::kDirect);
}

void OutputPage::SetEchoVolume(int value) {
    SetSliderPos(id::kEchoLevel, value);
    UpdateVolumeLabel(levelkind::kEcho);
}

void OutputPage::SetReverbVolume(int value) {
    SetSliderPos(id::kReverbLevel, value);
    UpdateVolumeLabel(levelkind::kReverb);
}

void OutputPage::SetMuteBits(int bits) {
    muteBits_ = bits & traits_.MuteMask();
    PaintMuteButtons();
}

QAbstractButton* OutputPage::MuteButton(int bit) const {
    for (std::size_t i = 0; i < traits_.mutes.size(); ++i)
        if (traits_.mutes[i].bit == bit && i < muteButtons_.size()) return muteButtons_[i];
    return nullptr;
}

void OutputPage::PaintMuteButtons() {
    for (std::size_t i = 0; i < traits_.mutes.size() && i < muteButtons_.size(); ++i) {
        const bool muted = (muteBits_ >> traits_.mutes[i].bit) & 1;
        SetButtonFace(muteButtons_[i], muted ? kMutedFace : kUnmutedFace);
        muteButtons_[i]->repaint();
    }
}

void OutputPage::OnMuteClicked(int bit) {
    muteBits_ ^= 1 << bit;
    PaintMuteButtons();
    Notify(notice::kMutes, 0, 0);
}

}  // namespace chan
