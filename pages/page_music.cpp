#include "pages/page_music.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

#include "controls/notices.h"
#include "pages/channel_frames.h"
#include "pages/channel_preset.h"
#include "pages/channel_sliders.h"
#include "pages/channel_traits.h"
#include "platform/lang.h"
#include "platform/numbers.h"
#include "platform/ui/color.h"
#include "platform/ui/controls.h"

namespace {

constexpr int kLastBand = chan::music::kBandCount - 1;
constexpr int kSlopeCaption = 1019;
constexpr int kHighPassLabel = 1084;
constexpr int kInputBox = 1403;
constexpr int kInputCaption = 1404;
constexpr int kHighPassBox = 1445;
// Button ids by input index: "1", "2", "BT", "USB", "OPT".
constexpr int kInputIds[] = {1180, 1181, 1179, 1182, 1183};
const char* const kInputTexts[] = {"1", "2", "BT", "USB", "OPT"};

const char* const kInputBoxText[] = {"音乐输入:", "Music input:", "เลือก อินพุท:", "Ngõ vào:", "Input Musik:"};
const char* const kInputCaptionText[] = {
    "音乐输入口:", "Music channel:", "เลือก ช่อง:", "Kênh:", "Saluran Musik:"};
const char* const kSlopeText[] = {"滤波器斜率：",
                                  "Filter Slope:", "ความชัน:", "Biên độ lọc:", "Filter Slope:"};
// The high-pass titles carry trailing blanks that push the value to the right.
const std::string kHighPassTitle[] = {
    std::string("音乐高通:") + std::string(27, ' '), std::string("Music High Pass:") + std::string(20, ' '),
    std::string("โลว์ คัท:") + std::string(20, ' '), std::string("Cắt tần số thấp:") + std::string(20, ' '),
    "Musik Tingkat Tinggi:"};

constexpr unsigned kInputBoxTextColor = 0xFF9933;

}  // namespace

PageMusic::PageMusic(QWidget* parent) : Page(chan::music::kBandCount, chan::music::kTemplate, parent) {
    model_.sectionName = "[music eq]";
    for (int b = 1; b < kLastBand; ++b) model_.defaultFreq[b] = chan::music::kPeakingFreq[b - 1];
    for (int i = 0; i < 5; ++i) hpTitle[i] = kHighPassTitle[i];
}

void PageMusic::BuildTemplate() {
    inputBox_ = new QGroupBox(this);
    win::SetControlId(inputBox_, kInputBox);
    QPalette p = inputBox_->palette();
    p.setColor(QPalette::WindowText, win::ColorRef(kInputBoxTextColor));
    inputBox_->setPalette(p);
    inputCaption_ = new QLabel(this);
    win::SetControlId(inputCaption_, kInputCaption);
    inputGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(kInputTexts[i]), this);
        win::SetControlId(b, kInputIds[i]);
        inputGroup_->addButton(b, i);
        inputs_[static_cast<std::size_t>(i)] = b;
        connect(b, &QAbstractButton::clicked, this, [this, i] { OnInputClicked(i); });
    }
    highPassBox_ = new QGroupBox(this);
    win::SetControlId(highPassBox_, kHighPassBox);
    const auto& hp = chan::MicHighPassSlider();
    AddLabel(kHighPassLabel, QRect(0, 0, 10, 10));
    AddSlider(hp.id, Qt::Horizontal, QRect(0, 0, 10, 10), hp.min, hp.max, hp.min);
    AddLabel(kSlopeCaption, QRect(0, 0, 10, 10));
    slope_ = new QComboBox(this);
    win::SetControlId(slope_, pageid::kMusicSlopeCombo);
    connect(slope_, &QComboBox::activated, this, [this](int) { OnSlopeChanged(); });
    // Keep the frames above the controls they surround in the stacking order.
    inputBox_->lower();
    highPassBox_->lower();
}

void PageMusic::OnInitDialog() {
    Page::OnInitDialog();
    {
        const QSignalBlocker block(slope_);
        slope_->clear();
        slope_->addItem("12db");
        slope_->addItem("24db");
        slope_->setCurrentIndex(0);
    }
    // The input and high-pass blocks stand right of the band columns.
    const int x = std::max(eqRight, 0) + 5;
    const int lh = fontMetrics().height() + 4;
    int w = std::max(250, fontMetrics().averageCharWidth() * 38);
    int radios = 16 + 4 * 5;
    for (const QAbstractButton* b : inputs_) radios += b->sizeHint().width();
    w = std::max(w, radios);
    inputBox_->setGeometry(x, 2, w, 2 * lh + 36);
    inputCaption_->setGeometry(x + 8, 2 + lh, w - 16, lh);
    // Each input takes the room its text needs; the spare room goes between them.
    int needed = 0;
    for (const QAbstractButton* b : inputs_) needed += b->sizeHint().width();
    const int spare = std::max(w - 16 - needed, 0) / 5;
    int bx = x + 8;
    for (QAbstractButton* b : inputs_) {
        const int bw = b->sizeHint().width() + spare;
        b->setGeometry(bx, 2 + 2 * lh + 4, bw, lh + 6);
        bx += bw;
    }
    const int top = inputBox_->geometry().bottom() + 10;
    highPassBox_->setGeometry(x, top, w, 3 * lh + 26 + fontMetrics().height() + 24);
    Control(kHighPassLabel)->setGeometry(x + 8, top + 8, w - 16, lh);
    Control(chan::id::kHighPass)->setGeometry(x + 8, top + 8 + lh, w - 16, 26);
    Control(kSlopeCaption)->setGeometry(x + 8, top + 8 + lh + 32, w - 16, lh);
    slope_->setGeometry(x + 8, top + 8 + 2 * lh + 34, w / 2, fontMetrics().height() + 10);
}

void PageMusic::ResetAll(bool) {
    Page::ResetAll(true);
    ShowMusicInput(0);
    SetSliderRange(chan::id::kHighPass, 20, 300);
    SetSliderPos(chan::id::kHighPass, 0);
    UpdateHighPassLabel();
    SetLabelCaption(kSlopeCaption, lang::Pick(kSlopeText, Language()));
}

void PageMusic::ResetPeq(bool) {
    Page::ResetPeq(true);
}

int PageMusic::SlopeItem() const {
    return slope_ && slope_->currentIndex() > 0 ? 1 : 0;
}

void PageMusic::SelectSlope(int item) {
    if (!slope_) return;
    const QSignalBlocker block(slope_);
    slope_->setCurrentIndex(item);
}

std::optional<ZemCmd::EqFrame> PageMusic::BuildBandCmd(int band) const {
    const auto base = Page::BuildBandCmd(band);
    if (!base) return std::nullopt;
    auto frame = chan::MarkBandFrame(*base, band, model_.bandCount, chan::kMusicMarks);
    if (frame) chan::ApplyMusicSlope(*frame, band, kLastBand, Steep());
    return frame;
}

int PageMusic::FollowUpBandCmd(ZemCmd::EqFrame& frame) {
    const chan::MusicFollowUp r = chan::RewriteMusicFollowUp(frame, kLastBand, Steep());
    model_.band.type[kLastBand] = r.type;
    model_.band.enabled[kLastBand] = r.enabled ? 1 : 0;
    model_.band.freq[kLastBand] = r.hz;
    Notify(notice::kPassBand, static_cast<win::WPARAM>(r.reportedHz),
           notice::PackBandType(kLastBand, r.type));
    return 1;
}

void PageMusic::SecondHighPassOff() {
    model_.band.freq[kLastBand] = kMaxFreq;
    model_.band.type[kLastBand] = kTypeOff;
}

void PageMusic::OnSlopeChanged() {
    const int p = SliderPos(chan::id::kHighPass).value_or(kMinFreq);
    if (!Steep()) {
        SecondHighPassOff();
        Notify(notice::kPassBand, kMaxFreq, notice::PackBandType(kLastBand, kTypeOff));
    } else {
        model_.band.freq[kLastBand] = p;
        model_.band.type[kLastBand] = kTypeHighPass;
        Notify(notice::kPassBand, static_cast<win::WPARAM>(p),
               notice::PackBandType(kLastBand, kTypeHighPass));
    }
}

void PageMusic::OnInputClicked(int input) {
    musicInput_ = input;
    Notify(notice::kMusicInput, 0, 0);
}

void PageMusic::ShowMusicInput(int input) {
    // An exclusive group cannot uncheck its last button: lift exclusivity while clearing.
    inputGroup_->setExclusive(false);
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        const QSignalBlocker block(inputs_[i]);
        inputs_[i]->setChecked(static_cast<int>(i) == input);
    }
    inputGroup_->setExclusive(true);
}

int PageMusic::CheckedInput() const {
    for (std::size_t i = 0; i < inputs_.size(); ++i)
        if (inputs_[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

void PageMusic::ApplyDeviceInput(int input) {
    // An input no button stands for is shown as none checked but not stored: the input frame and
    // the preset file keep the last one the console knows.
    if (input >= 0 && input <= 4) musicInput_ = input;
    ShowMusicInput(input);
}

void PageMusic::SetMusicInput(int input) {
    if (input < 0 || input > 4) return;
    musicInput_ = input;
    ShowMusicInput(input);
}

void PageMusic::SetHighPass(int band, int hz) {
    if (!model_.IsBand(band)) return;
    SetSliderPos(chan::id::kHighPass, hz);
    model_.band.freq[band] = hz;
    model_.band.type[band] = kTypeHighPass;
    UpdateHighPassLabel();
}

void PageMusic::SetSlopeFromCmd(const ZemCmd::EqFrame& frame) {
    const bool steep = frame[15] != 0;
    SelectSlope(steep ? 1 : 0);
    // As the combo's "12db" does, without its notice: no second high-pass section.
    if (!steep) SecondHighPassOff();
}

void PageMusic::SetLanguage(int language) {
    const int l = lang::Clamp(language);
    inputBox_->setTitle(QString::fromUtf8(lang::Pick(kInputBoxText, l)));
    inputCaption_->setText(QString::fromUtf8(lang::Pick(kInputCaptionText, l)));
    Page::SetLanguage(language);
    SetLabelCaption(kSlopeCaption, lang::Pick(kSlopeText, l));
}

std::string PageMusic::SaveText() const {
    return num::Format("[music type]\n%d\n\n[music eq]\n", musicInput_) + Page::SaveText();
}

void PageMusic::LoadText(const std::vector<std::string>& lines) {
    Page::LoadText(lines);
    chan::ForEachSection(lines, "[music type]",
                         [this](const std::string& value) { SetMusicInput(num::ParseLeadingInt(value)); });
    // The slider keeps the file's high-pass within its range; band 0 takes what the slider shows.
    SetSliderPos(chan::id::kHighPass, model_.band.freq[0]);
    model_.band.freq[0] = SliderPos(chan::id::kHighPass).value_or(kMinFreq);
    UpdateHighPassLabel();
    SelectSlope(model_.band.type[kLastBand] != kTypeOff ? 1 : 0);
}
