#pragma once
// Music page (tab Music): nine-band EQ, the music input selector, and the high-pass with a
// "12db"/"24db" slope. At "24db" the last band is a second high-pass at the same frequency.

#include <array>

#include "pages/page.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;

class PageMusic : public Page {
    Q_OBJECT

  public:
    explicit PageMusic(QWidget* parent = nullptr);

    // IWave
    void ResetAll(bool withControls) override;
    void ResetPeq(bool withControls) override;
    std::optional<ZemCmd::EqFrame> BuildBandCmd(int band) const override;
    void SetLanguage(int language) override;
    std::string SaveText() const override;
    void LoadText(const std::vector<std::string>& lines) override;
    // Rewrites a queued band-0 frame into the last band's frame; always 1.
    int FollowUpBandCmd(ZemCmd::EqFrame& frame) override;

    // The selected input: 0 "1", 1 "2", 2 "BT", 3 "USB", 4 "OPT".
    int MusicInput() const { return musicInput_; }
    // Stores the input and shows it; a value outside 0..4 is ignored. No notice.
    void SetMusicInput(int input);
    // Moves the check marks only; outside 0..4 none is checked.
    void ShowMusicInput(int input);
    // Read-back: the input the processor reports, stored and shown; outside 0..4 no button is
    // checked and the stored input stays as it was. No notice.
    void ApplyDeviceInput(int input);
    // The input whose button is checked, or -1.
    int CheckedInput() const;

    // Read-back: band 0 (or the last band at "24db") becomes a high-pass at `hz`.
    void SetHighPass(int band, int hz);
    // Read-back: byte 15 of the frame 0 selects "12db" (and turns the second high-pass section,
    // the last band, off), anything else "24db". No notice.
    void SetSlopeFromCmd(const ZemCmd::EqFrame& frame);
    int SlopeItem() const;
    QAbstractButton* InputButton(int input) const { return inputs_[static_cast<std::size_t>(input)]; }

  protected:
    void BuildTemplate() override;
    void OnInitDialog() override;

  private:
    void OnInputClicked(int input);
    void OnSlopeChanged();
    void SecondHighPassOff();
    void SelectSlope(int item);
    bool Steep() const { return SlopeItem() != 0; }

    int musicInput_ = 0;
    std::array<QAbstractButton*, 5> inputs_{};
    QButtonGroup* inputGroup_ = nullptr;
    QGroupBox* inputBox_ = nullptr;
    QLabel* inputCaption_ = nullptr;
    QGroupBox* highPassBox_ = nullptr;
    QComboBox* slope_ = nullptr;
};
