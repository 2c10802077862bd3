#pragma once
// A game on a cleared grid with room (2, 2) current, both players dead and out of the
// way, and helpers to set up cells and run scans.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "support/fake_host.h"
#include "play/game.h"
#include "play/world_tick.h"

class WorldTest : public ::testing::Test {
 protected:
  static constexpr int RoomX = 2;
  static constexpr int RoomY = 2;

  WorldTest() : game(host) {
    game.World.SetCurrentRoom(RoomX, RoomY);
    game.PlayerCount = 2;
    game.Player1.PlayerNumber = 1;
    game.Player2.PlayerNumber = 2;
    game.Player1.Dead = true;
    game.Player2.Dead = true;
  }

  void Put(int x, int y, CellCode code) { game.World.At(x, y) = code; }
  CellCode At(int x, int y) const { return game.World.At(x, y); }
  // A cell of the room dx, dy rooms away from the current one.
  CellCode& Beside(int dx, int dy, int x, int y) {
    return game.World.RoomCell(RoomX + dx, RoomY + dy, x, y);
  }

  // A living, unshielded player standing on its marker at (x, y).
  void PlacePlayer(int number, int x, int y, int life = 500) {
    PlayerState& p = game.Player(number);
    p.Dead = false;
    p.X = x;
    p.Y = y;
    p.Life = life;
    p.ShieldTicks = 0;
    Put(x, y, number == 2 ? Cell::Player2 : Cell::Player1);
  }

  void Script(std::initializer_list<int> draws) { host.scriptedDraws.assign(draws); }

  // Sets the clocks to where they stand when c0 has this value, counted from program
  // start, and runs that tick.
  void TickAt(int32_t c0) {
    game.Clock.c0 = c0;
    game.Clock.c1 = std::max(1, c0 - 15);
    game.Clock.c2 = std::max(1, c0 - 31);
    game.Clock.c3 = std::max(1, c0 - 47);
    WorldTick(game);
  }
  // A scan in which everything but the lasers acts.
  void FullScan() { TickAt(16); }

  bool WasDrawn(int x, int y, int code) const {
    return std::any_of(host.drawn.begin(), host.drawn.end(), [&](const FakeHost::DrawnCell& d) {
      return d.x == x && d.y == y && d.code == code;
    });
  }
  int CountInRoom(CellCode code) const {
    int n = 0;
    for (int x = 0; x < GridRoomWidth; ++x)
      for (int y = 0; y < GridRoomHeight; ++y) n += At(x, y) == code;
    return n;
  }

  FakeHost host;
  Game game;
};
