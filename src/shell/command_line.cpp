#include "shell/command_line.h"

#include <cstdio>
#include <memory>
#include <string>

#include "base/files.h"
#include "replay/replay_file.h"
#include "shell/net_play.h"
#include "shell/program.h"
#include "shell/program_name.h"
#include "shell/replay_check.h"
#include "shell/replay_place.h"
#include "shell/replay_watch.h"

namespace {

constexpr const char* Usage =
    "Usage: trok [--host [PORT] | --join HOST[:PORT] | --play FILE | --verify FILE | --help | --version]\n"
    "Without arguments, starts TROK Mirel in the working directory, its game directory.\n"
    "  --host [PORT]  hosts a network game for two on UDP port PORT (29431 when not\n"
    "                 given) and tells the address to give the other player\n"
    "  --join HOST[:PORT]  joins the network game hosted at HOST\n"
    "  --play FILE    shows the game recorded in FILE (Pause pauses, Tab held plays it\n"
    "                 four times as fast, Escape ends it), then the title menu\n"
    "  --verify FILE  plays it back without a window as fast as possible and tells\n"
    "                 whether the game ends exactly as recorded (exit status 0), went\n"
    "                 its own way (1) or could not be checked (2)\n"
    "  --help         shows this text\n"
    "  --version      shows the program's version\n";

int WatchHere(const Replay& replay, const std::string& path, const uint32_t* iconArgb, int iconSide);

// Waits for the title menu, then plays the replay in it; the title menu follows.
int Watch(const std::string& path, const uint32_t* iconArgb, int iconSide) {
  Replay replay;
  std::string error;
  if (ReadReplayFile(path, replay, error) != ReplayReadResult::Ok) {
    std::fprintf(stderr, "trok: %s\n", error.c_str());
    return 2;
  }
  const std::unique_ptr<ReplayPlace> place = ReplayPlace::Find(replay, CurrentDirectoryWithSlash(), ReplayPlace::Use::Watch, error);
  if (!place) {
    std::fprintf(stderr, "trok: %s\n", error.c_str());
    return 2;
  }
  int status = 2;
  if (!InDirectory(place->Directory(), [&] { status = WatchHere(replay, path, iconArgb, iconSide); }))
    std::fprintf(stderr, "trok: cannot enter the folder \"%s\"\n", place->Directory().c_str());
  return status;
}

int WatchHere(const Replay& replay, const std::string& path, const uint32_t* iconArgb, int iconSide) {
  return RunProgram(iconArgb, iconSide, [replay, path](Program& program) {
    App& app = program.app;
    // Start-up runs at once, as after the first key of the welcome screen.
    InputEvent key;
    key.type = InputEvent::Type::Char;
    key.ch = ' ';
    app.PushInput(key, 0);
    Timer& waiting = app.CreateTimer();
    waiting.onTimer = [&program, &waiting, replay, path] {
      if (!program.mainForm->InTitleMenu() || !program.app.OpenBoxTexts().empty()) return;
      waiting.SetInterval(0);
      WatchReplay(program, replay, path);
    };
    waiting.SetInterval(50);
    return true;
  });
}

// The program as always, hosting or joining a network game from its first screen on.
int PlayOverNetwork(bool host, const std::string& where, const uint32_t* iconArgb, int iconSide) {
  NetRequest request;
  std::string error;
  if (!ParseNetRequest(host, where, request, error)) {
    std::fprintf(stderr, "trok: %s\n%s", error.c_str(), Usage);
    return 2;
  }
  return RunProgram(iconArgb, iconSide, [&request](Program& program) {
    std::string why;
    if (!program.OpenNetwork(request, why)) {
      std::fprintf(stderr, "trok: %s\n", why.c_str());
      return false;
    }
    std::fputs(program.net->Announcement().c_str(), stdout);
    std::fflush(stdout);
    return true;
  });
}

}  // namespace

int RunCommandLine(int argc, char** argv, const uint32_t* iconArgb, int iconSide) {
  if (argc <= 1) return RunProgram(iconArgb, iconSide);
  const std::string option = argv[1];
  if ((option == "--help" || option == "-h") && argc == 2) {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (option == "--version" && argc == 2) {
    std::printf("%s\n", ProgramName);
    return 0;
  }
  if (option == "--play" && argc == 3) return Watch(argv[2], iconArgb, iconSide);
  if (option == "--host" && argc <= 3) return PlayOverNetwork(true, argc == 3 ? argv[2] : "", iconArgb, iconSide);
  if (option == "--join" && argc == 3) return PlayOverNetwork(false, argv[2], iconArgb, iconSide);
  if (option == "--verify" && argc == 3) {
    const ReplayCheckOutcome outcome = CheckReplayFile(argv[2]);
    std::fprintf(outcome.status == 2 ? stderr : stdout, "%s\n", outcome.line.c_str());
    return outcome.status;
  }
  std::fputs(Usage, stderr);
  return 2;
}
