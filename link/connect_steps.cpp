#include "link/connect_steps.h"

#include <cstdio>

#include "link/output_channels.h"
#include "link/readback_codes.h"

namespace connect {
namespace {

struct Fixed {
    readback::Pair pair;
    std::uint8_t p1;
    const char* line;
};

// Steps 0..18 (6 is silent).
constexpr Fixed kFixed[] = {
    {readback::kMicMaster, 0, "Read Mic Vol\n"},
    {readback::kEffectMaster, 0, "Read Mic Effect Vol\n"},
    {readback::kMusicMaster, 0, "Read Muisc Vol\n"},
    {readback::kMicLimiter, 0, "Read Mic Drc\n"},
    {readback::kNoiseGate, 0, "Read Mic NoiseGage\n"},
    {readback::kFbc, 0, "Read Mic AFC\n"},
    {{0, 0}, 0, nullptr},
    {readback::kEffectBlock, 0, "Read Reverb\n"},
    {readback::kMusicLevel, 0, "Read Muisc Out Vol\n"},
    {readback::kDirectLevel, 0, "Read Direct Out Vol\n"},
    {readback::kEchoLevel, 0, "Read Echo Out Vol\n"},
    {readback::kReverbLevel, 0, "Read Reverb Out Vol\n"},
    {readback::kOutputLimiter, outch::kLimiterMain, "Read Mix Drc main\n"},
    {readback::kOutputLimiter, outch::kLimiterSubwoofer, "Read Mix Drc Sub\n"},
    {readback::kOutputLimiter, outch::kLimiterCentre, "Read Mix Drc Cen\n"},
    {readback::kOutputLimiter, outch::kLimiterSurround, "Read Mix Drc Srb\n"},
    {readback::kDelays, 0, "Read Mix Delay\n"},
    {readback::kStatus, 0, "Read SysInfo\n"},
    {readback::kFbcThreshold, 0, "Read Nhs ThresHold\n"},
};

// Rows of per-band requests from step 19 on.
struct BandRow {
    int first, count;
    readback::Pair pair;
    int idOffset;  // id = n + idOffset
    int channel;   // p3 and the "chn" of the line
    const char* format;
};

constexpr BandRow kRows[] = {
    {19, 16, readback::kMicEq, 0, 0, "Read Mic Eq n=%d id=%d,chn=%d\n"},
    {35, 9, readback::kMusicEq, 0, 0, "Read Muisc Eq n=%d id=%d,chn=%d\n"},
    {44, 5, readback::kOutputEq, 1, outch::kMixMainLeft, "Read MainOut Eq n=%d id=%d,chn=%d\n"},
    {49, 4, readback::kOutputEq, 0, outch::kMixSubwoofer, "Read BassOut Eq n=%d id=%d,chn=%d\n"},
    {53, 3, readback::kOutputEq, 1, outch::kMixCentre, "Read MidOut Eq n=%d id=%d,chn=%d\n"},
    {56, 3, readback::kOutputEq, 1, outch::kMixSurroundLeft, "Read SurOut Eq n=%d id=%d,chn=%d\n"},
    {59, 5, readback::kEchoEq, 0, 0, "Read Echo Eq n=%d id=%d,chn=%d\n"},
    {64, 2, readback::kReverbEq, 0, 0, "Read Reverb Eq n=%d id=%d,chn=%d\n"},
};

}  // namespace

std::optional<ReadBackStep> StepRequest(int step) {
    if (step < 0 || step > kLastStep || step == kSilentStep) return std::nullopt;
    if (step == kLastStep)
        return ReadBackStep{ZemCmd::GroupCommand(ZemCmd::kGroupEndReadBack, 0), "--Exit--\n"};
    if (step < static_cast<int>(std::size(kFixed))) {
        const Fixed& f = kFixed[step];
        return ReadBackStep{ZemCmd::ReadRequest(f.pair.group, f.pair.code, f.p1), f.line};
    }
    for (const BandRow& r : kRows) {
        if (step < r.first || step >= r.first + r.count) continue;
        const int n = step - r.first;
        const int id = n + r.idOffset;
        char line[64];
        std::snprintf(line, sizeof line, r.format, n, id, r.channel);
        return ReadBackStep{ZemCmd::ReadRequest(r.pair.group, r.pair.code, 0, static_cast<std::uint8_t>(id),
                                                static_cast<std::uint8_t>(r.channel)),
                            line};
    }
    return std::nullopt;
}

}  // namespace connect
