// A level file as a player may drop into FELDS: the game loads it (or refuses it and
// leaves the grid cleared) and two players roam it for a while, keys taken from the
// bytes after the level, with the world checked every few ticks.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "play/game.h"
#include "play/level_loading.h"
#include "play/player_control.h"
#include "play/world_tick.h"
#include "support/fake_host.h"
#include "support/keyboard_game.h"
#include "support/world_invariants.h"
#include "world/level_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int Ticks = 160;
// The full check of the world costs more than a tick; every few ticks catches the same.
constexpr int CheckEvery = 8;

// One scratch game directory for the whole run.
struct ScratchDirectory {
  ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "trok_level_fuzz_XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    fs::create_directories(fs::path(pattern) / "FELDS");
    path = pattern + "/";
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  std::string path;
};

const std::string& StartDirectory() {
  static const ScratchDirectory dir;
  return dir.path;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeHost host;
  Game game(host);
  game.StartDirectory = StartDirectory();
  game.LevelCount = 1;
  {
    std::ofstream out(LevelFileName(game.StartDirectory, 0), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  if (LoadLevel(game, 0) == LevelLoad::Failed) {
    if (size >= static_cast<size_t>(LevelFileSize)) Fail("a whole level file was refused");
    for (CellCode c : game.World.Cells)
      if (c != Cell::Floor && c != Cell::BrickSolidEdge) Fail("a refused level left cells behind");
    return 0;
  }
  // The dice and the keys come from the input, so every run of it is the same.
  host.rng.seed(static_cast<uint32_t>(size));
  StartTwoPlayerGame(game);
  // A level may carry stray player markers of its own.
  const auto markersOnlyAtPlayers = [&] {
    return CountCells(game, Cell::Player1) == 1 && CountCells(game, Cell::Player2) == 1;
  };
  InvariantOptions options;
  options.markersOnlyAtPlayers = markersOnlyAtPlayers();
  WorldInvariants invariants(options);
  if (std::string broken = invariants.Check(game); !broken.empty()) Fail("after loading:\n" + broken);
  size_t next = LevelFileSize;
  for (int tick = 0; tick < Ticks; ++tick) {
    if (next < size) {
      const uint8_t b = data[next++];
      PlayerState& p = game.Player(1 + (b >> 7));
      const int key = DefaultKeys[(b & 0x3F) % 12];
      if (b & 0x40)
        KeyPressed(game, key, p);
      else
        KeyReleased(game, key, p);
    }
    WorldTick(game);
    if (tick % CheckEvery == CheckEvery - 1) {
      if (std::string broken = invariants.Check(game); !broken.empty())
        Fail("tick " + std::to_string(tick) + ":\n" + broken);
    }
    const PlayerState& p1 = game.Player1;
    const PlayerState& p2 = game.Player2;
    if ((p1.Warped || p2.Warped) && (p1.Warped || p1.Dead) && (p2.Warped || p2.Dead)) {
      AdvanceLevel(game);
      options.markersOnlyAtPlayers = markersOnlyAtPlayers();
      invariants.SetOptions(options);
    }
    host.drawn.clear();
    host.sounds.clear();
  }
  return 0;
}
