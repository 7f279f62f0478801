#pragma once
// The font every window of the console is laid out with. The dialog templates were drawn for a
// dialog font whose units are about 6 x 13 pixels; a metric twin of Arial at 11 px comes closest.

#include <QFont>

namespace win {

// Liberation Sans (or another Arial twin) at 11 px; without one, the default sans face at the
// largest size up to 11 px whose average letter is no wider than 6 px.
QFont DialogFont();

// Makes DialogFont() the application's font; call once after the QApplication exists.
void UseDialogFont();

}  // namespace win
