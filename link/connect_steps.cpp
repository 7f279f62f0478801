#include "link/connect_steps.h"

#include <cstdio>

namespace connect {
namespace {

struct Fixed {
    std::uint8_t group, code, p1;
    const char* line;
};

// Steps 0..18 (6 is silent).
constexpr Fixed kFixed[] = {
    {0x02, 0x80, 0, "Read Mic Vol\n"},
    {0x02, 0x85, 0, "Read Mic Effect Vol\n"},
    {0x01, 0xA0, 0, "Read Muisc Vol\n"},
    {0x02, 0x82, 0, "Read Mic Drc\n"},
    {0x02, 0x83, 0, "Read Mic NoiseGage\n"},
    {0x02, 0x84, 0, "Read Mic AFC\n"},
    {0, 0, 0, nullptr},
    {0x08, 0x90, 0, "Read Reverb\n"},
    {0x01, 0xA2, 0, "Read Muisc Out Vol\n"},
    {0x06, 0xB0, 0, "Read Direct Out Vol\n"},
    {0x07, 0x9A, 0, "Read Echo Out Vol\n"},
    {0x08, 0x92, 0, "Read Reverb Out Vol\n"},
    {0x04, 0xC0, 0, "Read Mix Drc main\n"},
    {0x04, 0xC0, 2, "Read Mix Drc Sub\n"},
    {0x04, 0xC0, 3, "Read Mix Drc Cen\n"},
    {0x04, 0xC0, 4, "Read Mix Drc Srb\n"},
    {0x04, 0xC1, 0, "Read Mix Delay\n"},
    {0xF0, 0xD0, 0, "Read SysInfo\n"},
    {0x02, 0x88, 0, "Read Nhs ThresHold\n"},
};

// Rows of per-band requests from step 19 on.
struct BandRow {
    int first, count;
    std::uint8_t group, code;
    int idOffset;  // id = n + idOffset
    int channel;   // p3 and the "chn" of the line
    const char* format;
};

constexpr BandRow kRows[] = {
    {19, 16, 0x02, 0x81, 0, 0, "Read Mic Eq n=%d id=%d,chn=%d\n"},
    {35, 9, 0x01, 0xA1, 0, 0, "Read Muisc Eq n=%d id=%d,chn=%d\n"},
    {44, 5, 0x04, 0xC2, 1, 0, "Read MainOut Eq n=%d id=%d,chn=%d\n"},
    {49, 4, 0x04, 0xC2, 0, 3, "Read BassOut Eq n=%d id=%d,chn=%d\n"},
    {53, 3, 0x04, 0xC2, 1, 2, "Read MidOut Eq n=%d id=%d,chn=%d\n"},
    {56, 3, 0x04, 0xC2, 1, 4, "Read SurOut Eq n=%d id=%d,chn=%d\n"},
    {59, 5, 0x07, 0x99, 0, 0, "Read Echo Eq n=%d id=%d,chn=%d\n"},
    {64, 2, 0x08, 0x91, 0, 0, "Read Reverb Eq n=%d id=%d,chn=%d\n"},
};

}  // namespace

std::optional<ReadBackStep> StepRequest(int step) {
    if (step < 0 || step > kLastStep || step == kSilentStep) return std::nullopt;
    if (step == kLastStep)
        return ReadBackStep{ZemCmd::GroupCommand(ZemCmd::kGroupEndReadBack, 0), "--Exit--\n"};
    if (step < static_cast<int>(std::size(kFixed))) {
        const Fixed& f = kFixed[step];
        return ReadBackStep{ZemCmd::ReadRequest(f.group, f.code, f.p1), f.line};
    }
    for (const BandRow& r : kRows) {
        if (step < r.first || step >= r.first + r.count) continue;
        const int n = step - r.first;
        const int id = n + r.idOffset;
        char line[64];
        std::snprintf(line, sizeof line, r.format, n, id, r.channel);
        return ReadBackStep{ZemCmd::ReadRequest(r.group, r.code, 0, static_cast<std::uint8_t>(id),
                                                static_cast<std::uint8_t>(r.channel)),
                            line};
    }
    return std::nullopt;
}

}  // namespace connect
