#include "editor/map_control.h"

#include <utility>

void MapControl::SetPicture(Image picture) {
  picture_ = std::move(picture);
  ++revision_;
}

void MapControl::Paint(Image& target, int x, int y) const { target.Blit(picture_, x, y); }

uint64_t MapControl::StateHash() const {
  // Every new picture counts as a change, without comparing its pixels.
  return Control::StateHash() ^ (revision_ * 0x9E3779B97F4A7C15ULL);
}
