#include "shell/replay_watch.h"

#include "shell/program.h"

void WatchReplay(Program& program, const Replay& replay, const std::string& path) {
  const std::string title = program.app.Title();
  const std::string::size_type slash = path.rfind('/');
  program.app.SetTitle(title + " - replay of " + (slash == std::string::npos ? path : path.substr(slash + 1)));
  program.session->PlayBack(replay, true);
  program.app.SetTitle(title);
}
