#pragma once
// `level_tool survey`: the tables a level designer looks at: rooms alike across levels,
// filler, and per level the threats, the checker's route and how the autopilot fared.
#include <map>
#include <ostream>
#include <string>
#include <vector>

// One autopilot run, as scripts/level_survey.sh writes it: "LEVEL PLAYERS SEED SECONDS
// DAMAGE FINISHED" per line (FINISHED 1 or 0).
struct AutoplayRun {
  int level = 0, players = 1, seed = 1;
  double seconds = 0, damage = 0;
  bool finished = false;
};

// The runs of `text`; a line that does not read is named in `errors` and skipped.
std::vector<AutoplayRun> ParseAutoplayRuns(const std::string& text, std::vector<std::string>& errors);

struct SurveyOptions {
  int worstPairs = 15;  // rows of the table of the most alike rooms
};

// Surveys every NN-name.txt of `levelsDir`; false (with the reason in `out`) when the
// folder holds no readable levels.
bool PrintLevelSurvey(const std::string& levelsDir, const std::vector<AutoplayRun>& runs,
                      const SurveyOptions& options, std::ostream& out);
