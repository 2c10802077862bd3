#include "editor/editor_program.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

#include "base/child_process.h"
#include "base/clock.h"
#include "base/stop_signal.h"
#include "ui/app.h"

std::string FindGameData(const std::string& gameDir, const std::string& programPath) {
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::path(gameDir.empty() ? "." : gameDir) / "Objects", ec))
    return gameDir;
  const std::filesystem::path beside = std::filesystem::path(programPath).parent_path();
  if (!beside.empty() && std::filesystem::is_directory(beside / "Objects", ec)) return beside.string() + "/";
  return gameDir;
}

int RunEditor(const EditorRun& run, const uint32_t* iconArgb, int iconSide) {
  RealClock clock;
  App app(clock, false);
  std::string error;
  if (!app.Init(error)) {
    std::fprintf(stderr, "The TROK Mirel level editor cannot start: %s\n", error.c_str());
    return 1;
  }
  // After the window's library, whose own handler would turn the request into a close
  // of the window, which waits for a question or a game to end.
  CatchStopSignals();
  // The editor ends on a stop in its own way: the game first, unsaved work kept.
  app.SetStopSignalEnds(false);
  app.SetTitle("TROK Mirel Level Editor");
  // A window of its own the player can move and resize; Alt+Enter makes it full screen.
  app.ShowInWindow(EditorForm::ScreenWidth, EditorForm::ScreenHeight);
  app.SetIcon(iconArgb, iconSide, iconSide);
  const std::string program = run.gameProgram.empty() ? OwnProgramPath() : run.gameProgram;
  EditorPlaces places = run.places;
  if (places.dataDir.empty()) places.dataDir = FindGameData(places.gameDir, program);
  EditorForm form(app, places, std::make_unique<ChildLevelPlayer>(program));
  form.WatchForStop(StopSignalled);
  if (!run.level.empty()) form.OpenAtStart(run.level);
  app.Show(&form);
  if (run.started && !app.Terminated()) run.started(form);
  for (;;) {
    try {
      app.Run();
      return 0;
    } catch (const std::exception& e) {
      // An error that escapes a handler is shown and the editor goes on.
      app.MessageBox(BoxKind::Error, e.what());
      if (app.Terminated()) return 0;
    }
  }
}
