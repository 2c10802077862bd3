// The editor as a program of its own, as the system sees it: a child process running
// the editor's whole program (window, message loop, signal handling) that plays a
// level in the real game, then is asked to end (SIGTERM) or killed outright.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/process_identity.h"
#include "editor/editor_program.h"
#include "editor/level_files.h"
#include "scratch_folder.h"
#include "ui/app.h"
#include "world/cell_codes.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const uint32_t Icon[1] = {0xFF000000};

// A child process of `parent`, or 0 when it has none.
pid_t ChildOf(pid_t parent) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = ReadFileBytes(entry.path().string() + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    // ") STATE PPID ..."
    if (std::atoi(stat.c_str() + close + 4) == parent) return std::atoi(name.c_str());
  }
  return 0;
}

// Waits up to `seconds` for our child `pid` to end: true when it did.
bool Ends(pid_t pid, int seconds) {
  const auto until = Clock::now() + std::chrono::seconds(seconds);
  while (Clock::now() < until) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

void KillAndWait(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  return names;
}

class EditorProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(game_.path / "FELDS");
    for (const auto& e : fs::directory_iterator(fs::path(TROK_GAME_DIR) / "FELDS"))
      fs::copy_file(e.path(), game_.path / "FELDS" / e.path().filename());
  }
  EditorRun Run(std::function<void(EditorForm&)> started) const {
    EditorRun run;
    run.places.gameDir = game_.WithSlash();
    run.places.dataDir = std::string(TROK_GAME_DIR) + "/";
    run.places.playDir = plays_.WithSlash();
    run.gameProgram = std::string(TROK_GAME_DIR) + "/trok-edit";
    run.started = std::move(started);
    return run;
  }
  // The editor's program in a child process of this test.
  pid_t StartEditor(const EditorRun& run) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("SDL_VIDEODRIVER", "dummy", 1);
      ::setenv("SDL_AUDIODRIVER", "dummy", 1);
      ::_exit(RunEditor(run, Icon, 1));
    }
    return pid;
  }
  // The game the editor `editor` started, once it has had time to come up; 0 when none came.
  pid_t GameOf(pid_t editor) {
    for (int i = 0; i < 1000; ++i) {
      if (const pid_t game = ChildOf(editor)) {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        return game;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
  }
  std::string Level() const { return game_ / "FELDS/FELD.01"; }

  ScratchFolder game_, plays_;
};

TEST_F(EditorProcessTest, SigtermDuringAGameEndsTheGameAndTheEditorAndKeepsTheChanges) {
  const std::string onDisk = ReadFileBytes(Level());
  EditorRun run = Run([](EditorForm& form) {
    form.Document().Set({CellAt(3, 3)}, Cell::Money);
    form.Refresh();
    form.PlayLevel(1);
  });
  run.level = Level();
  const pid_t editor = StartEditor(run);
  ASSERT_GT(editor, 0);
  const pid_t game = GameOf(editor);
  ProcessIdentity gameIdentity;
  if (game == 0 || !IdentityOf(game, gameIdentity)) {
    KillAndWait(editor);
    FAIL() << "the editor started no game";
  }
  ASSERT_EQ(Entries(plays_.path.string()).size(), 1u);
  ::kill(editor, SIGTERM);
  const bool ended = Ends(editor, 15);
  if (!ended) {
    KillAndWait(editor);
    ::kill(game, SIGKILL);
  }
  ASSERT_TRUE(ended) << "the editor is still running 15 s after SIGTERM";
  EXPECT_EQ(StateOf(gameIdentity), ProcessState::Gone);
  EXPECT_EQ(Entries(plays_.path.string()), std::vector<std::string>{}) << "the game's directory is gone";
  EXPECT_EQ(ReadFileBytes(Level()), onDisk);
  OpenedLevel kept = OpenLevel(Level() + ".recovered");
  ASSERT_TRUE(kept.document) << kept.message;
  EXPECT_EQ(kept.document->At(3, 3), Cell::Money);
}

TEST_F(EditorProcessTest, KilledDuringAGameTheGameEndsTooAndTheNextStartClearsUp) {
  // The game, orphaned, comes to this test, so it can see it end.
  ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  EditorRun run = Run([](EditorForm& form) { form.PlayLevel(1); });
  run.level = Level();
  const pid_t editor = StartEditor(run);
  ASSERT_GT(editor, 0);
  const pid_t game = GameOf(editor);
  ::kill(editor, SIGKILL);
  ASSERT_EQ(::waitpid(editor, nullptr, 0), editor);
  const bool gameEnded = game != 0 && Ends(game, 15);
  if (game != 0 && !gameEnded) KillAndWait(game);
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  ASSERT_NE(game, 0) << "the editor started no game";
  EXPECT_TRUE(gameEnded) << "the game plays on without its editor";
  ASSERT_EQ(Entries(plays_.path.string()).size(), 1u) << "a killed editor cannot clear up";

  const pid_t next = StartEditor(Run([](EditorForm& form) { form.app.Terminate(); }));
  ASSERT_GT(next, 0);
  const bool nextEnded = Ends(next, 30);
  if (!nextEnded) KillAndWait(next);
  ASSERT_TRUE(nextEnded);
  EXPECT_EQ(Entries(plays_.path.string()), std::vector<std::string>{}) << "the next start removes it";
}

}  // namespace
