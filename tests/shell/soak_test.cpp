// Plays every shipped level for a long stretch of virtual time with seeded random input
// for one and two players, and checks the world between passes and inside message
// processing. Faults of memory and arithmetic anywhere in the run are the sanitizers'.
// TROK_SOAK_MINUTES sets the virtual minutes of each run (a longer soak), TROK_SOAK_SEED
// another seed.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "shell/game_directory_fixture.h"
#include "support/world_invariants.h"
#include "world/direction.h"
#include "play/room_cells.h"

namespace {

constexpr int ShippedLevels = 30;
// Virtual seconds per run unless TROK_SOAK_MINUTES says otherwise.
constexpr double DefaultRunSeconds = 30.0;
constexpr int DriverIntervalMs = 10;

double RunSeconds() {
  if (const char* env = std::getenv("TROK_SOAK_MINUTES")) {
    const double minutes = std::atof(env);
    if (minutes > 0) return minutes * 60.0;
  }
  return DefaultRunSeconds;
}

// TROK_SOAK_SEED varies the input and the game's dice from the fixed default.
uint32_t SeedBase() {
  const char* env = std::getenv("TROK_SOAK_SEED");
  return env ? static_cast<uint32_t>(std::strtoul(env, nullptr, 10)) * 7919u : 0u;
}

// Both players' default bindings: Up, Down, Left, Right, Fire, Menu.
constexpr std::array<int, 12> PlayerKeys = {VK::Up, VK::Down, VK::Left, VK::Right,
                                            VK::Control, VK::Shift, 'T', 'G', 'F', 'H', 'Z', 'A'};

struct RunStats {
  int checks = 0;
  int warps = 0;
  int deaths = 0;
  int roomChanges = 0;
  int steps = 0;
  uint64_t allDeadAt = UINT64_MAX;
  uint64_t finishFrom = 0;  // when a Finish is first laid out
  bool gameOver = false;
  bool backAtMenu = false;
  std::vector<std::string> faults;
};

class SoakTest : public GameDirectoryTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    MakeGameDirectory(ShippedLevels);
    StartProgram(std::make_unique<NullAudioDoor>());  // no waves or music to hear
    ReachTitleMenu();
    driver_ = &program->CreateTimer();
    driver_->onTimer = [this] { Drive(); };
  }

  // One game from the title menu back to it. Past `warpAt` a Finish is put in front of
  // each walking player until the level changes; past `dieAt` a mine in front of the
  // players of `doomed` (bit 0 player 1, bit 1 player 2) until they are dead.
  RunStats Play(int level, int players, uint32_t seed, double warpAt, double dieAt,
                int doomed) {
    stats_ = RunStats{};
    invariants_ = WorldInvariants();
    rng_.seed(seed);
    program->UseFixedSeed(seed);
    busyUntil_.fill(0);
    headingUntil_.fill(0);
    program->SetLevelLabel(std::to_string(level));
    program->SetPlayersLabel(std::to_string(players));
    const uint64_t start = Now() + 5;
    const uint64_t length = static_cast<uint64_t>(RunSeconds() * 1000);
    end_ = start + length;
    warpAt_ = start + static_cast<uint64_t>(warpAt * static_cast<double>(length));
    dieAt_ = start + static_cast<uint64_t>(dieAt * static_cast<double>(length));
    doomed_ = doomed;
    stats_.finishFrom = warpAt_;
    level_ = room_ = position_ = -1;
    deadSeen_ = {false, false};
    phase_ = Phase::Starting;
    PushKey(VK::F2, start);
    driver_->SetInterval(DriverIntervalMs);
    const uint64_t limit = end_ + 15000;
    while (phase_ != Phase::Done && Now() < limit && !program->Terminated()) RunFor(50);
    driver_->SetInterval(0);
    if (phase_ != Phase::Done) Fault("the run did not end");
    stats_.backAtMenu = program->InTitleMenu() && program->GameStopped() &&
                        program->Visible() == &program->MainWindow() && program->OpenBoxes().empty();
    return stats_;
  }

 private:
  enum class Phase { Starting, Playing, Ending, Done };

  void Fault(const std::string& what) {
    if (stats_.faults.size() < 5)
      stats_.faults.push_back("at " + std::to_string(Now()) + " ms, level " +
                              std::to_string(program->GameState().LevelIndex) + ": " + what);
  }

  bool Playing() const {
    return program->InGame() && !program->GameStopped() && !program->AbortQuestionOpen() &&
           program->GameState().PlayerCount > 0;
  }

  void Drive() {
    const uint64_t now = Now();
    if (now > end_ + 12000 && phase_ != Phase::Done) {
      // A game that cannot be left would hang the suite; end the program instead.
      Fault("still not back at the title menu");
      program->Quit();
      return;
    }
    switch (phase_) {
      case Phase::Starting:
        if (Playing()) phase_ = Phase::Playing;
        return;
      case Phase::Playing:
        if (!Playing()) {
          if (program->GameStopped()) LeaveScores();
          return;
        }
        Check();
        if (now >= end_) {
          phase_ = Phase::Ending;
          Push(InputEvent::Type::KeyDown, VK::Escape, now);
          Push(InputEvent::Type::KeyUp, VK::Escape, now + 20);
          PushKey('Y', now + 200);
          return;
        }
        if (now >= warpAt_ && stats_.warps == 0) PutAhead(Cell::Finish, 3);
        if (now >= dieAt_) PutAhead(Cell::DeathField, doomed_);
        Input(now);
        return;
      case Phase::Ending:
        LeaveScores();
        return;
      case Phase::Done:
        return;
    }
  }

  // After a game over the high-score screen is in front, perhaps under name dialogs;
  // Escape closes each of them, then leaves the screen.
  void LeaveScores() {
    if (program->Visible() == &program->Scores()) {
      stats_.gameOver = true;
      if (Now() >= nextEscapeAt_) {
        PushKey(VK::Escape, Now());
        nextEscapeAt_ = Now() + 200;
      }
      return;
    }
    nextEscapeAt_ = 0;
    if (program->InTitleMenu() && program->GameStopped() && program->Visible() == &program->MainWindow() &&
        program->OpenBoxes().empty())
      phase_ = Phase::Done;
  }

  void Check() {
    ++stats_.checks;
    const Game& game = program->GameState();
    if (level_ != -1 && game.LevelIndex != level_) ++stats_.warps;
    level_ = game.LevelIndex;
    const int room = game.World.CurrentRoomX * 10 + game.World.CurrentRoomY;
    if (room_ != -1 && room != room_) ++stats_.roomChanges;
    room_ = room;
    const int position = game.Player1.X * 100 + game.Player1.Y;
    if (position != position_) ++stats_.steps;
    position_ = position;
    for (int n = 1; n <= game.PlayerCount; ++n) {
      const bool dead = n == 1 ? game.Player1.Dead : game.Player2.Dead;
      if (dead && !deadSeen_[n - 1]) ++stats_.deaths;
      deadSeen_[n - 1] = dead;
    }
    const bool allDead = game.Player1.Dead && (game.PlayerCount == 1 || game.Player2.Dead);
    if (allDead && stats_.allDeadAt == UINT64_MAX) stats_.allDeadAt = Now();
    const std::string broken = invariants_.Check(game);
    if (!broken.empty()) Fault(broken);
  }

  // Writes `code` into the free cell a walking player steps into next, so the real
  // step takes it.
  void PutAhead(CellCode code, int players) {
    Game& game = program->GameState();
    for (int n = 1; n <= game.PlayerCount; ++n) {
      const PlayerState& p = game.Player(n);
      if (!(players & (1 << (n - 1)))) continue;
      if (!InPlay(p) || p.Firing || p.BombActive || !IsDirection(p.MoveDirection)) continue;
      const int x = p.X + DirDx[p.MoveDirection], y = p.Y + DirDy[p.MoveDirection];
      if (WorldGrid::OutsideRoom(x, y) || game.World.At(x, y) != Cell::Floor) continue;
      SetCell(game, x, y, code);
    }
  }

  // Each player in turn walks straight or diagonally, aims and shoots, opens the item
  // menu and uses it, or rests, holding keys as long as a person would.
  void Input(uint64_t now) {
    for (int player = 0; player < 2; ++player) {
      if (now < busyUntil_[player]) continue;
      const int* keys = &PlayerKeys[static_cast<size_t>(player) * 6];
      const int up = keys[0], down = keys[1], left = keys[2], right = keys[3];
      const int fire = keys[4], menu = keys[5];
      // A heading kept for a few seconds carries the players from room to room; a
      // player who got nowhere with it turns.
      const PlayerState& p = program->GameState().Player(player + 1);
      const int position = p.X * 100 + p.Y;
      if (now >= headingUntil_[player] || position == lastPosition_[player]) {
        heading_[player] = Roll(0, 3);
        headingUntil_[player] = now + Roll(2000, 8000);
      }
      const int walk = keys[Roll(0, 9) < 6 ? heading_[player] : Roll(0, 3)];
      const int action = Roll(0, 99);
      uint64_t t = now;
      if (action < 50) {
        t += Roll(40, 900);
        Hold(walk, now, t);
      } else if (action < 62) {
        const int vertical = Roll(0, 1) ? up : down;
        const int horizontal = Roll(0, 1) ? left : right;
        const uint64_t second = now + Roll(0, 40);
        t = second + Roll(60, 800);
        Hold(vertical, now, t + Roll(0, 40));
        Hold(horizontal, second, t);
      } else if (action < 82) {
        // Aim, then fire while the direction is held.
        const uint64_t shoot = now + Roll(5, 40);
        t = shoot + Roll(30, 500);
        Hold(walk, now, t + Roll(0, 50));
        Hold(fire, shoot, t);
      } else if (action < 90) {
        // Menu on release, a choice, then fire: a bomb is steered while fire is held.
        Hold(menu, now, now + Roll(20, 100));
        Hold(walk, now + 150, now + 150 + Roll(20, 120));
        const uint64_t use = now + 350;
        t = use + Roll(30, 900);
        Hold(fire, use, t);
        if (Roll(0, 1)) Hold(keys[Roll(0, 3)], use + 50, t - 10);
      } else {
        t += Roll(50, 400);
      }
      busyUntil_[player] = t + 60 + Roll(0, 60);
      lastPosition_[player] = position;
    }
  }

  int Roll(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  void Hold(int vk, uint64_t downAt, uint64_t upAt) {
    Push(InputEvent::Type::KeyDown, vk, downAt);
    Push(InputEvent::Type::KeyUp, vk, upAt);
  }

  Timer* driver_ = nullptr;
  std::mt19937 rng_;
  std::array<uint64_t, 2> busyUntil_{}, headingUntil_{};
  std::array<int, 2> heading_{}, lastPosition_{};
  RunStats stats_;
  WorldInvariants invariants_;
  Phase phase_ = Phase::Done;
  uint64_t end_ = 0, warpAt_ = 0, dieAt_ = 0;
  int doomed_ = 0;
  int level_ = -1, room_ = -1, position_ = -1;
  std::array<bool, 2> deadSeen_{};
  uint64_t nextEscapeAt_ = 0;
};

std::string Report(const RunStats& s) {
  std::ostringstream out;
  out << s.checks << " checks, " << s.steps << " player 1 moves, " << s.roomChanges
      << " room changes, " << s.warps << " level changes, " << s.deaths << " deaths"
      << (s.gameOver ? ", game over" : "");
  for (const std::string& f : s.faults) out << "\n  " << f;
  return out.str();
}

// One player to a warp and then to death by a mine; two players to a warp, one of them
// dies, the other plays on to the abort question.
TEST_P(SoakTest, PlaysTheLevelWithOneAndTwoPlayers) {
  const int level = GetParam();
  const RunStats one = Play(level, 1, SeedBase() + 1000u + static_cast<uint32_t>(level), 0.3, 0.7, 1);
  EXPECT_TRUE(one.faults.empty()) << "one player: " << Report(one);
  EXPECT_GT(one.checks, 100) << Report(one);
  // A level may kill before the Finish is laid out (or the player comes to it).
  EXPECT_TRUE(one.warps >= 1 || one.allDeadAt < one.finishFrom + 2000) << Report(one);
  EXPECT_TRUE(one.gameOver) << Report(one);
  EXPECT_TRUE(one.backAtMenu) << Report(one);

  const RunStats two = Play(level, 2, SeedBase() + 2000u + static_cast<uint32_t>(level), 0.3, 0.6, 2);
  EXPECT_TRUE(two.faults.empty()) << "two players: " << Report(two);
  EXPECT_GT(two.checks, 100) << Report(two);
  EXPECT_TRUE(two.warps >= 1 || two.allDeadAt < two.finishFrom + 2000) << Report(two);
  EXPECT_TRUE(two.backAtMenu) << Report(two);
  std::cout << "level " << level << ": one player " << Report(one) << "; two players "
            << Report(two) << "\n";
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, SoakTest, ::testing::Range(0, ShippedLevels));

}  // namespace
