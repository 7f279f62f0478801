#pragma once
// Output page of the centre (tab Mid).

#include "pages/channel_output_page.h"

class PageMidOut : public chan::OutputPage {
    Q_OBJECT

  public:
    explicit PageMidOut(QWidget* parent = nullptr) : chan::OutputPage(chan::MidTraits(), parent) {}
};
