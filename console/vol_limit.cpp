#include "console/vol_limit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "console/vol_limit_ids.h"
#include "controls/slider.h"
#include "platform/lang.h"
#include "platform/ui/controls.h"

using console::LimitField;

namespace {

const char* const kTitle[] = {"音量限制", "Volume limit", "จำกัดปริมาณ", "Giới hạn lượng", "Batas volume"};
const char* const kMusicStart[] = {
    "音乐起始音量:", "Music min volume:", "เพลงระดับเสียงต่ำสุด:", "Âm nhạc tối thiểu:", "Volume min musik:"};
const char* const kMusicEnd[] = {
    "音乐最大音量:", "Music max volume:", "ปริมาณสูงสุดของเพลง:", "Âm thanh Chanh:", "Volume mak musik:"};
const char* const kMicStart[] = {"话筒起始音量:", "Mic min volume:", "ไมโครโฟนระดับเสียงต่ำสุด:",
                                 "Mức tối thiểu điện thoại:", "Volume min mikrofon:"};
const char* const kMicEnd[] = {
    "话筒最大音量:", "Mic max volume:", "ปริมาณสูงสุดของไมโครโฟน:", "Âm thanh tối đa:", "Volume mikrofon mak:"};
const char* const kEffectStart[] = {"效果起始音量:", "Effect min volume:", "ผลของระดับเสียงต่ำสุด:",
                                    "Cỡ tối thiểu hiệu ứng:", "Efek volume min:"};
const char* const kEffectEnd[] = {
    "效果最大音量:", "Effect max volume:", "ปริมาณสูงสุดของผล:", "Áp dụng tối đa:", "Efek volume mak:"};
const char* const kOk[] = {"确定", "OK", "ยืนยัน", "Chọn", "Oke"};
const char* const kCancel[] = {"取消", "Cancel", "ยกเลิก", "hủy", "Batalkan"};

const char* const* CaptionTable(LimitField field) {
    switch (field) {
        case LimitField::MusicStart:
            return kMusicStart;
        case LimitField::MusicEnd:
            return kMusicEnd;
        case LimitField::MicStart:
            return kMicStart;
        case LimitField::MicEnd:
            return kMicEnd;
        case LimitField::EffectStart:
            return kEffectStart;
        case LimitField::EffectEnd:
            break;
    }
    return kEffectEnd;
}

QString Text(const char* const* table, int language) {
    return QString::fromUtf8(lang::Pick(table, 5, language));
}

}  // namespace

// In the order the dialog sets them up.
const std::array<CVolLimit::Row, 6> CVolLimit::kRows = {{
    {LimitField::MusicStart, volid::kMusicStartCaption, volid::kMusicStartSlider, volid::kMusicStartValue,
     console::kMusicMaxVol},
    {LimitField::MusicEnd, volid::kMusicEndCaption, volid::kMusicEndSlider, volid::kMusicEndValue,
     console::kMusicMaxVol},
    {LimitField::MicStart, volid::kMicStartCaption, volid::kMicStartSlider, volid::kMicStartValue,
     console::kMicMaxVol},
    {LimitField::MicEnd, volid::kMicEndCaption, volid::kMicEndSlider, volid::kMicEndValue,
     console::kMicMaxVol},
    {LimitField::EffectStart, volid::kEffectStartCaption, volid::kEffectStartSlider, volid::kEffectStartValue,
     console::kEffectMaxVol},
    {LimitField::EffectEnd, volid::kEffectEndCaption, volid::kEffectEndSlider, volid::kEffectEndValue,
     console::kEffectMaxVol},
}};

CVolLimit::CVolLimit(QWidget* parent) : QDialog(parent) {
    win::SetOwnIdSpace(this);
    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        captions_[i] = new QLabel(this);
        sliders_[i] = new controls::Slider(Qt::Horizontal, this);
        values_[i] = new QLabel(this);
        win::SetControlId(captions_[i], row.captionId);
        win::SetControlId(sliders_[i], row.sliderId);
        win::SetControlId(values_[i], row.valueId);
        sliders_[i]->setMinimumWidth(160);
        values_[i]->setMinimumWidth(24);
        const int r = static_cast<int>(i);
        grid->addWidget(captions_[i], r, 0);
        grid->addWidget(sliders_[i], r, 1);
        grid->addWidget(values_[i], r, 2);
        controls::Slider* slider = sliders_[i];
        connect(slider, &QAbstractSlider::actionTriggered, this,
                [this, slider, id = row.sliderId](int) { OnHScroll(id, slider->sliderPosition()); });
    }
    ok_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    win::SetControlId(ok_, volid::kOk);
    win::SetControlId(cancel_, volid::kCancel);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, static_cast<int>(kRows.size()), 0, 1, 3);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

int CVolLimit::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void CVolLimit::OnInitDialog() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        sliders_[i]->SetRangeSilently(0, kRows[i].maximum);
        Show(kRows[i].field);
        captions_[i]->setText(Text(CaptionTable(kRows[i].field), language));
    }
    ok_->setText(Text(kOk, language));
    cancel_->setText(Text(kCancel, language));
    setWindowTitle(Text(kTitle, language));
}

void CVolLimit::OnHScroll(int id, int position) {
    for (const Row& row : kRows) {
        if (row.sliderId != id) continue;
        limits = console::WithLimitMoved(limits, row.field, position);
        for (const Row& each : kRows) Show(each.field);
        return;
    }
}

int& CVolLimit::Member(LimitField field) {
    switch (field) {
        case LimitField::MusicStart:
            return limits.musicStart;
        case LimitField::MusicEnd:
            return limits.musicEnd;
        case LimitField::MicStart:
            return limits.micStart;
        case LimitField::MicEnd:
            return limits.micEnd;
        case LimitField::EffectStart:
            return limits.effectStart;
        case LimitField::EffectEnd:
            break;
    }
    return limits.effectEnd;
}

void CVolLimit::Show(LimitField field) {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (kRows[i].field != field) continue;
        sliders_[i]->SetPosSilently(Member(field));
        // The label shows what the slider holds (a member beyond the range is clamped there).
        Member(field) = sliders_[i]->value();
        values_[i]->setText(QString::number(sliders_[i]->value()));
    }
}

controls::Slider* CVolLimit::SliderById(int id) const {
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (kRows[i].sliderId == id) return sliders_[i];
    return nullptr;
}

QLabel* CVolLimit::ValueLabelById(int id) const {
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (kRows[i].valueId == id) return values_[i];
    return nullptr;
}
