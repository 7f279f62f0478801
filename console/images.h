#pragma once
// The console's own images, drawn in code: the application icon and the status lamps (connected / not
// connected, with a short word in each language).

#include <QIcon>
#include <QImage>
#include <QSize>

namespace console {

QImage AppIconImage(int size);
QIcon AppIcon();

// The lamp's resource number by language (outside 0..4 as Chinese) and link state.
int StatusLampBitmapId(int language, bool connected);
const char* StatusLampWord(int language, bool connected);

// As tall as the room between the template's top row and the tab strip below it.
constexpr QSize kStatusLampSize{96, 22};
// Colours of the lamp's light.
constexpr unsigned kLampOnRgb = 0x22C03C;
constexpr unsigned kLampOffRgb = 0xD23228;
// Centre of the light in the image.
constexpr int kLampLightX = 13;
constexpr int kLampLightY = 11;
QImage StatusLamp(int language, bool connected);

}  // namespace console
