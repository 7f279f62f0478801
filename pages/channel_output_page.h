#pragma once
// The common body of the four output pages (main, centre, surround, subwoofer): four mix levels,
// one or two delays, a limiter the user never sees, and one mute button per channel.

#include <map>
#include <vector>

#include "pages/channel_sliders.h"
#include "pages/channel_traits.h"
#include "pages/page.h"

class QAbstractButton;
class QLabel;

namespace chan {

class OutputPage : public Page {
    Q_OBJECT

  public:
    OutputPage(const OutputTraits& traits, QWidget* parent = nullptr);

    // IWave
    void ResetAll(bool withControls) override;
    void ResetPeq(bool withControls) override;
    std::optional<ZemCmd::EqFrame> BuildBandCmd(int band) const override;
    ZemCmd::Cmd BuildAlcCmd() const override;
    std::string SaveText() const override;
    void LoadText(const std::vector<std::string>& lines) override;

    // Read-back and preset import: set a level and its label, never notify.
    void SetDirectVolume(int value);
    void SetEchoVolume(int value);
    void SetReverbVolume(int value);

    // The mute word: bit 0 left (or the only channel), bit 1 right; a set bit is muted.
    int MuteBits() const { return muteBits_; }
    // Masked to this page's channels; repaints the buttons; no notice.
    void SetMuteBits(int bits);
    QAbstractButton* MuteButton(int bit) const;

    const OutputTraits& Traits() const { return traits_; }

  protected:
    void BuildTemplate() override;
    void OnInitDialog() override;
    // Where the page's own columns start; the subwoofer page adds a crossover column.
    virtual void LayOutColumns(int left);
    int ColumnWidth() const;
    int RowHeight() const;
    // The label above its slider, both in the pair's group box where the page has one.
    void PlaceSliderRow(int sliderId, int labelId, int x, int y);
    // The group box of a slider's pair, or null.
    QWidget* Frame(int sliderId) const;
    void ResetSpecs(std::span<const SliderSpec> specs);
    void ResetSpec(const SliderSpec& spec);
    void RefreshOwnLabels();

  private:
    void OnMuteClicked(int bit);
    void PaintMuteButtons();

    const OutputTraits& traits_;
    int muteBits_ = 0;
    std::vector<QAbstractButton*> muteButtons_;  // indexed like traits_.mutes
    std::vector<QLabel*> channelCaptions_;
    std::map<int, QWidget*> frames_;  // by slider id
};

// A page's slider positions for the preset sections (the reader has no setter).
struct SliderAccess;
SliderAccess PageSliders(Page& page);
SliderAccess PageSliderReader(const Page& page);

// Sets a QAbstractButton's face to a COLORREF value (mute buttons).
void SetButtonFace(QAbstractButton* button, unsigned colorRef);
// The face colour last set, as a COLORREF value.
unsigned ButtonFace(const QAbstractButton* button);

}  // namespace chan
