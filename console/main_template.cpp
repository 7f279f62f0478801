#include "console/main_template.h"

#include "console/control_ids.h"

namespace console {
namespace {

constexpr TemplateControl kControls[] = {
    {kIdMusicCaption, 10, 10, 20, 8},   {kIdMusicSlider, 29, 8, 71, 17},   {kIdMusicValue, 102, 10, 16, 8},
    {kIdMicCaption, 113, 10, 22, 8},    {kIdMicSlider, 135, 8, 74, 17},    {kIdMicValue, 211, 10, 13, 8},
    {kIdEffectCaption, 229, 10, 20, 8}, {kIdEffectSlider, 251, 8, 70, 17}, {kIdEffectValue, 322, 9, 14, 8},
    {kIdPresetCombo, 337, 10, 42, 109}, {kIdSave, 383, 10, 31, 14},        {kIdLoad, 418, 10, 33, 14},
    {kIdStatusLamp, 455, 10, 46, 18},   {kIdTab, 7, 25, 494, 134},         {kIdGraph, 7, 163, 493, 107},
    {kIdEqReset, 7, 271, 49, 14},       {kIdEqPass, 60, 271, 33, 14},
};

}  // namespace

std::span<const TemplateControl> MainTemplate() {
    return kControls;
}

QRect TemplateRect(const win::DialogUnits& units, int id) {
    for (const TemplateControl& c : kControls) {
        if (c.id == id) return units.Rect(c.x, c.y, c.width, c.height);
    }
    return {};
}

QSize TemplateClientSize(const win::DialogUnits& units) {
    return QSize(units.X(kTemplateWidth), units.Y(kTemplateHeight));
}

}  // namespace console
