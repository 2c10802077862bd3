#include "play/room_change.h"

#include "play/player_control.h"
#include "world/direction.h"
#include "play/game.h"

int LeaveDirection(const PlayerState& player) {
  return LeaveDirectionAt(player.X, player.Y, StepDirection(player));
}

namespace {

// Two living players leave only together: side by side on the edge, walking the same
// way, never through a corner.
bool GateRefuses(const Game& game, int direction) {
  const PlayerState& p1 = game.Player1;
  const PlayerState& p2 = game.Player2;
  if (!game.TwoPlayers() || !InPlay(p1) || !InPlay(p2)) return false;
  // A steered bomb lives in this room's grid; its owner stays with it.
  if (p1.BombActive || p2.BombActive) return true;
  if (StepDirection(p1) != StepDirection(p2)) return true;
  switch (direction) {
    case Dir::Up:
    case Dir::Down:
      return p1.Y != p2.Y;
    case Dir::Right:
    case Dir::Left:
      return p1.X != p2.X;
    default:
      return true;
  }
}

void ClearShot(WorldGrid& world, PlayerState& player) {
  if (!player.ShotActive) return;
  player.ShotActive = false;
  world.At(player.ShotX, player.ShotY) = Cell::Floor;
}

void EnterAt(PlayerState& player, int direction) {
  const int dx = DirDx[direction], dy = DirDy[direction];
  if (dx > 0) player.X = 0;
  if (dx < 0) player.X = GridRoomWidth - 1;
  if (dy > 0) player.Y = 0;
  if (dy < 0) player.Y = GridRoomHeight - 1;
}

}  // namespace

bool LeaveRoom(Game& game, int direction) {
  if (!IsDirection(direction) || GateRefuses(game, direction)) return true;

  WorldGrid& world = game.World;
  const int rx = world.CurrentRoomX + DirDx[direction];
  const int ry = world.CurrentRoomY + DirDy[direction];
  if (rx < 0 || ry < 0 || rx >= world.RoomsAcross || ry >= world.RoomsDown) return true;

  const bool two = game.TwoPlayers();
  PlayerState& p1 = game.Player1;
  PlayerState& p2 = game.Player2;

  ClearShot(world, p1);
  if (two) ClearShot(world, p2);
  if (InPlay(p1)) world.At(p1.X, p1.Y) = Cell::Floor;
  if (two && InPlay(p2)) world.At(p2.X, p2.Y) = Cell::Floor;

  world.SetCurrentRoom(rx, ry);
  world.TakeRoomSnapshot();

  EnterAt(p1, direction);
  if (two) EnterAt(p2, direction);
  // The players arrive whatever stands in the entry cells.
  if (InPlay(p1)) world.At(p1.X, p1.Y) = Cell::Player1;
  if (two && InPlay(p2)) world.At(p2.X, p2.Y) = Cell::Player2;

  game.host->DrawRoom();
  return false;
}
