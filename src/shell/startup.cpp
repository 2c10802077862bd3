// Start-up sequence on the first typed key, and the quit routine.
#include "ui/form.h"
#include "screens/options.h"
#include "shell/main_window.h"
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
constexpr Color Grey{128, 128, 128};
}  // namespace

bool TMainForm::StartUp() {
  app.SetCursor(CursorKind::Hourglass);
  if (!LoadTileImages()) return false;
  app.ProcessMessages();
  const std::string soundError = sounds.LoadSounds(StartDirectory());
  if (!soundError.empty()) {
    // The failed loading stops before the opening song is prepared.
    app.MessageBox(BoxKind::Error, soundError);
    options_->ForceSwitchOff(*options_->SoundEdit);
    sounds.SoundEnabled = false;
    app.MessageBox(BoxKind::Error, SoundsError);
  } else {
    const std::string songError = music.PrepareOpeningSong(StartDirectory());
    if (!songError.empty()) {
      app.MessageBox(BoxKind::Error, songError);
      app.MessageBox(BoxKind::Error, Mp3Error);
    }
  }
  app.ProcessMessages();
  const std::string musicError = music.LoadMusic([this] { app.ProcessMessages(); });
  if (!musicError.empty()) {
    app.MessageBox(BoxKind::Error, musicError);
    options_->ForceSwitchOff(*options_->MusicEdit);
    music.MusicEnabled = false;
    app.MessageBox(BoxKind::Error, MidiError);
  }
  app.ProcessMessages();

  game.LevelCount = CountLevels(StartDirectory(), [this] { app.ProcessMessages(); });
  if (game.LevelCount == 0) {
    app.MessageBox(BoxKind::Error, NoLevelsError);
    QuitProgram();
    return false;
  }

  if (!SetUpDisplay()) return false;

  if (!input.SetUpInput()) {
    app.MessageBox(BoxKind::Error, "Error Initializing DirectInput");
  } else {
    for (DropDown* box : {options_->P1ControlBox, options_->P2ControlBox}) {
      for (const std::string& n : input.JoystickNames) box->items.push_back(n);
      box->selectedIndex = 0;
    }
  }
  options_->LoadOptions();

  if (sounds.SoundEnabled) {
    if (options_->SoundEdit->text == "Off") sounds.SoundEnabled = false;
  } else {
    options_->ForceSwitchOff(*options_->SoundEdit);
    options_->SoundEdit->color = Grey;
  }
  if (music.OpeningSongReady) music.PlayOpeningSong();
  StartupDone = true;
  app.SetCursor(CursorKind::Arrow);
  return true;
}

void TMainForm::QuitProgram() {
  GameStopped = true;
  if (StartupDone) options_->SaveOptions();
  music.UnloadMusic();
  music.ShutDownMusic();
  ReleaseDisplay();
  input.ReleaseInput();
  app.ProcessMessages();
  app.Terminate();
}

void TMainForm::AskQuit() {
  if (app.MessageBox(BoxKind::Confirmation, "Quit to system?") == BoxResult::Yes) QuitProgram();
}
