#include "trok_autoplay/player_hands.h"

#include "world/direction.h"

std::array<bool, 4> DirectionKeys(int dir) {
  if (!IsDirection(dir)) return {false, false, false, false};
  return {DirDy[dir] < 0, DirDy[dir] > 0, DirDx[dir] < 0, DirDx[dir] > 0};
}

PlayerHands::PlayerHands(const PlayerState& p)
    : vk_{p.KeyUp, p.KeyDown, p.KeyLeft, p.KeyRight, p.KeyFire, p.KeyMenu} {}

void PlayerHands::Set(Slot slot, bool down, HeadlessProgram& program) {
  if (held_[slot] == down) return;
  held_[slot] = down;
  program.Push(down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp, vk_[slot], program.Now());
}

void PlayerHands::ReleaseAll(HeadlessProgram& program) {
  for (int s = 0; s < SlotCount; ++s) Set(static_cast<Slot>(s), false, program);
}

void PlayerHands::Apply(const Intent& intent, const PlayerState& now, HeadlessProgram& program) {
  if (intent.useHealth) {
    if (now.MenuOpen || now.BombActive) return;
    // The menu opens on LIFE when its key is let go; fire then uses a kit.
    ReleaseAll(program);
    Set(Menu, true, program);
    Set(Menu, false, program);
    Set(Fire, true, program);
    Set(Fire, false, program);
    return;
  }
  const std::array<bool, 4> want = DirectionKeys(intent.dir);
  bool heldMatch = true;
  for (int k = 0; k < 4; ++k) heldMatch = heldMatch && held_[k] == want[k];
  // The game zeroes the direction on its own (a box, the menu): press again.
  if (heldMatch && intent.dir != 0 && now.MoveDirection != intent.dir && !now.MenuOpen)
    for (int k = 0; k < 4; ++k) Set(static_cast<Slot>(k), false, program);
  // Release first, so that no step is taken in a direction half changed; fire goes
  // down before a new direction (a shot, not a step) and up before it (a step, not a shot).
  for (int k = 0; k < 4; ++k)
    if (!want[k]) Set(static_cast<Slot>(k), false, program);
  Set(Fire, intent.fire, program);
  for (int k = 0; k < 4; ++k)
    if (want[k]) Set(static_cast<Slot>(k), true, program);
}
