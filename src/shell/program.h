#pragma once
// Program entry: the application, its five windows in creation order, the game session,
// start-up and the title menu that tie them together, and the message loop.
#include <memory>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/game_session.h"
#include "shell/input_devices.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shell/title_menu.h"
#include "ui/app.h"

struct Program {
  // Creates the windows; the caller runs app.Run() or drives ProcessMessages itself.
  Program(Clock& clock, bool headless);
  bool Init(std::string& error);

  App app;
  SoundEffects sounds;
  Music music;
  InputDevices input;
  std::unique_ptr<TMainForm> mainForm;
  std::unique_ptr<TOptionsForm> optionsForm;
  std::unique_ptr<THScoreForm> scoreForm;
  std::unique_ptr<TNameForm> nameForm;
  std::unique_ptr<THelpForm> helpForm;
  // Declared last, so they go before the windows they point into.
  std::unique_ptr<GameSession> session;
  std::unique_ptr<ProgramStartup> startup;
  std::unique_ptr<TitleMenu> titleMenu;

 private:
  // The other screens' ways back to the title menu, their captures and the help's tiles.
  void ConnectScreens();
};

int RunProgram();
