#pragma once
// Presses and releases one player's keys, as bound on the options screen, so that the
// game's own key handling produces the intended direction, firing and item use.
#include <array>

#include "players/player_state.h"
#include "shell/headless_program.h"
#include "trok_autoplay/pilot.h"

class PlayerHands {
 public:
  // Takes the bindings the game copied into the player's record.
  explicit PlayerHands(const PlayerState& bindings);

  void Apply(const Intent& intent, const PlayerState& now, HeadlessProgram& program);
  // Lets go of every key held.
  void ReleaseAll(HeadlessProgram& program);

 private:
  enum Slot { Up, Down, Left, Right, Fire, Menu, SlotCount };
  void Set(Slot slot, bool down, HeadlessProgram& program);

  std::array<int, SlotCount> vk_{};
  std::array<bool, SlotCount> held_{};
};

// The direction keys (up, down, left, right) that make `dir`.
std::array<bool, 4> DirectionKeys(int dir);
