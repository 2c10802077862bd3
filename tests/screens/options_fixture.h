#pragma once
// The options screen on a headless app in a scratch directory, with a recorder for
// the boxes it shows and scripted answers to them.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ui/app.h"
#include "screens/options.h"

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The form reads Options.dat while it is made, so write the file first.
  TOptionsForm& MakeForm();
  void Pump(int ms);
  void Press(int vk);  // down and up
  void Type(char c);
  void Click(const Control& c);
  // The next boxes are answered with these keys, one each, in turn.
  void AnswerBoxes(const std::vector<int>& keys);

  static void WriteFile(const std::string& text);
  static std::string ReadFile();

  VirtualClock clock;
  App app{clock, true};
  std::unique_ptr<TOptionsForm> form;
  std::vector<std::string> boxes;  // texts of the boxes shown, in order
  int titleMenuShown = 0;
  std::filesystem::path dir;
  std::filesystem::path previousDir;
};

inline const std::string DefaultOptionsText =
    "16\r\n"
    "0 Up 38 Down 40 Left 37 Right 39 Ctrl 17 Shift 16 \r\n"
    "0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\n"
    "On\r\n"
    "On\r\n";
