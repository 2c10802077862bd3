// Playing the level being edited in the real game, stopping when the system asks, and
// captures.
#include <cstdio>

#include "base/bmp_file.h"
#include "base/files.h"
#include "editor/editor_form.h"
#include "editor/level_files.h"
#include "editor/scratch_game.h"
#include "screens/display_choice.h"
#include "ui/app.h"

namespace {
constexpr int PlayPollMs = 100;
constexpr int StopPollMs = 100;
}  // namespace

void EditorForm::PlayLevel(int players) {
  if (Playing() || !player_) return;
  gesture_.Cancel();
  for (const RuleFinding& f : findings_)
    if (f.severity == RuleSeverity::Error) {
      app.MessageBox(BoxKind::Error, "The level cannot be played yet:\n" + f.text);
      PointOut(f.cell);
      return;
    }
  ScratchGameSources sources;
  sources.dataDir = places_.dataDir;
  sources.optionsFile = places_.gameDir + "Options.dat";
  sources.displayFile = places_.gameDir + DisplayChoiceFileName;
  sources.scoresFile = FileExists(places_.gameDir + "HighScores.dat") ? places_.gameDir + "HighScores.dat"
                                                                      : places_.dataDir + "HighScores.dat";
  sources.parentDir = places_.playDir;
  std::string dir, error;
  if (!MakeScratchGame(document_->Bytes(), sources, dir, error)) {
    app.MessageBox(BoxKind::Error, error);
    return;
  }
  if (!player_->Start(dir, players, error)) {
    RemoveScratchGame(dir);
    app.MessageBox(BoxKind::Error, "Cannot start the game: " + error);
    return;
  }
  playDir_ = dir;
  playingPanel_->visible = true;
  status_->SetText(std::string("Playing the level with ") + (players == 1 ? "one player" : "two players") + "...");
  playTimer_->SetInterval(PlayPollMs);
}

void EditorForm::EndPlay() {
  playTimer_->SetInterval(0);
  RemoveScratchGame(playDir_);
  playDir_.clear();
  playingPanel_->visible = false;
}

void EditorForm::PollPlay() {
  if (!Playing() || !player_->Ended()) return;
  const TrialOutcome outcome = ReadTrialOutcome(playDir_ + "/");
  EndPlay();
  app.RaiseWindow();
  UpdateStatus();
  if (outcome.finished)
    status_->SetText("Back from the game: the Finish was reached after " + std::to_string(outcome.seconds) +
                     " seconds.");
  else
    status_->SetText("Back from the game.");
}

void EditorForm::WatchForStop(std::function<bool()> requested) {
  stopRequested_ = std::move(requested);
  stopTimer_->SetInterval(StopPollMs);
}

void EditorForm::StopNow() {
  stopTimer_->SetInterval(0);
  if (Playing()) {
    player_->Stop();
    EndPlay();
  }
  if (document_->Modified()) {
    std::string path, error;
    if (SaveRecovery(*document_, places_.gameDir, path, error))
      std::fprintf(stderr, "The level editor was stopped; the unsaved changes are kept in \"%s\".\n", path.c_str());
    else
      std::fprintf(stderr, "The level editor was stopped; the unsaved changes are lost: %s\n", error.c_str());
  }
  app.Terminate();
}

void EditorForm::CaptureScreen() {
  const Image picture = app.ComposeScreen();
  std::string error;
  for (int n = 0; n < 1000; ++n) {
    char file[32];
    std::snprintf(file, sizeof file, "Capture%03d.bmp", n);
    const std::string path = places_.gameDir + file;
    if (NameTaken(path)) continue;
    const NewFileResult saved = SaveNewBmp24(picture, path, error);
    if (saved == NewFileResult::Written) {
      status_->SetText(std::string("Capture saved as ") + file);
      return;
    }
    if (saved == NewFileResult::Failed) break;
  }
  app.MessageBox(BoxKind::Error, error.empty() ? "No free capture name." : error);
}
