#include "controls/graph_curves.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "controls/response.h"

namespace controls {

bool GraphCurves::BandKey::operator==(const BandKey& o) const {
    // Bitwise, so a NaN gain compares equal to itself and is not recomputed on every paint.
    return freq == o.freq && std::memcmp(&gain, &o.gain, sizeof gain) == 0 &&
           std::memcmp(&q, &o.q, sizeof q) == 0 && type == o.type && shown == o.shown;
}

GraphCurves::GraphCurves(ResponseFn response) : response_(response ? response : &CalcBiquadResponse) {}

bool GraphCurves::Update(const GraphCurve& curve, int columns) {
    columns = std::max(columns, 0);
    bool changed = false;
    if (columns != columns_) {
        columns_ = columns;
        for (Band& b : bands_) b.valid = false;
        sum_.assign(columns, 0.0f);
        changed = true;
    }
    for (int k = 0; k < kGraphBands; ++k) {
        const BandKey key{curve.freq[k], curve.gain[k], curve.q[k], curve.type[k], curve.shown[k]};
        Band& band = bands_[k];
        if (band.valid && band.key == key) continue;
        Compute(band, key);
        changed = true;
    }
    if (!changed) return false;
    std::fill(sum_.begin(), sum_.end(), 0.0f);
    for (const Band& band : bands_) {
        if (!band.contributes) continue;
        for (int i = 0; i < columns_; ++i) sum_[i] += band.db[i];
    }
    ++version_;
    return true;
}

void GraphCurves::Compute(Band& band, const BandKey& key) {
    band.key = key;
    band.valid = true;
    // A hidden band and an empty pass-filter slot (0 Hz) add nothing.
    band.contributes = key.shown != 0 && key.freq != 0 && columns_ > 0;
    if (!band.contributes) return;

    // Plots wider than one computation can hold are sampled and interpolated per column.
    const int points = std::min(columns_, kMaxResponsePoints);
    points_.assign(points, 0.0f);
    BandResponse r;
    r.freq = static_cast<float>(key.freq);
    r.gain = key.gain;
    r.q = key.q;
    r.type = key.type;
    r.sampleRate = kGraphSampleRate;
    response_(r, points_.data(), points);
    ++computations_;

    band.db.resize(columns_);
    if (points == columns_) {
        std::copy(points_.begin(), points_.end(), band.db.begin());
        return;
    }
    // Column x stands for point x + 1 of columns_; find it among `points` points.
    const double scale = static_cast<double>(points) / columns_;
    for (int x = 0; x < columns_; ++x) {
        const double p = (x + 1) * scale - 1.0;  // index into points_
        const int i = std::clamp(static_cast<int>(std::floor(p)), 0, points - 1);
        const int j = std::min(i + 1, points - 1);
        const double t = std::clamp(p - i, 0.0, 1.0);
        band.db[x] = static_cast<float>(points_[i] + (points_[j] - points_[i]) * t);
    }
}

}  // namespace controls
