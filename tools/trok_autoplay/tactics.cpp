#include "trok_autoplay/tactics.h"

#include <cstdlib>

#include "world/direction.h"

namespace {

constexpr int KeepOffSteps = 6;  // of the leader's way, which the partner keeps off

bool Active(const PlayerState& p) { return !p.Dead && !p.Warped; }

bool OnLine(int a, int b, int dir) {
  return dir == 1 || dir == 5 ? WorldMap::LocalY(a) == WorldMap::LocalY(b) : WorldMap::LocalX(a) == WorldMap::LocalX(b);
}

bool FreeToStand(CellCode c) {
  return c == Cell::Floor || c == Cell::Health || c == Cell::Bomb || c == Cell::Money || c == Cell::Shield;
}

}  // namespace

std::string Tactics::GoalText() const {
  if (finishInReach_ || next_ >= plan_.goals.size()) return "finish";
  const Goal& g = plan_.goals[next_];
  return std::string(GoalName(g.kind)) + " at " + CellName(g.cell);
}

Intent Tactics::Lead(const WorldMap& map, const PlayerState& me, const Dangers& dangers, Path& path) {
  while (next_ < plan_.goals.size()) {
    const Goal& g = plan_.goals[next_];
    const CellCode now = map.At(g.cell);
    if ((g.kind == Goal::Kind::Key && now != Cell::Key) || (g.kind == Goal::Kind::Door && now != Cell::Door)) ++next_;
    else break;
  }
  std::vector<int> finishes;
  for (std::size_t c = 0; c < map.cells.size(); ++c)
    if (map.cells[c] == Cell::Finish) finishes.push_back(static_cast<int>(c));
  PathRules rules;
  rules.keys = me.Keys;
  rules.extra = &dangers.extra;
  Intent intent = Steer(map, me, dangers, finishes, rules, path);
  finishInReach_ = path.found;
  if (!path.found && next_ < plan_.goals.size()) {
    const Goal& g = plan_.goals[next_];
    if (g.kind == Goal::Kind::Door) rules.door = g.cell;
    intent = Steer(map, me, dangers, {g.cell}, rules, path);
    if (!path.found) {
      rules.anyDoor = true;
      intent = Steer(map, me, dangers, {g.cell}, rules, path);
    }
  }
  costLeft_ = path.found ? path.cost : -1;
  return intent;
}

int PartnerCrossingCell(const WorldMap& map, int exit, int dir, int partnerCell, const PathRules& partnerRules) {
  const int leaderLanding = WorldMap::Landing(exit, dir);
  if (leaderLanding < 0) return -1;
  PathRules open;
  open.keys = 1;
  open.anyDoor = true;
  const std::vector<int> beyond = CostsInRoom(map, leaderLanding, open);
  const std::vector<int> here = CostsInRoom(map, partnerCell, partnerRules);
  int best = -1, bestScore = 1 << 30;
  for (int k = 0; k < (dir == 1 || dir == 5 ? WorldMap::RoomW : WorldMap::RoomH); ++k) {
    const int x = dir == 1 || dir == 5 ? k : WorldMap::LocalX(exit);
    const int y = dir == 1 || dir == 5 ? WorldMap::LocalY(exit) : k;
    const int c = WorldMap::InRoom(WorldMap::RoomXOf(exit), WorldMap::RoomYOf(exit), x, y);
    if (c == exit || (c != partnerCell && !FreeToStand(map.At(c)))) continue;
    const int cost = here[static_cast<std::size_t>(c)];
    if (cost < 0) continue;
    const int landing = WorldMap::Landing(c, dir);
    if (landing < 0 || map.At(landing) == Cell::Key || map.At(landing) == Cell::Finish) continue;
    bool joined = beyond[static_cast<std::size_t>(landing)] >= 0;
    for (int n = 1; n <= 8 && !joined; ++n) {
      const int m = WorldMap::StepInRoom(landing, n);
      joined = m >= 0 && beyond[static_cast<std::size_t>(m)] >= 0;
    }
    if (!joined) continue;
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
  PathRules rules;
  rules.leaveKeys = true;
  rules.extra = &extra;
  Path path;
  if (exit >= 0) {
    if (OnLine(here, exit, exitDir) && here != exit) {
      Intent cross;
      cross.dir = exitDir;
      cross.doing = "cross beside the leader";
      return cross;
    }
    const int spot = PartnerCrossingCell(map, exit, exitDir, here, rules);
    if (spot >= 0) {
      Intent intent = Steer(map, me, dangers, {spot}, rules, path);
      if (intent.doing.empty()) intent.doing = "line up at " + CellName(spot);
      return intent;
    }
  }
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
  Intent intent = Steer(map, me, dangers, near, rules, path);
  if (intent.doing.empty()) intent.doing = "follow the leader";
  return intent;
}

std::array<Intent, 2> Tactics::Decide(const WorldMap& map, const Game& game) {
  std::array<Intent, 2> intents;
  const Dangers dangers = DangersOf(map, game.Clock);
  const bool two = game.PlayerCount == 2;
  const int leader = Active(game.Player1) ? 1 : (two && Active(game.Player2)) ? 2 : 0;
  if (leader == 0) return intents;
  const PlayerState& lead = leader == 1 ? game.Player1 : game.Player2;
  Path leaderPath;
  Intent leaderIntent = Lead(map, lead, dangers, leaderPath);
  const Intent reflex = Reflexes(map, lead, dangers);
  if (!reflex.doing.empty()) leaderIntent = reflex;
  intents[static_cast<std::size_t>(leader - 1)] = leaderIntent;
  if (two && leader == 1 && Active(game.Player2)) {
    Intent partnerIntent = Follow(map, game.Player2, lead, leaderPath, dangers);
    const Intent partnerReflex = Reflexes(map, game.Player2, dangers);
    if (!partnerReflex.doing.empty()) partnerIntent = partnerReflex;
    intents[1] = partnerIntent;
  }
  return intents;
}
