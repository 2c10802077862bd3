#include "level_tool/level_survey_report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "authoring/level_check.h"
#include "authoring/level_io.h"
#include "authoring/level_survey.h"
#include "level_tool/level_build.h"

namespace fs = std::filesystem;

namespace {

struct Level {
  int number = 0;
  std::string name;
  LevelBytes bytes{};
};

std::string Fixed(double v, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", digits, v);
  return text;
}

std::string Percent(double share) { return Fixed(100.0 * share, 0) + " %"; }

std::string RoomName(int room) { return "(" + std::to_string(room % 3) + "," + std::to_string(room / 3) + ")"; }

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// Mean seconds and damage of the finished runs of a level with `players`, and how many
// runs there were and finished.
struct RunMeans {
  double seconds = 0, damage = 0;
  int runs = 0, finished = 0;
};

RunMeans MeansOf(const std::vector<AutoplayRun>& runs, int level, int players) {
  RunMeans m;
  for (const AutoplayRun& r : runs) {
    if (r.level != level || r.players != players) continue;
    ++m.runs;
    if (!r.finished) continue;
    ++m.finished;
    m.seconds += r.seconds;
    m.damage += r.damage;
  }
  if (m.finished > 0) {
    m.seconds /= m.finished;
    m.damage /= m.finished;
  }
  return m;
}

std::string MeanCell(const RunMeans& m, double value, int digits) {
  if (m.runs == 0) return "–";
  std::string text = m.finished > 0 ? Fixed(value, digits) : "–";
  if (m.finished < m.runs) text += " (" + std::to_string(m.finished) + "/" + std::to_string(m.runs) + ")";
  return text;
}

void PrintRooms(const std::vector<Level>& levels, const SurveyOptions& options, std::ostream& out) {
  std::vector<LevelBytes> bytes;
  for (const Level& l : levels) bytes.push_back(l.bytes);
  const std::vector<RoomPair> pairs = AlikeRooms(bytes);
  int over90 = 0, over70 = 0, over60 = 0;
  for (const RoomPair& p : pairs) {
    over90 += p.share > 0.9;
    over70 += p.share > 0.7;
    over60 += p.share > 0.6;
  }
  out << "Rooms alike: of the cells that hold a wall or an object in either of two rooms, the share\n"
         "that hold the same code in both; every room against every room of every other level,\n"
         "as they stand.\n\n"
      << "Pairs of rooms over 90 %: " << over90 << ", over 70 %: " << over70 << ", over 60 %: " << over60
      << " (of " << pairs.size() << ").\n\n";
  out << "| level | room | level | room | share |\n|---|---|---|---|---|\n";
  for (std::size_t i = 0; i < pairs.size() && static_cast<int>(i) < options.worstPairs; ++i) {
    const RoomPair& p = pairs[i];
    out << "| " << Two(levels[p.levelA].number) << " | " << RoomName(p.roomA) << " | " << Two(levels[p.levelB].number)
        << " | " << RoomName(p.roomB) << " | " << Percent(p.share) << " |\n";
  }
  out << "\nPer level: its room most like a room of another level, its room with the fewest wall\n"
         "and object cells inside the outer ring, and rooms with one object in all four corners.\n\n"
      << "| level | most alike | share | sparsest room | inner cells | four-corner rooms |\n"
      << "|---|---|---|---|---|---|\n";
  std::vector<const RoomPair*> worst(levels.size(), nullptr);
  for (const RoomPair& p : pairs)
    for (int l : {p.levelA, p.levelB})
      if (!worst[static_cast<std::size_t>(l)]) worst[static_cast<std::size_t>(l)] = &p;
  for (std::size_t l = 0; l < levels.size(); ++l) {
    const RoomPair* p = worst[l];
    std::string alike = "–", share = "–";
    if (p) {
      const bool first = p->levelA == static_cast<int>(l);
      alike = RoomName(first ? p->roomA : p->roomB) + " ~ " + Two(levels[static_cast<std::size_t>(first ? p->levelB : p->levelA)].number) +
              " " + RoomName(first ? p->roomB : p->roomA);
      share = Percent(p->share);
    }
    int sparsest = 0, fewest = 1 << 30;
    std::string corners;
    for (int room = 0; room < LevelRoomCount; ++room) {
      const int inner = InnerCells(levels[l].bytes, room);
      if (inner < fewest) {
        fewest = inner;
        sparsest = room;
      }
      if (const int code = FourCornerCopy(levels[l].bytes, room); code >= 0)
        corners += (corners.empty() ? "" : ", ") + RoomName(room) + " '" + std::string(1, LegendCharOf(static_cast<uint8_t>(code))) + "'";
    }
    out << "| " << Two(levels[l].number) << " | " << alike << " | " << share << " | " << RoomName(sparsest) << " | "
        << fewest << " | " << (corners.empty() ? "–" : corners) << " |\n";
  }
}

void PrintDifficulty(const std::vector<Level>& levels, const std::vector<AutoplayRun>& runs, std::ostream& out) {
  out << "\nDifficulty: threats by kind as placed, the length in cells of the checker's route for one\n"
         "player and for two, and the autopilot's game time and damage taken, mean over the seeds\n"
         "of the finished runs (a count where not every run finished).\n\n"
      << "| level | creatures | producers | dart producers | lasers | mines | threats | route 1p | route 2p "
         "| time 1p s | damage 1p | time 2p s | damage 2p |\n"
      << "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
  std::vector<double> number, threats, route, time1, damage1, time2, damage2;
  CheckOptions check;
  check.wantRoute = true;
  check.findDeadEnds = false;
  for (const Level& l : levels) {
    const ThreatCount t = CountThreats(l.bytes);
    const CheckReport report = CheckLevel(l.bytes, check);
    const auto length = [](const ModeResult& m) { return m.reachable ? std::to_string(m.path.size()) : std::string("–"); };
    const RunMeans one = MeansOf(runs, l.number, 1), two = MeansOf(runs, l.number, 2);
    out << "| " << Two(l.number) << " | " << t.creatures << " | " << t.producers << " | " << t.dartProducers << " | "
        << t.lasers << " | " << t.mines << " | " << t.Total() << " | " << length(report.onePlayer) << " | "
        << length(report.twoPlayers) << " | " << MeanCell(one, one.seconds, 1) << " | " << MeanCell(one, one.damage, 0)
        << " | " << MeanCell(two, two.seconds, 1) << " | " << MeanCell(two, two.damage, 0) << " |\n";
    number.push_back(l.number);
    threats.push_back(t.Total());
    route.push_back(static_cast<double>(report.onePlayer.path.size()));
    time1.push_back(one.seconds);
    damage1.push_back(one.damage);
    time2.push_back(two.seconds);
    damage2.push_back(two.damage);
  }
  out << "\nRank correlation (Spearman) with the level number: threats " << Fixed(RankCorrelation(number, threats), 2)
      << ", route 1p " << Fixed(RankCorrelation(number, route), 2);
  if (!runs.empty())
    out << ", time 1p " << Fixed(RankCorrelation(number, time1), 2) << ", damage 1p "
        << Fixed(RankCorrelation(number, damage1), 2) << ", time 2p " << Fixed(RankCorrelation(number, time2), 2)
        << ", damage 2p " << Fixed(RankCorrelation(number, damage2), 2);
  out << ".\n";
}

}  // namespace

std::vector<AutoplayRun> ParseAutoplayRuns(const std::string& text, std::vector<std::string>& errors) {
  std::vector<AutoplayRun> runs;
  std::istringstream lines(text);
  std::string line;
  for (int n = 1; std::getline(lines, line); ++n) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream words(line);
    AutoplayRun r;
    int finished = -1;
    std::string rest;
    if (!(words >> r.level >> r.players >> r.seed >> r.seconds >> r.damage >> finished) || (words >> rest) ||
        (finished != 0 && finished != 1) || (r.players != 1 && r.players != 2) || r.level < 0) {
      errors.push_back("line " + std::to_string(n) + ": not LEVEL PLAYERS SEED SECONDS DAMAGE FINISHED: " + line);
      continue;
    }
    r.finished = finished == 1;
    runs.push_back(r);
  }
  return runs;
}

bool PrintLevelSurvey(const std::string& levelsDir, const std::vector<AutoplayRun>& runs, const SurveyOptions& options,
                      std::ostream& out) {
  std::vector<Level> levels;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(levelsDir, ec)) {
    const int number = LevelNumberOfSource(entry.path().filename().string());
    if (number < 0) continue;
    const LevelReadResult read = ReadLevelText(entry.path().string());
    if (!read.ok) {
      out << read.error << "\n";
      return false;
    }
    levels.push_back({number, entry.path().filename().string(), read.bytes});
  }
  if (ec || levels.empty()) {
    out << levelsDir << ": no level sources (NN-name.txt)\n";
    return false;
  }
  std::sort(levels.begin(), levels.end(), [](const Level& a, const Level& b) { return a.number < b.number; });
  PrintRooms(levels, options, out);
  PrintDifficulty(levels, runs, out);
  return true;
}
