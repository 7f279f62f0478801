// Re-captioning a page in one of the five languages.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include "pages/page.h"
#include "pages/row_captions.h"
#include "platform/lang.h"
#include "platform/ui/controls.h"

namespace {

using Captions = const char* const[5];

Captions kHighPass = {"高通：", "High Pass:", "ตัดเสียงต่ำ:", "Cắt tần số thấp:", "Tingkat Tinggi:"};
Captions kLowPass = {"低通：", "Low Pass:", "ตัดเสียสูง:", "Cắt tần số cao", "Tingkat Rendah:"};
Captions kLeftChannel = {"左声道：", "Left Channel:", "ช่อง ซ้าย:", "Trái", "Kiri"};
Captions kRightChannel = {"右声道：", "Right Channel:", "ช่อง ขวา:", "Phải", "Kanan"};
Captions kMute = {"静音", "Mute", "ปิด", "Ngắt tiếng", "Bisu"};
Captions kFilterSlope = {"滤波器斜率：", "Filter Slope:", "ความชัน:", "Biên độ lọc:", "Filter Slope:"};

// A template control's caption, whatever kind of control holds it.
void SetCaption(QWidget* control, const char* text) {
    const QString t = QString::fromUtf8(text);
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(t);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(t);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(t);
}

}  // namespace

void Page::SetLanguage(int language) {
    model_.language = lang::Clamp(language);
    const int l = model_.language;

    SetCaption(Control(pageid::kHighPassCaption), lang::Pick(kHighPass, l));
    SetCaption(Control(pageid::kLowPassCaption), lang::Pick(kLowPass, l));
    SetCaption(Control(pageid::kLeftChannelCaption), lang::Pick(kLeftChannel, l));
    SetCaption(Control(pageid::kRightChannelCaption), lang::Pick(kRightChannel, l));
    // Some of these ids are value labels on other pages, which keep their own empty text.
    for (int id : pageid::kMuteButtons)
        if (auto* mute = qobject_cast<QAbstractButton*>(Control(id)))
            mute->setText(QString::fromUtf8(lang::Pick(kMute, l)));

    for (int k = 0; k < 4; ++k)
        if (rowCaptions_[k]) rowCaptions_[k]->setText(QString::fromUtf8(rowcaption::Text(k, l)));

    UpdateHighPassLabel();
    UpdateLowPassLabel();
    UpdateLimitLabel();
    UpdateStartTimeLabel();
    UpdateAttackLabel();
    UpdateRatioLabel();
    UpdateGateStartLabel();
    UpdateGateReleaseLabel();
    for (int which = 0; which < levelkind::kCount; ++which) UpdateVolumeLabel(which);
    UpdateDelayLabel();
    UpdateLeftDelayLabel();
    UpdateRightDelayLabel();

    SetLabelCaption(pageid::kFilterSlopeLabel, lang::Pick(kFilterSlope, l));
}
