#include "pages/page_mic.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>

#include "controls/notices.h"
#include "pages/channel_frames.h"
#include "pages/channel_output_page.h"
#include "pages/channel_preset.h"
#include "pages/channel_sliders.h"
#include "pages/channel_traits.h"
#include "pages/page_views.h"
#include "platform/lang.h"
#include "platform/numbers.h"
#include "platform/ui/controls.h"

namespace {

constexpr int kLastBand = chan::mic::kBandCount - 1;
constexpr int kFbcCaption = 1442;
// The group boxes of the template: high-pass, then the limiter's limit, start time, release
// multiplier and ratio; the hidden gate's two.
constexpr int kHighPassFrame = 1445;
constexpr int kLimiterFrames[] = {1446, 1447, 1448, 1449};
constexpr int kGateFrames[] = {1443, 1444};

// The high-pass titles carry trailing blanks that push the value to the right.
const std::string kHighPassTitle[] = {
    std::string("麦克风高通:") + std::string(25, ' '), std::string("Mic High Pass:") + std::string(26, ' '),
    std::string("โลว์ คัท:") + std::string(26, ' '), "Cắt tần số thấp:", "Mikrofon Tingkat Tinggi:"};
const char* const kFbcCaptionText[] = {
    "FBC模式:", "FBC Mode:", "ฟีดแบค ตัวเลือก:", "Chế độ chống hú:", "Mode FBE:"};
const char* const kFbcOff[] = {"关闭", "OFF", "ปิด", "Tắt", "Mati"};
const char* const kFbcMode1[] = {"模式1", "Mode1", "ตัวเลือก1", "Chế độ 1", "Mode1"};
const char* const kFbcMode2[] = {"模式2", "Mode2", "ตัวเลือก2", "Chế độ 2", "Mode2"};
const char* const kFbcMode3[] = {"模式3", "Mode3", "ตัวเลือก3", "Chế độ 3", "Mode3"};
const char* const* const kFbcItems[] = {kFbcOff, kFbcMode1, kFbcMode2, kFbcMode3};
// Before the first language switch.
const char* const kFbcStartItems[] = {"OFF", "MODE-1", "MODE-2", "MODE-3"};

}  // namespace

PageMic::PageMic(QWidget* parent) : Page(chan::mic::kBandCount, chan::mic::kTemplate, parent) {
    model_.sectionName = "[mic eq]";
    for (int b = 1; b < kLastBand; ++b) model_.defaultFreq[b] = chan::mic::kPeakingFreq[b - 1];
    for (int i = 0; i < 5; ++i) hpTitle[i] = kHighPassTitle[i];
}

void PageMic::BuildTemplate() {
    const QRect nowhere(0, 0, 10, 10);
    fbcCaption_ = new QLabel(QString::fromLatin1("MIC FBE  Mode:"), this);
    win::SetControlId(fbcCaption_, kFbcCaption);
    fbc_ = new QComboBox(this);
    win::SetControlId(fbc_, pageid::kFbcModeCombo);
    connect(fbc_, &QComboBox::activated, this, [this](int) { Notify(notice::kFbc, 0, 0); });
    auto add = [&](const chan::SliderSpec& s, int frameId) {
        win::SetControlId(pageview::NewGroupFrame(this, nowhere), frameId);
        AddLabel(s.labelId, nowhere);
        AddSlider(s.id, Qt::Horizontal, nowhere, s.min, s.max, s.def);
    };
    add(chan::MicHighPassSlider(), kHighPassFrame);
    for (std::size_t i = 0; i < chan::LimiterSliders().size(); ++i)
        add(chan::LimiterSliders()[i], kLimiterFrames[i]);
    for (std::size_t i = 0; i < chan::GateSliders().size(); ++i) {
        const chan::SliderSpec& s = chan::GateSliders()[i];
        add(s, kGateFrames[i]);
        Control(s.id)->hide();
        Control(s.labelId)->hide();
        Control(kGateFrames[i])->hide();
    }
}

void PageMic::OnInitDialog() {
    Page::OnInitDialog();
    // The page's own column stands right of the band columns and ends with them: the page is no
    // taller than the band rows, so every row is kept to its caption and a slim slider.
    const int m = pageview::kFrameMargin;
    const int x = std::max(eqRight, 0) + 5 + m;
    const int lh = fontMetrics().height() + 4;
    const int sliderH = 16;
    const int w = std::max(230, fontMetrics().averageCharWidth() * 34);
    int y = 4;
    // Mode caption and list share one row.
    const int comboW = std::max(w / 2 - 10, fbc_->sizeHint().width());
    const int comboH = std::max(lh + 6, fbc_->sizeHint().height());
    fbcCaption_->setGeometry(x, y + (comboH - lh) / 2, w - comboW - 4, lh);
    fbc_->setGeometry(x + w - comboW, y, comboW, comboH);
    y += comboH + 2 + m;
    // Each pair in its group box.
    auto row = [&](const chan::SliderSpec& s, int frameId, int atX, int atY) {
        const int inset = pageview::kFramedLabelInset;
        Control(s.labelId)->setGeometry(atX + inset, atY, w - 2 * inset, lh);
        Control(s.id)->setGeometry(atX, atY + lh, w, sliderH);
        pageview::SetGroupFrameAround(Control(frameId), QRect(atX, atY, w, lh + sliderH));
    };
    const int step = lh + sliderH + 2 * m + 2;
    row(chan::MicHighPassSlider(), kHighPassFrame, x, y);
    y += step;
    for (std::size_t i = 0; i < chan::LimiterSliders().size(); ++i) {
        row(chan::LimiterSliders()[i], kLimiterFrames[i], x, y);
        y += step;
    }
    // The hidden gate sits in a second column.
    int gy = 4 + m;
    for (std::size_t i = 0; i < chan::GateSliders().size(); ++i) {
        row(chan::GateSliders()[i], kGateFrames[i], x + w + 12, gy);
        gy += step;
    }
}

void PageMic::FillFbcList(int language) {
    const QSignalBlocker block(fbc_);
    const int keep = std::max(fbc_->currentIndex(), 0);
    fbc_->clear();
    for (int k = 0; k < chan::kFbcModeCount; ++k)
        fbc_->addItem(
            QString::fromUtf8(language < 0 ? kFbcStartItems[k] : lang::Pick(kFbcItems[k], 5, language)));
    fbc_->setCurrentIndex(chan::ClampFbcMode(keep));
}

void PageMic::ResetAll(bool withControls) {
    Page::ResetAll(true);
    SetSliderRange(chan::id::kHighPass, 20, 300);
    SetSliderPos(chan::id::kHighPass, 0);
    // The microphone's high-pass moves 1 Hz per key and per click in its channel.
    if (auto* highPass = qobject_cast<QAbstractSlider*>(Control(chan::id::kHighPass))) {
        highPass->setSingleStep(1);
        highPass->setPageStep(1);
    }
    UpdateHighPassLabel();
    model_.band.type[kLastBand] = kTypePeaking;
    model_.band.gain[kLastBand] = 0.0f;
    model_.band.q[kLastBand] = 1.0f;
    if (!withControls) return;
    for (const auto& s : chan::GateSliders()) {
        SetSliderRange(s.id, s.min, s.max);
        SetSliderPos(s.id, s.def);
    }
    UpdateGateStartLabel();
    UpdateGateReleaseLabel();
    for (const auto& s : chan::LimiterSliders()) {
        SetSliderRange(s.id, s.min, s.max);
        SetSliderPos(s.id, s.def);
    }
    UpdateLimitLabel();
    UpdateStartTimeLabel();
    UpdateAttackLabel();
    UpdateRatioLabel();
    FillFbcList(-1);
    SetFbcMode(0);
}

void PageMic::ResetPeq(bool) {
    Page::ResetPeq(true);
}

std::optional<ZemCmd::EqFrame> PageMic::BuildBandCmd(int band) const {
    const auto base = Page::BuildBandCmd(band);
    if (!base) return std::nullopt;
    return chan::MarkBandFrame(*base, band, model_.bandCount, chan::kMicMarks);
}

ZemCmd::Cmd PageMic::BuildAlcCmd() const {
    chan::LimiterValues v;
    v.limit = SliderPos(chan::id::kLimit).value_or(v.limit);
    v.startTime = SliderPos(chan::id::kStartTime).value_or(v.startTime);
    v.releaseMultiplier = SliderPos(chan::id::kReleaseMultiplier).value_or(v.releaseMultiplier);
    v.ratio = SliderPos(chan::id::kRatio).value_or(v.ratio);
    return chan::LimiterFrame(chan::kMicLimiter, v);
}

ZemCmd::Cmd PageMic::BuildNoiseGateCmd() const {
    return chan::NoiseGateFrame(SliderPos(chan::id::kGateStart).value_or(chan::kGateOff),
                                SliderPos(chan::id::kGateRelease).value_or(-20));
}

ZemCmd::Cmd PageMic::BuildFbcCmd() const {
    return chan::FbcFrame(FbcMode());
}

int PageMic::FollowUpBandCmd(ZemCmd::EqFrame&) {
    return 1;
}

int PageMic::FbcMode() const {
    return fbc_ ? chan::ClampFbcMode(fbc_->currentIndex()) : 0;
}

void PageMic::SetFbcMode(int mode) {
    if (!fbc_) return;
    const QSignalBlocker block(fbc_);
    fbc_->setCurrentIndex(chan::ClampFbcMode(mode));
}

void PageMic::SetLanguage(int language) {
    const int l = lang::Clamp(language);
    fbcCaption_->setText(QString::fromUtf8(lang::Pick(kFbcCaptionText, l)));
    FillFbcList(l);
    Page::SetLanguage(language);
}

namespace {
const std::vector<int> kGateIds = {chan::id::kGateStart, chan::id::kGateRelease};
}

std::string PageMic::SaveText() const {
    const auto read = chan::PageSliderReader(*this);
    std::string s = "[mic eq]\n" + Page::SaveText();
    s += chan::SlidersSection("[mic alc]", read, chan::LimiterIds());
    s += chan::SlidersSection("[mic noise gate]", read, kGateIds);
    const int mode = FbcMode();
    const auto& row = chan::kFbcRows[static_cast<std::size_t>(mode)];
    s += num::Format("\n[mic fbc]\n%d,%d,%d,%d\n", mode != 0 ? 1 : 0, row[0], row[1], row[2]);
    return s;
}

void PageMic::LoadText(const std::vector<std::string>& lines) {
    Page::LoadText(lines);
    // The slider keeps the file's high-pass within its range; band 0 takes what the slider shows.
    SetSliderPos(chan::id::kHighPass, model_.band.freq[0]);
    model_.band.freq[0] = SliderPos(chan::id::kHighPass).value_or(kMinFreq);
    UpdateHighPassLabel();
    const auto access = chan::PageSliders(*this);
    if (chan::LoadSlidersSection(lines, "[mic alc]", access, chan::LimiterIds())) {
        UpdateLimitLabel();
        UpdateStartTimeLabel();
        UpdateAttackLabel();
        UpdateRatioLabel();
    }
    if (chan::LoadSlidersSection(lines, "[mic noise gate]", access, kGateIds)) {
        UpdateGateStartLabel();
        UpdateGateReleaseLabel();
    }
    chan::ForEachSection(lines, "[mic fbc]", [this](const std::string& value) {
        if (const auto v = chan::IntPieces(value, 4))
            SetFbcMode(chan::FbcModeFromValues((*v)[0], (*v)[1], (*v)[2], (*v)[3]));
    });
}
