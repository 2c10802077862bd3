#pragma once
// What must hold of a game in play whenever control leaves the world and player code
// (between passes, or inside their message processing). Returns the broken rules, one
// per line; empty when all hold.
#include <sstream>
#include <string>

#include "players/player_control.h"
#include "world/game.h"

struct InvariantOptions {
  // A level may carry stray player markers of its own; then a marker elsewhere in the
  // room proves nothing.
  bool markersOnlyAtPlayers = true;
};

inline std::string CheckWorldInvariants(const Game& game, InvariantOptions options = {}) {
  std::ostringstream out;
  const WorldGrid& w = game.World;
  if (w.CurrentRoomX < 0 || w.CurrentRoomX >= GridRoomsAcross || w.CurrentRoomY < 0 ||
      w.CurrentRoomY >= GridRoomsDown) {
    out << "current room (" << w.CurrentRoomX << ", " << w.CurrentRoomY << ") outside the grid\n";
    return out.str();
  }

  const int worldWidth = GridRoomsAcross * GridRoomWidth;
  const int worldHeight = GridRoomsDown * GridRoomHeight;
  int frame = 0;
  for (int rx = 0; rx < GridRoomsAcross; ++rx)
    for (int ry = 0; ry < GridRoomsDown; ++ry)
      for (int x = 0; x < GridRoomWidth; ++x)
        for (int y = 0; y < GridRoomHeight; ++y) {
          const int c = w.RoomCell(rx, ry, x, y);
          if (c < -128 || c > 98)
            out << "code " << c << " in room (" << rx << ", " << ry << ") at (" << x << ", " << y
                << ")\n";
          const int wx = rx * GridRoomWidth + x, wy = ry * GridRoomHeight + y;
          const bool onFrame = wx == 0 || wy == 0 || wx == worldWidth - 1 || wy == worldHeight - 1;
          if (onFrame && c == Cell::BrickSolidEdge) ++frame;
          else if (onFrame)
            out << "frame cell (" << wx << ", " << wy << ") holds " << c << "\n";
        }
  if (frame != 316) out << "edge frame has " << frame << " cells of code 80\n";

  for (int number = 1; number <= 2; ++number) {
    const PlayerState& p = number == 1 ? game.Player1 : game.Player2;
    if (p.Life > LifeFull) out << "player " << number << " life " << p.Life << "\n";
    // No game runs while the count is 0; player 2 plays only in a two-player game.
    if (game.PlayerCount == 0 || (number == 2 && game.PlayerCount != 2)) continue;
    if (!InPlay(p)) continue;
    const CellCode code = number == 1 ? Cell::Player1 : Cell::Player2;
    if (WorldGrid::OutsideRoom(p.X, p.Y)) {
      out << "player " << number << " at (" << p.X << ", " << p.Y << ") outside the room\n";
      continue;
    }
    if (w.At(p.X, p.Y) != code)
      out << "player " << number << " at (" << p.X << ", " << p.Y << ") but the cell holds "
          << w.At(p.X, p.Y) << "\n";
    if (!options.markersOnlyAtPlayers) continue;
    for (int y = 0; y < GridRoomHeight; ++y)
      for (int x = 0; x < GridRoomWidth; ++x)
        if (w.At(x, y) == code && (x != p.X || y != p.Y))
          out << "player " << number << " marker also at (" << x << ", " << y << ")\n";
  }
  return out.str();
}
