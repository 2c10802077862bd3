#include "authoring/level_survey.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "world/cell_codes.h"

namespace {

constexpr int RoomW = 20, RoomH = 12;
// How far from each corner of the room a copied object still stands "in the corner".
constexpr int CornerColumns = 5, CornerRows = 4;

uint8_t At(const LevelBytes& level, int room, int x, int y) {
  return level[static_cast<std::size_t>(((room / 3) * RoomH + y) * LevelColumns + (room % 3) * RoomW + x)];
}

bool IsWall(int code) {
  return code == Cell::BrickSolid || code == Cell::BrickEnemyTrans || code == Cell::BrickShootable;
}

std::vector<double> Ranks(const std::vector<double>& v) {
  std::vector<std::size_t> order(v.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return v[a] < v[b]; });
  std::vector<double> rank(v.size());
  for (std::size_t i = 0; i < order.size();) {
    std::size_t j = i;
    while (j + 1 < order.size() && v[order[j + 1]] == v[order[i]]) ++j;
    for (std::size_t k = i; k <= j; ++k) rank[order[k]] = (static_cast<double>(i + j) / 2.0) + 1.0;
    i = j + 1;
  }
  return rank;
}

}  // namespace

double RoomShare(const LevelBytes& a, int roomA, const LevelBytes& b, int roomB) {
  int either = 0, same = 0;
  for (int y = 0; y < RoomH; ++y)
    for (int x = 0; x < RoomW; ++x) {
      const uint8_t ca = At(a, roomA, x, y), cb = At(b, roomB, x, y);
      if (ca == Cell::Floor && cb == Cell::Floor) continue;
      ++either;
      same += ca == cb;
    }
  return either == 0 ? 0.0 : static_cast<double>(same) / either;
}

std::vector<RoomPair> AlikeRooms(const std::vector<LevelBytes>& levels) {
  std::vector<RoomPair> pairs;
  const int n = static_cast<int>(levels.size());
  for (int la = 0; la < n; ++la)
    for (int lb = la + 1; lb < n; ++lb)
      for (int ra = 0; ra < LevelRoomCount; ++ra)
        for (int rb = 0; rb < LevelRoomCount; ++rb)
          pairs.push_back({la, ra, lb, rb, RoomShare(levels[la], ra, levels[lb], rb)});
  std::stable_sort(pairs.begin(), pairs.end(), [](const RoomPair& p, const RoomPair& q) { return p.share > q.share; });
  return pairs;
}

int InnerCells(const LevelBytes& level, int room) {
  int count = 0;
  for (int y = 1; y + 1 < RoomH; ++y)
    for (int x = 1; x + 1 < RoomW; ++x) count += At(level, room, x, y) != Cell::Floor;
  return count;
}

int FourCornerCopy(const LevelBytes& level, int room) {
  for (int y = 0; y < CornerRows; ++y)
    for (int x = 0; x < CornerColumns; ++x) {
      const int c = At(level, room, x, y);
      if (c == Cell::Floor || IsWall(c)) continue;
      if (At(level, room, RoomW - 1 - x, y) == c && At(level, room, x, RoomH - 1 - y) == c &&
          At(level, room, RoomW - 1 - x, RoomH - 1 - y) == c)
        return c;
    }
  return -1;
}

ThreatCount CountThreats(const LevelBytes& level) {
  ThreatCount t;
  for (int n = 0; n < LevelCellBytes; ++n) {
    const CellCode c = LevelValue(level[static_cast<std::size_t>(n)]);
    if (c >= Cell::Ant && c <= Cell::Pig) ++t.creatures;
    else if ((c >= Cell::AntP && c <= Cell::HorseP) || (c >= Cell::PigP1 && c <= Cell::PigP5)) ++t.producers;
    else if (c == Cell::FireP) ++t.dartProducers;
    else if (c >= Cell::LaserSet3P3 && c <= Cell::LaserSet4P5) ++t.lasers;
    else if (c == Cell::DeathField) ++t.mines;
  }
  return t;
}

double RankCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
  if (x.size() != y.size() || x.size() < 2) return 0;
  const std::vector<double> rx = Ranks(x), ry = Ranks(y);
  const double n = static_cast<double>(x.size());
  const double mean = (n + 1) / 2;
  double sxy = 0, sxx = 0, syy = 0;
  for (std::size_t i = 0; i < rx.size(); ++i) {
    sxy += (rx[i] - mean) * (ry[i] - mean);
    sxx += (rx[i] - mean) * (rx[i] - mean);
    syy += (ry[i] - mean) * (ry[i] - mean);
  }
  return sxx == 0 || syy == 0 ? 0 : sxy / std::sqrt(sxx * syy);
}
