#pragma once
// Microphone page (tab Mic): 17-band EQ, high-pass, limiter, feedback canceller and a noise gate
// the user never sees.

#include "pages/page.h"

class QComboBox;
class QLabel;

class PageMic : public Page {
    Q_OBJECT

  public:
    explicit PageMic(QWidget* parent = nullptr);

    // IWave
    void ResetAll(bool withControls) override;
    void ResetPeq(bool withControls) override;
    std::optional<ZemCmd::EqFrame> BuildBandCmd(int band) const override;
    ZemCmd::Cmd BuildAlcCmd() const override;
    void SetLanguage(int language) override;
    std::string SaveText() const override;
    void LoadText(const std::vector<std::string>& lines) override;
    // The band-0 frame is offered to the queue a second time; the frame is left as it is.
    int FollowUpBandCmd(ZemCmd::EqFrame& frame) override;

    ZemCmd::Cmd BuildNoiseGateCmd() const;
    ZemCmd::Cmd BuildFbcCmd() const;

    // Feedback-canceller mode 0 (off) .. 3; the setter clamps and never notifies.
    int FbcMode() const;
    void SetFbcMode(int mode);

  protected:
    void BuildTemplate() override;
    void OnInitDialog() override;

  private:
    void FillFbcList(int language);

    QComboBox* fbc_ = nullptr;
    QLabel* fbcCaption_ = nullptr;
};
