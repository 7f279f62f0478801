#pragma once
// Slider and label state of a page, keyed by control id. The widgets mirror these models; frame
// builders, preset writers and labels read them.

#include <map>
#include <optional>
#include <string>
#include <vector>

struct SliderModel {
    int min = 0;
    int max = 100;
    int pos = 0;
};

class SliderStore {
  public:
    // Adds (or replaces) a slider; the position is clamped into the range.
    void Add(int id, int min, int max, int pos);
    bool Has(int id) const { return sliders_.count(id) != 0; }
    const SliderModel* Find(int id) const;
    std::optional<int> Pos(int id) const;
    // As a track bar: a position outside the range is clamped; min > max is taken as max..min.
    // False when there is no such slider.
    bool SetPos(int id, int pos);
    bool SetRange(int id, int min, int max);

  private:
    std::map<int, SliderModel> sliders_;
};

// A two-part label: caption on the left, value on the right.
struct LabelModel {
    std::string caption;
    std::string value;
    std::vector<std::string> valueSamples;  // the widest values it may show, whose room the caption keeps
};

class LabelStore {
  public:
    void Add(int id) { labels_.emplace(id, LabelModel{}); }
    bool Has(int id) const { return labels_.count(id) != 0; }
    const LabelModel* Find(int id) const;
    LabelModel* Find(int id);

  private:
    std::map<int, LabelModel> labels_;
};
