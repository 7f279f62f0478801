#pragma once
// How tall a line of text stands once the fallback faces its script needs are in: Thai and CJK
// glyphs come from other faces than the dialog font and stand taller than its Latin line.

#include <QFont>
#include <QString>

namespace controls {

int TextLineHeight(const QFont& font, const QString& text);
// Where that line's baseline stands below its top.
int TextLineAscent(const QFont& font, const QString& text);

}  // namespace controls
