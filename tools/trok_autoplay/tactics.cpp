#include "trok_autoplay/tactics.h"

#include <algorithm>
#include <cstdlib>

#include "world/direction.h"

namespace {

constexpr int KeepOffSteps = 6;
constexpr int BackCost = 1;
constexpr int UntriedSlideCost = 60;  // per cell of the room just left  // of the leader's way, which the partner keeps off

bool Active(const PlayerState& p) { return !p.Dead && !p.Warped; }

bool OnLine(int a, int b, int dir) {
  return dir == Dir::Up || dir == Dir::Down ? WorldMap::LocalY(a) == WorldMap::LocalY(b) : WorldMap::LocalX(a) == WorldMap::LocalX(b);
}

// Where the other player may wait: safe, and no key it would use up.
bool FreeToStand(CellCode c) { return c != Cell::Key && Standable(c); }

bool Visits(const Path& path, int cell) {
  for (const PathStep& s : path.steps)
    if (s.to == cell) return true;
  return false;
}

}  // namespace

std::string Tactics::GoalText() const {
  if (finishInReach_ || next_ >= plan_.goals.size()) return "finish";
  const Goal& g = plan_.goals[next_];
  return std::string(GoalName(g.kind)) + " at " + CellName(g.cell);
}

Intent Tactics::Lead(const WorldMap& map, const PlayerState& me, const Dangers& dangers, int partner, Path& path) {
  while (next_ < plan_.goals.size()) {
    const Goal& g = plan_.goals[next_];
    const CellCode now = map.At(g.cell);
    if ((g.kind == Goal::Kind::Key && now != Cell::Key) || (g.kind == Goal::Kind::Door && now != Cell::Door)) ++next_;
    else break;
  }
  std::vector<int> finishes;
  for (std::size_t c = 0; c < map.cells.size(); ++c)
    if (map.cells[c] == Cell::Finish) finishes.push_back(static_cast<int>(c));
  // Going back to the room just left costs a little more, so that two ways of nearly
  // the same cost do not send the leader to and fro across an edge.
  const int room = map.roomX * 10 + map.roomY;
  if (room != room_) {
    previousRoom_ = room_;
    room_ = room;
  }
  std::vector<int> extra = dangers.extra;
  if (previousRoom_ >= 0)
    for (int y = 0; y < WorldMap::RoomH; ++y)
      for (int x = 0; x < WorldMap::RoomW; ++x)
        extra[static_cast<std::size_t>(WorldMap::InRoom(previousRoom_ / 10, previousRoom_ % 10, x, y))] += BackCost;
  PathRules rules;
  rules.keys = me.Keys;
  rules.extra = &extra;
  Intent intent = Steer(map, me, dangers, finishes, rules, path, partner);
  finishInReach_ = path.found;
  if (!path.found && next_ < plan_.goals.size()) {
    const Goal& g = plan_.goals[next_];
    if (g.kind == Goal::Kind::Door) rules.door = g.cell;
    intent = Steer(map, me, dangers, {g.cell}, rules, path, partner);
    if (!path.found) {
      rules.anyDoor = true;
      intent = Steer(map, me, dangers, {g.cell}, rules, path, partner);
    }
  }
  costLeft_ = path.found ? path.cost : -1;
  return intent;
}

namespace {

// Where the leader can walk to from its landing, doors opened: a partner's landing
// must be on it or next to it.
std::vector<int> BeyondExit(const WorldMap& map, int exit, int dir) {
  const int leaderLanding = WorldMap::Landing(exit, dir);
  if (leaderLanding < 0) return {};
  PathRules open;
  open.keys = 1;
  open.anyDoor = true;
  return CostsInRoom(map, leaderLanding, open);
}

bool LandsBeside(const WorldMap& map, int cell, int dir, const std::vector<int>& beyond) {
  const int landing = WorldMap::Landing(cell, dir);
  if (beyond.empty() || landing < 0 || map.At(landing) == Cell::Key || map.At(landing) == Cell::Finish) return false;
  bool joined = beyond[static_cast<std::size_t>(landing)] >= 0;
  for (int n = 1; n <= 8 && !joined; ++n) {
    const int m = WorldMap::StepInRoom(landing, n);
    joined = m >= 0 && beyond[static_cast<std::size_t>(m)] >= 0;
  }
  return joined;
}

}  // namespace

int PartnerCrossingCell(const WorldMap& map, int exit, int dir, int partnerCell, const PathRules& partnerRules) {
  const std::vector<int> beyond = BeyondExit(map, exit, dir);
  if (beyond.empty()) return -1;
  const std::vector<int> here = CostsInRoom(map, partnerCell, partnerRules);
  int best = -1, bestScore = 1 << 30;
  for (int k = 0; k < (dir == 1 || dir == 5 ? WorldMap::RoomW : WorldMap::RoomH); ++k) {
    const int x = dir == 1 || dir == 5 ? k : WorldMap::LocalX(exit);
    const int y = dir == 1 || dir == 5 ? WorldMap::LocalY(exit) : k;
    const int c = WorldMap::InRoom(WorldMap::RoomXOf(exit), WorldMap::RoomYOf(exit), x, y);
    if (c == exit || (c != partnerCell && !FreeToStand(map.At(c)))) continue;
    const int cost = here[static_cast<std::size_t>(c)];
    if (cost < 0) continue;
    if (!LandsBeside(map, c, dir, beyond)) continue;
    const int score = cost + 2 * (std::abs(x - WorldMap::LocalX(exit)) + std::abs(y - WorldMap::LocalY(exit)));
    if (score < bestScore) {
      bestScore = score;
      best = c;
    }
  }
  return best;
}

Intent Tactics::Follow(const WorldMap& map, const PlayerState& me, const PlayerState& leader, const Path& leaderPath,
                       const Dangers& dangers) {
  const int here = PlayerCell(map, me);
  const int leaderCell = PlayerCell(map, leader);
  std::vector<int> extra = dangers.extra;
  std::vector<char> onWay(map.cells.size(), 0);
  int exit = -1, exitDir = 0;
  for (std::size_t k = 0; k < leaderPath.steps.size(); ++k) {
    const PathStep& s = leaderPath.steps[k];
    if (!map.InCurrentRoom(s.from)) break;
    if (s.kind == StepKind::Cross) {
      exit = s.from;
      exitDir = s.dir;
      break;
    }
    if (k < KeepOffSteps) {
      onWay[static_cast<std::size_t>(s.to)] = 1;
      extra[static_cast<std::size_t>(s.to)] += 5;
    }
  }
  // A slide off the leader's steps may strand the partner where the leader cannot be
  // reached; one that ends on them is known to lead on.
  std::vector<char> tried(map.cells.size(), 0);
  for (int c : trail_) tried[static_cast<std::size_t>(c)] = 1;
  PathRules rules;
  rules.leaveKeys = true;
  rules.extra = &extra;
  rules.untriedSlideCost = UntriedSlideCost;
  rules.tried = &tried;
  Path path;
  if (exit >= 0) {
    // On the leader's own exit, with the leader stepped along the edge: both cross
    // where they stand.
    const bool onLeadersExit = here == exit && leaderCell != exit && OnLine(leaderCell, exit, exitDir) &&
                               LandsBeside(map, leaderCell, exitDir, BeyondExit(map, exit, exitDir));
    // Standing on the edge line is not enough: an opening of a parallel lane on the
    // same edge lands where the leader cannot be joined.
    const bool besideExit = OnLine(here, exit, exitDir) && here != exit &&
                            LandsBeside(map, here, exitDir, BeyondExit(map, exit, exitDir));
    if (besideExit || onLeadersExit) {
      if (onLeadersExit) leaderCross_ = exitDir;
      Intent cross;
      cross.dir = exitDir;
      cross.doing = "cross beside the leader";
      return cross;
    }
    // A leader waiting on its exit does not pass by: a way through it is no way.
    WorldMap held = map;
    if (leaderCell == exit) held.At(leaderCell) = Cell::BrickSolid;
    int spot = PartnerCrossingCell(held, exit, exitDir, here, rules);
    if (spot < 0) {
      // The leader may stand in the only way to the edge: plan as if it had stepped aside.
      WorldMap without = map;
      without.At(leaderCell) = Cell::Floor;
      spot = PartnerCrossingCell(without, exit, exitDir, here, rules);
      if (spot >= 0) {
        Intent intent = Steer(map, me, dangers, {spot}, rules, path, leaderCell);
        // A leader on its way to the exit moves on by itself; one waiting on the edge
        // line makes way along it if it can (the partner takes the leader's exit, the
        // leader the spot, which joins up beyond), else it stands aside.
        if (Visits(path, leaderCell) && (leaderCell == exit || leaderCell == spot)) {
          Path toExit;
          const Intent takeExit = Steer(map, me, dangers, {exit}, rules, toExit, leaderCell);
          if (toExit.found && (leaderCell == exit || !Visits(toExit, leaderCell))) {
            leaderTo_ = spot;
            intent = takeExit;
            path = toExit;
          } else {
            for (const PathStep& s : path.steps) yieldWay_.push_back(s.to);
            yieldWay_.push_back(exit);
          }
        }
        if (intent.doing.empty() || intent.doing.rfind("wait", 0) == 0) intent.doing = "line up past the leader";
        return intent;
      }
    }
    if (spot >= 0) {
      Intent intent = Steer(held, me, dangers, {spot}, rules, path);
      if (intent.doing.empty()) intent.doing = "line up at " + CellName(spot);
      return intent;
    }
  }
  // Following, only the leader's own slides: another may end where it cannot be found.
  rules.untriedSlideCost = -1;
  std::vector<int> near;
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      const int x = WorldMap::LocalX(leaderCell) + dx, y = WorldMap::LocalY(leaderCell) + dy;
      if ((dx == 0 && dy == 0) || x < 0 || x >= WorldMap::RoomW || y < 0 || y >= WorldMap::RoomH) continue;
      const int c = WorldMap::InRoom(map.roomX, map.roomY, x, y);
      if (onWay[static_cast<std::size_t>(c)] || (c != here && !FreeToStand(map.At(c)))) continue;
      near.push_back(c);
    }
  for (int c : near)
    if (c == here) return Intent{0, false, false, "stay near the leader"};
  // The leader's own steps in this room are a way that works (slides included): any
  // of them after the last one the partner stands on will do.
  const auto mine = std::find(trail_.rbegin(), trail_.rend(), here);
  for (auto c = trail_.begin() + (mine == trail_.rend() ? 0 : trail_.rend() - mine); c != trail_.end(); ++c)
    if (*c != leaderCell) near.push_back(*c);
  Intent intent = Steer(map, me, dangers, near, rules, path);
  if (intent.doing.empty()) intent.doing = "follow the leader";
  return intent;
}

Intent StandAside(const WorldMap& map, const PlayerState& me, const Dangers& dangers, const std::vector<int>& way) {
  const int here = PlayerCell(map, me);
  auto onWay = [&](int c) { return std::find(way.begin(), way.end(), c) != way.end(); };
  Intent intent;
  intent.doing = "stand aside for the partner";
  if (!onWay(here)) return intent;
  std::vector<int> off;
  for (int y = 0; y < WorldMap::RoomH; ++y)
    for (int x = 0; x < WorldMap::RoomW; ++x) {
      const int c = WorldMap::InRoom(map.roomX, map.roomY, x, y);
      if (!onWay(c) && FreeToStand(map.At(c)) && !dangers.deadly[static_cast<std::size_t>(c)]) off.push_back(c);
    }
  PathRules rules;
  rules.extra = &dangers.extra;
  Path path;
  intent = Steer(map, me, dangers, off, rules, path);
  intent.doing = "stand aside for the partner";
  return intent;
}

namespace {

Intent MakeWayAlongEdge(const WorldMap& map, const PlayerState& me, const Dangers& dangers, int spot) {
  PathRules rules;
  rules.keys = me.Keys;
  rules.extra = &dangers.extra;
  Path path;
  Intent intent = Steer(map, me, dangers, {spot}, rules, path);
  if (intent.doing.empty()) intent.doing = "make way along the edge";
  return intent;
}

}  // namespace

std::array<Intent, 2> Tactics::Decide(const WorldMap& map, const Game& game) {
  std::array<Intent, 2> intents;
  const Dangers dangers = DangersOf(map, game.Clock);
  const bool two = game.PlayerCount == 2;
  const int leader = Active(game.Player1) ? 1 : (two && Active(game.Player2)) ? 2 : 0;
  if (leader == 0) return intents;
  const PlayerState& lead = leader == 1 ? game.Player1 : game.Player2;
  const int leaderCell = PlayerCell(map, lead);
  if (!map.InCurrentRoom(trail_.empty() ? -1 : trail_.back()) || leader != trailOf_) trail_.clear();
  trailOf_ = leader;
  if (trail_.empty() || trail_.back() != leaderCell) trail_.push_back(leaderCell);
  Path leaderPath;
  const bool partnered = two && leader == 1 && Active(game.Player2);
  Intent leaderIntent = Lead(map, lead, dangers, partnered ? PlayerCell(map, game.Player2) : -1, leaderPath);
  const Intent reflex = Reflexes(map, lead, dangers);
  if (!reflex.doing.empty()) leaderIntent = reflex;
  intents[static_cast<std::size_t>(leader - 1)] = leaderIntent;
  if (partnered) {
    yieldWay_.clear();
    leaderTo_ = -1;
    leaderCross_ = 0;
    Intent partnerIntent = Follow(map, game.Player2, lead, leaderPath, dangers);
    if (reflex.doing.empty()) {
      if (!yieldWay_.empty()) intents[0] = StandAside(map, lead, dangers, yieldWay_);
      if (leaderTo_ >= 0) intents[0] = MakeWayAlongEdge(map, lead, dangers, leaderTo_);
      if (leaderCross_ != 0) intents[0] = Intent{leaderCross_, false, false, "cross beside the partner"};
    }
    const Intent partnerReflex = Reflexes(map, game.Player2, dangers);
    if (!partnerReflex.doing.empty()) partnerIntent = partnerReflex;
    intents[1] = partnerIntent;
  }
  return intents;
}
