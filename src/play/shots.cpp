#include "play/shots.h"

#include "play/bombs.h"
#include "play/room_cells.h"
#include "play/player_control.h"
#include "world/direction.h"
#include "play/game.h"

namespace {

constexpr int SoundShoot = 0;
constexpr int SoundHitHeart = 8;
constexpr int RevivedLife = 50;

// By direction 1..8.
constexpr CellCode Player1Shots[9] = {Cell::Floor,     Cell::P1Bullet1, Cell::P1Bullet2,
                                      Cell::P1Bullet3, Cell::P1Bullet4, Cell::P1Bullet5,
                                      Cell::P1Bullet6, Cell::P1Bullet7, Cell::P1Bullet8};
constexpr CellCode Player2Shots[9] = {Cell::Floor,     Cell::P2Bullet1, Cell::P2Bullet2,
                                      Cell::P2Bullet3, Cell::P2Bullet4, Cell::P2Bullet5,
                                      Cell::P2Bullet6, Cell::P2Bullet7, Cell::P2Bullet8};

// What a HorseP bursts into, by a draw mod 7.
constexpr CellCode ScatterCodes[7] = {Cell::AntP,   Cell::DevilP,  Cell::CowP,   Cell::FrogP,
                                      Cell::HorseP, Cell::RandomP, Cell::Chigger};

void ScatterAround(Game& game, int x, int y) {
  WorldGrid& world = game.World;
  for (int cy = y - 1; cy <= y + 1; ++cy) {
    for (int cx = x - 1; cx <= x + 1; ++cx) {
      if (cx < 1 || cx >= world.RoomWidth || cy < 1 || cy >= world.RoomHeight) continue;
      if (game.host->Random(2) == 1) continue;
      const int code = world.At(cx, cy);
      if (code != Cell::Floor && !CodeIsDartTarget(code)) continue;
      SetCell(game, cx, cy, ScatterCodes[game.host->Random(7)]);
    }
  }
}

void Revive(Game& game, PlayerState& player, int x, int y) {
  SetCell(game, x, y, player.Code());
  player.X = x;
  player.Y = y;
  player.Life = RevivedLife;
  player.Dead = false;
  player.StatusText.clear();
}

void HitHeart(Game& game, int x, int y, PlayerState& shooter) {
  if (game.TwoPlayers() && game.Player1.Dead)
    Revive(game, game.Player1, x, y);
  else if (game.TwoPlayers() && game.Player2.Dead)
    Revive(game, game.Player2, x, y);
  else
    SetCell(game, x, y, Cell::Chigger);
  game.host->PlaySound(shooter.Sound(SoundHitHeart));
}

}  // namespace

CellCode ShotCode(int playerNumber, int direction) {
  if (!IsDirection(direction)) return Cell::Floor;
  return playerNumber == 2 ? Player2Shots[direction] : Player1Shots[direction];
}

void ShotsTick(Game& game) {
  UpdateShot(game, game.Player1);
  UpdateShot(game, game.Player2);
}

void UpdateShot(Game& game, PlayerState& player) {
  WorldGrid& world = game.World;
  game.host->ProcessMessages();

  if (StepDirection(player) != 0 && StepFiring(player) && !player.ShotActive && !player.BombActive) {
    player.ShotActive = true;
    player.ShotDirection = StepDirection(player);
    player.ShotX = player.X;
    player.ShotY = player.Y;
    player.ShotAge = 0;
    game.host->PlaySound(player.Sound(SoundShoot));
  }
  if (!player.ShotActive) return;

  // While the age is 0 the shot still stands on its shooter's cell.
  if (player.ShotAge > 0) {
    const int here = world.At(player.ShotX, player.ShotY);
    if (CodeIsPlayerShot(here) || game.host->Random(3) == 0)
      SetCell(game, player.ShotX, player.ShotY, Cell::Floor);
  }
  player.ShotAge += 1;

  game.host->ProcessMessages();

  const int dir = player.ShotDirection;
  if (!IsDirection(dir)) {
    player.ShotActive = false;
    return;
  }
  const int tx = player.ShotX + DirDx[dir];
  const int ty = player.ShotY + DirDy[dir];
  if (world.CellIsFree(tx, ty)) {
    player.ShotX = tx;
    player.ShotY = ty;
    SetCell(game, tx, ty, ShotCode(player.PlayerNumber, dir));
    return;
  }
  if (CellIsShootable(world, tx, ty)) ShotHit(game, tx, ty, player);
  player.ShotActive = false;
}

bool CellIsShootable(const WorldGrid& world, int x, int y) {
  if (WorldGrid::OutsideRoom(x, y)) return false;
  return CodeIsShootable(world.At(x, y));
}

void ShotHit(Game& game, int x, int y, PlayerState& shooter) {
  const CellRow& row = CellRowOf(game.World.At(x, y));
  switch (row.shot) {
    case ShotEffect::Becomes:
      SetCell(game, x, y, row.shotBecomes);
      AddPoints(shooter, row.shotPoints);
      return;
    case ShotEffect::Scatters:
      SetCell(game, x, y, Cell::Floor);
      AddPoints(shooter, row.shotPoints);
      ScatterAround(game, x, y);
      return;
    case ShotEffect::Revives:
      HitHeart(game, x, y, shooter);
      return;
    case ShotEffect::Explodes:
      SetCell(game, x, y, Cell::Floor);
      ExplodeBomb(game, x, y, true);
      return;
    case ShotEffect::Flies:
    case ShotEffect::Stops:
    case ShotEffect::Absorbs:
      return;
  }
}
