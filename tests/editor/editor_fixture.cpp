#include "editor_fixture.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "base/files.h"
#include "editor/toolbar.h"

namespace fs = std::filesystem;

namespace {

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

bool RecordingPlayer::Start(const std::string& dir, int players, std::string& error) {
  if (refuse) {
    error = "no game here";
    return false;
  }
  calls.push_back(Call{dir, players, ReadFileBytes(dir + "/FELDS/FELD.00"), ReadFileBytes(dir + "/Options.dat"),
                       fs::is_directory(dir + "/Objects") && fs::is_symlink(dir + "/Objects")});
  polls_ = 0;
  WriteTrialOutcome(dir + "/", outcome);
  if (!replay.empty()) {
    fs::create_directory(dir + "/Replays");
    WriteFileBytes(dir + "/Replays/2026-12-08_14-03-22_level00_" + std::to_string(players) + "p.trokreplay", replay);
  }
  return true;
}

bool RecordingPlayer::StartWatching(const std::string& dir, int players, const std::string& replayFile,
                                    std::string& error) {
  const std::string saved = replay;
  replay.clear();  // showing a game records none
  const bool started = Start(dir, players, error);
  replay = saved;
  if (started) calls.back().watched = ReadFileBytes(replayFile);
  return started;
}

bool RecordingPlayer::Ended() { return ++polls_ >= pollsToEnd; }

void EditorTest::SetUp() {
  std::string error;
  ASSERT_TRUE(app.Init(error)) << error;
  app.SetWindowed(EditorForm::ScreenWidth, EditorForm::ScreenHeight);
  fs::create_directory(game_.path / "FELDS");
  for (const auto& e : fs::directory_iterator(fs::path(TROK_GAME_DIR) / "FELDS"))
    fs::copy_file(e.path(), game_.path / "FELDS" / e.path().filename());
  WriteFileBytes(game_ / "Options.dat", "the player's own settings\r\n");
}

EditorPlaces EditorTest::Places() const {
  EditorPlaces places;
  places.gameDir = game_.WithSlash();
  places.dataDir = std::string(TROK_GAME_DIR) + "/";
  places.playDir = plays_.WithSlash();
  return places;
}

void EditorTest::OpenEditor(const std::string& level, const CheckBudget& checkBudget) {
  form.reset();
  auto recording = std::make_unique<RecordingPlayer>();
  player = recording.get();
  form = std::make_unique<EditorForm>(app, Places(), std::move(recording), checkBudget);
  if (!level.empty()) form->OpenAtStart(level);
  app.Show(form.get());
  Pump(5);
}

void EditorTest::OpenEditor(std::unique_ptr<RecordingPlayer> recording) {
  form.reset();
  player = recording.get();
  form = std::make_unique<EditorForm>(app, Places(), std::move(recording));
  app.Show(form.get());
  Pump(5);
}

void EditorTest::TearDown() { form.reset(); }

void EditorTest::Pump(int ms) {
  for (int i = 0; i < ms && !app.Terminated(); ++i) {
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = ThreadCpuMs();
    app.ProcessMessages();
    longestPass = std::max(longestPass, std::chrono::steady_clock::now() - start);
    longestPassCpuMs = std::max(longestPassCpuMs, ThreadCpuMs() - startCpu);
    app.SleepMs(1);
  }
}

void EditorTest::AwaitVerdict(int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  Pump(300);  // the pause after the last edit
  while (form->CheckPending() && std::chrono::steady_clock::now() < end) {
    Pump(15);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_FALSE(form->CheckPending()) << "no verdict in " << seconds << " s";
}

void EditorTest::Key(int vk, bool control, bool shift) {
  auto push = [this](InputEvent::Type type, int key) {
    InputEvent e;
    e.type = type;
    e.vk = key;
    app.PushInput(e, clock.NowMs());
  };
  if (control) push(InputEvent::Type::KeyDown, VK::Control);
  if (shift) push(InputEvent::Type::KeyDown, VK::Shift);
  push(InputEvent::Type::KeyDown, vk);
  push(InputEvent::Type::KeyUp, vk);
  if (shift) push(InputEvent::Type::KeyUp, VK::Shift);
  if (control) push(InputEvent::Type::KeyUp, VK::Control);
  Pump(2);
}

void EditorTest::Type(const std::string& text) {
  for (char c : text) {
    InputEvent e;
    e.type = InputEvent::Type::Char;
    e.ch = c;
    app.PushInput(e, clock.NowMs());
  }
  Pump(2);
}

void EditorTest::Click(int x, int y, MouseButton button) {
  InputEvent e;
  e.type = InputEvent::Type::MouseDown;
  e.x = x;
  e.y = y;
  e.button = button;
  app.PushInput(e, clock.NowMs());
  e.type = InputEvent::Type::MouseUp;
  app.PushInput(e, clock.NowMs() + 1);
  Pump(3);
}

void EditorTest::ClickCell(int cell, MouseButton button) {
  int x = 0, y = 0;
  ASSERT_TRUE(form->CellCentre(cell, x, y)) << cell;
  Click(x, y, button);
}

void EditorTest::DragCells(int from, int to) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  ASSERT_TRUE(form->CellCentre(from, x0, y0));
  ASSERT_TRUE(form->CellCentre(to, x1, y1));
  InputEvent e;
  e.type = InputEvent::Type::MouseDown;
  e.x = x0;
  e.y = y0;
  app.PushInput(e, clock.NowMs());
  e.type = InputEvent::Type::MouseMove;
  e.x = x1;
  e.y = y1;
  app.PushInput(e, clock.NowMs() + 1);
  e.type = InputEvent::Type::MouseUp;
  app.PushInput(e, clock.NowMs() + 2);
  Pump(4);
}

void EditorTest::ClickPlate(const std::string& caption) {
  int x = 0, y = 0;
  ASSERT_TRUE(form->Tools().PlateCentre(caption, x, y)) << caption;
  Click(x, y);
}

void EditorTest::AnswerBoxes(int answer) {
  answer_ = answer;
  if (answerer_) return;
  answerer_ = &app.CreateTimer();
  answerer_->onTimer = [this] {
    const auto& open = app.OpenBoxTexts();
    if (open.empty()) return;
    boxes.push_back(open.back());
    InputEvent e;
    e.type = InputEvent::Type::KeyDown;
    e.vk = answer_;
    app.PushInput(e, clock.NowMs());
    e.type = InputEvent::Type::KeyUp;
    app.PushInput(e, clock.NowMs() + 1);
  };
  answerer_->SetInterval(20);
}

void EditorTest::AnswerNextDialog(const std::string& name) {
  const uint64_t at = clock.NowMs() + 5;
  // A key first: the characters of the key that answered the last box are the box's.
  app.PushInput(InputEvent{InputEvent::Type::KeyDown, VK::Shift}, at);
  app.PushInput(InputEvent{InputEvent::Type::KeyUp, VK::Shift}, at);
  for (char c : name) {
    InputEvent e;
    e.type = InputEvent::Type::Char;
    e.ch = c;
    app.PushInput(e, at + 1);
  }
  app.PushInput(InputEvent{InputEvent::Type::KeyDown, VK::Enter}, at + 5);
  app.PushInput(InputEvent{InputEvent::Type::KeyUp, VK::Enter}, at + 6);
}
