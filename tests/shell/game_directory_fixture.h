#pragma once
// Runs the real program headless on virtual time inside a scratch copy of the game
// directory, so tests can change files without touching the build's.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "shell/headless_program.h"

class GameDirectoryTest : public ::testing::Test {
 protected:
  // Objects/ is linked from the built game directory; `levels` level files and the
  // starting HighScores.dat are copied.
  void MakeGameDirectory(int levels);
  // Links more folders of the built game directory in ("Sounds", "Music", "Pictures").
  void LinkGameFolders(std::initializer_list<const char*> folders);
  // Without an audio door the program sounds through SDL (the dummy driver in tests).
  void StartProgram(std::unique_ptr<AudioDoor> audio = nullptr);
  // Types a key at the welcome text and waits for the title menu.
  void ReachTitleMenu();
  // At fromMs, fromMs + 100, ... (`checks` times): the innermost open box, if any, is
  // noted in boxesSeen and answered with Enter.
  void AnswerBoxes(uint64_t fromMs, int checks);

  // Short forms of the program's own input and time.
  uint64_t Now() { return program->Now(); }
  void RunFor(int ms) { program->RunFor(ms); }
  void Push(InputEvent::Type type, int vk, uint64_t atMs) { program->Push(type, vk, atMs); }
  void PushKey(int vk, uint64_t atMs) { program->PushKey(vk, atMs); }
  void PushChar(char c, uint64_t atMs) { program->PushChar(c, atMs); }
  void At(uint64_t atMs, std::function<void()> check) { program->At(atMs, std::move(check)); }

  void TearDown() override;

  std::unique_ptr<HeadlessProgram> program;
  std::filesystem::path dir;
  std::filesystem::path previousDir;
  std::vector<std::string> boxesSeen;
};
