// What a page does when the user moves one of its horizontal template sliders.

#include "controls/notices.h"
#include "pages/page.h"

namespace {

// The notice a template slider raises (0: none).
unsigned NoticeOfSlider(int id) {
    switch (id) {
        case pageid::kStartTimeSlider:
        case pageid::kAttackSlider:
        case pageid::kRatioSlider:
        case pageid::kLimitSlider:
            return notice::kLimiter;
        case pageid::kDirectLevelSlider:
            return notice::kDirectLevels;
        case pageid::kEchoLevelSlider:
            return notice::kEchoLevels;
        case pageid::kGateStartSlider:
        case pageid::kGateReleaseSlider:
            return notice::kNoiseGate;
        case pageid::kMusicLevelSlider:
            return notice::kMusicLevels;
        case pageid::kReverbLevelSlider:
            return notice::kReverbLevels;
        case pageid::kLeftDelaySlider:
        case pageid::kRightDelaySlider:
        case pageid::kDelaySlider:
            return notice::kDelays;
        case pageid::kBassLowPassSlider:
            return notice::kCrossover;
        default:
            return 0;
    }
}

}  // namespace

void Page::OnHScroll(int id, int pos) {
    const int n = model_.bandCount;
    switch (id) {
        case pageid::kHighPassSlider:
            if (n < 1) return;
            model_.band.freq[0] = pos;
            model_.band.type[0] = kTypeHighPass;
            UpdateHighPassLabel();
            Notify(notice::kPassBand, static_cast<win::WPARAM>(pos), notice::PackBandType(0, kTypeHighPass));
            return;
        case pageid::kLowPassSlider: {
            if (n < 1) return;
            const int type = pos < kMaxFreq ? kTypeLowPass : kTypeOff;
            model_.band.freq[n - 1] = pos;
            model_.band.type[n - 1] = type;
            UpdateLowPassLabel();
            Notify(notice::kPassBand, static_cast<win::WPARAM>(pos), notice::PackBandType(n - 1, type));
            return;
        }
        case pageid::kStartTimeSlider:
            UpdateStartTimeLabel();
            break;
        case pageid::kAttackSlider:
            UpdateAttackLabel();
            break;
        case pageid::kRatioSlider:
            UpdateRatioLabel();
            break;
        case pageid::kLimitSlider:
            UpdateLimitLabel();
            break;
        case pageid::kDirectLevelSlider:
            UpdateVolumeLabel(levelkind::kDirect);
            break;
        case pageid::kEchoLevelSlider:
            UpdateVolumeLabel(levelkind::kEcho);
            break;
        case pageid::kGateStartSlider:
            UpdateGateStartLabel();
            break;
        case pageid::kGateReleaseSlider:
            UpdateGateReleaseLabel();
            break;
        case pageid::kMusicLevelSlider:
            UpdateVolumeLabel(levelkind::kMusic);
            break;
        case pageid::kReverbLevelSlider:
            UpdateVolumeLabel(levelkind::kReverb);
            break;
        case pageid::kLeftDelaySlider:
            UpdateLeftDelayLabel();
            break;
        case pageid::kRightDelaySlider:
            UpdateRightDelayLabel();
            break;
        case pageid::kDelaySlider:
            UpdateDelayLabel();
            break;
        case pageid::kBassLowPassSlider:
            UpdateBassLowPassLabel();
            break;
        default:
            return;
    }
    Notify(NoticeOfSlider(id), 0, 0);
}
