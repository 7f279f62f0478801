#pragma once
// The About box: the program's icon, name and version.

#include <QDialog>

namespace console {

class AboutBox : public QDialog {
  public:
    explicit AboutBox(QWidget* parent);
};

}  // namespace console
