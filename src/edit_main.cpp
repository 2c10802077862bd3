// trok-edit: the level editor. `trok-edit [LEVEL]` edits a level file or text source
// (a new level without one); `trok-edit --play DIR PLAYERS` is how the editor plays the
// level being edited in the game, in a game directory of its own, and
// `trok-edit --play DIR PLAYERS --replay FILE` how it shows a recorded game of it there.
#include <cstdio>
#include <cstring>
#include <string>

#include "editor/editor_program.h"
#include "shell/level_trial.h"
// Made at build time by the tile maker from our tile art.
#include "window_icon.h"

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--play") == 0) {
    const bool replay = argc == 6 && std::strcmp(argv[4], "--replay") == 0;
    if ((argc != 4 && !replay) || (std::strcmp(argv[3], "1") != 0 && std::strcmp(argv[3], "2") != 0)) {
      std::fprintf(stderr, "Usage: %s --play GAME-DIRECTORY 1|2 [--replay FILE]\n", argv[0]);
      return 2;
    }
    return RunLevelTrial(argv[2], argv[3][0] - '0', replay ? argv[5] : "", TrokIconArgb, TrokIconSide);
  }
  if (argc >= 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::printf("Usage: %s [LEVEL]\nEdits a level of TROK Mirel: a level file (FELDS/FELD.nn) or its text form "
                "(*.txt); without LEVEL a new one.\nRun it in the game directory.\n",
                argv[0]);
    return 0;
  }
  if (argc > 2) {
    std::fprintf(stderr, "Usage: %s [LEVEL]\n", argv[0]);
    return 2;
  }
  EditorRun run;
  if (argc == 2) run.level = argv[1];
  return RunEditor(run, TrokIconArgb, TrokIconSide);
}
