// Random and damaged level files: whatever a file holds, loading it and playing it for a
// while keeps the world whole (run under the sanitizers, so stray reads and writes fail).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "play/player_control.h"
#include "support/fake_host.h"
#include "support/keyboard_game.h"
#include "support/world_invariants.h"
#include "play/game.h"
#include "play/level_loading.h"
#include "world/level_file.h"
#include "play/world_tick.h"

namespace {

namespace fs = std::filesystem;

constexpr int Ticks = 300;
// Every code a level can mean something with, for files that look like levels.
constexpr int Palette[] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                           13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24, 31, 32, 33, 34, 35, 36,
                           37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53,
                           54, 55, 56, 57, 58, 59, 60, 64, 67, 68, 77, 78, 100, 200, 255};
constexpr const int (&Keys)[12] = DefaultKeys;

class LevelFuzzTest : public ::testing::Test {
 protected:
  LevelFuzzTest() : game(host) {
    std::string pattern = (fs::temp_directory_path() / "trok_fuzz_XXXXXX").string();
    dir = mkdtemp(pattern.data());
    fs::create_directories(dir / "FELDS");
    game.StartDirectory = dir.string() + "/";
    game.LevelCount = 1;
  }
  ~LevelFuzzTest() override { fs::remove_all(dir); }

  void WriteLevel(std::vector<uint8_t> plain, bool scramble = true) {
    if (scramble) ScrambleLevelBytes(plain.data(), plain.size());
    std::ofstream out(LevelFileName(game.StartDirectory, 0), std::ios::binary);
    out.write(reinterpret_cast<const char*>(plain.data()), static_cast<std::streamsize>(plain.size()));
  }

  // A level of plausible content with one Start somewhere, possibly on a room's edge.
  std::vector<uint8_t> PlausibleLevel() {
    std::vector<uint8_t> bytes(LevelFileSize);
    std::uniform_int_distribution<size_t> pick(0, std::size(Palette) - 1);
    const int density = Roll(5, 60);
    for (int n = 0; n < LevelCellBytes; ++n)
      bytes[n] = Roll(0, 99) < density ? static_cast<uint8_t>(Palette[pick(rng)]) : 0;
    bytes[static_cast<size_t>(Roll(0, LevelCellBytes - 1))] = Cell::Start;
    return bytes;
  }

  void Mutate(std::vector<uint8_t>& bytes) {
    const int changes = Roll(1, 40);
    for (int i = 0; i < changes && !bytes.empty(); ++i)
      bytes[static_cast<size_t>(Roll(0, static_cast<int>(bytes.size()) - 1))] =
          static_cast<uint8_t>(Roll(0, 255));
  }

  void StartGame() { StartTwoPlayerGame(game); }
  int Markers(CellCode code) const { return CountCells(game, code); }

  // Plays `Ticks` world ticks with random keys, checking after every tick and, as the
  // shell's timers would, now and then from inside the world's message processing.
  void Play() {
    StartGame();
    InvariantOptions options;
    options.markersOnlyAtPlayers = Markers(Cell::Player1) == 1 && Markers(Cell::Player2) == 1;
    WorldInvariants invariants(options);
    ASSERT_EQ(invariants.Check(game), "") << "right after loading";
    int pumps = 0;
    std::string broken;
    host.onProcessMessages = [&] {
      if (++pumps % 23 == 0 && broken.empty()) broken = invariants.Check(game);
    };
    for (int tick = 0; tick < Ticks && broken.empty(); ++tick) {
      if (Roll(0, 3) == 0) {
        const int key = Keys[Roll(0, static_cast<int>(std::size(Keys)) - 1)];
        PlayerState& p = game.Player(Roll(1, 2));
        if (Roll(0, 1))
          KeyPressed(game, key, p);
        else
          KeyReleased(game, key, p);
      }
      WorldTick(game);
      if (broken.empty()) broken = invariants.Check(game);
      // The warp timer's work, once everyone is at the Finish or dead.
      const PlayerState& p1 = game.Player1;
      const PlayerState& p2 = game.Player2;
      if ((p1.Warped || p2.Warped) && (p1.Warped || p1.Dead) && (p2.Warped || p2.Dead)) {
        AdvanceLevel(game);
        options.markersOnlyAtPlayers =
            Markers(Cell::Player1) == 1 && Markers(Cell::Player2) == 1;
        invariants.SetOptions(options);
      }
      host.drawn.clear();
      host.sounds.clear();
    }
    host.onProcessMessages = nullptr;
    EXPECT_EQ(broken, "");
  }

  int Roll(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

  FakeHost host;
  Game game;
  fs::path dir;
  std::mt19937 rng{20240611};
};

TEST_F(LevelFuzzTest, RandomFilesLoadAndPlay) {
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<uint8_t> bytes(LevelFileSize);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(Roll(0, 255));
    WriteLevel(bytes, false);
    ASSERT_EQ(LoadLevel(game, 0), LevelLoad::Loaded);
    Play();
    if (HasFailure()) return;
  }
}

TEST_F(LevelFuzzTest, PlausibleAndMutatedLevelsLoadAndPlay) {
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<uint8_t> bytes = PlausibleLevel();
    if (round % 2) Mutate(bytes);
    WriteLevel(bytes);
    ASSERT_EQ(LoadLevel(game, 0), LevelLoad::Loaded);
    Play();
    if (HasFailure()) return;
  }
}

TEST_F(LevelFuzzTest, ShortFilesFailAndLongFilesLoadTheirFirstBytes) {
  for (int size : {0, 1, 10, LevelCellBytes - 1, LevelCellBytes, LevelFileSize - 1}) {
    SCOPED_TRACE("size " + std::to_string(size));
    std::vector<uint8_t> bytes = PlausibleLevel();
    bytes.resize(static_cast<size_t>(size));
    WriteLevel(bytes);
    host.errors.clear();
    EXPECT_EQ(LoadLevel(game, 0), LevelLoad::Failed);
    EXPECT_EQ(host.errors.size(), 1u);
    // The grid is left cleared: frame and floor only.
    EXPECT_EQ(CheckWorldInvariants(game), "");
    int nonFloor = 0;
    for (CellCode c : game.World.Cells) nonFloor += c != Cell::Floor && c != Cell::BrickSolidEdge;
    EXPECT_EQ(nonFloor, 0);
  }
  for (int extra : {1, 7, 3000}) {
    SCOPED_TRACE("extra " + std::to_string(extra));
    std::vector<uint8_t> bytes = PlausibleLevel();
    WriteLevel(bytes);
    ASSERT_EQ(LoadLevel(game, 0), LevelLoad::Loaded);
    const auto exact = game.World.Cells;
    for (int i = 0; i < extra; ++i) bytes.push_back(static_cast<uint8_t>(Roll(0, 255)));
    WriteLevel(bytes);
    ASSERT_EQ(LoadLevel(game, 0), LevelLoad::Loaded);
    EXPECT_EQ(game.World.Cells, exact);
    Play();
  }
}

}  // namespace
