#include "shell/replay_check.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "base/files.h"
#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "replay/replay_file.h"
#include "shell/headless_program.h"
#include "world/level_file.h"

namespace {

std::string Hex(uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, v);
  return text;
}

ReplayCheckOutcome Refused(const std::string& why) { return {2, why}; }

// Every level file the game played must be the one it was recorded on.
std::string LevelFilesDiffer(const Replay& replay, const std::string& startDirectory) {
  for (const LevelPlayed& level : replay.levels) {
    const std::string name = LevelFileName(startDirectory, level.index);
    std::string bytes, error;
    if (!ReadWholeFile(name, bytes, error)) bytes.clear();
    if (Sha256Of(bytes) != level.digest)
      return "The level file \"" + name + "\" is not the one the replay was recorded on.";
  }
  return {};
}

}  // namespace

ReplayCheckOutcome CheckReplayFile(const std::string& path) {
  Replay replay;
  std::string error;
  if (ReadReplayFile(path, replay, error) != ReplayReadResult::Ok) return Refused(error);
  const std::string startDirectory = CurrentDirectoryWithSlash();
  if (std::string why = LevelFilesDiffer(replay, startDirectory); !why.empty()) return Refused(why);

  HeadlessProgram program(std::make_unique<NullAudioDoor>());
  if (!program.Start(error)) return Refused("The program cannot start: " + error);
  // Start-up as a player starts it; a box it shows means it cannot play here.
  program.PushChar('a', program.Now() + 1);
  const uint64_t giveUp = program.Now() + 60000;
  while (!program.InTitleMenu() && program.OpenBoxes().empty() && !program.Terminated() && program.Now() < giveUp)
    program.RunFor(10);
  if (!program.InTitleMenu() || !program.OpenBoxes().empty())
    return Refused(program.OpenBoxes().empty() ? "The program did not reach its title menu."
                                               : "The program cannot start: " + program.OpenBoxes().back());
  const int levels = program.GameState().LevelCount;
  if (levels != replay.settings.levelCount)
    return Refused("The levels folder holds " + std::to_string(levels) + " levels; the replay was recorded with " +
                   std::to_string(replay.settings.levelCount) + ".");

  bool ran = false;
  program.At(program.Now() + 1, [&] {
    program.PlayBack(replay, false);
    ran = true;
  });
  while (!ran && !program.Terminated()) program.RunFor(1);
  const ReplayPlayer* player = program.LastPlayback();
  if (!ran || !player) return Refused("The replay could not be played.");
  if (const auto& desync = player->Desync())
    return {1, "desync at pass " + std::to_string(desync->pass) + ": expected " + Hex(desync->expected) + " got " +
                   Hex(desync->got)};
  if (!player->Finished())
    return {1, "desync at pass " + std::to_string(player->Pass()) + ": expected " + Hex(replay.end.finalHash) +
                   " got the game still running"};
  const Game& game = program.GameState();
  return {0, "verified: level " + std::to_string(replay.settings.levelIndex) + ", " +
                 std::to_string(player->Pass()) + " passes, points " + std::to_string(game.Player1.Points) + "/" +
                 std::to_string(game.Player2.Points) + ", final " + Hex(player->FinalHash())};
}
