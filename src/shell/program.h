#pragma once
// Program entry: the application, its five windows in creation order, the message loop.
#include <memory>

#include "platform/audio_door.h"
#include "ui/app.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/main_window.h"

struct Program {
  // Creates the windows; the caller runs app.Run() or drives ProcessMessages itself.
  // Without an audio door the program sounds through SDL.
  Program(Clock& clock, bool headless, std::unique_ptr<AudioDoor> audioDoor = nullptr);
  bool Init(std::string& error);

  App app;
  std::unique_ptr<AudioDoor> audio;
  std::unique_ptr<TMainForm> mainForm;
  std::unique_ptr<TOptionsForm> optionsForm;
  std::unique_ptr<THScoreForm> scoreForm;
  std::unique_ptr<TNameForm> nameForm;
  std::unique_ptr<THelpForm> helpForm;
};

int RunProgram();
