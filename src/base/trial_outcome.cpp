#include "base/trial_outcome.h"

#include <sstream>

#include "base/file_saving.h"
#include "base/files.h"

bool WriteTrialOutcome(const std::string& gameDir, const TrialOutcome& outcome) {
  const std::string text =
      std::string(outcome.finished ? "finished" : "stopped") + " " + std::to_string(outcome.seconds) + "\n";
  std::string error;
  return ReplaceFile(gameDir + TrialOutcomeFile, text, error);
}

TrialOutcome ReadTrialOutcome(const std::string& gameDir) {
  TrialOutcome outcome;
  std::string text, error;
  if (!ReadWholeFile(gameDir + TrialOutcomeFile, text, error, 256)) return outcome;
  std::istringstream in(text);
  std::string word;
  int seconds = 0;
  in >> word >> seconds;
  if (in.fail() || (word != "finished" && word != "stopped")) return outcome;
  outcome.finished = word == "finished";
  outcome.seconds = seconds;
  return outcome;
}
