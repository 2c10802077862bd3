// Playing the level being edited in the real game and showing its last solution there,
// stopping when the system asks, and captures.
#include <cstdio>

#include "base/bmp_file.h"
#include "base/file_saving.h"
#include "base/files.h"
#include "editor/editor_form.h"
#include "editor/level_files.h"
#include "editor/scratch_game.h"
#include "screens/display_choice.h"
#include "ui/app.h"

namespace {
constexpr int PlayPollMs = 100;
constexpr int StopPollMs = 100;
// The solution a game shows, in its scratch game directory.
constexpr const char* WatchedFileName = "solution.trokreplay";

const char* PlayersText(int players) { return players == 2 ? "two players" : "one player"; }
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
  if (StartGame(players, nullptr))
    status_->SetText(std::string("Playing the level with ") + PlayersText(players) + "...");
}

void EditorForm::PlayLastSolution() {
  if (Playing() || !player_) return;
  gesture_.Cancel();
  const LevelSolution* solution = solutions_.Last(LevelDigest());
  if (!solution) {
    app.MessageBox(BoxKind::Message,
                   "There is no solution of the level as it is. Play it (F5, F6): a game that reaches the "
                   "Finish becomes its solution.");
    return;
  }
  const int players = solution->players;
  if (StartGame(players, solution))
    status_->SetText(std::string("Showing the level's last solution, with ") + PlayersText(players) + "...");
}

bool EditorForm::StartGame(int players, const LevelSolution* watched) {
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
    return false;
  }
  bool started = false;
  if (watched) {
    // Beside the game's own Replays, which it keeps for the games it records.
    const std::string file = dir + "/" + WatchedFileName;
    started = WriteNewFile(file, watched->file, error) == NewFileResult::Written &&
              player_->StartWatching(dir, players, file, error);
  } else {
    started = player_->Start(dir, players, error);
  }
  if (!started) {
    RemoveScratchGame(dir);
    app.MessageBox(BoxKind::Error, "Cannot start the game: " + error);
    return false;
  }
  playDir_ = dir;
  watching_ = watched != nullptr;
  playingPanel_->visible = true;
  playTimer_->SetInterval(PlayPollMs);
  return true;
}

void EditorForm::EndPlay() {
  playTimer_->SetInterval(0);
  RemoveScratchGame(playDir_);
  playDir_.clear();
  watching_ = false;
  playingPanel_->visible = false;
}

void EditorForm::PollPlay() {
  if (!Playing() || !player_->Ended()) return;
  const TrialOutcome outcome = ReadTrialOutcome(playDir_ + "/");
  const bool watched = watching_;
  // Taken before the directory goes; tied to the level file the game played.
  std::optional<LevelSolution> solution;
  if (!watched) solution = SolutionOfTrial(playDir_ + "/");
  EndPlay();
  std::string kept;
  if (solution) {
    kept = std::string(" It is the level's solution for ") + PlayersText(solution->players) + " now (F7 shows it).";
    solutions_.Keep(std::move(*solution));
  }
  app.RaiseWindow();
  UpdateStatus();
  ShowSolutions();
  if (watched)
    status_->SetText(outcome.finished ? "Back from the solution: it reached the Finish as when it was recorded."
                                      : "Back from the solution.");
  else if (outcome.finished)
    status_->SetText("Back from the game: the Finish was reached after " + std::to_string(outcome.seconds) +
                     " seconds." + kept);
  else
    status_->SetText("Back from the game." + kept);
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
