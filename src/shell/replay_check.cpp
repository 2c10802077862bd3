#include "shell/replay_check.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "base/files.h"
#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "replay/replay_file.h"
#include "shell/headless_program.h"
#include "shell/replay_place.h"

namespace {

std::string Hex(uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, v);
  return text;
}

ReplayCheckOutcome Refused(const std::string& why) { return {2, why}; }

// `levelShown`: the number of the level as the player knows it.
ReplayCheckOutcome PlayHere(const Replay& replay, int levelShown);

}  // namespace

ReplayCheckOutcome CheckReplayFile(const std::string& path) {
  Replay replay;
  std::string error;
  if (ReadReplayFile(path, replay, error) != ReplayReadResult::Ok) return Refused(error);
  const std::unique_ptr<ReplayPlace> place = ReplayPlace::Find(replay, CurrentDirectoryWithSlash(), ReplayPlace::Use::Check, error);
  if (!place) return Refused(error);
  ReplayCheckOutcome outcome;
  if (!InDirectory(place->Directory(), [&] { outcome = PlayHere(replay, place->LevelShown()); }))
    return Refused("Cannot enter the folder \"" + place->Directory() + "\".");
  return outcome;
}

namespace {

ReplayCheckOutcome PlayHere(const Replay& replay, int levelShown) {
  std::string error;

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
  return {0, "verified: level " + std::to_string(levelShown) + ", " +
                 std::to_string(player->Pass()) + " passes, points " + std::to_string(game.Player1.Points) + "/" +
                 std::to_string(game.Player2.Points) + ", final " + Hex(player->FinalHash())};
}

}  // namespace
