#include "pages/page_slider_store.h"

#include <algorithm>

namespace {
void Normalise(SliderModel& s) {
    if (s.min > s.max) std::swap(s.min, s.max);
    s.pos = std::clamp(s.pos, s.min, s.max);
}
}  // namespace

void SliderStore::Add(int id, int min, int max, int pos) {
    SliderModel s{min, max, pos};
    Normalise(s);
    sliders_[id] = s;
}

const SliderModel* SliderStore::Find(int id) const {
    auto it = sliders_.find(id);
    return it == sliders_.end() ? nullptr : &it->second;
}

std::optional<int> SliderStore::Pos(int id) const {
    const SliderModel* s = Find(id);
    return s ? std::optional<int>(s->pos) : std::nullopt;
}

bool SliderStore::SetPos(int id, int pos) {
    auto it = sliders_.find(id);
    if (it == sliders_.end()) return false;
    it->second.pos = pos;
    Normalise(it->second);
    return true;
}

bool SliderStore::SetRange(int id, int min, int max) {
    auto it = sliders_.find(id);
    if (it == sliders_.end()) return false;
    it->second.min = min;
    it->second.max = max;
    Normalise(it->second);
    return true;
}

const LabelModel* LabelStore::Find(int id) const {
    auto it = labels_.find(id);
    return it == labels_.end() ? nullptr : &it->second;
}

LabelModel* LabelStore::Find(int id) {
    auto it = labels_.find(id);
    return it == labels_.end() ? nullptr : &it->second;
}
