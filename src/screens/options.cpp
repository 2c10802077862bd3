#include "screens/options.h"

#include <algorithm>
#include <cassert>
#include <sstream>

#include "ui/app.h"
#include "base/file_saving.h"
#include "base/files.h"
#include "base/keys.h"
#include "screens/key_names.h"
#include "screens/menu_builder.h"
#include "base/numbers.h"

namespace {

constexpr KeyDefault Player1Defaults[6] = {{"Up", 38},   {"Down", 40}, {"Left", 37},
                                           {"Right", 39}, {"Ctrl", 17}, {"Shift", 16}};
constexpr KeyDefault Player2Defaults[6] = {{"T", 84}, {"G", 71}, {"F", 70},
                                           {"H", 72}, {"Z", 90}, {"A", 65}};
const char* const KeyFieldNames[6] = {"Up", "Down", "Left", "Right", "Fire", "Menu"};

constexpr Color Green{0, 128, 0};
constexpr Color Teal{0, 128, 128};
constexpr Color DarkBlue{1, 0, 51};
constexpr Color Grey{128, 128, 128};

// Where each key's caption and field lie, for player 1 and player 2, in the order
// Up, Down, Left, Right, Fire, Menu: caption left, caption top, field left, field top.
struct KeySeat {
  int captionLeft, captionTop, fieldLeft, fieldTop;
};
constexpr KeySeat Player1Seats[6] = {{155, 152, 197, 150}, {128, 232, 197, 230}, {55, 192, 117, 190},
                                     {208, 192, 277, 190}, {58, 280, 117, 278},  {206, 280, 277, 278}};
constexpr KeySeat Player2Seats[6] = {{531, 152, 573, 150}, {504, 232, 573, 230}, {431, 192, 493, 190},
                                     {584, 192, 653, 190}, {434, 280, 493, 278}, {582, 280, 653, 278}};

const char* const CannotOpen = "Unable to open 'Options.dat' file. Please make sure the disk is accessable.";
const char* const LoadFailed = "Error loading 'Options.dat' file. ";
const char* const AskWritable =
    "The 'Options.dat' file is read-only. Do you want to make this file write able?";
const char* const NotSaved = "Options settings NOT saved.";
const char* const CannotMakeWritable =
    "Unable to make the 'Options.dat' file write able. Please make sure it is not on a write "
    "protected disk.";
const char* const CannotWrite = "Option settings not saved. Please make sure the disk is not write protected.";

}  // namespace

TOptionsForm::TOptionsForm(App& application) : ScreenForm(application, "OptionsForm", 792, 573) {
  ScrollBox = &Add<Panel>("ScrollBox", 5, 5, 790, 590);
  ScrollBox->background = Black;
  MenuBuilder screen(*this, ScrollBox);

  // Two captions around the field: the blank run of one caption would depend on the
  // width of a space in whichever font is installed.
  screen.Caption("SpeedLbl", "Slow down game by", 56, 32, 21, MenuRed);
  screen.Caption("SpeedUnitLbl", "milliseconds.", 313, 32, 21, MenuRed);
  GameSpeedEdit = &screen.Field("GameSpeedEdit", std::to_string(DefaultGameSpeed), 261, 30, 44, MenuRed);
  GameSpeedEdit->onChange = [this] { GameSpeedEditChange(); };
  GameSpeedEdit->onExit = [this] { GameSpeedEditExit(); };
  GameSpeedEdit->onKeyPress = [](char& c) {
    if (c == VK::Enter) c = 0;
  };

  screen.Caption("ControlsLbl", "Controls:", 56, 80, 21, MenuRed);
  screen.Caption("Player1Lbl", "Player 1", 120, 112, 21, Green, true);
  P1ControlBox = &DeviceBox("P1ControlBox", 208, Green);
  screen.Caption("Player2Lbl", "Player 2", 496, 112, 21, Teal, true);
  P2ControlBox = &DeviceBox("P2ControlBox", 584, Teal);

  for (int player = 0; player < 2; ++player) {
    const KeySeat* seats = player == 0 ? Player1Seats : Player2Seats;
    const KeyDefault* defaults = player == 0 ? Player1Defaults : Player2Defaults;
    auto& keys = player == 0 ? P1Keys : P2Keys;
    const std::string prefix = player == 0 ? "P1" : "P2";
    for (int i = 0; i < 6; ++i) {
      const KeySeat& seat = seats[i];
      screen.Caption(prefix + KeyFieldNames[i] + "Lbl", std::string(KeyFieldNames[i]) + ":",
                     seat.captionLeft, seat.captionTop, 21, player == 0 ? Green : Teal);
      EditField& field = screen.Field(prefix + KeyFieldNames[i] + "Edit", defaults[i].name, seat.fieldLeft,
                                      seat.fieldTop, 76, MenuRed);
      keyCodes_[player][i] = defaults[i].code;
      field.readOnly = true;
      field.onKeyUp = [this, &field](int vk) { CaptureKey(vk, field); };
      keys[i] = &field;
    }
  }

  screen.Caption("SoundLbl", "Sound:", 56, 360, 21, MenuRed);
  SoundEdit = &screen.Field("SoundEdit", "On", 129, 358, 56, MenuRed);
  screen.Caption("MusicLbl", "Music:", 56, 400, 21, MenuRed);
  MusicEdit = &screen.Field("MusicEdit", "On", 129, 398, 56, MenuRed);
  for (EditField* toggle : {SoundEdit, MusicEdit}) {
    toggle->readOnly = true;
    toggle->onClick = [toggle] { ToggleSwitch(*toggle); };
    toggle->onKeyUp = [toggle](int vk) {
      if (vk == VK::Enter) ToggleSwitch(*toggle);
    };
  }

  // The return button wears the same plate as the title menu's Random Level button.
  ReturnImage = &screen.Plate("ReturnImage", 236, 482, 317, 54, [this] { CloseOptionsScreen(); });
  screen.Caption("ReturnLbl", "Return to Main Menu", 293, 492, 24, MenuRed);
  // On the key cap of the plate, where the title menu puts its key names.
  screen.Caption("ReturnKeyLbl", "ESC", 246, 494, 13, KeyBlue);

  tabOrder = {GameSpeedEdit, P1ControlBox};
  tabOrder.insert(tabOrder.end(), P1Keys.begin(), P1Keys.end());
  tabOrder.push_back(P2ControlBox);
  tabOrder.insert(tabOrder.end(), P2Keys.begin(), P2Keys.end());
  tabOrder.push_back(SoundEdit);
  tabOrder.push_back(MusicEdit);

  LoadOptions();
}

DropDown& TOptionsForm::DeviceBox(const std::string& id, int left, Color color) {
  DropDown& box = Add<DropDown>(id, left, 117, 169, 23, ScrollBox);
  box.font = FontSpec{FontFace::Plain, 11, false, false};
  box.color = color;
  box.background = DarkBlue;
  box.items = {"Keyboard"};
  box.selectedIndex = 0;
  return box;
}

GameOptions TOptionsForm::CurrentOptions() const {
  GameOptions options;
  options.GameSpeed = GameSpeedEdit->text;
  for (int player = 0; player < 2; ++player) {
    const auto& keys = player == 0 ? P1Keys : P2Keys;
    PlayerControls& controls = options.players[player];
    controls.device = (player == 0 ? P1ControlBox : P2ControlBox)->selectedIndex;
    for (int i = 0; i < 6; ++i) controls.keys[i] = KeyBinding{keys[i]->text, keyCodes_[player][i]};
  }
  options.sound = SoundEdit->enabled ? SoundEdit->text : KeptChoice(*SoundEdit);
  options.music = MusicEdit->enabled ? MusicEdit->text : KeptChoice(*MusicEdit);
  return options;
}

void TOptionsForm::ApplyOptions(const GameOptions& options) {
  GameSpeedEdit->text = options.GameSpeed;
  GameSpeedEdit->caret = std::string::npos;
  for (int player = 0; player < 2; ++player) {
    const auto& keys = player == 0 ? P1Keys : P2Keys;
    const PlayerControls& controls = options.players[player];
    DropDown* box = player == 0 ? P1ControlBox : P2ControlBox;
    // A joystick saved in another run may not be attached now.
    if (controls.device >= 0 && controls.device < static_cast<int>(box->items.size()))
      box->selectedIndex = controls.device;
    for (int i = 0; i < 6; ++i) {
      keys[i]->text = controls.keys[i].name;
      keyCodes_[player][i] = controls.keys[i].code;
    }
  }
  // A switch whose device failed stays "Off"; the file's word is the player's choice.
  (SoundEdit->enabled ? SoundEdit->text : KeptChoice(*SoundEdit)) = options.sound;
  (MusicEdit->enabled ? MusicEdit->text : KeptChoice(*MusicEdit)) = options.music;
}

GameOptions TOptionsForm::OptionsInForce() const {
  GameOptions options = CurrentOptions();
  options.sound = SoundEdit->text;
  options.music = MusicEdit->text;
  return options;
}

void TOptionsForm::ForceSwitchOff(OptionSwitch which) {
  EditField& toggle = Switch(which);
  if (toggle.enabled) KeptChoice(toggle) = toggle.text;
  toggle.text = "Off";
  toggle.enabled = false;
}

void TOptionsForm::GreySwitchOff(OptionSwitch which) {
  ForceSwitchOff(which);
  Switch(which).color = Grey;
}

void TOptionsForm::LoadOptions() {
  // A FIFO or device under the name is there but cannot be read.
  if (!FileOrSpecialExists(OptionsFileName)) return;
  std::string text, error;
  if (!ReadWholeFile(OptionsFileName, text, error)) {
    app.MessageBox(BoxKind::Error, CannotOpen);
    return;
  }
  std::istringstream in(text);
  GameOptions options = CurrentOptions();
  const std::string fault = ParseOptions(in, options);
  ApplyOptions(options);
  if (!fault.empty()) {
    app.MessageBox(BoxKind::Error, fault);
    app.MessageBox(BoxKind::Error, LoadFailed);
  }
}

void TOptionsForm::SaveOptions() {
  if (FileExists(OptionsFileName) && FileIsReadOnly(OptionsFileName)) {
    if (app.MessageBox(BoxKind::Confirmation, AskWritable) != BoxResult::Yes) {
      app.MessageBox(BoxKind::Message, NotSaved);
      return;
    }
    if (!MakeFileWritable(OptionsFileName)) {
      app.MessageBox(BoxKind::Error, CannotMakeWritable);
      return;
    }
  }
  std::string error;
  if (!ReplaceFile(OptionsFileName, FormatOptions(CurrentOptions()), error))
    app.MessageBox(BoxKind::Error, CannotWrite);
}

void TOptionsForm::CaptureKey(int vk, EditField& field) {
  std::string keyName = KeyName(vk);
  int* code = CodeOf(field);
  if (keyName.empty() || !code) return;
  *code = vk;
  field.text = std::move(keyName);
}

int* TOptionsForm::CodeOf(const EditField& field) {
  for (int player = 0; player < 2; ++player) {
    const auto& keys = player == 0 ? P1Keys : P2Keys;
    for (int i = 0; i < 6; ++i)
      if (keys[i] == &field) return &keyCodes_[player][i];
  }
  return nullptr;
}

int& TOptionsForm::KeyCode(const EditField& field) {
  int* code = CodeOf(field);
  assert(code);
  return *code;
}

void TOptionsForm::GameSpeedEditChange() {
  int value = 0;
  if (!GameSpeedEdit->text.empty() && !ParseInt(GameSpeedEdit->text, value)) {
    GameSpeedEdit->text = "20";
    GameSpeedEdit->caret = std::string::npos;
    GameSpeedEdit->selected = false;
  }
}

void TOptionsForm::GameSpeedEditExit() {
  int value = 0;
  if (!ParseInt(GameSpeedEdit->text, value)) {
    GameSpeedEdit->text = "4";
    GameSpeedEdit->caret = std::string::npos;
  }
}

void TOptionsForm::ToggleSwitch(EditField& field) { field.text = field.text == "On" ? "Off" : "On"; }

void TOptionsForm::CloseOptionsScreen() {
  GameSpeedEditExit();
  ReturnToTitleMenu();
}

void TOptionsForm::ListJoysticks(const std::vector<std::string>& names) {
  for (DropDown* box : {P1ControlBox, P2ControlBox}) {
    std::vector<std::string> items = {"Keyboard"};
    items.insert(items.end(), names.begin(), names.end());
    // Twins share a name: the chosen one is the n-th of its name.
    int chosen = 0;
    const int old = box->selectedIndex;
    if (old > 0 && old < static_cast<int>(box->items.size())) {
      const std::string& device = box->items[old];
      const auto twinsBefore = std::count(box->items.begin() + 1, box->items.begin() + old, device);
      for (int i = 1, seen = 0; i < static_cast<int>(items.size()) && chosen == 0; ++i)
        if (items[i] == device && seen++ == twinsBefore) chosen = i;
    }
    box->items = std::move(items);
    box->selectedIndex = chosen;
  }
}

void TOptionsForm::FormShow() {
  std::vector<std::string> names;
  if (attachedJoysticks && attachedJoysticks(names)) ListJoysticks(names);
}

void TOptionsForm::FormKeyUp(int vk) {
  if (vk == VK::Escape)
    CloseOptionsScreen();
  else
    ScreenForm::FormKeyUp(vk);
}
