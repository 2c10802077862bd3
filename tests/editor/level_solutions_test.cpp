// A level's solutions: games of it that reached the Finish, kept by the editor for the
// level as they were played, shown in the game (F7) and saved beside the level.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>

#include "editor/level_files.h"
#include "editor/level_solutions.h"
#include "editor/side_panel.h"
#include "editor_fixture.h"
#include "replay/replay_file.h"
#include "shell/replay_check.h"
#include "trial_recording.h"
#include "world/cell_codes.h"

namespace {

namespace fs = std::filesystem;

// A game of FinishBelowStart that reached the Finish, recorded once for all the tests.
const std::string& Recorded(int players) {
  static std::map<int, std::string> made;
  std::string& replay = made[players];
  if (replay.empty()) replay = RecordTrial(FinishBelowStart(), players);
  return replay;
}

// The one-player game changed after the fact.
std::string Altered(const std::function<void(Replay&)>& change) {
  Replay replay;
  std::string error;
  EXPECT_EQ(DecodeReplay(Recorded(1), replay, error), ReplayReadResult::Ok) << error;
  change(replay);
  return EncodeReplay(replay);
}

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& words) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(words) != std::string::npos; });
}

std::string SolutionName(int level, int players) {
  char name[48];
  std::snprintf(name, sizeof name, "Solutions/%02d-%dp.trokreplay", level, players);
  return name;
}

class LevelSolutionsTest : public EditorTest {
 protected:
  // The new level being edited becomes `bytes`.
  void UseLevel(const LevelBytes& bytes) {
    for (int cell = 0; cell < LevelCellBytes; ++cell)
      if (form->Document().At(cell) != bytes[static_cast<size_t>(cell)])
        form->Document().Set({cell}, bytes[static_cast<size_t>(cell)]);
    form->Refresh();
  }
  // A game of the level (F5, F6) that leaves `replay` as the game it recorded.
  void PlayLeaving(int players, const std::string& replay) {
    player->replay = replay;
    Key(players == 2 ? VK::F6 : VK::F5);
    Pump(500);
    ASSERT_FALSE(form->Playing());
  }
  void Save() { Key(VK::A + ('S' - 'A'), true); }
  const LevelSolution* Last() const { return form->Solutions().Last(form->LevelDigest()); }
};

TEST(LevelSolutionFiles, AGameLevelsSolutionsLieInTheGamesSolutionsOthersBesideTheLevel) {
  EXPECT_EQ(SolutionFileOf("/g/FELDS/FELD.07", 1), "/g/Solutions/07-1p.trokreplay");
  EXPECT_EQ(SolutionFileOf("FELDS/FELD.123", 2), "Solutions/123-2p.trokreplay");
  EXPECT_EQ(SolutionFolderOf("/g/FELDS/FELD.07"), "/g/Solutions");
  // Not a level the game counts: beside it.
  EXPECT_EQ(SolutionFileOf("/g/levels/07-ants.txt", 2), "/g/levels/07-ants.txt.2p.trokreplay");
  EXPECT_EQ(SolutionFileOf("/g/FELDS/FELD.7", 1), "/g/FELDS/FELD.7.1p.trokreplay");
  EXPECT_EQ(SolutionFileOf("/g/mine/FELD.07", 1), "/g/mine/FELD.07.1p.trokreplay");
  EXPECT_EQ(SolutionFolderOf("/g/mine/FELD.07"), "");
}

TEST_F(LevelSolutionsTest, AGameThatReachedTheFinishIsTheSolutionSavedWithTheLevelAndItVerifies) {
  OpenEditor();
  AnswerBoxes();
  UseLevel(FinishBelowStart());
  PlayLeaving(1, Recorded(1));
  EXPECT_NE(form->StatusText().find("solution for one player"), std::string::npos) << form->StatusText();
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "Solution for one player (F7)"));
  int next = 0;
  const std::string level = NextFreeLevelFile(Game(""), next);
  Save();
  ASSERT_EQ(form->Document().Path(), level);
  EXPECT_EQ(ReadFileBytes(Game(SolutionName(next, 1))), Recorded(1));
  // The game's check finds the level among all of the game's by its contents.
  for (const char* folder : {"Objects", "Sounds", "Music", "Pictures"})
    fs::create_directory_symlink(fs::path(TROK_GAME_DIR) / folder, Game(folder));
  const fs::path previous = fs::current_path();
  fs::current_path(Game(""));
  const ReplayCheckOutcome check = CheckReplayFile(Game(SolutionName(next, 1)));
  fs::current_path(previous);
  EXPECT_EQ(check.status, 0) << check.line;
}

TEST_F(LevelSolutionsTest, OnlyAFinishedGameOfTheLevelAsItIsIsASolution) {
  OpenEditor();
  AnswerBoxes();
  UseLevel(FinishBelowStart());
  player->outcome = TrialOutcome{false, 3};
  PlayLeaving(1, Altered([](Replay& r) { r.end.levelFinished = false; }));
  EXPECT_EQ(Last(), nullptr) << "the game was abandoned";
  Key(VK::F7);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("no solution of the level as it is"), std::string::npos) << boxes[0];
  EXPECT_EQ(player->calls.size(), 1u) << "no game was started";

  player->outcome = TrialOutcome{true, 5};
  PlayLeaving(1, Recorded(1));
  ASSERT_NE(Last(), nullptr);
  Key(VK::F7);
  ASSERT_EQ(player->calls.size(), 3u);
  const RecordingPlayer::Call& shown = player->calls.back();
  EXPECT_EQ(shown.watched, Recorded(1));
  EXPECT_EQ(shown.players, 1);
  EXPECT_EQ(shown.level, LevelFileContents(form->Document(), LevelForm::LevelFile));
  EXPECT_TRUE(form->Watching());
  Pump(500);
  EXPECT_FALSE(form->Playing());
  EXPECT_NE(form->StatusText().find("Back from the solution"), std::string::npos) << form->StatusText();

  // Edited, the level has no solution, and none is saved with it.
  form->ChooseBrush(Cell::Money);
  ClickCell(CellAt(10, 10));
  Key(VK::F7);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[1].find("no solution of the level as it is"), std::string::npos);
  EXPECT_EQ(player->calls.size(), 3u);
  // A game that left a recording of some other level finds none either, and takes the
  // place of none.
  PlayLeaving(1, Altered([](Replay& r) { r.levels[0].digest[0] ^= 1; }));
  EXPECT_EQ(Last(), nullptr);
  int next = 0;
  NextFreeLevelFile(Game(""), next);
  Save();
  EXPECT_FALSE(fs::exists(Game(SolutionName(next, 1))));
  // Undone, it is the level the game reached the Finish of again.
  form->Undo();
  Key(VK::F7);
  ASSERT_EQ(player->calls.size(), 5u);
  EXPECT_EQ(player->calls.back().watched, Recorded(1));
}

TEST_F(LevelSolutionsTest, TheLastRecordedIsShownAndSavedOnesThatNoLongerFitAreLeftAndNamed) {
  // Saved solutions are ordered by when they were recorded: the two-player game later.
  Recorded(1);
  Recorded(2);
  OpenEditor();
  AnswerBoxes();
  UseLevel(FinishBelowStart());
  PlayLeaving(2, Recorded(2));
  PlayLeaving(1, Recorded(1));
  Key(VK::F7);
  Pump(500);
  EXPECT_EQ(player->calls.back().watched, Recorded(1));
  PlayLeaving(2, Recorded(2));
  ClickPlate("Last solution");
  Pump(500);
  EXPECT_EQ(player->calls.back().watched, Recorded(2));
  EXPECT_EQ(player->calls.back().players, 2);
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "Solutions for one and two players"));
  int next = 0;
  const std::string level = NextFreeLevelFile(Game(""), next);
  Save();
  ASSERT_EQ(ReadFileBytes(Game(SolutionName(next, 1))), Recorded(1));
  ASSERT_EQ(ReadFileBytes(Game(SolutionName(next, 2))), Recorded(2));

  // Opened again, the level has its saved solutions, the last recorded shown.
  OpenEditor(level);
  ASSERT_NE(Last(), nullptr);
  EXPECT_EQ(Last()->players, 2);
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "Solutions for one and two players"));

  // Edited and saved, the level keeps its old solutions on disk, named as out of date.
  form->ChooseBrush(Cell::Money);
  ClickCell(CellAt(10, 10));
  Save();
  EXPECT_EQ(ReadFileBytes(Game(SolutionName(next, 1))), Recorded(1));
  EXPECT_EQ(ReadFileBytes(Game(SolutionName(next, 2))), Recorded(2));
  char stale[32];
  std::snprintf(stale, sizeof stale, "out of date: %02d-1p, %02d-2p", next, next);
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), stale));
  OpenEditor(level);
  EXPECT_EQ(Last(), nullptr);
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), stale));
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "No solution for the level as it is"));
}

// Plays as the recording player does, but shows a solution in the real game: the
// editor's program in its play mode, a process of its own.
class RealGameShowing : public RecordingPlayer {
 public:
  bool StartWatching(const std::string& dir, int players, const std::string& replayFile,
                     std::string& error) override {
    watching_ = true;
    return child_.StartWatching(dir, players, replayFile, error);
  }
  bool Ended() override { return watching_ ? child_.Ended() : RecordingPlayer::Ended(); }
  void Stop() override { child_.Stop(); }

 private:
  bool watching_ = false;
  ChildLevelPlayer child_{std::string(TROK_GAME_DIR) + "/trok-edit"};
};

TEST_F(LevelSolutionsTest, TheLastSolutionIsShownInTheRealGameToItsEnd) {
  // The game's settings as the game writes them; the fixture's would stop it with a box.
  fs::remove(Game("Options.dat"));
  OpenEditor(std::make_unique<RealGameShowing>());
  AnswerBoxes();
  UseLevel(FinishBelowStart());
  PlayLeaving(1, Recorded(1));
  Key(VK::F7);
  ASSERT_TRUE(form->Watching());
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (form->Playing() && std::chrono::steady_clock::now() < until) {
    Pump(20);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_FALSE(form->Playing()) << "the game is still showing the solution";
  EXPECT_NE(form->StatusText().find("it reached the Finish as when it was recorded"), std::string::npos)
      << form->StatusText();
}

// Changes the owner of everything under `root`, links themselves rather than what they lead to.
void GiveAway(const fs::path& root, uid_t uid, gid_t gid) {
  ::lchown(root.c_str(), uid, gid);
  for (const auto& entry : fs::recursive_directory_iterator(root)) ::lchown(entry.path().c_str(), uid, gid);
}

TEST_F(LevelSolutionsTest, AnInstalledSolutionsFolderBecomesThePlayersOwnForTheirSolutions) {
  const std::string replay = Recorded(1);
  ScratchFolder install;
  fs::create_directories(install.path / "FELDS");
  fs::create_directories(install.path / "Solutions");
  for (const auto& e : fs::directory_iterator(Game("FELDS")))
    fs::copy_file(e.path(), install.path / "FELDS" / e.path().filename());
  WriteFileBytes(install / "Solutions/00-1p.trokreplay", "shipped");
  WriteFileBytes(install / "Solutions/README", "no solution");
  fs::remove_all(Game("FELDS"));
  fs::create_directory_symlink(install.path / "FELDS", Game("FELDS"));
  fs::create_directory_symlink(install.path / "Solutions", Game("Solutions"));
  ::chmod(install.path.c_str(), 0755);
  ::chmod((install.path / "FELDS").c_str(), 0555);
  ::chmod((install.path / "Solutions").c_str(), 0555);
  int next = 0;
  NextFreeLevelFile(Game(""), next);

  // As a player, who cannot write into the installation (an administrator could).
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0) {
      GiveAway(Game(""), 65534, 65534);
      GiveAway(Plays(), 65534, 65534);
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
    }
    OpenEditor();
    AnswerBoxes();
    UseLevel(FinishBelowStart());
    PlayLeaving(1, replay);
    Save();
    const bool askedOnce = boxes.size() == 2 && boxes[0].find("one of their solutions") != std::string::npos;
    // Levels made the player's own before: the solutions folder alone is asked for.
    fs::remove_all(Game("Solutions"));
    fs::create_directory_symlink(install.path / "Solutions", Game("Solutions"));
    Save();
    const bool askedAgain = boxes.size() == 3 && boxes[2].find("solutions folder is the installed") != std::string::npos;
    form.reset();
    ::_exit(askedOnce && askedAgain ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod((install.path / "FELDS").c_str(), 0755);
  ::chmod((install.path / "Solutions").c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the questions asked were not the expected ones";
  EXPECT_FALSE(fs::is_symlink(Game("FELDS")));
  EXPECT_FALSE(fs::is_symlink(Game("Solutions")));
  EXPECT_EQ(ReadFileBytes(Game("Solutions/00-1p.trokreplay")), "shipped") << "the game's solutions are copied";
  EXPECT_FALSE(fs::exists(Game("Solutions/README")));
  EXPECT_EQ(ReadFileBytes(Game(SolutionName(next, 1))), replay);
  EXPECT_EQ(std::distance(fs::directory_iterator(install.path / "Solutions"), fs::directory_iterator()), 2)
      << "the installation is untouched";
}

}  // namespace
