#pragma once
// What must hold of a game in play whenever control leaves the world and player code
// (between passes, or inside their message processing). Checks return the broken
// rules, one per line; empty when all hold.
#include <array>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "play/player_control.h"
#include "play/darts_lasers.h"
#include "play/game.h"

struct InvariantOptions {
  // A level may carry stray player markers of its own; then a marker elsewhere in the
  // room proves nothing.
  bool markersOnlyAtPlayers = true;
};

// Checks one game over time: a few legitimate gaps in a player's marker last a while.
class WorldInvariants {
 public:
  explicit WorldInvariants(InvariantOptions options = {}) : options_(options) {}
  void SetOptions(InvariantOptions options) { options_ = options; }

  std::string Check(const Game& game) {
    std::ostringstream out;
    const WorldGrid& w = game.World;
    if (w.CurrentRoomX < 0 || w.CurrentRoomX >= GridRoomsAcross || w.CurrentRoomY < 0 ||
        w.CurrentRoomY >= GridRoomsDown) {
      out << "current room (" << w.CurrentRoomX << ", " << w.CurrentRoomY
          << ") outside the grid\n";
      return out.str();
    }
    CheckCells(w, out);
    for (int number = 1; number <= 2; ++number) CheckPlayer(game, number, out);
    return out.str();
  }

 private:
  static void CheckCells(const WorldGrid& w, std::ostringstream& out) {
    const int worldWidth = GridRoomsAcross * GridRoomWidth;
    const int worldHeight = GridRoomsDown * GridRoomHeight;
    int frame = 0;
    for (int rx = 0; rx < GridRoomsAcross; ++rx)
      for (int ry = 0; ry < GridRoomsDown; ++ry)
        for (int x = 0; x < GridRoomWidth; ++x)
          for (int y = 0; y < GridRoomHeight; ++y) {
            const int c = w.RoomCell(rx, ry, x, y);
            if (c < -128 || c > 98)
              out << "code " << c << " in room (" << rx << ", " << ry << ") at (" << x << ", "
                  << y << ")\n";
            const int wx = rx * GridRoomWidth + x, wy = ry * GridRoomHeight + y;
            if (wx != 0 && wy != 0 && wx != worldWidth - 1 && wy != worldHeight - 1) continue;
            if (c == Cell::BrickSolidEdge)
              ++frame;
            else
              out << "frame cell (" << wx << ", " << wy << ") holds " << c << "\n";
          }
    if (frame != 316) out << "edge frame has " << frame << " cells of code 80\n";
  }

  void CheckPlayer(const Game& game, int number, std::ostringstream& out) {
    const PlayerState& p = number == 1 ? game.Player1 : game.Player2;
    auto& unmarked = unmarked_[static_cast<size_t>(number - 1)];
    if (p.Life > LifeFull) out << "player " << number << " life " << p.Life << "\n";
    // No game runs while the count is 0; player 2 plays only in a two-player game.
    if (game.PlayerCount == 0 || (number == 2 && game.PlayerCount != 2) || !InPlay(p)) {
      unmarked.reset();
      return;
    }
    if (WorldGrid::OutsideRoom(p.X, p.Y)) {
      out << "player " << number << " at (" << p.X << ", " << p.Y << ") outside the room\n";
      return;
    }
    const WorldGrid& w = game.World;
    const CellCode code = number == 1 ? Cell::Player1 : Cell::Player2;
    const int here = w.At(p.X, p.Y);
    if (unmarked && (unmarked->first != p.X || unmarked->second != p.Y)) unmarked.reset();
    if (here != code) {
      // A bomb just placed covers its owner; a dart or a beam that a shield survived
      // takes the cell, and the player shows again only when it steps.
      const bool underOwnBomb = p.BombActive && p.BombX == p.X && p.BombY == p.Y &&
                                here == Cell::Bomb;
      if ((CodeIsDart(here) || CodeIsLaserBeam(here)) && p.ShieldTicks > 0)
        unmarked.emplace(p.X, p.Y);
      if (!underOwnBomb && !unmarked)
        out << "player " << number << " at (" << p.X << ", " << p.Y
            << ") but the cell holds " << here << "\n";
    }
    if (!options_.markersOnlyAtPlayers) return;
    for (int y = 0; y < GridRoomHeight; ++y)
      for (int x = 0; x < GridRoomWidth; ++x)
        if (w.At(x, y) == code && (x != p.X || y != p.Y))
          out << "player " << number << " marker also at (" << x << ", " << y << ")\n";
  }

  InvariantOptions options_;
  std::array<std::optional<std::pair<int, int>>, 2> unmarked_;
};

// One look at a game, with no history.
inline std::string CheckWorldInvariants(const Game& game, InvariantOptions options = {}) {
  return WorldInvariants(options).Check(game);
}
