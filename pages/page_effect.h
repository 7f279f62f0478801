#pragma once
// Effect page (tab Effect): the echo and reverb processors. Seventeen sliders of its own, the
// effect block frame, and a five-band EQ whose ends are the echo high-pass and low-pass.

#include <vector>

#include "pages/channel_sliders.h"
#include "pages/page.h"

class PageEffect : public Page {
    Q_OBJECT

  public:
    explicit PageEffect(QWidget* parent = nullptr);

    // IWave
    void ResetAll(bool withControls) override;
    void ResetPeq(bool withControls) override;
    std::optional<ZemCmd::EqFrame> BuildBandCmd(int band) const override;
    void SetLanguage(int language) override;
    std::string SaveText() const override;
    void LoadText(const std::vector<std::string>& lines) override;

    // The 22-byte effect block frame, sealed.
    ZemCmd::Cmd BuildEffectCmd() const;

    // Values from the processor or a preset file; no notice.
    void SetEchoHighPass(int hz);
    void SetEchoLowPass(int hz);
    void SetReverbHighPass(int hz);
    void SetReverbLowPass(int hz);
    // Marks bands 0 and n-1 as the echo filters for the graph; returns the frequency.
    int SyncEchoHighPassToGraph();
    int SyncEchoLowPassToGraph();

    // Label refreshers, one per slider.
    void UpdateEchoDelayLabel() { RefreshLabel(chan::fx::kEchoDelay); }
    void UpdateEchoDecayLabel() { RefreshLabel(chan::fx::kEchoDecay); }
    void UpdateEchoDirectVolumeLabel() { RefreshLabel(chan::fx::kEchoDirect); }
    void UpdateEchoEffectVolumeLabel() { RefreshLabel(chan::fx::kEchoEffect); }
    void UpdateEchoPreDelayLabel() { RefreshLabel(chan::fx::kEchoPreDelay); }
    void UpdateEchoHighPassLabel() { RefreshLabel(chan::fx::kEchoHighPass); }
    void UpdateEchoLowPassLabel() { RefreshLabel(chan::fx::kEchoLowPass); }
    void UpdateReverbDirectVolumeLabel() { RefreshLabel(chan::fx::kReverbDirect); }
    void UpdateReverbEffectVolumeLabel() { RefreshLabel(chan::fx::kReverbEffect); }
    void UpdateWidthLabel() { RefreshLabel(chan::fx::kWidth); }
    void UpdateRoomSizeLabel() { RefreshLabel(chan::fx::kRoomSize); }
    void UpdateDampLabel() { RefreshLabel(chan::fx::kDamp); }
    void UpdateReverbPreDelayLabel() { RefreshLabel(chan::fx::kReverbPreDelay); }
    void UpdateReverbHighPassLabel() { RefreshLabel(chan::fx::kReverbHighPass); }
    void UpdateReverbLowPassLabel() { RefreshLabel(chan::fx::kReverbLowPass); }
    void UpdateEchoInDryLabel() { RefreshLabel(chan::fx::kEchoInDry); }
    void UpdateEchoInReverbLabel() { RefreshLabel(chan::fx::kEchoInReverb); }

    // Caption and value of a slider's label from the slider table.
    void RefreshLabel(int sliderId);

  protected:
    void BuildTemplate() override;
    void OnInitDialog() override;
    void OnHScroll(int id, int pos) override;

  private:
    int Pos(int id) const;
    void LayOutColumns();
    static const char* Caption(int sliderId, int language);

    std::vector<QWidget*> frames_;  // the group boxes, in the order of the template's pairs
};
