#pragma once
// Page: the base of the seven channel pages. A QWidget (a child of the main dialog, never a
// QDialog, so Esc cannot close it) and an IWave.
//
// State lives in models, widgets only mirror it:
//   - model_ (PageModel): the EQ band record, language, bypass, section name, default frequencies;
//   - a slider store {min, max, pos} and a label store {caption, value}, keyed by control id.
// Setting anything from code clamps like a track bar and never notifies; only the user's actions
// (slider actions, clicks, accepted edits, focus) send notices to the parent with
// win::SendToParent, which is how the main dialog learns of a change.
//
// How a channel page builds on it:
//   1. Constructor: Page(bandCount, templateId, parent); then set model_.sectionName,
//      model_.defaultFreq[1..n-2] and hpTitle/lpTitle where the page has those labels.
//   2. BuildTemplate(): create the page's own controls. Sliders and value labels with
//      AddSlider(id, orientation, rect, min, max, pos) / AddLabel(id, rect); any other control
//      (buttons, captions, combo boxes) as a normal child with win::SetControlId(widget, id).
//      eqRight and contentHeight are not known yet; place controls after the band columns in
//      OnInitDialog instead if they depend on them.
//   3. Init() (called by the owner once the page is constructed) runs BuildTemplate(), then
//      OnInitDialog(): Page's builds the band controls (ids 1600+i, 1700+i, ... for bands
//      1..n-2) and calls ResetAll(true) virtually, so the page's override resets its own sliders.
//      An override of OnInitDialog calls Page::OnInitDialog() first.
//   4. Overrides of IWave call the Page version inside (ResetAll first, BuildBandCmd then OR in
//      channel bits and Seal(), SetLanguage first, SaveText/LoadText around the EQ body).
//   5. A page's own sliders: the user's moves arrive in OnHScroll(id, pos) / OnVScroll(id, pos)
//      with the store already updated; an override calls Page::OnHScroll first. Read positions
//      with SliderPos(id), set them with SetSliderPos(id, pos) (no notice), then call the
//      matching Update...Label().

#include <QIcon>
#include <QRect>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "pages/iwave.h"
#include "pages/level_kind.h"
#include "pages/page_ids.h"
#include "pages/page_model.h"
#include "pages/page_slider_store.h"
#include "platform/ui/controls.h"
#include "platform/ui/window.h"

class QAbstractSlider;
class QAbstractButton;
class QLabel;
class QLineEdit;

class Page : public QWidget, public IWave {
    Q_OBJECT

  public:
    Page(int bandCount, int templateId, QWidget* parent = nullptr);
    ~Page() override;

    // Second phase of construction: own controls, band controls, reset. Call once.
    void Init();
    bool IsInitialised() const { return initialised_; }
    int TemplateId() const { return templateId_; }

    // IWave
    void CopyCurve(CurveRecord& out) const override;
    void SetBandFreqGain(int band, int freq, float gain) override;
    int GetBandCount() const override { return model_.bandCount; }
    void ResetAll(bool alsoOwnControls) override;
    void ResetPeq(bool alsoOwnControls) override;
    std::optional<ZemCmd::EqFrame> BuildBandCmd(int band) const override;
    ZemCmd::Cmd BuildAlcCmd() const override;
    void SetLanguage(int language) override;
    std::string SaveText() const override;
    void LoadText(const std::vector<std::string>& lines) override;
    bool RecomputeBypass() override;
    void SetBypass(bool on) override;
    void SetBandQ(int band, float q) override;
    int FollowUpBandCmd(ZemCmd::EqFrame& frame) override;
    int GetContentHeight() const override { return contentHeight; }

    // A band read back from the processor (band 1..n-1).
    virtual void SetBand(int band, int freq, float gain, float q, int deviceCode);
    // Band 0..n-1 (else nothing); stored as 0 or 1, then RecomputeBypass().
    virtual void SetBandEnabled(int band, int on);
    // Band 0..n-1, else false; shows the type on the band's buttons and stores it.
    bool SetTypeButtons(int band, int type);

    const PageModel& Model() const { return model_; }
    PageModel& Model() { return model_; }
    int Language() const { return model_.language; }
    int EqRight() const { return eqRight; }

    // Sliders and labels by control id.
    bool HasSlider(int id) const { return sliders_.Has(id); }
    const SliderModel* Slider(int id) const { return sliders_.Find(id); }
    std::optional<int> SliderPos(int id) const { return sliders_.Pos(id); }
    void SetSliderPos(int id, int pos);             // clamps; no notice
    void SetSliderRange(int id, int min, int max);  // clamps the position; no notice
    bool HasLabel(int id) const { return labels_.Has(id); }
    const LabelModel* Label(int id) const { return labels_.Find(id); }
    void SetLabelCaption(int id, const std::string& caption);
    void SetLabelValue(int id, const std::string& value);
    void SetLabelValueSamples(int id, const std::vector<std::string>& samples);
    QWidget* Control(int id) const;

    // Value labels (each does nothing on a page without its slider or label).
    void UpdateHighPassLabel();
    void UpdateLowPassLabel();
    void UpdateLimitLabel();
    void UpdateStartTimeLabel();
    void UpdateAttackLabel();
    void UpdateRatioLabel();
    void UpdateGateStartLabel();
    void UpdateGateReleaseLabel();
    void UpdateVolumeLabel(int which);  // a levelkind::Index
    void UpdateDelayLabel();
    void UpdateLeftDelayLabel();
    void UpdateRightDelayLabel();
    void UpdateBassLowPassLabel();

    // Checks and applies a band edit's text; true only when a value was accepted.
    bool ValidateEdit(int controlId);

  protected:
    // The page's own controls (step 2 above).
    virtual void BuildTemplate() {}
    virtual void OnInitDialog();
    // The user moved a horizontal / vertical slider; the store already holds `pos`.
    virtual void OnHScroll(int id, int pos);
    virtual void OnVScroll(int id, int pos);

    QAbstractSlider* AddSlider(int id, Qt::Orientation orientation, const QRect& geometry, int min, int max,
                               int pos);
    QWidget* AddLabel(int id, const QRect& geometry);
    void Notify(unsigned msg, win::WPARAM wParam, win::LPARAM lParam);

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    PageModel model_;
    std::array<std::string, 5> hpTitle;
    std::array<std::string, 5> lpTitle;
    int contentHeight = -1;  // bottom of the last band control row
    int eqRight = -1;        // right edge of the last band column

  private:
    struct BandViews {
        QLineEdit* gainEdit = nullptr;
        QLineEdit* freqEdit = nullptr;
        QLineEdit* qEdit = nullptr;
        QAbstractSlider* gainSlider = nullptr;
        std::array<QAbstractButton*, 3> typeButtons{};
        int shownType = -1;  // the type the buttons' images show (-1: none drawn yet)
        QAbstractButton* qMinus = nullptr;
        QAbstractButton* qPlus = nullptr;
    };

    void CreateBandControls();
    void CreateBandColumn(int band, int x, int w, int h);
    void OnSliderAction(QAbstractSlider* slider);
    void OnQButton(int id);
    void OnTypeButton(int id);
    void RefocusLater(QLineEdit* edit);
    void ShowBandFreq(int band);
    void ShowBandGain(int band);
    void ShowBandQ(int band);
    void ShowBand(int band);
    void ShowAllBands();
    // Caption by language and value from the slider's position; nothing without slider or label.
    void RefreshSliderLabel(int sliderId, int labelId, const char* const* captions,
                            std::string (*value)(int pos));
    void ShowSlider(int id);
    void ShowLabel(int id);
    const QIcon& TypeIcon(int type, bool selected);
    // The widest values of a high-pass or low-pass label: its slider's range, or every frequency.
    std::vector<std::string> FilterSamples(int sliderId) const;

    int templateId_;
    bool initialised_ = false;
    bool validating_ = false;
    SliderStore sliders_;
    LabelStore labels_;
    mutable win::ControlCache controlCache_;  // every slider and label refresh looks its control up
    // The type buttons' six images (P, LS, HS; not selected, selected), drawn when first shown.
    std::array<QIcon, 6> typeIcons_;
    std::array<BandViews, kMaxBands> bands_{};
    std::array<QLabel*, 4> rowCaptions_{};
};
