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

// What a direction key does: joined to a walk along the other axis (`sideA`,
// `sideB`) it makes a diagonal; standing, it starts a walk, or moves the item-menu
// selection while the menu is open. Letting it go turns its diagonals back.
struct DirectionKey {
  int32_t bit;
  int sideA, diagonalA, sideB, diagonalB, standing, menuChoice;
};
constexpr DirectionKey UpKey{PlayerKey::Up, Dir::Right, Dir::UpRight, Dir::Left, Dir::UpLeft, Dir::Up, MenuLife};
constexpr DirectionKey DownKey{PlayerKey::Down,   Dir::Right, Dir::DownRight, Dir::Left,
                               Dir::DownLeft,     Dir::Down,  MenuLife};
constexpr DirectionKey LeftKey{PlayerKey::Left, Dir::Up, Dir::UpLeft, Dir::Down, Dir::DownLeft, Dir::Left, MenuBomb};
constexpr DirectionKey RightKey{PlayerKey::Right, Dir::Up,    Dir::UpRight, Dir::Down,
                                Dir::DownRight,   Dir::Right, MenuNothing};
constexpr const DirectionKey* DirectionKeys[4] = {&UpKey, &DownKey, &LeftKey, &RightKey};

// The first of up, down, left, right bound to `key`.
const DirectionKey* DirectionOf(const PlayerState& player, int key) {
  if (key == player.KeyUp) return &UpKey;
  if (key == player.KeyDown) return &DownKey;
  if (key == player.KeyLeft) return &LeftKey;
  if (key == player.KeyRight) return &RightKey;
  return nullptr;
}

int Joined(int dir, const DirectionKey& k) {
  if (dir == k.sideA) return k.diagonalA;
  if (dir == k.sideB) return k.diagonalB;
  return dir == Dir::None ? k.standing : dir;
}

// Releasing one key of a held diagonal keeps walking along the other key.
int Released(int dir, const DirectionKey& k) {
  if (dir == k.diagonalA) return k.sideA;
  if (dir == k.diagonalB) return k.sideB;
  return Dir::None;
}

int32_t KeyBits(const PlayerState& player, int key) {
  const DirectionKey* direction = DirectionOf(player, key);
  return (direction ? direction->bit : 0) | (key == player.KeyFire ? PlayerKey::Fire : 0);
}

}  // namespace

void KeyPressed(Game& game, int key, PlayerState& player) {
  // The keyboard's own repeat of a held key is no new press.
  const int32_t fresh = KeyBits(player, key) & ~player.KeysHeld;
  player.KeysHeld |= fresh;
  if (player.Warped || player.Dead) {
    player.MoveDirection = Dir::None;
    return;
  }
  // A direction chosen in the item menu walks nowhere, now or at the next step.
  const bool walking = !player.MenuOpen;
  if (const DirectionKey* k = DirectionOf(player, key)) {
    if (player.MoveDirection == Dir::None && player.MenuOpen)
      player.MenuChoice = k->menuChoice;
    else
      player.MoveDirection = Joined(player.MoveDirection, *k);
  }
  if (key == player.KeyFire) FireDown(game, player);
  int32_t counted = walking ? fresh & ~PlayerKey::Fire : 0;
  if (player.Firing) counted |= fresh & PlayerKey::Fire;
  player.KeysPressed |= counted;
}

void KeyReleased(Game& game, int key, PlayerState& player) {
  player.KeysHeld &= ~KeyBits(player, key);
  if (const DirectionKey* k = DirectionOf(player, key))
    player.MoveDirection = Released(player.MoveDirection, *k);
  if (key == player.KeyFire) FireUp(game, player);
  // The menu opens on release so that its key cannot also repeat into it.
  if (key == player.KeyMenu && InPlay(player) && !player.MenuOpen && !player.BombActive)
    OpenItemMenu(player);
}

int StepDirection(const PlayerState& player) {
  int dir = player.MoveDirection;
  if (player.MenuOpen || !InPlay(player)) return dir;
  for (const DirectionKey* k : DirectionKeys)
    if (player.StepTaps & k->bit) dir = Joined(dir, *k);
  return dir;
}

bool StepFiring(const PlayerState& player) {
  return player.Firing || (player.StepTaps & PlayerKey::Fire) != 0;
}

void EndPlayersStep(Game& game) {
  game.Player1.StepTaps = 0;
  game.Player2.StepTaps = 0;
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
  player.MoveDirection = Dir::None;
  player.Firing = false;
  player.KeysPressed = 0;
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
    player.MoveDirection = Dir::None;
    return;
  }
  const JoystickReading& stick = game.Joystick;
  const int t = JoystickThreshold;
  const bool left = stick.X <= -t, right = stick.X >= t;
  const bool up = stick.Y <= -t, down = stick.Y >= t;
  // Diagonals first; a straight deflection also moves the item-menu selection.
  int dir = Dir::None;
  int menuChoice = 0;  // 0: the selection stays
  if (up || down) {
    if (left || right)
      dir = up ? (left ? Dir::UpLeft : Dir::UpRight) : (left ? Dir::DownLeft : Dir::DownRight);
    else
      dir = up ? Dir::Up : Dir::Down, menuChoice = MenuLife;
  } else if (left) {
    dir = Dir::Left, menuChoice = MenuBomb;
  } else if (right) {
    dir = Dir::Right, menuChoice = MenuNothing;
  }

  if (player.MenuOpen) {
    if (menuChoice) player.MenuChoice = menuChoice;
    player.MoveDirection = Dir::None;
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

  // A key pressed since the last step counts even if it was let go before this one.
  player.StepTaps = player.KeysPressed & ~player.KeysHeld;
  player.KeysPressed = 0;
  if (StepDirection(player) == Dir::None || StepFiring(player) || player.BombActive) {
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
  const int dir = StepDirection(player);
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
  return PlayerCanEnterCode(world.At(x, y));
}

void DamagePlayer(Game& game, int amount, int code, bool withSound) {
  PlayerState& player = game.PlayerByCode(code);
  // The shield stops everything but explosions and mines.
  if (player.ShieldTicks <= 0 || amount >= 200) player.Life -= amount;

  bool diedNow = false;
  if (player.Life < 0) {
    player.MoveDirection = Dir::None;
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
