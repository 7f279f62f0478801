#pragma once
// Dialog-template units to pixels from the dialog font: x = du * avgCharWidth / 4, y = du * height / 8.

#include <QFont>
#include <QRect>

namespace win {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

    int X(int du) const;
    int Y(int du) const;
    QRect Rect(int x, int y, int width, int height) const;
    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};

}  // namespace win
