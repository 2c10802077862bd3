#include "play/pickups.h"

#include "play/room_cells.h"
#include "play/player_control.h"
#include "world/direction.h"
#include "play/game.h"

namespace {

constexpr int SoundGrabHealth = 1;
constexpr int SoundGrabMoney = 2;
constexpr int SoundGrabKey = 3;
constexpr int SoundGrabBomb = 4;
constexpr int SoundOpenDoor = 7;
constexpr int SoundWarp = 9;
constexpr int SoundEatPigProducer = 12;
constexpr int MineDamage = 250;
constexpr int ShieldFull = 100;

}  // namespace

bool CellIsSlide(const WorldGrid& world, int x, int y) {
  return !WorldGrid::OutsideRoom(x, y) && CodeIsSlide(world.At(x, y));
}

bool Slide(Game& game, PlayerState& player) {
  const WorldGrid& world = game.World;
  int c = player.X, d = player.Y;
  int e = StepDirection(player);
  int examined = 0;
  bool ended = false;
  while (!WorldGrid::OutsideRoom(c, d) && examined < SlideCellLimit) {
    const int code = world.At(c, d);
    ++examined;
    if (!CodeIsSlide(code)) {
      ended = true;
      break;
    }
    if (const int turn = SlideDirectionOf(code)) e = turn;
    c += DirDx[IsDirection(e) ? e : 0];
    d += DirDy[IsDirection(e) ? e : 0];
  }
  // Out of the room, round a circuit, or onto something solid: the step is refused.
  if (!ended || !PlayerCanEnter(world, c, d)) return true;
  player.X = c;
  player.Y = d;
  return false;
}

bool EnterCell(Game& game, PlayerState& player, int backX, int backY) {
  const int code = game.World.At(player.X, player.Y);
  auto sound = [&](int n) { game.host->PlaySound(player.Sound(n)); };
  auto back = [&] {
    player.X = backX;
    player.Y = backY;
  };

  switch (TouchOf(code)) {
    case Touch::HealthKit:
      player.HealthKits += 1;
      sound(SoundGrabHealth);
      return false;
    case Touch::Bomb:
      player.Bombs += 1;
      sound(SoundGrabBomb);
      return false;
    case Touch::Gold:
      AddPoints(player, 100);
      sound(SoundGrabMoney);
      return false;
    case Touch::Key:
      player.Keys += 1;
      sound(SoundGrabKey);
      return false;
    case Touch::Door:
      if (player.Keys <= 0) {
        back();
      } else {
        player.Keys -= 1;
        sound(SoundOpenDoor);
      }
      return false;
    case Touch::Finish:
      // The Finish stays; the player leaves the room and waits for the next level.
      back();
      SetCell(game, backX, backY, Cell::Floor);
      player.Warped = true;
      player.MoveDirection = Dir::None;
      sound(SoundWarp);
      return true;
    case Touch::Shield:
      player.ShieldTicks = ShieldFull;
      player.StatusText = "Shield On - 100%";
      return false;
    case Touch::Hurts:
      back();
      DamagePlayer(game, MineDamage, player.Code(), true);
      return true;
    case Touch::EatPigProducer:
      AddPoints(player, 8);
      sound(SoundEatPigProducer);
      return false;
    case Touch::Walk:
    case Touch::Slide:
    case Touch::Blocked:
      return false;
  }
  return false;
}
