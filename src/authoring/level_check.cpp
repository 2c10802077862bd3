#include "authoring/level_check.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "world/cell_codes.h"
#include "world/direction.h"
#include "world/world_grid.h"

// What the search believes about each cell (see "How the checker judges a level" in
// levels/README.md). It errs on the side of "unreachable": whatever is uncertain counts
// as a wall, so a level it passes can be finished.

namespace {

constexpr int WorldW = GridRoomsAcross * GridRoomWidth;   // 100
constexpr int WorldH = GridRoomsDown * GridRoomHeight;    // 60
constexpr int WorldCells = WorldW * WorldH;
constexpr int LevelLeft = GridRoomWidth;                  // level column 0 in world columns
constexpr int LevelTop = GridRoomHeight;
constexpr int SlideLimit = 2200;

using Bits = std::bitset<WorldCells>;

enum class Kind : uint8_t {
  Floor,      // walkable and lets shots through
  Item,       // walkable pick-up; stops shots until collected
  Key,        // walkable; a key when collected
  Door,       // needs a key, then floor
  Finish,
  Slide,
  Deadly,     // death field or a standing beam: never entered
  Shootable,  // in the way until shot from a cell in line with it
  Pig,        // cannot be shot; it walks into a player standing next to it and is gone
  Wall,       // everything else, including what the search does not rely on
};

int Index(int wx, int wy) { return wy * WorldW + wx; }
int WorldX(int i) { return i % WorldW; }
int WorldY(int i) { return i / WorldW; }
int RoomXOf(int i) { return WorldX(i) / GridRoomWidth; }
int RoomYOf(int i) { return WorldY(i) / GridRoomHeight; }
int LocalX(int i) { return WorldX(i) % GridRoomWidth; }
int LocalY(int i) { return WorldY(i) % GridRoomHeight; }

bool IsLaserRight(int c) { return c == 52 || c == 54 || c == 56 || c == 58; }
bool IsLaserDown(int c) { return c == 53 || c == 55 || c == 57 || c == 59; }

Kind KindOfCode(int c) {
  switch (c) {
    case Cell::Floor: return Kind::Floor;
    case Cell::Health: case Cell::Bomb: case Cell::Money: case Cell::Shield: return Kind::Item;
    case Cell::Key: return Kind::Key;
    case Cell::Door: return Kind::Door;
    case Cell::Finish: return Kind::Finish;
    case Cell::SlideFieldOmni: case Cell::SlideRight: case Cell::SlideLeft:
    case Cell::SlideUp: case Cell::SlideDown: return Kind::Slide;
    case Cell::DeathField: return Kind::Deadly;
    case Cell::BrickShootable: case Cell::Star: case Cell::Heart: return Kind::Shootable;
    case Cell::Pig: return Kind::Pig;
    default: break;
  }
  if (CodeIsLaserBeam(c)) return Kind::Deadly;
  if (c >= Cell::Ant && c <= Cell::Horse) return Kind::Shootable;  // Pig handled above
  if (c >= Cell::AntP && c <= Cell::HorseP) return Kind::Shootable;
  // Pig producers grow into the adult, which nothing removes: never relied on.
  return Kind::Wall;
}

const char* NameOfCode(int c) {
  static const std::unordered_map<int, const char*> names = {
      {0, "Floor"}, {1, "wall"}, {2, "Ant"}, {3, "Devil"}, {4, "Cow"}, {5, "Chigger"},
      {6, "Frog"}, {7, "Horse"}, {8, "Pig"}, {9, "Ant producer"}, {10, "Devil producer"},
      {11, "Cow producer"}, {12, "Frog producer"}, {13, "random producer"},
      {14, "Horse producer"}, {15, "Heart"}, {16, "health kit"}, {17, "bomb"},
      {18, "gold"}, {19, "key"}, {20, "door"}, {21, "enemy-passable wall"},
      {22, "shootable wall"}, {23, "Start"}, {24, "Finish"}, {25, "player 1 marker"},
      {26, "player 2 marker"}, {31, "fire-dart producer"}, {32, "Star"},
      {33, "pig producer"}, {34, "pig producer"}, {35, "pig producer"},
      {36, "pig producer"}, {37, "adult pig producer"}, {38, "death field"},
      {39, "omni slide"}, {40, "laser beam"}, {41, "laser beam"}, {42, "shield"},
      {48, "slide right"}, {49, "slide left"}, {50, "slide up"}, {51, "slide down"},
      {80, "edge wall"}};
  if (auto it = names.find(c); it != names.end()) return it->second;
  if (c >= 52 && c <= 59) return "laser";
  if (c >= 60 && c <= 67) return "fire dart";
  return "object without a picture";
}

struct Model {
  std::array<int16_t, WorldCells> code{};
  std::array<Kind, WorldCells> kind{};
  std::vector<bool> beam = std::vector<bool>(WorldCells, false);
  std::vector<int> starts;  // in the loader's search order
  int start = -1, start1 = -1, start2 = -1;
  std::vector<int> finishes;
  std::vector<int> doors;
  mutable std::vector<int> slideEnd = std::vector<int>(WorldCells * 9, -2);

  bool Standable(const Bits& cleared, int i) const {
    const Kind k = kind[i];
    return cleared[i] || k == Kind::Floor || k == Kind::Item || k == Kind::Key;
  }
  bool LetsShotThrough(const Bits& cleared, int i) const {
    return cleared[i] || kind[i] == Kind::Floor;
  }

  // Where a slide entered at `cell` walking in `dir` stops, or -1 when it is refused
  // (it would leave the room or runs in a circle).
  int SlideEnd(int cell, int dir) const {
    int& memo = slideEnd[cell * 9 + dir];
    if (memo != -2) return memo;
    const int rx = RoomXOf(cell), ry = RoomYOf(cell);
    int x = LocalX(cell), y = LocalY(cell), e = dir;
    int result = -1;
    for (int examined = 0;; ++examined) {
      if (WorldGrid::OutsideRoom(x, y) || examined >= SlideLimit) break;
      const int i = Index(rx * GridRoomWidth + x, ry * GridRoomHeight + y);
      if (kind[i] != Kind::Slide) {
        result = i;
        break;
      }
      switch (code[i]) {
        case Cell::SlideRight: e = 3; break;
        case Cell::SlideLeft: e = 7; break;
        case Cell::SlideUp: e = 1; break;
        case Cell::SlideDown: e = 5; break;
        default: break;  // omni keeps the direction
      }
      x += DirDx[e];
      y += DirDy[e];
    }
    memo = result;
    return result;
  }

  // The cell a player walking out of the room from `cell` in `dir` lands on, or -1
  // when there is no room that way.
  static int Landing(int cell, int dir) {
    const int x = LocalX(cell), y = LocalY(cell);
    const int w = GridRoomWidth, h = GridRoomHeight;
    int leave = dir;
    switch (dir) {
      case 2: leave = (x + 1 == w && y == 0) ? 2 : (y != 0 ? 3 : 1); break;
      case 4: leave = (x + 1 == w && y + 1 == h) ? 4 : (y + 1 == h ? 5 : 3); break;
      case 6: leave = (x == 0 && y + 1 == h) ? 6 : (x != 0 ? 5 : 7); break;
      case 8: leave = (x == 0 && y == 0) ? 8 : (y != 0 ? 7 : 1); break;
      default: break;
    }
    const int rx = RoomXOf(cell) + DirDx[leave], ry = RoomYOf(cell) + DirDy[leave];
    if (rx < 0 || ry < 0 || rx >= GridRoomsAcross || ry >= GridRoomsDown) return -1;
    int nx = x, ny = y;
    if (DirDx[leave] > 0) nx = 0;
    if (DirDx[leave] < 0) nx = w - 1;
    if (DirDy[leave] > 0) ny = 0;
    if (DirDy[leave] < 0) ny = h - 1;
    return Index(rx * w + nx, ry * h + ny);
  }

  // The entry cell is overwritten by the arriving player. Landing where that loses
  // something the search counts on (a key, the Finish, a slide) is not relied on.
  bool LandingAllowed(const Bits& cleared, int cell) const {
    const Kind k = kind[cell];
    if (k == Kind::Finish || k == Kind::Slide) return false;
    if (k == Kind::Key && !cleared[cell]) return false;
    return true;
  }
};

Model BuildModel(const LevelBytes& bytes) {
  Model m;
  WorldGrid grid;  // the ring of floor rooms and its frame, as the game clears it
  for (int wy = 0; wy < WorldH; ++wy)
    for (int wx = 0; wx < WorldW; ++wx)
      m.code[Index(wx, wy)] = grid.RoomCell(wx / GridRoomWidth, wy / GridRoomHeight,
                                            wx % GridRoomWidth, wy % GridRoomHeight);
  for (int n = 0; n < LevelCellBytes; ++n)
    m.code[Index(LevelLeft + n % LevelColumns, LevelTop + n / LevelColumns)] =
        LevelValue(bytes[n]);

  // The loader's order: room row, room column, cell row, cell column.
  for (int ry = 0; ry < GridRoomsDown; ++ry)
    for (int rx = 0; rx < GridRoomsAcross; ++rx)
      for (int y = 0; y < GridRoomHeight; ++y)
        for (int x = 0; x < GridRoomWidth; ++x) {
          const int i = Index(rx * GridRoomWidth + x, ry * GridRoomHeight + y);
          if (m.code[i] == Cell::Start) m.starts.push_back(i);
        }

  for (int i = 0; i < WorldCells; ++i) {
    m.kind[i] = KindOfCode(m.code[i]);
    if (m.code[i] == Cell::Finish) m.finishes.push_back(i);
  }
  // A beam overwrites its cell from time to time: a pick-up there can still be walked
  // over between shots (a key there is not counted on), anything else is not relied on.
  for (int i = 0; i < WorldCells; ++i) {
    int target = -1;
    if (IsLaserRight(m.code[i]) && LocalX(i) + 1 < GridRoomWidth) target = i + 1;
    if (IsLaserDown(m.code[i]) && LocalY(i) + 1 < GridRoomHeight) target = i + WorldW;
    if (target < 0) continue;
    m.beam[target] = true;
    const Kind k = m.kind[target];
    m.kind[target] = (k == Kind::Floor) ? Kind::Floor
                     : (k == Kind::Item || k == Kind::Key) ? Kind::Item
                                                           : Kind::Wall;
  }
  if (!m.starts.empty()) {
    m.start = m.starts.front();
    const int x = LocalX(m.start);
    if (x >= 1 && x + 1 < GridRoomWidth) {
      m.start1 = m.start - 1;
      m.start2 = m.start + 1;
    }
  }
  for (int i = 0; i < WorldCells; ++i)
    if (m.kind[i] == Kind::Door) m.doors.push_back(i);
  return m;
}

bool PlayerCanEnterCode(int c) {
  return c == 0 || (c >= 16 && c <= 20) || c == 24 || (c >= 33 && c <= 36) || c == 38 ||
         c == 39 || CodeIsLaserBeam(c) || c == 42 || (c >= 48 && c <= 51);
}

struct Edge {
  int from, to;
  uint8_t type;  // 0 walk, 1 slide, 2 room crossing
};

struct ClosureResult {
  std::vector<int> reach;      // every cell the player can get to (F)
  std::vector<char> inStrong;  // cells the player can get to and back from (S)
  int canonical = -1;
  std::vector<Edge> leaving;   // one-way moves out of S
  std::vector<std::pair<int, int>> doorOptions;  // (from, door) with from in S
  int goalFrom = -1;
  std::vector<std::string> gains;
};

struct State {
  int pos = -1;
  Bits cleared;
  int keys = 0;
  int parent = -1;
  std::string action;
  int partnerLanding = -1;  // two players: where the partner came into the room
};

uint64_t Mix(uint64_t h, uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  return h;
}

class Search {
 public:
  Search(const Model& model, bool team, const CheckOptions& options)
      : m_(model), team_(team), options_(options) {
    stamp_.assign(WorldCells, 0);
    backStamp_.assign(WorldCells, 0);
  }

  // With `exhaustive`, goes on after the Finish is found, to look for states from
  // which it can no longer be reached (a player stuck for good).
  ModeResult Run(bool exhaustive) {
    ModeResult result;
    result.searched = true;
    std::vector<State> stack;
    State first;
    first.pos = m_.start1;
    first.action = "start at " + Where(m_.start1);
    stack.push_back(first);

    std::unordered_map<uint64_t, int> rawNode;  // state before its closure -> node
    std::unordered_map<uint64_t, std::vector<std::pair<Bits, int>>> closedSeen;
    struct Node {
      int parent;
      std::string text;
      bool goal = false;
      std::vector<int> next;
    };
    std::vector<Node> nodes;
    auto link = [&](int from, int to) {
      if (from >= 0 && to >= 0) nodes[from].next.push_back(to);
    };

    while (!stack.empty()) {
      State s = std::move(stack.back());
      stack.pop_back();
      const uint64_t raw = Mix(Mix(std::hash<Bits>{}(s.cleared), s.pos), s.keys);
      if (auto seen = rawNode.find(raw); seen != rawNode.end()) {
        link(s.parent, seen->second);
        continue;
      }
      rawNode[raw] = -1;

      ClosureResult c = Closure(s);
      if (s.partnerLanding >= 0 && !c.inStrong[s.partnerLanding]) continue;
      if (s.parent < 0) {
        startsJoined_ = c.inStrong[m_.start2];
        if (team_ && !startsJoined_) break;
      }

      // A state is as good as an earlier one that stood in the same place with the
      // same doors open and at least everything else done.
      uint64_t doorHash = 0;
      for (int d : m_.doors) doorHash = Mix(doorHash, s.cleared[d] ? d + 1 : 0);
      auto& seenHere = closedSeen[Mix(doorHash, c.canonical)];
      int dominator = -1;
      for (const auto& [other, node] : seenHere)
        if ((s.cleared & ~other).none()) {
          dominator = node;
          break;
        }
      if (dominator >= 0) {
        rawNode[raw] = dominator;
        link(s.parent, dominator);
        continue;
      }

      std::string text = s.action;
      if (!c.gains.empty()) {
        text += "; then ";
        for (std::size_t g = 0; g < c.gains.size(); ++g) text += (g ? ", " : "") + c.gains[g];
      }
      nodes.push_back({s.parent, std::move(text)});
      const int me = static_cast<int>(nodes.size()) - 1;
      seenHere.push_back({s.cleared, me});
      rawNode[raw] = me;
      link(s.parent, me);
      if (++result.states > options_.stateLimit) {
        result.gaveUp = true;
        break;
      }
      if (c.goalFrom >= 0) {
        nodes[me].goal = true;
        if (!result.reachable && options_.wantRoute) {
          std::vector<std::string> route;
          route.push_back("step onto the Finish from " + Where(c.goalFrom));
          for (int n = me; n >= 0; n = nodes[n].parent) route.push_back(nodes[n].text);
          std::reverse(route.begin(), route.end());
          result.route = std::move(route);
        }
        result.reachable = true;
        if (!exhaustive) return result;
      }

      for (const Edge& e : c.leaving) {
        State next;
        next.pos = e.to;
        next.cleared = s.cleared;
        next.keys = s.keys;
        next.parent = me;
        next.action = (e.type == 1 ? "slide from " : e.type == 2 ? "cross from " : "go from ") +
                      Where(e.from) + " to " + Where(e.to);
        stack.push_back(std::move(next));
      }
      if (team_) PushTeamCrossings(s, c, me, stack);
      if (s.keys > 0)
        for (const auto& [from, door] : c.doorOptions) {
          State next;
          next.pos = door;
          next.cleared = s.cleared;
          next.cleared.set(door);
          next.keys = s.keys - 1;
          next.parent = me;
          next.action = "open the door at " + Where(door) + " (" + std::to_string(next.keys) +
                        (next.keys == 1 ? " key" : " keys") + " left)";
          stack.push_back(std::move(next));
        }
    }

    if (exhaustive && !result.gaveUp && !nodes.empty()) {
      // Which states can still lead to the Finish: backwards from the goal states.
      std::vector<std::vector<int>> before(nodes.size());
      for (std::size_t n = 0; n < nodes.size(); ++n)
        for (int to : nodes[n].next) before[to].push_back(static_cast<int>(n));
      std::vector<char> alive(nodes.size(), 0);
      std::vector<int> queue;
      for (std::size_t n = 0; n < nodes.size(); ++n)
        if (nodes[n].goal) {
          alive[n] = 1;
          queue.push_back(static_cast<int>(n));
        }
      for (std::size_t q = 0; q < queue.size(); ++q)
        for (int from : before[queue[q]])
          if (!alive[from]) {
            alive[from] = 1;
            queue.push_back(from);
          }
      // Report the moves that lead from a hopeful state into a hopeless one.
      for (std::size_t n = 0; n < nodes.size(); ++n) {
        if (alive[n]) continue;
        const int parent = nodes[n].parent;
        if (parent >= 0 && !alive[parent]) continue;
        result.deadEnds.push_back(parent < 0 ? "the Finish cannot be reached from the start"
                                             : nodes[n].text);
      }
    }
    return result;
  }

  bool StartsJoined() const { return startsJoined_; }

  static std::string Where(int i) { return DescribeWorldCell(WorldX(i), WorldY(i)); }

 private:
  // Moves the search into all the player can do without committing to anything:
  // collect keys and items, shoot what is in line, let pigs run into it; repeated
  // until nothing more changes. Updates the state's cleared cells and keys.
  ClosureResult Closure(State& s) {
    ClosureResult r;
    std::vector<std::string> gains;
    for (;;) {
      r = Explore(s);
      bool changed = false;
      auto clear = [&](int i, const std::string& what) {
        if (s.cleared[i]) return;
        s.cleared.set(i);
        changed = true;
        if (options_.wantRoute && !what.empty()) gains.push_back(what + " at " + Where(i));
      };
      for (int u : r.reach) {
        if (!r.inStrong[u]) continue;
        const Kind k = m_.kind[u];
        if (k == Kind::Key && !s.cleared[u]) {
          ++s.keys;
          clear(u, "collect the key");
        } else if (k != Kind::Floor && !s.cleared[u]) {
          clear(u, k == Kind::Item ? "" : "enter over the " + std::string(NameOfCode(m_.code[u])));
        }
      }
      for (int u : r.reach) {
        if (!r.inStrong[u]) continue;
        const int rx = RoomXOf(u), ry = RoomYOf(u);
        for (int d = 1; d <= 8; ++d) {
          int x = LocalX(u) + DirDx[d], y = LocalY(u) + DirDy[d];
          auto at = [&](int cx, int cy) {
            return Index(rx * GridRoomWidth + cx, ry * GridRoomHeight + cy);
          };
          if (!WorldGrid::OutsideRoom(x, y) && m_.kind[at(x, y)] == Kind::Pig)
            clear(at(x, y), "let the pig run into the player");
          while (!WorldGrid::OutsideRoom(x, y) && m_.LetsShotThrough(s.cleared, at(x, y))) {
            x += DirDx[d];
            y += DirDy[d];
          }
          if (WorldGrid::OutsideRoom(x, y)) continue;
          const int t = at(x, y);
          if (m_.kind[t] == Kind::Shootable && !s.cleared[t])
            clear(t, std::string("shoot the ") + NameOfCode(m_.code[t]));
        }
      }
      if (!changed) break;
    }
    r.gains = std::move(gains);
    return r;
  }

  // Forward reach F from the state's position, and the part S of it from which the
  // position can be reached again.
  ClosureResult Explore(const State& s) {
    ClosureResult r;
    ++generation_;
    std::vector<Edge> edges;
    std::vector<int> queue{s.pos};
    stamp_[s.pos] = generation_;
    std::vector<std::pair<int, int>> doors;
    std::vector<int> goals;
    for (std::size_t q = 0; q < queue.size(); ++q) {
      const int u = queue[q];
      auto addEdge = [&](int to, uint8_t type) {
        edges.push_back({u, to, type});
        if (stamp_[to] != generation_) {
          stamp_[to] = generation_;
          queue.push_back(to);
        }
      };
      for (int d = 1; d <= 8; ++d) {
        const int x = LocalX(u) + DirDx[d], y = LocalY(u) + DirDy[d];
        if (WorldGrid::OutsideRoom(x, y)) {
          if (team_) continue;  // two players cross only side by side (below)
          const int landing = Model::Landing(u, d);
          if (landing >= 0 && m_.LandingAllowed(s.cleared, landing)) addEdge(landing, 2);
          continue;
        }
        const int t = u + DirDx[d] + DirDy[d] * WorldW;
        if (m_.Standable(s.cleared, t)) {
          addEdge(t, 0);
          continue;
        }
        int target = t;
        if (m_.kind[t] == Kind::Slide) {
          target = m_.SlideEnd(t, d);
          if (target < 0) continue;
          if (m_.Standable(s.cleared, target)) {
            addEdge(target, 1);
            continue;
          }
        }
        if (m_.kind[target] == Kind::Door && !s.cleared[target]) doors.push_back({u, target});
        if (m_.kind[target] == Kind::Finish) goals.push_back(u);
      }
    }
    r.reach = queue;

    // Backwards over the recorded moves.
    std::unordered_map<int, std::vector<int>> incoming;
    for (const Edge& e : edges) incoming[e.to].push_back(e.from);
    ++backGeneration_;
    std::vector<int> back{s.pos};
    backStamp_[s.pos] = backGeneration_;
    for (std::size_t q = 0; q < back.size(); ++q) {
      auto it = incoming.find(back[q]);
      if (it == incoming.end()) continue;
      for (int from : it->second)
        if (backStamp_[from] != backGeneration_) {
          backStamp_[from] = backGeneration_;
          back.push_back(from);
        }
    }
    r.inStrong.assign(WorldCells, 0);
    r.canonical = WorldCells;
    for (int u : back) {
      r.inStrong[u] = 1;
      r.canonical = std::min(r.canonical, u);
    }
    for (const Edge& e : edges)
      if (r.inStrong[e.from] && !r.inStrong[e.to]) r.leaving.push_back(e);
    for (const auto& door : doors)
      if (r.inStrong[door.first]) r.doorOptions.push_back(door);
    if (!goals.empty()) r.goalFrom = goals.front();
    return r;
  }

  // Two live players leave a room only together: both on the same edge line, both
  // walking out the same way (never through a corner).
  void PushTeamCrossings(const State& s, const ClosureResult& c, int parent,
                         std::vector<State>& stack) {
    // Edge lines: (room, straight direction) -> cells of S on that edge.
    std::unordered_map<int, std::vector<int>> lines;
    for (int u : c.reach) {
      if (!c.inStrong[u]) continue;
      for (int d = 1; d <= 7; d += 2) {
        const int x = LocalX(u) + DirDx[d], y = LocalY(u) + DirDy[d];
        if (!WorldGrid::OutsideRoom(x, y)) continue;
        if (Model::Landing(u, d) < 0) continue;
        lines[(RoomYOf(u) * GridRoomsAcross + RoomXOf(u)) * 9 + d].push_back(u);
      }
    }
    for (const auto& [key, cells] : lines) {
      if (cells.size() < 2) continue;
      const int d = key % 9;
      for (int walker : cells) {
        const int landing = Model::Landing(walker, d);
        if (!m_.LandingAllowed(s.cleared, landing)) continue;
        for (int partner : cells) {
          if (partner == walker) continue;
          const int partnerLanding = Model::Landing(partner, d);
          if (!m_.LandingAllowed(s.cleared, partnerLanding)) continue;
          State next;
          next.pos = landing;
          next.cleared = s.cleared;
          if (m_.kind[landing] != Kind::Floor) next.cleared.set(landing);
          if (m_.kind[partnerLanding] != Kind::Floor) next.cleared.set(partnerLanding);
          next.keys = s.keys;
          next.parent = parent;
          next.partnerLanding = partnerLanding;
          next.action = "both players cross from " + Where(walker) + " and " + Where(partner) +
                        " to " + Where(landing) + " and " + Where(partnerLanding);
          stack.push_back(std::move(next));
        }
      }
    }
  }

  const Model& m_;
  bool team_;
  const CheckOptions& options_;
  std::vector<int> stamp_, backStamp_;
  int generation_ = 0, backGeneration_ = 0;
  bool startsJoined_ = false;
};

std::string DescribeCode(int c) {
  const char ch = (c >= 0 && c <= 255) ? LegendCharOf(static_cast<uint8_t>(c)) : 0;
  std::string s = NameOfCode(c);
  if (ch) s += std::string(" '") + ch + "'";
  return s;
}

void StaticNotes(const Model& m, CheckReport& report) {
  auto where = [](int i) { return Search::Where(i); };
  if (m.starts.size() > 1)
    report.notes.push_back(std::to_string(m.starts.size()) +
                           " Start cells; the game uses the one at " + where(m.start));
  for (int i = 0; i < WorldCells; ++i) {
    if (m.code[i] == Cell::BrickShootable) {
      int walls = 0;
      for (int d = 1; d <= 7; d += 2) {
        const int x = LocalX(i) + DirDx[d], y = LocalY(i) + DirDy[d];
        if (WorldGrid::OutsideRoom(x, y)) continue;
        const int c = m.code[i + DirDx[d] + DirDy[d] * WorldW];
        if (c == Cell::BrickSolid || c == Cell::BrickShootable) ++walls;
      }
      if (walls < 2)
        report.notes.push_back("the shootable wall at " + where(i) +
                               " has fewer than two wall neighbours: it crumbles as soon as "
                               "its room is entered");
    }
    if (m.beam[i] && m.code[i] != Cell::Floor)
      report.notes.push_back("the " + DescribeCode(m.code[i]) + " at " + where(i) +
                             " stands in a laser's beam and is destroyed by it");
  }
  // Where walking off an edge lands on something that the arriving player overwrites.
  const Bits none;
  for (int wy = LevelTop; wy < LevelTop + LevelRows; ++wy)
    for (int wx = LevelLeft; wx < LevelLeft + LevelColumns; ++wx) {
      const int u = Index(wx, wy);
      if (!m.Standable(none, u) || (m.start >= 0 && u == m.start)) continue;
      for (int d = 1; d <= 7; d += 2) {
        const int x = LocalX(u) + DirDx[d], y = LocalY(u) + DirDy[d];
        if (!WorldGrid::OutsideRoom(x, y)) continue;
        const int landing = Model::Landing(u, d);
        if (landing < 0) continue;
        const int lx = WorldX(landing) - LevelLeft, ly = WorldY(landing) - LevelTop;
        if (lx < 0 || ly < 0 || lx >= LevelColumns || ly >= LevelRows) {
          report.notes.push_back("players can walk out of the level at " + where(u));
          continue;
        }
        const int c = m.code[landing];
        if (c != Cell::Floor && c != Cell::Money && c != Cell::Health && c != Cell::Bomb &&
            c != Cell::Shield)
          report.notes.push_back("a player leaving " + where(u) + " lands on " + where(landing) +
                                 " and overwrites the " + DescribeCode(c) + " there");
      }
    }
}

}  // namespace

std::string DescribeWorldCell(int worldX, int worldY) {
  const int col = worldX - LevelLeft, row = worldY - LevelTop;
  if (col >= 0 && row >= 0 && col < LevelColumns && row < LevelRows)
    return "row " + std::to_string(row) + " col " + std::to_string(col) + " (room " +
           std::to_string(col / GridRoomWidth) + "," + std::to_string(row / GridRoomHeight) +
           ")";
  return "outside the level (grid room " + std::to_string(worldX / GridRoomWidth) + "," +
         std::to_string(worldY / GridRoomHeight) + " cell " +
         std::to_string(worldX % GridRoomWidth) + "," + std::to_string(worldY % GridRoomHeight) +
         ")";
}

CheckReport CheckLevel(const LevelBytes& bytes, const CheckOptions& options) {
  CheckReport report;
  Model m = BuildModel(bytes);

  if (m.starts.empty()) report.errors.push_back("no Start ('S') in the level");
  if (m.finishes.empty()) report.errors.push_back("no Finish ('E') in the level");
  if (m.start >= 0) {
    const int x = LocalX(m.start);
    if (x == 0 || x + 1 == GridRoomWidth) {
      report.errors.push_back("the Start at " + Search::Where(m.start) + " is in column " +
                              std::to_string(x) +
                              " of its room; the players start left and right of it, so it "
                              "must be in columns 1..18");
    } else {
      const char* who[2] = {"player 1's start cell (left of the Start)",
                            "player 2's start cell (right of the Start)"};
      const int cells[2] = {m.start1, m.start2};
      for (int p = 0; p < 2; ++p) {
        const int c = m.code[cells[p]];
        if (!PlayerCanEnterCode(c))
          report.errors.push_back(std::string(who[p]) + " at " + Search::Where(cells[p]) +
                                  " holds a " + DescribeCode(c) + ", which a player cannot enter");
        else if (c == Cell::DeathField || CodeIsLaserBeam(c) || c == Cell::Finish ||
                 c == Cell::Door || (c >= 48 && c <= 51) || c == Cell::SlideFieldOmni)
          report.errors.push_back(std::string(who[p]) + " at " + Search::Where(cells[p]) +
                                  " holds a " + DescribeCode(c) + "; a player cannot stand there");
        else if (c != Cell::Floor)
          report.notes.push_back(std::string(who[p]) + " holds a " + DescribeCode(c) +
                                 ", which the player's marker overwrites");
        if (m.beam[cells[p]])
          report.errors.push_back(std::string(who[p]) + " at " + Search::Where(cells[p]) +
                                  " is in a laser's beam");
        m.kind[cells[p]] = Kind::Floor;  // the player stands there
      }
    }
  }
  StaticNotes(m, report);
  if (!report.errors.empty()) return report;

  Search one(m, false, options);
  report.onePlayer = one.Run(options.findDeadEnds);
  Search two(m, true, options);
  report.twoPlayers = two.Run(false);
  report.bothStartsUsable = two.StartsJoined();
  report.startInfo = "Start at " + Search::Where(m.start) + "; player 1 starts at " +
                     Search::Where(m.start1) + ", player 2 at " + Search::Where(m.start2) +
                     (report.bothStartsUsable
                          ? ": both start cells usable"
                          : ": the two start cells are not joined (the players cannot meet)");
  if (!report.bothStartsUsable)
    report.errors.push_back("player 2's start cell is cut off from player 1's");
  for (const auto& d : report.onePlayer.deadEnds)
    if (report.onePlayer.reachable)
      report.notes.push_back("a player can get stuck for good: " + d);
  if (report.onePlayer.gaveUp && !report.onePlayer.reachable)
    report.errors.push_back("one player: gave up after " + std::to_string(options.stateLimit) +
                            " search states");
  else if (!report.onePlayer.reachable)
    report.errors.push_back("one player cannot reach the Finish");
  if (report.bothStartsUsable) {
    if (report.twoPlayers.gaveUp && !report.twoPlayers.reachable)
      report.errors.push_back("two players: gave up after " + std::to_string(options.stateLimit) +
                              " search states");
    else if (!report.twoPlayers.reachable)
      report.errors.push_back("two players together cannot reach the Finish (room exits must "
                              "let both cross side by side)");
  }
  return report;
}
