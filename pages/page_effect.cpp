#include "pages/page_effect.h"

#include <QFontMetrics>
#include <QSlider>
#include <algorithm>

#include "pages/channel_frames.h"
#include "pages/channel_output_page.h"
#include "pages/channel_preset.h"
#include "pages/channel_traits.h"
#include "pages/page_views.h"
#include "platform/lang.h"
#include "platform/ui/dialog_units.h"

namespace {

using namespace chan::fx;

// Template positions in dialog units: slider (x, y), label (x, y, width).
struct Placement {
    int slider, sx, sy, label, lx, ly, lw;
};
constexpr Placement kPlaces[] = {
    {kEchoEffect, 160, 20, 1416, 163, 11, 105},     {kEchoDirect, 160, 48, 1414, 163, 40, 105},
    {kEchoHighPass, 160, 73, 1423, 163, 65, 105},   {kEchoLowPass, 160, 100, 1424, 163, 92, 105},
    {kEchoDelay, 274, 20, 1121, 281, 11, 99},       {kEchoDecay, 274, 47, 1123, 281, 38, 99},
    {kEchoPreDelay, 274, 73, 1114, 281, 65, 99},    {kReverbEffect, 391, 20, 1197, 394, 11, 105},
    {kReverbDirect, 391, 47, 1196, 394, 38, 105},   {kReverbHighPass, 391, 72, 1427, 394, 64, 105},
    {kReverbLowPass, 391, 99, 1428, 394, 91, 105},  {kDamp, 508, 18, 1105, 511, 10, 105},
    {kReverbPreDelay, 508, 45, 1116, 511, 36, 105}, {kRoomSize, 624, 18, 1104, 627, 10, 105},
    {kWidth, 624, 45, 1103, 627, 36, 105},          {kEchoInDry, 623, 99, 1106, 626, 90, 105},
    {kEchoInReverb, 623, 128, 1109, 626, 119, 105},
};
constexpr int kSliderW = 110, kSliderH = 15, kLabelH = 8;
// The template's five columns, by their sliders' x; the echo-in sliders, hidden, stand in the last.
constexpr int kColumnX[] = {160, 274, 391, 508, 624};
constexpr int kFrameGap = 2;  // between the group boxes of a column

bool Hidden(int slider) {
    return slider == kEchoInDry || slider == kEchoInReverb;
}

int ColumnOf(const Placement& p) {
    int c = 0;
    for (int i = 0; i < 5; ++i)
        if (p.sx >= kColumnX[i] - 1) c = i;
    return c;
}

const chan::SliderSpec& Spec(int id) {
    return *chan::FindSpec(chan::EffectSliders(), id);
}

}  // namespace

PageEffect::PageEffect(QWidget* parent) : Page(chan::effect::kBandCount, chan::effect::kTemplate, parent) {
    model_.sectionName = "[effect eq]";
    for (int b = 1; b <= 3; ++b) model_.defaultFreq[b] = chan::effect::kPeakingFreq[b - 1];
}

void PageEffect::BuildTemplate() {
    const win::DialogUnits du(font());
    for (const auto& p : kPlaces) {
        const auto& s = Spec(p.slider);
        const QRect slider = du.Rect(p.sx, p.sy, kSliderW, kSliderH);
        const QRect label = du.Rect(p.lx, p.ly, p.lw, kLabelH);
        frames_.push_back(pageview::NewGroupFrame(this, slider | label));
        AddSlider(s.id, Qt::Horizontal, slider, s.min, s.max, s.def);
        AddLabel(s.labelId, label);
        if (Hidden(s.id)) {
            frames_.back()->hide();
            Control(s.id)->hide();
            Control(s.labelId)->hide();
        }
    }
}

void PageEffect::OnInitDialog() {
    Page::OnInitDialog();
    LayOutColumns();
}

// The template's columns, each pair in its group box. A column is as wide as its longest caption in
// any language, so the page keeps its width through a language switch; a row is as tall as its
// labels need in the language shown (a second line where a caption cannot stand beside its widest
// value), and the rows stay level across the columns as the template has them.
void PageEffect::LayOutColumns() {
    const win::DialogUnits du(font());
    const int m = pageview::kFrameMargin;
    const int baseH = du.Y(kLabelH), sliderH = du.Y(kSliderH);
    struct Place {
        int x, sliderW, labelW, row;
    };
    std::vector<Place> places(std::size(kPlaces));
    std::vector<int> rowRoom;
    // The band columns are built at run time; with a wide font they could reach the first column.
    int x = std::max(du.X(kColumnX[0]), eqRight + 5 + m);
    for (int c = 0; c < 5; ++c) {
        int widen = 0;
        for (const auto& p : kPlaces) {
            if (ColumnOf(p) != c || Hidden(p.slider)) continue;
            const QFontMetrics fm(Control(p.label)->font());
            for (int language = 0; language < 5; ++language)
                widen = std::max(
                    widen, fm.horizontalAdvance(QString::fromUtf8(Caption(p.slider, language))) - du.X(p.lw));
        }
        int row = 0;
        for (const auto& p : kPlaces) {
            if (ColumnOf(p) != c) continue;
            Place& place = places[static_cast<std::size_t>(&p - kPlaces)];
            place = {x, du.X(kSliderW) + widen, du.X(p.lw) + widen, row++};
            if (Hidden(p.slider)) continue;
            QWidget* label = Control(p.label);
            label->resize(place.labelW, label->height());
            if (rowRoom.size() <= static_cast<std::size_t>(place.row)) rowRoom.resize(place.row + 1, baseH);
            rowRoom[place.row] = std::max(
                rowRoom[place.row],
                pageview::ValueLabelHeightFor(label, QString::fromUtf8(Caption(p.slider, Language()))));
        }
        const int nextGap = c < 4 ? du.X(kColumnX[c + 1] - kColumnX[c] - kSliderW) : 0;
        x += du.X(kSliderW) + widen + std::max(nextGap, 2 * m + kFrameGap);
    }
    std::vector<int> rowTop(rowRoom.size() + 2, m);
    for (std::size_t r = 0; r < rowRoom.size(); ++r)
        rowTop[r + 1] = rowTop[r] + rowRoom[r] + 1 + sliderH + 2 * m + kFrameGap;
    for (std::size_t r = rowRoom.size(); r + 1 < rowTop.size(); ++r) rowTop[r + 1] = rowTop[r];
    for (const auto& p : kPlaces) {
        const std::size_t i = static_cast<std::size_t>(&p - kPlaces);
        const Place& place = places[i];
        const std::size_t r = std::min(static_cast<std::size_t>(place.row), rowTop.size() - 1);
        const int room = r < rowRoom.size() ? rowRoom[r] : baseH;
        const int y = rowTop[r];
        QWidget* label = Control(p.label);
        // The label stands on its slider and grows upwards into the row's room.
        label->setGeometry(place.x + du.X(p.lx - p.sx), y + room - baseH, place.labelW, baseH);
        pageview::FitValueLabel(label);
        Control(p.slider)->setGeometry(place.x, y + room + 1, place.sliderW, sliderH);
        pageview::SetGroupFrameAround(frames_[i], QRect(place.x, y, place.sliderW, room + 1 + sliderH));
    }
}

const char* PageEffect::Caption(int sliderId, int language) {
    const chan::SliderSpec& s = Spec(sliderId);
    return lang::Pick(s.captions.data(), s.captions.size(), language);
}

int PageEffect::Pos(int id) const {
    return SliderPos(id).value_or(Spec(id).def);
}

void PageEffect::RefreshLabel(int sliderId) {
    const chan::SliderSpec* s = chan::FindSpec(chan::EffectSliders(), sliderId);
    if (!s || !HasSlider(sliderId) || !HasLabel(s->labelId)) return;
    SetLabelValueSamples(s->labelId, chan::ValueSamples(*s));
    SetLabelCaption(s->labelId, Caption(sliderId, Language()));
    SetLabelValue(s->labelId, chan::FormatValue(s->text, Pos(sliderId)));
}

void PageEffect::ResetAll(bool withControls) {
    Page::ResetAll(true);
    if (!withControls) return;
    for (const auto& s : chan::EffectSliders()) {
        SetSliderRange(s.id, s.min, s.max);
        SetSliderPos(s.id, s.def);
        if (auto* w = qobject_cast<QSlider*>(Control(s.id))) w->setTickInterval(s.tick);
        RefreshLabel(s.id);
    }
}

void PageEffect::ResetPeq(bool) {
    Page::ResetPeq(true);
}

std::optional<ZemCmd::EqFrame> PageEffect::BuildBandCmd(int band) const {
    const auto base = Page::BuildBandCmd(band);
    if (!base) return std::nullopt;
    return chan::MarkBandFrame(*base, band, model_.bandCount, chan::kEffectMarks);
}

void PageEffect::SetLanguage(int language) {
    Page::SetLanguage(language);
    // The hidden echo-in-dry and echo-in-reverb labels keep their caption.
    for (int id : {kEchoDelay, kEchoDecay, kEchoDirect, kEchoEffect, kReverbDirect, kReverbEffect, kWidth,
                   kRoomSize, kDamp, kEchoHighPass, kEchoLowPass, kReverbHighPass, kReverbLowPass,
                   kEchoPreDelay, kReverbPreDelay})
        RefreshLabel(id);
    if (IsInitialised()) LayOutColumns();
}

ZemCmd::Cmd PageEffect::BuildEffectCmd() const {
    chan::EffectBlockValues v;
    v.damp = Pos(kDamp);
    v.roomSize = Pos(kRoomSize);
    v.width = Pos(kWidth);
    v.echoDelay = Pos(kEchoDelay);
    v.echoDecay = Pos(kEchoDecay);
    v.echoDirect = Pos(kEchoDirect);
    v.echoEffect = Pos(kEchoEffect);
    v.reverbDirect = Pos(kReverbDirect);
    v.reverbEffect = Pos(kReverbEffect);
    v.echoInDry = Pos(kEchoInDry);
    v.echoInReverb = Pos(kEchoInReverb);
    return chan::EffectBlockFrame(v);
}

namespace {
const std::vector<int> kReverbFields = {kReverbDirect, kReverbEffect, kWidth,
                                        kRoomSize,     kDamp,         kReverbPreDelay};
const std::vector<int> kEchoFields = {kEchoDelay, kEchoDecay, kEchoDirect, kEchoEffect, kEchoPreDelay};
struct PassSection {
    const char* name;
    int id;
};
constexpr PassSection kPassSections[] = {{"[effect echo high pass]", kEchoHighPass},
                                         {"[effect echo low pass]", kEchoLowPass},
                                         {"[effect reverb high pass]", kReverbHighPass},
                                         {"[effect reverb low pass]", kReverbLowPass}};
}  // namespace

std::string PageEffect::SaveText() const {
    const auto read = chan::PageSliderReader(*this);
    std::string s = "[effect eq]\n" + Page::SaveText();
    s += chan::SlidersSection("[effect reverb]", read, kReverbFields);
    s += chan::SlidersSection("[effect echo]", read, kEchoFields);
    for (const auto& p : kPassSections) s += chan::SlidersSection(p.name, read, {p.id});
    return s;
}

void PageEffect::LoadText(const std::vector<std::string>& lines) {
    Page::LoadText(lines);
    const auto access = chan::PageSliders(*this);
    if (chan::LoadSlidersSection(lines, "[effect reverb]", access, kReverbFields))
        for (int id : kReverbFields) RefreshLabel(id);
    if (chan::LoadSlidersSection(lines, "[effect echo]", access, kEchoFields))
        for (int id : kEchoFields) RefreshLabel(id);
    for (const auto& p : kPassSections)
        if (chan::LoadWholeLineSection(lines, p.name, access, p.id)) RefreshLabel(p.id);
}

void PageEffect::SetEchoHighPass(int hz) {
    SetSliderPos(kEchoHighPass, hz);
    model_.band.freq[0] = hz;
    RefreshLabel(kEchoHighPass);
}

void PageEffect::SetEchoLowPass(int hz) {
    SetSliderPos(kEchoLowPass, hz);
    model_.band.freq[4] = hz;
    model_.band.type[4] = kTypeOff;
    RefreshLabel(kEchoLowPass);
}

void PageEffect::SetReverbHighPass(int hz) {
    SetSliderPos(kReverbHighPass, hz);
    RefreshLabel(kReverbHighPass);
}

void PageEffect::SetReverbLowPass(int hz) {
    SetSliderPos(kReverbLowPass, hz);
    RefreshLabel(kReverbLowPass);
}

int PageEffect::SyncEchoHighPassToGraph() {
    const int hz = Pos(kEchoHighPass);
    model_.band.freq[0] = hz;
    model_.band.type[0] = kTypeHighPass;
    return hz;
}

int PageEffect::SyncEchoLowPassToGraph() {
    const int hz = Pos(kEchoLowPass);
    const int last = model_.bandCount - 1;
    model_.band.freq[last] = hz;
    model_.band.type[last] = kTypeLowPass;
    return hz;
}

void PageEffect::OnHScroll(int id, int pos) {
    if (const chan::SliderSpec* s = chan::FindSpec(chan::EffectSliders(), id)) {
        RefreshLabel(id);
        Notify(s->notice, 0, 0);
    }
    Page::OnHScroll(id, pos);
}
