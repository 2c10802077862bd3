// level_tool: compiles, decompiles, checks and pictures level files; writes the
// starting high-score table.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "authoring/level_check.h"
#include "authoring/level_io.h"
#include "authoring/level_picture.h"
#include "base/bmp_file.h"
#include "base/files.h"
#include "level_tool/high_score_file.h"
#include "level_tool/level_build.h"
#include "level_tool/level_survey_report.h"

namespace {

const char* const Usage =
    "usage:\n"
    "  level_tool compile SRC.txt OUT            text form -> level file\n"
    "  level_tool decompile FELD.nn OUT.txt      level file -> text form\n"
    "  level_tool compile-all LEVELSDIR FELDSDIR every NN-name.txt -> FELD.NN (checked)\n"
    "  level_tool check [-v] LEVEL...            prove each level can be finished (exit 1\n"
    "                                            when one fails or is NOT PROVEN: too many\n"
    "                                            possibilities to try them all)\n"
    "  level_tool picture LEVEL OUT.bmp --objects DIR\n"
    "  level_tool highscores OUT                 the starting HighScores.dat\n"
    "  level_tool survey LEVELSDIR [--runs FILE] [--pairs N]\n"
    "                                            rooms alike across levels, filler, threats\n"
    "                                            and routes; with the autopilot's runs (as\n"
    "                                            scripts/level_survey.sh writes them) their\n"
    "                                            game time, damage and rank correlations\n"
    "LEVEL is a text source (*.txt) or a level file.\n";

int Fail(const std::string& message) {
  std::cerr << "level_tool: " << message << "\n";
  return 1;
}

void PrintWarnings(const LevelReadResult& r) {
  for (const auto& w : r.warnings) std::cerr << "warning: " << w << "\n";
}

int Compile(const std::string& src, const std::string& out) {
  const LevelReadResult r = ReadLevelText(src);
  if (!r.ok) return Fail(r.error);
  std::string error;
  if (!WriteLevelFile(out, r.bytes, error)) return Fail(error);
  return 0;
}

int Decompile(const std::string& src, const std::string& out) {
  const LevelReadResult r = ReadLevelFile(src);
  PrintWarnings(r);
  if (!r.ok) return Fail(r.error);
  const std::string name = std::filesystem::path(src).filename().string();
  if (!WriteWholeFile(out, FormatLevelText(r.bytes, "Decompiled from " + name)))
    return Fail(out + ": cannot write the file");
  return 0;
}

int CompileAll(const std::string& levels, const std::string& felds) {
  const BuildMessages m = CompileAllLevels(levels, felds);
  for (const auto& n : m.notes) std::cerr << "note: " << n << "\n";
  if (!m.errors.empty()) {
    for (const auto& e : m.errors) std::cerr << "error: " << e << "\n";
    std::cerr << "level_tool: no levels written; fix the errors above\n";
    return 1;
  }
  std::cout << "level_tool: " << m.compiled << " levels written to " << felds << "\n";
  return 0;
}

void PrintMode(const char* who, const ModeResult& m, bool verbose) {
  if (!m.searched) return;
  std::cout << "  " << who << ": "
            << (m.reachable     ? "Finish reachable"
                : m.outOfBudget ? NotProvenText
                : m.gaveUp      ? "gave up"
                                : "Finish NOT reachable")
            << " (" << m.states << " search states)\n";
  if (verbose)
    for (const auto& step : m.route) std::cout << "      " << step << "\n";
}

int Check(const std::vector<std::string>& files, bool verbose) {
  int failures = 0;
  CheckOptions options;
  options.wantRoute = verbose;
  for (const auto& file : files) {
    const LevelReadResult r = ReadLevelAny(file);
    PrintWarnings(r);
    if (!r.ok) {
      std::cerr << "error: " << r.error << "\n";
      ++failures;
      continue;
    }
    const CheckReport report = CheckLevel(r.bytes, options);
    std::cout << file << ": "
              << (report.Ok() ? "OK" : report.NotProven() ? "NOT PROVEN" : "FAILED") << "\n";
    if (!report.startInfo.empty()) std::cout << "  " << report.startInfo << "\n";
    PrintMode("one player", report.onePlayer, verbose);
    PrintMode("two players", report.twoPlayers, verbose);
    for (const auto& n : report.notes) std::cout << "  note: " << n << "\n";
    for (const auto& e : report.errors) std::cout << "  error: " << e << "\n";
    if (!report.Ok()) ++failures;
  }
  return failures == 0 ? 0 : 1;
}

int Picture(const std::string& src, const std::string& out, const std::string& objects) {
  const LevelReadResult r = ReadLevelAny(src);
  PrintWarnings(r);
  if (!r.ok) return Fail(r.error);
  Image picture;
  std::string error;
  if (!RenderLevelPicture(r.bytes, objects, picture, error)) return Fail(error);
  if (!SaveBmp24(picture, out, error)) return Fail(out + ": " + error);
  return 0;
}

int Survey(const std::vector<std::string>& args) {
  std::string runsFile;
  SurveyOptions options;
  for (std::size_t i = 2; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) return -1;
    if (args[i] == "--runs") {
      runsFile = args[i + 1];
    } else if (args[i] == "--pairs") {
      try {
        options.worstPairs = std::stoi(args[i + 1]);
      } catch (const std::exception&) {
        return -1;
      }
    } else {
      return -1;
    }
  }
  std::vector<AutoplayRun> runs;
  if (!runsFile.empty()) {
    std::string text, error;
    if (!ReadWholeFile(runsFile, text, error, std::size_t{16} << 20)) return Fail(runsFile + ": " + error);
    std::vector<std::string> errors;
    runs = ParseAutoplayRuns(text, errors);
    for (const auto& e : errors) std::cerr << runsFile << ": " << e << "\n";
    if (!errors.empty()) return 1;
  }
  return PrintLevelSurvey(args[1], runs, options, std::cout) ? 0 : 1;
}

int HighScores(const std::string& out) {
  if (!WriteWholeFile(out, FormatHighScoreFile(StartingHighScores())))
    return Fail(out + ": cannot write the file");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << Usage;
    return 2;
  }
  const std::string& command = args[0];
  if (command == "compile" && args.size() == 3) return Compile(args[1], args[2]);
  if (command == "decompile" && args.size() == 3) return Decompile(args[1], args[2]);
  if (command == "compile-all" && args.size() == 3) return CompileAll(args[1], args[2]);
  if (command == "highscores" && args.size() == 2) return HighScores(args[1]);
  if (command == "check" && args.size() >= 2) {
    std::vector<std::string> files;
    bool verbose = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "-v")
        verbose = true;
      else
        files.push_back(args[i]);
    }
    if (!files.empty()) return Check(files, verbose);
  }
  if (command == "survey" && args.size() >= 2)
    if (const int result = Survey(args); result >= 0) return result;
  if (command == "picture" && args.size() == 5 && args[3] == "--objects")
    return Picture(args[1], args[2], args[4]);
  if (command == "picture" && args.size() == 5 && args[2] == "--objects")
    return Picture(args[1], args[4], args[3]);
  std::cerr << Usage;
  return 2;
}
