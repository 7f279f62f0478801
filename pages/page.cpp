#include "pages/page.h"

#include <QAbstractSlider>
#include <QLineEdit>
#include <QSignalBlocker>

#include "pages/band_input.h"
#include "pages/page_views.h"
#include "pages/preset_text.h"
#include "platform/ui/color.h"
#include "platform/ui/controls.h"

namespace {

// Value labels drawn in light grey on the pages' dark background.
bool IsLightValueLabel(int id) {
    static constexpr int kIds[] = {1084, 1085, 1086, 1087, 1088, 1089, 1092, 1093,
                                   1094, 1095, 1096, 1100, 1275, 1276, 1279};
    for (int k : kIds)
        if (k == id) return true;
    return false;
}

}  // namespace

Page::Page(int bandCount, int templateId, QWidget* parent)
    : QWidget(parent), model_(bandCount), templateId_(templateId) {
    win::SetOwnIdSpace(this);
}

Page::~Page() = default;

void Page::Init() {
    if (initialised_) return;
    initialised_ = true;
    BuildTemplate();
    OnInitDialog();
}

void Page::OnInitDialog() {
    CreateBandControls();
    ResetAll(true);
}

// ---- IWave ----

void Page::CopyCurve(CurveRecord& out) const {
    model_.CopyCurve(out);
}

void Page::SetBandFreqGain(int band, int freq, float gain) {
    if (band < 1 || band >= model_.bandCount) return;
    model_.band.freq[band] = freq;
    model_.band.gain[band] = gain;
    ShowBandFreq(band);
    ShowBandGain(band);
}

void Page::ResetAll(bool) {
    model_.ResetAll();
    ShowAllBands();
}

void Page::ResetPeq(bool) {
    model_.ResetPeq();
    ShowAllBands();
}

std::optional<ZemCmd::EqFrame> Page::BuildBandCmd(int band) const {
    return model_.BandFrame(band);
}

ZemCmd::Cmd Page::BuildAlcCmd() const {
    return BaseAlcFrame();
}

std::string Page::SaveText() const {
    return SaveEqText(model_);
}

void Page::LoadText(const std::vector<std::string>& lines) {
    if (!LoadEqText(model_, lines)) return;
    // The file may hold finer values than the wire carries (-12.34 dB): keep what would be sent.
    model_.QuantiseBands();
    ShowAllBands();
}

bool Page::RecomputeBypass() {
    return model_.RecomputeBypass();
}

void Page::SetBypass(bool on) {
    model_.SetBypass(on);
}

void Page::SetBandQ(int band, float q) {
    if (!model_.IsBand(band)) return;
    model_.band.q[band] = q;
    ShowBandQ(band);
}

int Page::FollowUpBandCmd(ZemCmd::EqFrame& frame) {
    model_.TakeFrameFreq(frame);
    return 0;
}

// ---- Page's own ----

void Page::SetBand(int band, int freq, float gain, float q, int deviceCode) {
    if (band < 1 || band >= model_.bandCount) return;
    model_.band.freq[band] = freq;
    // Held at the steps a typed value takes, so the edits show what the band frame would carry.
    model_.band.gain[band] = QuantiseGain(gain);
    model_.band.q[band] = QuantiseQ(q);
    const std::optional<int> type = TypeFromDeviceCode(deviceCode);
    if (!type) model_.bypass = true;
    ShowBandFreq(band);
    ShowBandGain(band);
    ShowBandQ(band);
    SetTypeButtons(band, type.value_or(kTypeOff));
}

void Page::SetBandEnabled(int band, int on) {
    if (!model_.SetEnabled(band, on)) return;
    RecomputeBypass();
}

// ---- sliders and labels ----

QAbstractSlider* Page::AddSlider(int id, Qt::Orientation orientation, const QRect& geometry, int min, int max,
                                 int pos) {
    QAbstractSlider* slider = pageview::NewSlider(this, orientation);
    win::SetControlId(slider, id);
    slider->setGeometry(geometry);
    sliders_.Add(id, min, max, pos);
    ShowSlider(id);
    connect(slider, &QAbstractSlider::actionTriggered, this, [this, slider](int) { OnSliderAction(slider); });
    return slider;
}

QWidget* Page::AddLabel(int id, const QRect& geometry) {
    QWidget* label = pageview::NewValueLabel(this);
    win::SetControlId(label, id);
    label->setGeometry(geometry);
    if (IsLightValueLabel(id)) pageview::SetValueLabelColor(label, win::ColorRef(win::Rgb(220, 220, 220)));
    labels_.Add(id);
    return label;
}

void Page::SetSliderPos(int id, int pos) {
    if (sliders_.SetPos(id, pos)) ShowSlider(id);
}

void Page::SetSliderRange(int id, int min, int max) {
    if (sliders_.SetRange(id, min, max)) ShowSlider(id);
}

// The label shows its model at all times: a text it holds already needs no lookup of the widget.
void Page::SetLabelCaption(int id, const std::string& caption) {
    if (LabelModel* l = labels_.Find(id); l && l->caption != caption) {
        l->caption = caption;
        ShowLabel(id);
    }
}

void Page::SetLabelValue(int id, const std::string& value) {
    if (LabelModel* l = labels_.Find(id); l && l->value != value) {
        l->value = value;
        ShowLabel(id);
    }
}

void Page::SetLabelValueSamples(int id, const std::vector<std::string>& samples) {
    if (LabelModel* l = labels_.Find(id); l && l->valueSamples != samples) {
        l->valueSamples = samples;
        ShowLabel(id);
    }
}

QWidget* Page::Control(int id) const {
    return controlCache_.Find(this, id);
}

void Page::ShowSlider(int id) {
    const SliderModel* s = sliders_.Find(id);
    auto* w = qobject_cast<QAbstractSlider*>(Control(id));
    if (!s || !w) return;
    const QSignalBlocker block(w);
    w->setRange(s->min, s->max);
    w->setValue(s->pos);
}

void Page::ShowLabel(int id) {
    const LabelModel* l = labels_.Find(id);
    if (!l) return;
    QStringList samples;
    for (const std::string& s : l->valueSamples) samples << QString::fromStdString(s);
    pageview::ShowValueLabel(Control(id), QString::fromStdString(l->caption),
                             QString::fromStdString(l->value), samples);
}

void Page::OnSliderAction(QAbstractSlider* slider) {
    const int id = win::ControlId(slider);
    const std::optional<int> before = sliders_.Pos(id);
    if (!before) return;
    sliders_.SetPos(id, slider->sliderPosition());
    const int pos = *sliders_.Pos(id);
    if (pos == *before) return;
    if (slider->orientation() == Qt::Horizontal)
        OnHScroll(id, pos);
    else
        OnVScroll(id, pos);
}

void Page::Notify(unsigned msg, win::WPARAM wParam, win::LPARAM lParam) {
    win::SendToParent(this, msg, wParam, lParam);
}

// ---- showing the band record ----

void Page::ShowBandFreq(int band) {
    pageview::ShowEditText(bands_[band].freqEdit, QString::fromStdString(FreqText(model_.band.freq[band])));
}

void Page::ShowBandGain(int band) {
    pageview::ShowEditText(bands_[band].gainEdit, QString::fromStdString(GainText(model_.band.gain[band])));
    if (bands_[band].gainSlider)
        SetSliderPos(pageid::kGainSlider + band, GainSliderPos(model_.band.gain[band]));
}

void Page::ShowBandQ(int band) {
    pageview::ShowEditText(bands_[band].qEdit, QString::fromStdString(QText(model_.band.q[band])));
}

void Page::ShowBand(int band) {
    ShowBandFreq(band);
    ShowBandGain(band);
    ShowBandQ(band);
    SetTypeButtons(band, model_.band.type[band]);
}

void Page::ShowAllBands() {
    for (int b = 0; b < model_.bandCount; ++b) ShowBand(b);
}
