// `level_tool check` itself on the hardest random levels we have: each ends within the
// checker's budget with a verdict, NOT PROVEN where the budget ran out, and never with
// a crash or an error charged to the level.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct ToolRun {
  int status = -1;
  std::string output;
};

ToolRun LevelTool(const std::string& arguments) {
  ToolRun run;
  FILE* pipe = ::popen((std::string(TROK_LEVEL_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  run.status = ::pclose(pipe);
  return run;
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(LevelToolCheck, HardLevelsGetAVerdictWithinTheBudget) {
  const std::string dir = std::string(TROK_SOURCE_DIR) + "/tests/authoring/levels/hard/";
  for (const char* name : {"hard-3.txt"}) {
    const ToolRun run = LevelTool("check " + dir + name);
    ASSERT_TRUE(WIFEXITED(run.status)) << name << " ended by a signal\n" << run.output;
    EXPECT_EQ(WEXITSTATUS(run.status), 1) << name << ": not proven is not OK\n" << run.output;
    EXPECT_NE(run.output.find(std::string(name) + ": NOT PROVEN"), std::string::npos) << run.output;
    EXPECT_EQ(Count(run.output, ": not proven: too many possibilities ("), 2) << run.output;
    EXPECT_EQ(Count(run.output, "error:"), 0) << run.output;
  }
}

}  // namespace
