// Start-up sequence on the first typed key, and the quit routine.
#include "shell/startup.h"

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "screens/display_choice.h"
#include "screens/options.h"
#include "shell/game_session.h"
#include "shell/input_devices.h"
#include "shell/main_window.h"
#include "ui/app.h"
#include "world/level_file.h"

namespace {
const char* const NoLevelsError =
    "Error loading levels (no levels found). Please make sure the FELDS directory exists and "
    "that it is in the same directory as this program.";
const char* const SoundsError =
    "Error loading WAV sounds. Please make sure the 'Sounds' folder exists in the directory of "
    "this program.";
const char* const MidiError =
    "Error loading MIDI Music Please make sure the 'Music' folder exists in the directory of "
    "this program.";
const char* const Mp3Error =
    "Error loading MP3 sounds. Please make sure the 'Sounds' folder exists in the directory of "
    "this program and that you have the latest version of windows media player installed.";
}  // namespace

ProgramStartup::ProgramStartup(App& app, TMainForm& window, GameSession& session, TOptionsForm& options,
                               SoundEffects& sounds, Music& music, InputDevices& input)
    : app_(app),
      window_(window),
      session_(session),
      options_(options),
      sounds_(sounds),
      music_(music),
      input_(input) {}

bool ProgramStartup::StartUp() {
  app_.SetCursor(CursorKind::Hourglass);
  if (!LoadTileImages()) return false;
  app_.ProcessMessages();
  LoadSoundsAndSong();
  app_.ProcessMessages();
  LoadMidiMusic();
  app_.ProcessMessages();

  Game& game = session_.game;
  game.LevelCount = CountLevels(window_.StartDirectory(), [this] { app_.ProcessMessages(); });
  if (game.LevelCount == 0) {
    app_.MessageBox(BoxKind::Error, NoLevelsError);
    QuitProgram();
    return false;
  }

  if (!SetUpDisplay()) return false;
  SetUpJoysticks();
  options_.LoadOptions();

  if (sounds_.SoundEnabled) {
    if (options_.OptionsInForce().sound == "Off") sounds_.SoundEnabled = false;
  } else {
    options_.GreySwitchOff(OptionSwitch::Sound);
  }
  if (music_.OpeningSongReady) music_.PlayOpeningSong();
  // Ended meanwhile (a stop signal): the options may have been read in part, with
  // nobody told why, so this is no completed start-up and quitting saves nothing.
  StartupDone = !app_.Terminated();
  app_.SetCursor(CursorKind::Arrow);
  return true;
}

void ProgramStartup::LoadSoundsAndSong() {
  const std::string soundError = sounds_.LoadSounds(window_.StartDirectory());
  if (!soundError.empty()) {
    // The failed loading stops before the opening song is prepared.
    app_.MessageBox(BoxKind::Error, soundError);
    options_.ForceSwitchOff(OptionSwitch::Sound);
    sounds_.SoundEnabled = false;
    app_.MessageBox(BoxKind::Error, SoundsError);
    return;
  }
  const std::string songError = music_.PrepareOpeningSong(window_.StartDirectory());
  if (!songError.empty()) {
    app_.MessageBox(BoxKind::Error, songError);
    app_.MessageBox(BoxKind::Error, Mp3Error);
  }
}

void ProgramStartup::LoadMidiMusic() {
  const std::string musicError = music_.LoadMusic([this] { app_.ProcessMessages(); });
  if (musicError.empty()) return;
  app_.MessageBox(BoxKind::Error, musicError);
  options_.ForceSwitchOff(OptionSwitch::Music);
  music_.MusicEnabled = false;
  app_.MessageBox(BoxKind::Error, MidiError);
}

void ProgramStartup::SetUpJoysticks() {
  if (!input_.SetUpInput())
    app_.MessageBox(BoxKind::Error, "Error Initializing DirectInput");
  else
    options_.ListJoysticks(input_.JoystickNames);
}

bool ProgramStartup::SetUpDisplay() {
  std::string error;
  if (ReadDisplayChoice() == DisplayChoice::Window) {
    // The player chose a window with Alt+Enter; the screen keeps its size in it.
    app_.ShowInWindow(800, 600);
  } else if (!app_.SetFullScreen(800, 600, error)) {
    app_.MessageBox(BoxKind::Error, "Error switching to full screen.");
    return false;
  }
  displaySetUp_ = true;
  // The main window covers the whole switched screen.
  window_.SetClientSize(800, 600);
  return true;
}

void ProgramStartup::ReleaseDisplay() {
  if (!displaySetUp_) return;
  displaySetUp_ = false;
  app_.RestoreDesktop();
}

void ProgramStartup::QuitProgram() {
  // Once: a stop signal may come after the player quit.
  if (quitDone_) return;
  quitDone_ = true;
  session_.GameStopped = true;
  if (StartupDone) options_.SaveOptions();
  music_.UnloadMusic();
  music_.ShutDownMusic();
  ReleaseDisplay();
  input_.ReleaseInput();
  app_.ProcessMessages();
  app_.Terminate();
}
