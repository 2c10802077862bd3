// How fast a replay is checked: a ten-minute game of two players, recorded once through
// the real program headless, then verified again and again as `trok --verify` does.
// The goal is at least a thousand times real time (under 0.6 s for the ten minutes).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "shell/headless_program.h"
#include "shell/replay_check.h"
#include "shell/replay_shelf.h"

namespace fs = std::filesystem;

namespace {

constexpr int GameMinutes = 10;

// A scratch game directory with the built game's data; the working directory while the
// benchmark runs, as for the game.
struct TenMinuteGame {
  fs::path dir;
  std::string replay;

  TenMinuteGame() {
    char pattern[] = "/tmp/trok-bench-replay-XXXXXX";
    dir = ::mkdtemp(pattern);
    const fs::path game = TROK_GAME_DIR;
    for (const char* folder : {"Objects", "Sounds", "Music", "Pictures"})
      fs::create_directory_symlink(game / folder, dir / folder);
    fs::copy(game / "FELDS", dir / "FELDS");
    fs::current_path(dir);
    Record();
    for (const auto& entry : fs::directory_iterator(dir / ReplayFolderName)) replay = entry.path().string();
  }
  ~TenMinuteGame() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  // Random walking and shooting of both players for ten minutes of level 12, then the
  // abort question answered Yes.
  static void Record() {
    HeadlessProgram program(std::make_unique<NullAudioDoor>());
    std::string error;
    if (!program.Start(error)) return;
    program.PushChar('a', 10);
    program.RunFor(3000);
    program.SetLevelLabel("12");
    program.SetPlayersLabel("2");
    const uint64_t start = program.Now() + 10;
    program.PushKey(VK::F2, start);
    const int keys[] = {VK::Up, VK::Down, VK::Left, VK::Right, VK::Control, 'T', 'G', 'F', 'H', 'Z'};
    std::mt19937 rng(12);
    const uint64_t end = start + GameMinutes * 60000ULL;
    for (uint64_t t = start + 100; t < end; t += 50 + rng() % 300) {
      const int vk = keys[rng() % std::size(keys)];
      program.Push(InputEvent::Type::KeyDown, vk, t);
      program.Push(InputEvent::Type::KeyUp, vk, t + 40 + rng() % 500);
    }
    program.PushKey(VK::Escape, end);
    program.PushKey('Y', end + 300);
    program.RunFor(static_cast<int>(end + 1000 - program.Now()));
  }
};

void BM_VerifyATenMinuteGame(benchmark::State& state) {
  static TenMinuteGame game;
  if (game.replay.empty()) {
    state.SkipWithError("the game was not recorded");
    return;
  }
  ReplayCheckOutcome outcome;
  for (auto _ : state) {
    outcome = CheckReplayFile(game.replay);
    benchmark::DoNotOptimize(outcome.status);
  }
  if (outcome.status != 0) state.SkipWithError(outcome.line.c_str());
  state.SetLabel(outcome.line);
  state.counters["replay_bytes"] = static_cast<double>(fs::file_size(game.replay));
  // Seconds of game per second of checking.
  state.counters["times_real_time"] = benchmark::Counter(
      GameMinutes * 60.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VerifyATenMinuteGame)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
