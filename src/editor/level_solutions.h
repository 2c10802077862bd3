#pragma once
// Solutions of a level: replays of games that finished it played alone (the only level
// of their game directory, as the editor plays it), told apart by the level file they
// were recorded on. The editor keeps the newest of its test games per player count and
// saves them beside the level: Solutions/NN-1p.trokreplay and NN-2p.trokreplay of the
// game directory for its level FELDS/FELD.NN, "<file>.1p.trokreplay" beside any other
// level file or text. A solution is only ever written for the level it was recorded on.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/sha256.h"

inline constexpr const char* SolutionFolderName = "Solutions";

struct LevelSolution {
  std::string file;      // the replay file's bytes
  int players = 1;
  Sha256Digest level{};  // the level file it was recorded on
  int64_t recordedAt = 0;  // seconds since 1970
};

// The replay file `bytes` as a solution; none when it is no replay, is not of a level
// played alone or did not finish it.
std::optional<LevelSolution> ReadSolution(std::string bytes);
// The newest replay the game left in the Replays folder of `gameDir` (ending in '/'),
// when it is a solution of that directory's FELDS/FELD.00.
std::optional<LevelSolution> SolutionOfTrial(const std::string& gameDir);

// Where the solution for `players` of the level file or text `levelPath` is kept.
std::string SolutionFileOf(const std::string& levelPath, int players);
// The folder a game directory keeps its levels' solutions in, for the level
// `levelPath` when it is one of the game's (FELDS/FELD.NN); empty otherwise.
std::string SolutionFolderOf(const std::string& levelPath);

// The newest solution per player count, each tied to the level it was recorded on.
class LevelSolutions {
 public:
  // Takes `solution` as the last one for its player count, in place of any before.
  void Keep(LevelSolution solution);
  // The last solution for `players` when it was recorded on `level`.
  const LevelSolution* For(int players, const Sha256Digest& level) const;
  // The one kept last of those recorded on `level`; none when neither was.
  const LevelSolution* Last(const Sha256Digest& level) const;
  void Forget();

 private:
  std::array<std::optional<LevelSolution>, 2> last_;
  std::array<uint64_t, 2> keptAt_{};
  uint64_t kept_ = 0;
};

// What became of the solution files of a level.
struct SolutionFiles {
  std::vector<std::string> written;
  // Files recorded on another form of the level, left as they are.
  std::vector<std::string> outOfDate;
  std::string error;  // why one could not be written; empty when all went well
};

// Writes the kept solutions of `level` (the level file's digest) for the level saved as
// `levelPath`, each through the one saver and only when the file does not hold it
// already; the solutions folder is made when missing. Files it leaves alone that do
// not fit `level` are named in outOfDate.
SolutionFiles SaveSolutions(const LevelSolutions& solutions, const std::string& levelPath, const Sha256Digest& level);
// Keeps the saved solutions of `levelPath` that were recorded on `level` in `into`, the
// one recorded last kept last; names the others in outOfDate.
SolutionFiles TakeSavedSolutions(const std::string& levelPath, const Sha256Digest& level, LevelSolutions& into);
