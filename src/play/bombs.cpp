#include "play/bombs.h"

#include "play/room_cells.h"
#include "play/pickups.h"
#include "play/player_control.h"
#include "world/direction.h"
#include "play/game.h"

namespace {

// Fields a bomb rolls over and gives back when it moves on or goes off.
constexpr bool CodeIsFieldUnderBomb(int c) { return c == Cell::DeathField || CodeIsSlide(c); }

void PutBackUnderBomb(Game& game, int x, int y, int code) {
  if (CodeIsFieldUnderBomb(code) || CodeIsPlayer(code)) {
    SetCell(game, x, y, static_cast<CellCode>(code));
  } else if (code != Cell::Floor) {
    SetCell(game, x, y, static_cast<CellCode>(code));
    game.host->DrawRoom();
  } else {
    SetCell(game, x, y, Cell::Floor);
  }
}

bool StandsAt(const PlayerState& player, int x, int y) {
  return InPlay(player) && player.X == x && player.Y == y;
}

}  // namespace

bool BombCanEnter(const WorldGrid& world, int x, int y) {
  if (WorldGrid::OutsideRoom(x, y)) return false;
  const int code = world.At(x, y);
  return code == Cell::Floor || CodeIsFieldUnderBomb(code);
}

bool CellIsBlastable(const WorldGrid& world, int x, int y) {
  if (WorldGrid::OutsideRoom(x, y)) return false;
  const int code = world.At(x, y);
  return code == Cell::Bomb || CodeIsPlayer(code) || code == Cell::FireP ||
         (code >= Cell::Ant && code <= Cell::HorseP) || code == Cell::Star;
}

void PlaceBomb(Game& game, PlayerState& player) {
  player.Bombs -= 1;
  player.BombX = player.X;
  player.BombY = player.Y;
  player.CodeUnderBomb = game.World.At(player.X, player.Y);
  SetCell(game, player.X, player.Y, Cell::Bomb);
  player.BombActive = true;
}

void SteerBomb(Game& game, PlayerState& player) {
  WorldGrid& world = game.World;
  const int bx = player.BombX, by = player.BombY;
  const int dir = StepDirection(player);
  if (IsDirection(dir)) {
    const int tx = bx + DirDx[dir], ty = by + DirDy[dir];
    if (BombCanEnter(world, tx, ty) || world.CellIsDartTarget(tx, ty)) {
      player.BombX = tx;
      player.BombY = ty;
      PutBackUnderBomb(game, bx, by, player.CodeUnderBomb);
      player.CodeUnderBomb = world.At(tx, ty);
    }
  }
  if (world.CellIsDartTarget(player.BombX, player.BombY)) {
    ExplodeBomb(game, player.BombX, player.BombY, true);
    player.BombActive = false;
    player.StatusText.clear();
    return;
  }
  if (BombCanEnter(world, player.BombX, player.BombY))
    SetCell(game, player.BombX, player.BombY, Cell::Bomb);
}

void DetonateBomb(Game& game, PlayerState& player) {
  ExplodeBomb(game, player.BombX, player.BombY, true);
  player.BombActive = false;
  player.StatusText.clear();
  if (CodeIsFieldUnderBomb(player.CodeUnderBomb))
    SetCell(game, player.BombX, player.BombY, static_cast<CellCode>(player.CodeUnderBomb));
}

void ExplodeBomb(Game& game, int x, int y, bool withSound) {
  // One explosion sound whoever set it off; chained bombs go off silently.
  if (withSound) game.host->PlaySound(BombSound);

  PlayerState* players[2] = {&game.Player1, &game.Player2};
  bool playerStood = false;
  for (PlayerState* p : players) {
    if (!StandsAt(*p, x, y)) continue;
    playerStood = true;
    // A bomb gone off where it was placed: on its owner.
    if (CodeIsPlayer(p->CodeUnderBomb)) DamagePlayer(game, BlastDamage, p->CodeUnderBomb, true);
  }
  if (!(playerStood && !game.Player1.Dead && !game.Player2.Dead))
    SetCell(game, x, y, Cell::Floor);

  for (PlayerState* p : players) {
    if (p->BombX == x && p->BombY == y) {
      p->BombActive = false;
      p->StatusText.clear();
    }
  }

  // The 5 x 5 square without its centre and corners; column 0 and row 0 stay whole.
  for (int cy = y - 2; cy <= y + 2; ++cy) {
    for (int cx = x - 2; cx <= x + 2; ++cx) {
      const bool centre = cx == x && cy == y;
      const bool corner = (cx == x - 2 || cx == x + 2) && (cy == y - 2 || cy == y + 2);
      if (centre || corner) continue;
      if (cx < 1 || cx >= game.World.RoomWidth || cy < 1 || cy >= game.World.RoomHeight) continue;
      if (CellIsBlastable(game.World, cx, cy)) BlastCell(game, cx, cy);
    }
  }
}

void BlastCell(Game& game, int x, int y) {
  const int code = game.World.At(x, y);
  if (code == Cell::Bomb) {
    SetCell(game, x, y, Cell::Floor);
    ExplodeBomb(game, x, y, false);
  } else if (CodeIsPlayer(code)) {
    DamagePlayer(game, BlastDamage, code, true);
    if (game.PlayerByCode(code).Dead && game.World.At(x, y) != Cell::Floor)
      SetCell(game, x, y, Cell::Floor);
  } else {
    SetCell(game, x, y, Cell::Floor);
  }
}
