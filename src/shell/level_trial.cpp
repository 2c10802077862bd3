#include "shell/level_trial.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "base/keys.h"
#include "base/trial_outcome.h"
#include "replay/replay_file.h"
#include "shell/replay_watch.h"

namespace {

constexpr int WatchMs = 50;

InputEvent Key(InputEvent::Type type, int vk) {
  InputEvent e;
  e.type = type;
  e.vk = vk;
  return e;
}

void PressKey(App& app, int vk, char typed = 0) {
  app.PushInput(Key(InputEvent::Type::KeyDown, vk));
  if (typed) {
    InputEvent c;
    c.type = InputEvent::Type::Char;
    c.ch = typed;
    app.PushInput(c);
  }
  app.PushInput(Key(InputEvent::Type::KeyUp, vk));
}

}  // namespace

LevelTrial::LevelTrial(Program& program, int players)
    : program_(program), players_(players == 2 ? 2 : 1), watch_(program.app.CreateTimer()) {
  watch_.onTimer = [this] { Step(); };
  watch_.SetInterval(WatchMs);
}

LevelTrial::LevelTrial(Program& program, const Replay& replay, const std::string& replayPath)
    : LevelTrial(program, replay.settings.playerCount) {
  replay_ = replay;
  replayPath_ = replayPath;
}

void LevelTrial::Watch() {
  App& app = program_.app;
  startedMs_ = app.GetClock().NowMs();
  stage_ = Stage::Playing;
  WatchReplay(program_, *replay_, replayPath_);
  // Played to its end as recorded, the watched game finished the level as it did then.
  const ReplayPlayer* playback = program_.session->LastPlayback();
  finished_ = replay_->end.levelFinished && playback && playback->Finished() && !playback->Desync() &&
              !playback->Controls().stopAsked;
  seconds_ = static_cast<int>((app.GetClock().NowMs() - startedMs_) / 1000);
  stage_ = Stage::Over;
  app.Terminate();
}

void LevelTrial::Step() {
  App& app = program_.app;
  TMainForm& window = *program_.mainForm;
  // Boxes of the start-up (no sound device, say) are answered as a player would.
  if (stage_ != Stage::Playing && !app.OpenBoxTexts().empty()) {
    PressKey(app, VK::Enter);
    return;
  }
  switch (stage_) {
    case Stage::Welcome:
      if (!window.WelcomeShown()) break;
      PressKey(app, VK::A, 'a');
      stage_ = Stage::TitleMenu;
      break;
    case Stage::TitleMenu:
      if (!window.InTitleMenu()) break;
      if (replay_) {
        Watch();
        break;
      }
      window.SelectLevel(0);
      window.SelectPlayers(players_);
      PressKey(app, VK::F2);
      stage_ = Stage::Starting;
      break;
    case Stage::Starting:
      if (!window.InGame()) break;
      startedMs_ = app.GetClock().NowMs();
      stage_ = Stage::Playing;
      break;
    case Stage::Playing: {
      const Game& game = program_.session->game;
      if (game.Player1.LevelsPassed + game.Player2.LevelsPassed > 0) {
        // The warp led back to level 0, the only one: the level is finished.
        finished_ = true;
        seconds_ = static_cast<int>((app.GetClock().NowMs() - startedMs_) / 1000);
        stage_ = Stage::Over;
        app.Terminate();
      } else if (!window.InGame()) {
        stage_ = Stage::Over;
        app.Terminate();
      }
      break;
    }
    case Stage::Over:
      break;
  }
}

int RunLevelTrial(const std::string& gameDir, int players, const std::string& replayFile, const uint32_t* iconArgb,
                  int iconSide) {
  // The replay's name is the caller's, seen from where it is.
  Replay replay;
  std::string error;
  if (!replayFile.empty() && ReadReplayFile(replayFile, replay, error) != ReplayReadResult::Ok) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  if (::chdir(gameDir.c_str()) != 0) {
    std::fprintf(stderr, "Cannot play in \"%s\": no such folder.\n", gameDir.c_str());
    return 1;
  }
  std::unique_ptr<LevelTrial> trial;
  const int status = RunProgram(iconArgb, iconSide, [&](Program& program) {
    trial = replayFile.empty() ? std::make_unique<LevelTrial>(program, players)
                               : std::make_unique<LevelTrial>(program, replay, replayFile);
    return true;
  });
  if (trial) WriteTrialOutcome("", TrialOutcome{trial->Finished(), trial->Seconds()});
  return status;
}
