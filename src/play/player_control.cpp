#include "play/player_control.h"

#include <climits>

#include "play/bombs.h"
#include "play/room_cells.h"
#include "play/pickups.h"
#include "play/room_change.h"
#include "world/direction.h"
#include "play/game.h"

namespace {

constexpr int SoundLoseLife = 5;
constexpr int SoundDie = 6;
constexpr int SoundUseHealth = 10;

// A direction key joins a walk along the other axis into a diagonal: walking
// `sideA` turns into `diagonalA`, walking `sideB` into `diagonalB`. Standing, it
// starts a walk, or moves the item-menu selection while the menu is open.
void PressDirection(PlayerState& player, int sideA, int diagonalA, int sideB, int diagonalB,
                    int standing, int menuChoice) {
  int& dir = player.MoveDirection;
  if (dir == sideA) {
    dir = diagonalA;
  } else if (dir == sideB) {
    dir = diagonalB;
  } else if (dir == 0) {
    if (player.MenuOpen)
      player.MenuChoice = menuChoice;
    else
      dir = standing;
  }
}

// Releasing one key of a held diagonal keeps walking along the other key.
int ReleaseDirection(int dir, int fromA, int toA, int fromB, int toB) {
  if (dir == fromA) return toA;
  if (dir == fromB) return toB;
  return 0;
}

}  // namespace

void KeyPressed(Game& game, int key, PlayerState& player) {
  if (player.Warped || player.Dead) {
    player.MoveDirection = 0;
    return;
  }
  // Directions 1..8 clockwise from up: 3 right, 7 left, 1 up, 5 down.
  if (key == player.KeyUp)
    PressDirection(player, 3, 2, 7, 8, 1, MenuLife);
  else if (key == player.KeyDown)
    PressDirection(player, 3, 4, 7, 6, 5, MenuLife);
  else if (key == player.KeyLeft)
    PressDirection(player, 1, 8, 5, 6, 7, MenuBomb);
  else if (key == player.KeyRight)
    PressDirection(player, 1, 2, 5, 4, 3, MenuNothing);
  if (key == player.KeyFire) FireDown(game, player);
}

void KeyReleased(Game& game, int key, PlayerState& player) {
  int& dir = player.MoveDirection;
  if (key == player.KeyUp)
    dir = ReleaseDirection(dir, 8, 7, 2, 3);
  else if (key == player.KeyDown)
    dir = ReleaseDirection(dir, 6, 7, 4, 3);
  else if (key == player.KeyLeft)
    dir = ReleaseDirection(dir, 8, 1, 6, 5);
  else if (key == player.KeyRight)
    dir = ReleaseDirection(dir, 2, 1, 4, 5);
  if (key == player.KeyFire) FireUp(game, player);
  // The menu opens on release so that its key cannot also repeat into it.
  if (key == player.KeyMenu && InPlay(player) && !player.MenuOpen && !player.BombActive)
    OpenItemMenu(player);
}

void FireDown(Game& game, PlayerState& player) {
  if (!player.MenuOpen) {
    player.Firing = true;
  } else if (player.MenuChoice == MenuLife) {
    if (player.HealthKits > 0 && player.Life < LifeFull) {
      UseHealthKit(game, player);
      player.Firing = true;
    }
    player.StatusText.clear();
  } else if (player.MenuChoice == MenuBomb) {
    // The status keeps showing BOMB while the bomb is steered.
    if (player.Bombs < 1)
      player.StatusText.clear();
    else
      PlaceBomb(game, player);
  } else {
    player.Firing = true;
    player.StatusText.clear();
  }
  player.MenuOpen = false;
}

void FireUp(Game& game, PlayerState& player) {
  player.Firing = false;
  if (player.BombActive) DetonateBomb(game, player);
}

void OpenItemMenu(PlayerState& player) {
  player.MoveDirection = 0;
  player.Firing = false;
  player.MenuOpen = true;
  player.MenuChoice = MenuLife;
}

void UseHealthKit(Game& game, PlayerState& player) {
  player.Life = LifeFull;
  player.HealthKits -= 1;
  game.host->PlaySound(player.Sound(SoundUseHealth));
}

void ReadJoystick(Game& game, PlayerState& player) {
  if (!game.host->PollJoystick(player.PlayerNumber, game.Joystick)) {
    game.host->ShowError(player.PlayerNumber == 2 ? "Error reading player2 joystick."
                                                  : "Error reading player1 joystick.");
    return;
  }
  if (player.Warped || player.Dead) {
    player.MoveDirection = 0;
    return;
  }
  const JoystickReading& stick = game.Joystick;
  const int t = JoystickThreshold;
  const bool left = stick.X <= -t, right = stick.X >= t;
  const bool up = stick.Y <= -t, down = stick.Y >= t;
  // Diagonals first; a straight deflection also moves the item-menu selection.
  int dir = 0;
  int menuChoice = 0;  // 0: the selection stays
  if (up || down) {
    if (left || right)
      dir = up ? (left ? 8 : 2) : (left ? 6 : 4);
    else
      dir = up ? 1 : 5, menuChoice = MenuLife;
  } else if (left) {
    dir = 7, menuChoice = MenuBomb;
  } else if (right) {
    dir = 3, menuChoice = MenuNothing;
  }

  if (player.MenuOpen) {
    if (menuChoice) player.MenuChoice = menuChoice;
    player.MoveDirection = 0;
  } else {
    player.MoveDirection = dir;
  }
  // Applied on every poll: holding the button keeps firing, letting go sets off a bomb.
  if (stick.FireButton)
    FireDown(game, player);
  else
    FireUp(game, player);
  if (!player.MenuOpen && !player.BombActive && stick.MenuButton) OpenItemMenu(player);
}

void PlayersTick(Game& game) {
  if (!game.Player1.UsesKeyboard) ReadJoystick(game, game.Player1);
  UpdatePlayer(game, game.Player1);
  if (game.TwoPlayers() && !game.Player2.UsesKeyboard) ReadJoystick(game, game.Player2);
  UpdatePlayer(game, game.Player2);
}

void UpdatePlayer(Game& game, PlayerState& player) {
  if (player.ShieldTicks == 1) player.StatusText.clear();
  // Runs on below zero for ever; only the bound keeps the counter defined.
  if (player.ShieldTicks > INT32_MIN) player.ShieldTicks -= 1;

  game.host->ProcessMessages();

  if (player.MoveDirection == 0 || player.Firing || player.BombActive) {
    if (player.BombActive) SteerBomb(game, player);
    return;
  }
  if (!InPlay(player)) return;

  const int oldX = player.X, oldY = player.Y;
  const int oldRoomX = game.World.CurrentRoomX, oldRoomY = game.World.CurrentRoomY;
  StepPlayer(game, player);
  const bool sameRoom =
      game.World.CurrentRoomX == oldRoomX && game.World.CurrentRoomY == oldRoomY;

  if (CellIsSlide(game.World, player.X, player.Y) && Slide(game, player)) {
    player.X = oldX;
    player.Y = oldY;
  }

  const bool hidden = EnterCell(game, player, oldX, oldY);

  const bool moved = player.X != oldX || player.Y != oldY;
  if (moved && sameRoom) SetCell(game, oldX, oldY, Cell::Floor);
  if (!hidden && moved) SetCell(game, player.X, player.Y, player.Code());
}

void StepPlayer(Game& game, PlayerState& player) {
  const int dir = player.MoveDirection;
  if (!IsDirection(dir)) return;
  const int tx = player.X + DirDx[dir];
  const int ty = player.Y + DirDy[dir];
  if (PlayerCanEnter(game.World, tx, ty)) {
    player.X = tx;
    player.Y = ty;
  } else if (WorldGrid::OutsideRoom(tx, ty)) {
    LeaveRoom(game, LeaveDirection(player));
  }
}

bool PlayerCanEnter(const WorldGrid& world, int x, int y) {
  if (WorldGrid::OutsideRoom(x, y)) return false;
  const int code = world.At(x, y);
  switch (code) {
    case Cell::Floor:
    case Cell::Health:
    case Cell::Bomb:
    case Cell::Money:
    case Cell::Key:
    case Cell::Door:
    case Cell::Finish:
    case Cell::DeathField:
    case Cell::Shield:
      return true;
    default:
      return CodeIsPigProducer(code) || CodeIsLaserBeam(code) || CodeIsSlide(code);
  }
}

void DamagePlayer(Game& game, int amount, int code, bool withSound) {
  PlayerState& player = game.PlayerByCode(code);
  // The shield stops everything but explosions and mines.
  if (player.ShieldTicks <= 0 || amount >= 200) player.Life -= amount;

  bool diedNow = false;
  if (player.Life < 0) {
    player.MoveDirection = 0;
    player.ShieldTicks = 0;
    player.BombActive = false;
    player.MenuOpen = false;
    if (!player.Dead) {
      SetCell(game, player.X, player.Y, Cell::Floor);
      game.host->PlaySound(player.Sound(SoundDie));
      diedNow = true;
    }
    player.Dead = true;
  }
  if (!diedNow && withSound) game.host->PlaySound(player.Sound(SoundLoseLife));
}
