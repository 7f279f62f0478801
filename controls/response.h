#pragma once
// Magnitude response of one equaliser band (a biquad section) on a logarithmic 20 Hz..20 kHz grid.

namespace controls {

// Filter type codes of the band record: 0 none, 1 peaking, 2 low shelf, 3 high shelf, 4 high-pass,
// 5 low-pass; 6..10 are extra forms the routine also knows.
struct BandResponse {
    float freq = 0;       // centre or corner frequency, Hz
    float gain = 0;       // dB
    float q = 0;          // quality factor
    int type = 0;         // filter type code
    int sampleRate = 0;   // Hz; the graph passes 48000
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;  // coefficients divided by a0
};

// Computes the coefficients, then writes the magnitude in dB at points 1..n into db[0..n-1]
// (point i at 20 * 10^(3i/n) Hz). With n < 1 only the coefficients are computed and db may be null.
// Returns 0, or -1 for invalid input (the response is then flat).
int CalcBiquadResponse(BandResponse& band, float* db, int n);

}  // namespace controls
