#include "platform/ui/dialog_font.h"

#include <QApplication>
#include <QFontDatabase>

#include "platform/ui/dialog_units.h"

namespace win {
namespace {

constexpr int kPixelSize = 11;
constexpr int kMaxBaseX = 6;

}  // namespace

QFont DialogFont() {
    for (const char* family : {"Liberation Sans", "Arimo", "Arial"}) {
        if (!QFontDatabase::hasFamily(QString::fromLatin1(family))) continue;
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(kPixelSize);
        return font;
    }
    // A wider face (DejaVu Sans is 7 px a letter at 11 px) is shrunk so the pages still fit.
    QFont font(QApplication::font());
    font.setStyleHint(QFont::SansSerif);
    for (int px = kPixelSize; px >= 8; --px) {
        font.setPixelSize(px);
        if (DialogUnits(font).BaseX() <= kMaxBaseX) break;
    }
    return font;
}

void UseDialogFont() {
    QApplication::setFont(DialogFont());
}

}  // namespace win
