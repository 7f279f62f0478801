#pragma once
// "Volume limit" dialog: start value and upper limit of the three master volumes. It works on its
// own copy; the caller fills language and limits before exec() and reads them back after OK.

#include <QDialog>
#include <array>

#include "console/console_config.h"
#include "console/device_commands.h"

class QLabel;
class QPushButton;

namespace controls {
class Slider;
}

class CVolLimit : public QDialog {
  public:
    explicit CVolLimit(QWidget* parent = nullptr);

    // Sets ranges, positions, value labels and texts from the members. exec() runs it first.
    void OnInitDialog();
    // A user move of slider `id` (1001..1006; others are ignored).
    void OnHScroll(int id, int position);

    int exec() override;

    int language = 0;
    console::VolumeLimits limits;

    controls::Slider* SliderById(int id) const;
    QLabel* ValueLabelById(int id) const;

  private:
    struct Row {
        console::LimitField field;
        int captionId;
        int sliderId;
        int valueId;
        int maximum;
    };
    static const std::array<Row, 6> kRows;

    int& Member(console::LimitField field);
    void Show(console::LimitField field);

    std::array<QLabel*, 6> captions_{};
    std::array<controls::Slider*, 6> sliders_{};
    std::array<QLabel*, 6> values_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
