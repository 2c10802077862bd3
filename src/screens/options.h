#pragma once
// The options screen: the user settings, shown and edited in its fields; the key codes
// bound to the players' actions are its own values, the fields show their names.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "screens/options_file.h"
#include "screens/screen_form.h"

enum class OptionSwitch { Sound, Music };

struct KeyDefault {
  const char* name;
  int code;
};

inline const char* const OptionsFileName = "Options.dat";

class TOptionsForm : public ScreenForm {
 public:
  explicit TOptionsForm(App& app);

  // Reads Options.dat into the fields, when it exists.
  void LoadOptions();
  // Writes the fields to Options.dat.
  void SaveOptions();
  // Settles the game-speed text, then shows the title menu again.
  void CloseOptionsScreen();
  // A key released in a key field becomes its binding, when the key has a name.
  void CaptureKey(int vk, EditField& field);

  // "Keyboard" and then `names` in both device lists. A player whose chosen controller
  // is still listed keeps it, wherever it now stands; otherwise the keyboard.
  void ListJoysticks(const std::vector<std::string>& names);
  // Set by the main window: the game controllers attached now, in list order; false
  // without an input system (the lists are then left as they are).
  std::function<bool(std::vector<std::string>&)> attachedJoysticks;

  // The settings as the player chose them: what the fields hold, except that a switch
  // forced off keeps the player's choice. And back.
  GameOptions CurrentOptions() const;
  void ApplyOptions(const GameOptions& options);
  // The settings a game plays with: the player's choice, except that a switch forced
  // off reads "Off" as it shows.
  GameOptions OptionsInForce() const;
  // A failed device turns its switch "Off" and disables it for the rest of the run.
  // Options.dat goes on keeping the player's choice, so one start without sound does
  // not silence every later one.
  void ForceSwitchOff(OptionSwitch which);
  // The same, and the switch is greyed: start-up found no sound effects to play.
  void GreySwitchOff(OptionSwitch which);

  Panel* ScrollBox = nullptr;
  EditField* GameSpeedEdit = nullptr;
  DropDown* P1ControlBox = nullptr;
  DropDown* P2ControlBox = nullptr;
  // Up, Down, Left, Right, Fire, Menu; each shows the name of the key bound to it.
  std::array<EditField*, 6> P1Keys{};
  std::array<EditField*, 6> P2Keys{};
  // The virtual-key code bound to one of the key fields above.
  int& KeyCode(const EditField& field);
  EditField* SoundEdit = nullptr;
  EditField* MusicEdit = nullptr;
  Picture* ReturnImage = nullptr;

  EditField* P1UpEdit() const { return P1Keys[0]; }
  EditField* P1DownEdit() const { return P1Keys[1]; }
  EditField* P1LeftEdit() const { return P1Keys[2]; }
  EditField* P1RightEdit() const { return P1Keys[3]; }
  EditField* P1FireEdit() const { return P1Keys[4]; }
  EditField* P1MenuEdit() const { return P1Keys[5]; }
  EditField* P2UpEdit() const { return P2Keys[0]; }
  EditField* P2DownEdit() const { return P2Keys[1]; }
  EditField* P2LeftEdit() const { return P2Keys[2]; }
  EditField* P2RightEdit() const { return P2Keys[3]; }
  EditField* P2FireEdit() const { return P2Keys[4]; }
  EditField* P2MenuEdit() const { return P2Keys[5]; }

  void GameSpeedEditChange();
  void GameSpeedEditExit();
  // "On" becomes "Off", anything else "On".
  static void ToggleSwitch(EditField& field);

  // Controllers plugged in or out since the lists were made show up here.
  void FormShow() override;
  void FormKeyUp(int vk) override;

 private:
  DropDown& DeviceBox(const std::string& id, int left, Color color);
  EditField& Switch(OptionSwitch which) const { return which == OptionSwitch::Sound ? *SoundEdit : *MusicEdit; }
  // The player's choice behind a switch that was forced off.
  std::string& KeptChoice(const EditField& toggle) { return &toggle == SoundEdit ? soundChoice_ : musicChoice_; }
  const std::string& KeptChoice(const EditField& toggle) const {
    return &toggle == SoundEdit ? soundChoice_ : musicChoice_;
  }

  // Null for a field that binds no key.
  int* CodeOf(const EditField& field);

  std::string soundChoice_;
  std::string musicChoice_;
  // Per player, in the order of P1Keys / P2Keys.
  std::array<std::array<int, 6>, 2> keyCodes_{};
};
