#pragma once
// A game in room (2, 2) of a cleared grid, player 1 at (5, 5) and, in two-player
// games, player 2 at (9, 5), played through a recording host.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "play/player_control.h"
#include "support/fake_host.h"
#include "play/game.h"

namespace keys {
constexpr int Left = 37, Up = 38, Right = 39, Down = 40, Fire = 17, Menu = 32;
constexpr int P2Left = 65, P2Up = 87, P2Right = 68, P2Down = 83, P2Fire = 81, P2Menu = 69;
}  // namespace keys

using Sounds = std::vector<int>;

class PlayersTest : public ::testing::Test {
 protected:
  FakeHost host;
  Game game{host};
  PlayerState& p1 = game.Player1;
  PlayerState& p2 = game.Player2;

  void SetUp() override { StartGame(1); }

  void StartGame(int playerCount, int roomX = 2, int roomY = 2) {
    game.World.ClearWorld();
    game.World.SetCurrentRoom(roomX, roomY);
    game.PlayerCount = playerCount;
    p1.StartX = 5, p1.StartY = 5, p2.StartX = 9, p2.StartY = 5;
    ResetPlayer(p1, 1);
    ResetPlayer(p2, 2);
    p1.KeyLeft = keys::Left, p1.KeyUp = keys::Up, p1.KeyRight = keys::Right;
    p1.KeyDown = keys::Down, p1.KeyFire = keys::Fire, p1.KeyMenu = keys::Menu;
    p2.KeyLeft = keys::P2Left, p2.KeyUp = keys::P2Up, p2.KeyRight = keys::P2Right;
    p2.KeyDown = keys::P2Down, p2.KeyFire = keys::P2Fire, p2.KeyMenu = keys::P2Menu;
    At(5, 5) = Cell::Player1;
    if (playerCount == 2)
      At(9, 5) = Cell::Player2;
    else
      p2.Dead = true;
    host.drawn.clear();
    host.sounds.clear();
  }

  CellCode& At(int x, int y) { return game.World.At(x, y); }
  void MoveTo(PlayerState& player, int x, int y) {
    At(player.X, player.Y) = Cell::Floor;
    player.X = x, player.Y = y;
    At(x, y) = player.Code();
  }
  // One player step in a direction, as a held key makes it.
  void Walk(PlayerState& player, int direction) {
    player.MoveDirection = direction;
    UpdatePlayer(game, player);
  }
  void Press(int key, PlayerState& player) { KeyPressed(game, key, player); }
  void Release(int key, PlayerState& player) { KeyReleased(game, key, player); }

  bool WasDrawn(int x, int y, int code) const {
    return std::any_of(host.drawn.begin(), host.drawn.end(),
                       [&](const auto& c) { return c.x == x && c.y == y && c.code == code; });
  }
  bool DrawnInColumnOrRowZero() const {
    return std::any_of(host.drawn.begin(), host.drawn.end(),
                       [](const auto& c) { return c.x == 0 || c.y == 0; });
  }
  int CountInRoom(int code) {
    int n = 0;
    for (int x = 0; x < GridRoomWidth; ++x)
      for (int y = 0; y < GridRoomHeight; ++y) n += At(x, y) == code;
    return n;
  }
};
