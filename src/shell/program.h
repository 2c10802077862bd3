#pragma once
// Program entry: the application, its five windows in creation order, the game session,
// start-up and the title menu that tie them together, and the message loop.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/audio_door.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/game_session.h"
#include "shell/input_devices.h"
#include "shell/main_window.h"
#include "shell/net_play.h"
#include "shell/startup.h"
#include "shell/title_menu.h"
#include "ui/app.h"

struct Program {
  // Creates the windows; the caller runs app.Run() or drives ProcessMessages itself.
  // Without an audio door the program sounds through SDL.
  Program(Clock& clock, bool headless, std::unique_ptr<AudioDoor> audioDoor = nullptr);
  bool Init(std::string& error);
  // After the message loop has ended: when a stop signal ended it, quits as the title
  // menu's Quit does (the options saved only after a completed start-up), now that no
  // loop is left on the stack.
  void QuitAfterStopSignal();
  // Hosts or joins a network game (after Init); false with a reason.
  bool OpenNetwork(const NetRequest& request, std::string& error);

  App app;
  std::unique_ptr<AudioDoor> audio;
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
  // Only with --host or --join; declared last, so that it goes first: it points into
  // all of the above.
  std::unique_ptr<NetPlay> net;

 private:
  // The other screens' ways back to the title menu, their captures and the help's tiles.
  void ConnectScreens();
};

// Runs the program with a real window and clock until it quits or a stop signal comes;
// the window wears the icon when one is given (iconSide x iconSide pixels 0xAARRGGBB).
// `prepare`, when given, sees the program once its windows exist, before the message
// loop runs; when it returns false the program ends at once with status 2.
int RunProgram(const uint32_t* iconArgb = nullptr, int iconSide = 0,
               const std::function<bool(Program&)>& prepare = {});
