#include "trial_recording.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/keys.h"
#include "editor/level_document.h"
#include "editor/scratch_game.h"
#include "platform/null_audio_door.h"
#include "scratch_folder.h"
#include "shell/level_trial.h"
#include "world/cell_codes.h"

namespace fs = std::filesystem;

LevelBytes FinishBelowStart() {
  LevelBytes b = LevelDocument::EmptyFrame();
  b[CellAt(5, 5)] = Cell::Start;
  b[CellAt(4, 6)] = Cell::Finish;
  b[CellAt(6, 6)] = Cell::Finish;
  return b;
}

std::string RecordTrial(const LevelBytes& level, int players) {
  const ScratchGameSources sources{std::string(TROK_GAME_DIR) + "/", "",
                                   std::string(TROK_GAME_DIR) + "/HighScores.dat", ""};
  std::string dir, error;
  if (!MakeScratchGame(level, sources, dir, error)) {
    ADD_FAILURE() << error;
    return {};
  }
  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  {
    VirtualClock clock;
    Program program(clock, true, std::make_unique<NullAudioDoor>());
    if (!program.Init(error)) ADD_FAILURE() << error;
    LevelTrial trial(program, players);
    auto push = [&](InputEvent::Type type, int vk, uint64_t at) {
      InputEvent e;
      e.type = type;
      e.vk = vk;
      program.app.PushInput(e, at);
    };
    // A player steps every fourth pass from the keys held then: held long enough for one.
    for (const int vk : {VK::Down, VK::A + ('G' - 'A')}) {
      if (vk != VK::Down && players != 2) continue;
      push(InputEvent::Type::KeyDown, vk, 1600);
      push(InputEvent::Type::KeyUp, vk, 1750);
    }
    Timer& limit = program.app.CreateTimer();
    limit.onTimer = [&] {
      ADD_FAILURE() << "the trial did not end";
      program.app.Terminate();
    };
    limit.SetInterval(30000);
    program.app.Run();
    EXPECT_TRUE(trial.Finished());
  }
  fs::current_path(previous);
  std::string replay;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir + "/Replays", ec)) replay = ReadFileBytes(entry.path().string());
  RemoveScratchGame(dir);
  EXPECT_FALSE(replay.empty()) << "the game kept no replay";
  return replay;
}
