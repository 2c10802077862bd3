#pragma once
// Walks a checker's route over the level as a player would and reports the first step
// that could not be made: a jump, a wall walked into, a slide or door entered on foot,
// a door opened without a key in hand.
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "authoring/level_check.h"
#include "world/cell_codes.h"
#include "world/level_file.h"

inline std::string Describe(const RouteCell& c) {
  return "room " + std::to_string(c.roomX) + "," + std::to_string(c.roomY) + " cell " +
         std::to_string(c.x) + "," + std::to_string(c.y);
}

// A neighbouring cell of the same room, or the matching cell across a room edge.
inline bool Follows(const RouteCell& a, const RouteCell& b) {
  const int dx = b.roomX - a.roomX, dy = b.roomY - a.roomY;
  if (dx == 0 && dy == 0)
    return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1 && (a.x != b.x || a.y != b.y);
  if (std::abs(dx) > 1 || std::abs(dy) > 1) return false;
  const bool xOk = dx > 0 ? (a.x == 19 && b.x == 0) : dx < 0 ? (a.x == 0 && b.x == 19) : a.x == b.x;
  const bool yOk = dy > 0 ? (a.y == 11 && b.y == 0) : dy < 0 ? (a.y == 0 && b.y == 11) : a.y == b.y;
  return xOk && yOk;
}

// "" when the route can be walked from player 1's start cell onto a Finish.
inline std::string RouteFault(const LevelBytes& bytes, const std::vector<RouteCell>& route) {
  if (route.empty()) return "no route";
  auto code = [&](const RouteCell& c) {
    const int col = c.LevelColumn(), row = c.LevelRow();
    if (col < 0 || row < 0 || col >= LevelColumns || row >= LevelRows) return 0;  // floor rooms
    return static_cast<int>(LevelValue(bytes[row * LevelColumns + col]));
  };
  // A key in a laser's beam is burnt: only a pick-up to walk over.
  auto isKey = [&](const RouteCell& c) {
    if (code(c) != Cell::Key) return false;
    const int left = c.x > 0 ? code({c.roomX, c.roomY, c.x - 1, c.y}) : 0;
    const int above = c.y > 0 ? code({c.roomX, c.roomY, c.x, c.y - 1}) : 0;
    return !(left == 52 || left == 54 || left == 56 || left == 58 || above == 53 || above == 55 ||
             above == 57 || above == 59);
  };
  const RouteCell& start = route.front();
  if (start.step != RouteStep::Start || code({start.roomX, start.roomY, start.x + 1, start.y}) !=
                                            Cell::Start)
    return "does not begin on player 1's start cell";
  if (route.back().step != RouteStep::Finish || code(route.back()) != Cell::Finish)
    return "does not end on the Finish";
  std::set<std::pair<int, int>> overwritten, opened, keys;
  // The players' markers take the cells beside the Start.
  overwritten.insert({start.LevelColumn(), start.LevelRow()});
  overwritten.insert({start.LevelColumn() + 2, start.LevelRow()});
  for (std::size_t k = 1; k < route.size(); ++k) {
    const RouteCell& c = route[k];
    const std::string at = " at step " + std::to_string(k) + " (" + Describe(c) + ")";
    if (!Follows(route[k - 1], c)) return "jumps" + at;
    const std::pair<int, int> where{c.LevelColumn(), c.LevelRow()};
    if (c.step == RouteStep::Cross) {
      if (isKey(c) && !keys.count(where) && !overwritten.count(where))
        return "lands on a key and destroys it" + at;
      overwritten.insert(where);
      if (c.partnerX >= 0) overwritten.insert({c.roomX * 20 + c.partnerX, c.roomY * 12 + c.partnerY});
      continue;
    }
    if (overwritten.count(where) || opened.count(where)) continue;
    const int v = code(c);
    if (isKey(c)) keys.insert(where);
    if ((v >= Cell::SlideRight && v <= Cell::SlideDown) || v == Cell::SlideFieldOmni) {
      if (c.step != RouteStep::Slide) return "walks onto a slide" + at;
    } else if (v == Cell::Door) {
      if (c.step != RouteStep::Door) return "walks through a shut door" + at;
      if (keys.size() <= opened.size()) return "opens a door without a key" + at;
      opened.insert(where);
    } else if (v == Cell::BrickSolid || v == Cell::BrickEnemyTrans || v == Cell::DeathField ||
               v == Cell::FireP || v == Cell::PigP5 || (v >= 52 && v <= 59)) {
      return "walks into a wall" + at;
    }
  }
  return "";
}
