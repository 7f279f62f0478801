#pragma once
// Stand-in for the equaliser graph until the drawn graph is in: keeps the curve record and the
// selection the main window writes, and draws a plain frame.

#include "pages/iwave.h"

#include <QWidget>

namespace console {

class GraphView : public QWidget {
public:
    explicit GraphView(QWidget* parent) : QWidget(parent) {}

    CurveRecord curve;
    int selected = -1;
    int bandCount = 17;
    bool bypass = false;
    bool blinkArmed = false;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace console
