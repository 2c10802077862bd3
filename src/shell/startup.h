#pragma once
// Start-up on the first typed key and the quit routine: the tile pictures, the sound
// effects and music, the level count, the display switch, the joysticks and the
// options read again; at quit the options saved and all of it released.
class App;
class TMainForm;
class GameSession;
class TOptionsForm;
class SoundEffects;
class Music;
class InputDevices;

class ProgramStartup {
 public:
  ProgramStartup(App& app, TMainForm& window, GameSession& session, TOptionsForm& options,
                 SoundEffects& sounds, Music& music, InputDevices& input);

  // The start-up sequence; true when it reached its end.
  bool StartUp();
  void QuitProgram();
  // Reads the 88 tile pictures into the main window's holders; a failure is fatal.
  bool LoadTileImages();
  bool SetUpDisplay();
  void ReleaseDisplay();

  // The first character key has been typed: start-up runs only once.
  bool StartupBegun = false;
  // Start-up reached its end; only then are the options saved at quit.
  bool StartupDone = false;

 private:
  void LoadSoundsAndSong();
  void LoadMidiMusic();
  void SetUpJoysticks();

  App& app_;
  TMainForm& window_;
  GameSession& session_;
  TOptionsForm& options_;
  SoundEffects& sounds_;
  Music& music_;
  InputDevices& input_;
  bool displaySetUp_ = false;
  bool quitDone_ = false;
};
