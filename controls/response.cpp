#include "controls/response.h"

#include <algorithm>
#include <cmath>

#include "controls/band_limits.h"
#include "controls/band_types.h"
#include "controls/vector_state.h"

namespace controls {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = kTwoPi / 2;
constexpr float kFloorDb = -200.0f;

struct Coefficients {
    double b0 = 1, b1 = 1, b2 = 1, a0 = 1, a1 = 1, a2 = 1;
};

bool UsesGain(int type) {
    return type == kTypePeaking || type == kTypeLowShelf || type == kTypeHighShelf || type == kTypeCut;
}
bool UsesQ(int type) {
    return type >= kTypePeaking && type <= kTypeCut;
}

// Types that draw a curve; every other code (off, 9, 10 and unknown ones) is flat.
bool IsShaped(int type) {
    return type >= kTypePeaking && type <= kTypeOnePoleHighPass;
}

// The bands use 0 < freq < Nyquist; a wider one would alias or divide by zero (tan at Nyquist).
bool InputValid(const BandResponse& band) {
    if (band.sampleRate <= 0) return false;
    if (!std::isfinite(band.freq) || band.freq <= 0) return false;
    if (UsesGain(band.type) && !std::isfinite(band.gain)) return false;
    if (UsesQ(band.type) && (!std::isfinite(band.q) || band.q <= 0)) return false;
    return true;
}

// The pass filters show "off" as a corner outside the audible range: flat, not an error.
bool PassFilterOff(const BandResponse& band) {
    return (band.type == kTypeHighPass && band.freq < 20.01) ||
           (band.type == kTypeLowPass && band.freq > 19999.9);
}

Coefficients Design(const BandResponse& band) {
    const double w0 = kTwoPi * band.freq / band.sampleRate;
    const double A = std::exp(band.gain / 40.0 * std::log(10.0));
    const double sn = std::sin(w0);
    const double cs = std::cos(w0);
    const double q = band.q;
    const double alpha = sn / (2 * q);
    const double sqA = std::sqrt(A);
    Coefficients c;
    switch (band.type) {
        case kTypePeaking:
            c = {1 + alpha * A, -2 * cs, 1 - alpha * A, 1 + alpha / A, -2 * cs, 1 - alpha / A};
            break;
        case kTypeLowShelf:
            c = {A * ((A + 1) - (A - 1) * cs + 2 * sqA * alpha),
                 2 * A * ((A - 1) - (A + 1) * cs),
                 A * ((A + 1) - (A - 1) * cs - 2 * sqA * alpha),
                 (A + 1) + (A - 1) * cs + 2 * sqA * alpha,
                 -2 * ((A - 1) + (A + 1) * cs),
                 (A + 1) + (A - 1) * cs - 2 * sqA * alpha};
            break;
        case kTypeHighShelf:
            c = {A * ((A + 1) + (A - 1) * cs + 2 * sqA * alpha),
                 -2 * A * ((A - 1) + (A + 1) * cs),
                 A * ((A + 1) + (A - 1) * cs - 2 * sqA * alpha),
                 (A + 1) - (A - 1) * cs + 2 * sqA * alpha,
                 2 * ((A - 1) - (A + 1) * cs),
                 (A + 1) - (A - 1) * cs - 2 * sqA * alpha};
            break;
        case kTypeHighPass:
            c = {(1 + cs) / 2, -(1 + cs), (1 + cs) / 2, 1 + alpha, -2 * cs, 1 - alpha};
            break;
        case kTypeLowPass:
            c = {(1 - cs) / 2, 1 - cs, (1 - cs) / 2, 1 + alpha, -2 * cs, 1 - alpha};
            break;
        case kTypeCut: {
            // A cut whatever the sign of the gain.
            const double K = std::tan(w0 / 2);
            const double V = std::pow(10.0, std::fabs(band.gain) / 20.0);
            const double n = 1 / (1 + V * K / q + K * K);
            c = {(1 + K / q + K * K) * n, 2 * (K * K - 1) * n,        (1 - K / q + K * K) * n, 1,
                 2 * (K * K - 1) * n,     (1 - V * K / q + K * K) * n};
            break;
        }
        case kTypeOnePoleLowPass: {
            const double p = std::exp(-w0);
            c = {1 - p, 0, 0, 1, -p, 0};
            break;
        }
        case kTypeOnePoleHighPass: {
            const double p = std::exp(-w0);
            c = {(1 + p) / 2, -(1 + p) / 2, 0, 1, -p, 0};
            break;
        }
        default:
            break;
    }
    return c;
}

void Store(BandResponse& band, const Coefficients& c) {
    band.b0 = c.b0 / c.a0;
    band.b1 = c.b1 / c.a0;
    band.b2 = c.b2 / c.a0;
    band.a1 = c.a1 / c.a0;
    band.a2 = c.a2 / c.a0;
}

bool Finite(const BandResponse& b) {
    return std::isfinite(b.b0) && std::isfinite(b.b1) && std::isfinite(b.b2) && std::isfinite(b.a1) &&
           std::isfinite(b.a2);
}

void Flat(BandResponse& band, float* db, int n) {
    Store(band, Coefficients{});
    if (n > 0) std::fill(db, db + n, 0.0f);
}

}  // namespace

namespace {

// Points per decade (n/3), formed as the grid always has: n over its span in dB, times 20.
double PointsPerDecade(int n) {
    return n / (20 * std::log10(double{kMaxFreq}) - 20 * std::log10(double{kMinFreq})) * 20;
}

}  // namespace

double GridFrequency(int point, int n) {
    if (n < 1) return 0;
    return std::pow(10.0, point / PointsPerDecade(n) + std::log10(double{kMinFreq}));
}

int CalcBiquadResponse(BandResponse& band, float* db, int n) {
    ClearUpperVectorState();  // the loop below calls libm's AVX routines once per point
    if (!IsShaped(band.type)) {
        Flat(band, db, n);
        return 0;
    }
    if (!InputValid(band)) {
        Flat(band, db, n);
        return -1;
    }
    if (PassFilterOff(band)) {
        Flat(band, db, n);
        return 0;
    }
    if (2.0 * band.freq >= band.sampleRate) {
        Flat(band, db, n);
        return -1;
    }
    const Coefficients c = Design(band);
    if (!std::isfinite(c.a0) || c.a0 == 0) {
        Flat(band, db, n);
        return -1;
    }
    Store(band, c);
    if (!Finite(band)) {
        Flat(band, db, n);
        return -1;
    }

    // |H|^2 written in phi = sin^2(w/2): the cos-expanded form cancels to nothing at low
    // frequencies (num and den both near (b0+b1+b2)^2 ~ 0) and then gives NaN or infinities.
    const double b0 = band.b0, b1 = band.b1, b2 = band.b2, a1 = band.a1, a2 = band.a2;
    const double nS = (b0 + b1 + b2) * (b0 + b1 + b2);
    const double nP = 4 * (b0 * b1 + 4 * b0 * b2 + b1 * b2);
    const double nQ = 16 * b0 * b2;
    const double dS = (1 + a1 + a2) * (1 + a1 + a2);
    const double dP = 4 * (a1 + 4 * a2 + a1 * a2);
    const double dQ = 16 * a2;
    // Half the angle of point i, stepped by the grid's constant ratio (one pow per curve, not per
    // point: the graph redraws up to 17 curves on every repaint).
    const double ratio = std::pow(10.0, 1 / PointsPerDecade(n));
    double halfW = kPi / band.sampleRate * GridFrequency(1, n);
    for (int i = 1; i <= n; ++i, halfW *= ratio) {
        const double s = std::sin(halfW);
        const double phi = s * s;
        const double num = std::max(0.0, nS - nP * phi + nQ * phi * phi);
        const double den = dS - dP * phi + dQ * phi * phi;
        const double power = num / den;
        float value = 0.0f;
        if (den > 0 && std::isfinite(power)) {
            const float mag = static_cast<float>(std::sqrt(power));
            value = mag > 0 ? std::max(20.0f * log10f(mag), kFloorDb) : kFloorDb;
        }
        db[i - 1] = value;
    }
    return 0;
}

}  // namespace controls
