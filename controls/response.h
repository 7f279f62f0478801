#pragma once
// Magnitude response of one equaliser band (a biquad section) on a logarithmic 20 Hz..20 kHz grid.

namespace controls {

// Filter type codes of the band record: 0 none, 1 peaking, 2 low shelf, 3 high shelf, 4 high-pass,
// 5 low-pass; 6..10 are extra forms the routine also knows.
struct BandResponse {
    float freq = 0;                                 // centre or corner frequency, Hz
    float gain = 0;                                 // dB
    float q = 0;                                    // quality factor
    int type = 0;                                   // filter type code
    int sampleRate = 0;                             // Hz; the graph passes 48000
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;  // coefficients divided by a0
};

// Computes the coefficients, then writes the magnitude in dB at points 1..n into db[0..n-1]
// (point i at 20 * 10^(3i/n) Hz). With n < 1 only the coefficients are computed and db may be null.
// Returns 0, or -1 for invalid input (the response is then flat).
// Invalid input: sampleRate <= 0, freq <= 0 or not below half the sampling rate, a gain that is not
// finite (types 1, 2, 3, 6), a q that is not finite and positive (types 1..6). Types 0, 9, 10 and
// unknown codes are flat and return 0, as are a high-pass below 20.01 Hz and a low-pass above
// 19999.9 Hz (how a pass filter shows "off"). Flat means b0 = b1 = b2 = a1 = a2 = 1 and 0 dB.
// Every value written is finite: 0 dB where the section has no defined gain, at least -200 dB.
// Allocates nothing and keeps no state, so it may run for many bands on every repaint.
int CalcBiquadResponse(BandResponse& band, float* db, int n);

// Frequency in Hz of point `point` (1..n) of the n-point grid: 20 * 10^(3 * point / n); 0 when n < 1.
double GridFrequency(int point, int n);

}  // namespace controls
