#pragma once
// Per-band response curves of the graph and their sum, one value per plot column. A band is
// recomputed only when its own values or the plot width change, so a drag costs one band.

#include <cstdint>
#include <vector>

#include "controls/graph_state.h"

namespace controls {

struct BandResponse;
using ResponseFn = int (*)(BandResponse& band, float* db, int n);

constexpr int kGraphSampleRate = 48000;
constexpr int kMaxResponsePoints = 2000;  // capacity of one response computation

class GraphCurves {
  public:
    explicit GraphCurves(ResponseFn response = nullptr);

    // Brings every band and the sum up to date for `columns` plot columns. Returns true when the
    // sum changed.
    bool Update(const GraphCurve& curve, int columns);

    // Summed dB per column; valid after Update.
    const std::vector<float>& Sum() const { return sum_; }
    int Columns() const { return columns_; }
    // Increases whenever the sum changes.
    std::uint64_t Version() const { return version_; }
    // How many single-band computations ran so far.
    std::uint64_t BandComputations() const { return computations_; }

  private:
    struct BandKey {
        int freq = 0;
        float gain = 0, q = 0;
        int type = 0, shown = 0;
        bool operator==(const BandKey& o) const;
    };
    struct Band {
        bool valid = false;
        bool contributes = false;
        BandKey key;
        std::vector<float> db;  // per column
    };

    void Compute(Band& band, const BandKey& key);

    ResponseFn response_;
    int columns_ = -1;
    Band bands_[kGraphBands];
    std::vector<float> sum_;
    std::vector<float> points_;  // scratch: response at the sampled points
    std::uint64_t version_ = 0;
    std::uint64_t computations_ = 0;
};

}  // namespace controls
