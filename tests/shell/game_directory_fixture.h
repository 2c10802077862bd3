#pragma once
// Runs the real program headless on virtual time inside a scratch copy of the game
// directory, so tests can change files without touching the build's.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ui/app.h"
#include "shell/program.h"

class GameDirectoryTest : public ::testing::Test {
 protected:
  // Objects/ is linked from the built game directory; `levels` level files and the
  // starting HighScores.dat are copied.
  void MakeGameDirectory(int levels);
  void StartProgram();
  // Processes messages for `ms` virtual milliseconds (1 ms sleeps in between).
  void RunFor(int ms);
  void Push(InputEvent::Type type, int vk, uint64_t atMs);
  void PushKey(int vk, uint64_t atMs) {
    Push(InputEvent::Type::KeyDown, vk, atMs);
    Push(InputEvent::Type::KeyUp, vk, atMs + 20);
  }
  void PushChar(char c, uint64_t atMs);
  // Runs `check` from a timer at `atMs`, i.e. from inside whatever loop is running then.
  void At(uint64_t atMs, std::function<void()> check);
  uint64_t Now() { return clock.NowMs(); }
  // Types a key at the welcome text and waits for the title menu.
  void ReachTitleMenu();
  // At fromMs, fromMs + 100, ... (`checks` times): the innermost open box, if any, is
  // noted in boxesSeen and answered with Enter.
  void AnswerBoxes(uint64_t fromMs, int checks);

  void TearDown() override;

  VirtualClock clock;
  std::unique_ptr<Program> program;
  TMainForm* main = nullptr;
  std::filesystem::path dir;
  std::filesystem::path previousDir;
  std::vector<std::string> boxesSeen;
};
