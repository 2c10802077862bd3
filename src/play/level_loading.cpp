// A level into the running game: its grid, the players' markers beside the Start and
// the level title; and the change to the next level after a warp.
#include "play/level_loading.h"

#include "play/game.h"
#include "world/level_file.h"

namespace {

// Keeps both markers inside the room of the Start: a Start in the first or last
// column would otherwise put one player outside it.
void StartColumns(int startX, int& player1X, int& player2X) {
  player1X = startX - 1;
  player2X = startX + 1;
  if (player1X < 0) {
    player1X = startX + 1;
    player2X = startX + 2;
  } else if (player2X >= GridRoomWidth) {
    player1X = startX - 2;
    player2X = startX - 1;
  }
}

bool PlacePlayersAtStart(Game& game) {
  WorldGrid& w = game.World;
  for (int ry = 0; ry < w.RoomsDown; ++ry)
    for (int rx = 0; rx < w.RoomsAcross; ++rx)
      for (int y = 0; y < w.RoomHeight; ++y)
        for (int x = 0; x < w.RoomWidth; ++x) {
          if (w.RoomCell(rx, ry, x, y) != Cell::Start) continue;
          int x1 = 0, x2 = 0;
          StartColumns(x, x1, x2);
          game.Player1.StartX = x1;
          game.Player1.StartY = y;
          game.Player2.StartX = x2;
          game.Player2.StartY = y;
          w.RoomCell(rx, ry, x1, y) = Cell::Player1;
          w.RoomCell(rx, ry, x2, y) = Cell::Player2;
          w.StartRoomX = static_cast<int16_t>(rx);
          w.StartRoomY = static_cast<int16_t>(ry);
          return true;
        }
  return false;
}

}  // namespace

LevelLoad LoadLevel(Game& game, int levelNumber) {
  WorldGrid& w = game.World;
  if (FillGridFromLevelFile(LevelFileName(game.StartDirectory, levelNumber), w)) {
    game.host->ShowError(LevelLoadError);
    return LevelLoad::Failed;
  }
  if (!PlacePlayersAtStart(game)) {
    game.Player1.StartX = 2;
    game.Player1.StartY = 5;
    game.Player2.StartX = 4;
    game.Player2.StartY = 5;
    w.RoomCell(0, 0, 2, 5) = Cell::Player1;
    w.RoomCell(0, 0, 4, 5) = Cell::Player2;
    w.StartRoomX = w.StartRoomY = 0;
  }
  game.host->SetLevelTitle("Level " + std::to_string(levelNumber));
  return LevelLoad::Loaded;
}

void AdvanceLevel(Game& game) {
  int next;
  if (game.RandomLevels)
    next = game.LevelCount > 0 ? game.host->Random(game.LevelCount) : 0;
  else {
    next = game.LevelIndex + 1;
    if (next > game.LevelCount - 1) next = 0;
  }
  game.LevelIndex = next;
  LoadLevel(game, next);
  // A shot still in flight belongs to the old grid; in the new one it would clear
  // whatever stands at its position.
  game.Player1.ShotActive = false;
  game.Player2.ShotActive = false;

  PlayerState& p1 = game.Player1;
  p1.Warped = false;
  p1.X = p1.StartX;
  p1.Y = p1.StartY;
  if (!p1.Dead) {
    ++p1.LevelsPassed;
    p1.StatusText.clear();
  }
  PlayerState& p2 = game.Player2;
  p2.X = p2.StartX;
  p2.Y = p2.StartY;
  if (game.TwoPlayers()) {
    p2.Warped = false;
    if (!p2.Dead) {
      ++p2.LevelsPassed;
      p2.StatusText.clear();
    }
  }
  game.World.SetCurrentRoom(game.World.StartRoomX, game.World.StartRoomY);
  game.host->DrawRoom();
}
