#pragma once
// Output page of the front pair (tab Main).

#include "pages/channel_output_page.h"

class PageMainOut : public chan::OutputPage {
    Q_OBJECT

  public:
    explicit PageMainOut(QWidget* parent = nullptr) : chan::OutputPage(chan::MainTraits(), parent) {}
};
