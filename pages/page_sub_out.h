#pragma once
// Output page of the surround pair (tab Back).

#include "pages/channel_output_page.h"

class PageSubOut : public chan::OutputPage {
    Q_OBJECT

  public:
    explicit PageSubOut(QWidget* parent = nullptr) : chan::OutputPage(chan::SurroundTraits(), parent) {}
};
