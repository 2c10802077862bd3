// The editor made to stop by the system: the game being played ends, unsaved changes
// go to a recovery file and never into the level file, and the next start offers them;
// a start clears away the games of editors that were killed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/process_identity.h"
#include "editor/level_files.h"
#include "editor/scratch_game.h"
#include "editor_fixture.h"
#include "world/cell_codes.h"

namespace {

namespace fs = std::filesystem;

int C(int col, int row) { return CellAt(col, row); }

class EditorStopTest : public EditorTest {
 protected:
  // The editor asks `stop_` from now on.
  void Watch() {
    form->WatchForStop([this] { return stop_; });
  }
  // `stop_` becomes true at a virtual time `inMs` from now, from inside whatever loop runs then.
  void StopIn(int inMs) {
    Timer& t = app.CreateTimer();
    t.onTimer = [this, &t] {
      t.SetInterval(0);
      stop_ = true;
    };
    t.SetInterval(inMs);
  }
  bool stop_ = false;
};

TEST_F(EditorStopTest, AStopDuringAGameEndsItAndKeepsTheChangesBesideTheLevel) {
  const std::string level = Game("FELDS/FELD.01");
  const std::string onDisk = ReadFileBytes(level);
  OpenEditor(level);
  Watch();
  form->ChooseBrush(Cell::Money);
  ClickCell(C(3, 3));
  player->pollsToEnd = 1 << 30;  // the game does not end by itself
  Key(VK::F5);
  ASSERT_TRUE(form->Playing());
  const std::string dir = player->calls.at(0).dir;
  stop_ = true;
  Pump(300);
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(player->stops, 1);
  EXPECT_FALSE(fs::exists(dir)) << "the game's directory goes with it";
  EXPECT_EQ(ReadFileBytes(level), onDisk) << "the level file is not touched";
  ASSERT_TRUE(fs::exists(level + ".recovered"));
  OpenedLevel kept = OpenLevel(level + ".recovered");
  ASSERT_TRUE(kept.document) << kept.message;
  EXPECT_EQ(kept.document->At(3, 3), Cell::Money);
  EXPECT_EQ(kept.document->Path(), level);
  EXPECT_EQ(kept.document->Form(), LevelForm::LevelFile);
  EXPECT_TRUE(kept.document->Modified());
}

TEST_F(EditorStopTest, AStopWhileAQuestionIsOpenEndsItAndANewLevelIsKeptInTheGameDirectory) {
  OpenEditor();
  Watch();
  form->ChooseBrush(Cell::Ant);
  ClickCell(C(5, 5));
  StopIn(500);
  Key(VK::A + ('N' - 'A'), true);  // "Start a new level without them?" waits for an answer
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(form->Document().At(5, 5), Cell::Ant) << "the question was answered No";
  OpenedLevel kept = OpenLevel(Game("NewLevel.recovered"));
  ASSERT_TRUE(kept.document) << kept.message;
  EXPECT_EQ(kept.document->At(5, 5), Cell::Ant);
  EXPECT_EQ(kept.document->Path(), "");
}

TEST_F(EditorStopTest, NothingIsKeptWhenNothingChanged) {
  OpenEditor(Game("FELDS/FELD.02"));
  Watch();
  stop_ = true;
  Pump(300);
  EXPECT_TRUE(app.Terminated());
  EXPECT_FALSE(fs::exists(Game("FELDS/FELD.02.recovered")));
  EXPECT_FALSE(fs::exists(Game("NewLevel.recovered")));
}

// A recovery file as a stopped editor leaves it: `level` with Money at (3, 3).
void KeepChanges(const std::string& level, const std::string& gameDir) {
  OpenedLevel opened = OpenLevel(level);
  LevelDocument changed = level.empty() ? LevelDocument() : *opened.document;
  changed.Set({C(3, 3)}, Cell::Money);
  std::string path, error;
  ASSERT_TRUE(SaveRecovery(changed, gameDir, path, error)) << error;
}

TEST_F(EditorStopTest, TheNextStartOffersTheChangesAndOnlySavingPutsThemInTheLevel) {
  const std::string level = Game("FELDS/FELD.03");
  const std::string onDisk = ReadFileBytes(level);
  KeepChanges(level, Game(""));
  AnswerBoxes(VK::N);
  OpenEditor(level);
  Pump(100);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Open them?"), std::string::npos) << boxes[0];
  EXPECT_NE(form->Document().At(3, 3), Cell::Money) << "No: the level as it is on disk";
  EXPECT_TRUE(fs::exists(level + ".recovered")) << "and the kept changes stay for later";

  boxes.clear();
  AnswerBoxes(VK::Enter);  // Yes is the first answer
  OpenEditor(level);
  Pump(100);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(form->Document().At(3, 3), Cell::Money);
  EXPECT_EQ(form->Document().Path(), level);
  EXPECT_TRUE(form->Document().Modified());
  EXPECT_EQ(ReadFileBytes(level), onDisk);
  Key(VK::A + ('S' - 'A'), true);
  EXPECT_FALSE(form->Document().Modified());
  EXPECT_EQ(OpenLevel(level).document->At(3, 3), Cell::Money);
  EXPECT_FALSE(fs::exists(level + ".recovered")) << "saved, the kept changes are no longer needed";
}

TEST_F(EditorStopTest, ANewLevelsChangesAreOfferedAtAStartWithoutALevel) {
  KeepChanges("", Game(""));
  AnswerBoxes();
  OpenEditor();
  Pump(100);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("changes to a new level"), std::string::npos) << boxes[0];
  EXPECT_EQ(form->Document().At(3, 3), Cell::Money);
  EXPECT_EQ(form->Document().Path(), "");
  int next = 0;
  const std::string expected = NextFreeLevelFile(Game(""), next);
  Key(VK::A + ('S' - 'A'), true);
  EXPECT_EQ(form->Document().Path(), expected);
  EXPECT_FALSE(fs::exists(Game("NewLevel.recovered")));
}

TEST_F(EditorStopTest, AStartRemovesOnlyTheGamesOfEditorsThatAreGone) {
  ProcessIdentity self;
  ASSERT_TRUE(ThisProcess(self));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(0);
  ProcessIdentity ended{child, 1};
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const std::string reused = IdentityTag(ProcessIdentity{self.pid, self.started + 1});
  auto made = [&](const std::string& name) {
    fs::create_directory(Plays() + name);
    WriteFileBytes(Plays() + name + "/trial-outcome.txt", "x");
    return Plays() + name;
  };
  const std::string gone = made("trok-edit-play-" + IdentityTag(ended) + "-abcdef");
  const std::string given = made("trok-edit-play-" + reused + "-ghijkl");
  const std::string mine = made("trok-edit-play-" + IdentityTag(self) + "-mnopqr");
  const std::string nameless = made("trok-edit-play-stuvwx");
  const std::string other = made("trok-edit-play-" + IdentityTag(ended));
  // A link or a file under such a name is nothing of ours to remove.
  const std::string link = Plays() + "trok-edit-play-" + IdentityTag(ended) + "-linked";
  fs::create_directory_symlink(mine, link);
  WriteFileBytes(Plays() + "trok-edit-play-" + IdentityTag(ended) + "-filexx", "y");
  OpenEditor();
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_FALSE(fs::exists(given)) << "its number belongs to another process now";
  EXPECT_TRUE(fs::exists(mine + "/trial-outcome.txt")) << "its owner is running";
  EXPECT_TRUE(fs::exists(nameless));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::exists(Plays() + "trok-edit-play-" + IdentityTag(ended) + "-filexx"));
}

}  // namespace
