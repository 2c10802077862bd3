#pragma once
// Program entry: the application, its five windows in creation order, the message loop.
#include <cstdint>
#include <memory>

#include "ui/app.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/main_window.h"

struct Program {
  // Creates the windows; the caller runs app.Run() or drives ProcessMessages itself.
  Program(Clock& clock, bool headless);
  bool Init(std::string& error);

  App app;
  std::unique_ptr<TMainForm> mainForm;
  std::unique_ptr<TOptionsForm> optionsForm;
  std::unique_ptr<THScoreForm> scoreForm;
  std::unique_ptr<TNameForm> nameForm;
  std::unique_ptr<THelpForm> helpForm;
};

// Runs the program with a real window and clock; the window wears the icon when one is
// given (iconSide x iconSide pixels 0xAARRGGBB).
int RunProgram(const uint32_t* iconArgb = nullptr, int iconSide = 0);
