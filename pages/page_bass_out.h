#pragma once
// Subwoofer output page (tab Bass): an output page with a crossover low-pass of 20..300 Hz and a
// "12db"/"24db" slope. The crossover is band 0 of the EQ record; at "24db" band 4 is a second
// low-pass at the same frequency.

#include "pages/channel_output_page.h"

class QComboBox;

class PageBassOut : public chan::OutputPage {
    Q_OBJECT

  public:
    explicit PageBassOut(QWidget* parent = nullptr);

    void ResetAll(bool withControls) override;
    void LoadText(const std::vector<std::string>& lines) override;
    void SetLanguage(int language) override;

    // The crossover frame (byte 16 left 0: the main dialog seals it).
    ZemCmd::EqFrame BuildCrossoverCmd() const;
    // The crossover read back from the processor; no notice.
    void ApplyCrossover(int frequency, int gainDb, int filterCode, float q);

    int CrossoverHz() const;
    // 0 "12db", 1 "24db".
    int SlopeItem() const;

  protected:
    void BuildTemplate() override;
    void LayOutColumns(int left) override;
    void OnHScroll(int id, int pos) override;

  private:
    void OnSlopeChanged();
    void SelectSlope(int item);
    // Band 0 follows the slider; Q and band 4 follow the slope.
    void FollowSlope();

    QComboBox* slope_ = nullptr;
};
