#include "replay/game_state_hash.h"

#include "play/game.h"

namespace {

// FNV-1a over 64-bit words: fast enough to run every few passes.
class Hasher {
 public:
  void Add(uint64_t v) {
    h_ ^= v;
    h_ *= 1099511628211ULL;
  }
  void AddText(const std::string& s) {
    Add(s.size());
    for (const unsigned char c : s) Add(c);
  }
  uint64_t Value() const { return h_; }

 private:
  uint64_t h_ = 14695981039346656037ULL;
};

void AddPlayer(Hasher& h, const PlayerState& p) {
  for (const int32_t v : {p.X, p.Y, p.StartX, p.StartY, p.ShotX, p.ShotY, p.BombX, p.BombY, p.Life, p.Points,
                          p.Keys, p.HealthKits, p.Bombs, p.LevelsPassed, p.KeyLeft, p.KeyRight, p.KeyUp,
                          p.KeyDown, p.KeyFire, p.KeyMenu, p.MenuChoice, p.PlayerNumber, p.ShotAge,
                          p.ShieldTicks, p.MoveDirection, p.ShotDirection, p.CodeUnderBomb,
                          p.KeysHeld, p.KeysPressed, p.StepTaps})
    h.Add(static_cast<uint32_t>(v));
  for (const bool b : {p.Firing, p.BombActive, p.ShotActive, p.MenuOpen, p.Dead, p.Warped, p.UsesKeyboard})
    h.Add(b);
  h.AddText(p.StatusText);
}

}  // namespace

uint64_t GameStateHash(const Game& game) {
  Hasher h;
  const WorldGrid& w = game.World;
  // Four cells to a word, the first in the top bits. It runs at every pass, so whole
  // words are put together without a test per cell.
  const std::size_t count = w.Cells.size();
  const auto cell = [&w](std::size_t i) { return static_cast<uint64_t>(static_cast<uint16_t>(w.Cells[i])); };
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) h.Add(cell(i) << 48 | cell(i + 1) << 32 | cell(i + 2) << 16 | cell(i + 3));
  if (i < count) {
    uint64_t word = 0;
    for (; i < count; ++i) word = word << 16 | cell(i);
    h.Add(word);
  }
  for (const int32_t v : {int32_t{w.CurrentRoomX}, int32_t{w.CurrentRoomY}, int32_t{w.StartRoomX},
                          int32_t{w.StartRoomY}, game.Clock.c0, game.Clock.c1, game.Clock.c2, game.Clock.c3,
                          game.PlayerCount, game.LevelCount, game.LevelIndex})
    h.Add(static_cast<uint32_t>(v));
  h.Add(game.RandomLevels);
  AddPlayer(h, game.Player1);
  AddPlayer(h, game.Player2);
  const JoystickReading& j = game.Joystick;
  for (const int32_t v : {j.X, j.Y}) h.Add(static_cast<uint32_t>(v));
  h.Add(j.FireButton);
  h.Add(j.MenuButton);
  return h.Value();
}
