#include "screens/options.h"

#include "platform/app.h"
#include "platform/keys.h"

namespace {
constexpr KeyDefault Player1Defaults[6] = {{"Up", 38},   {"Down", 40}, {"Left", 37},
                                           {"Right", 39}, {"Ctrl", 17}, {"Shift", 16}};
constexpr KeyDefault Player2Defaults[6] = {{"T", 84}, {"G", 71}, {"F", 70},
                                           {"H", 72}, {"Z", 90}, {"A", 65}};
const char* const KeyFieldNames[6] = {"Up", "Down", "Left", "Right", "Fire", "Menu"};
}  // namespace

TOptionsForm::TOptionsForm(App& application) : ScreenForm(application, "OptionsForm", 792, 573) {
  // The screen's layout comes with the options screen itself; until then the fields
  // hold their defaults out of sight.
  GameSpeedEdit = &Add<EditField>("GameSpeedEdit", 261, 30, 44, 38);
  GameSpeedEdit->text = "16";
  P1ControlBox = &Add<DropDown>("P1ControlBox", 208, 117, 169, 23);
  P2ControlBox = &Add<DropDown>("P2ControlBox", 584, 117, 169, 23);
  for (DropDown* box : {P1ControlBox, P2ControlBox}) {
    box->items = {"Keyboard"};
    box->selectedIndex = 0;
  }
  for (int i = 0; i < 6; ++i) {
    P1Keys[i] = &Add<EditField>(std::string("P1") + KeyFieldNames[i] + "Edit", 0, 0, 76, 38);
    P1Keys[i]->text = Player1Defaults[i].name;
    P1Keys[i]->tag = Player1Defaults[i].code;
    P2Keys[i] = &Add<EditField>(std::string("P2") + KeyFieldNames[i] + "Edit", 0, 0, 76, 38);
    P2Keys[i]->text = Player2Defaults[i].name;
    P2Keys[i]->tag = Player2Defaults[i].code;
  }
  SoundEdit = &Add<EditField>("SoundEdit", 129, 358, 56, 38);
  SoundEdit->text = "On";
  MusicEdit = &Add<EditField>("MusicEdit", 129, 398, 56, 38);
  MusicEdit->text = "On";
  for (const auto& c : Controls()) c->visible = false;
  LoadOptions();
}

void TOptionsForm::LoadOptions() {}

void TOptionsForm::SaveOptions() {}

void TOptionsForm::CloseOptionsScreen() { ReturnToTitleMenu(); }

void TOptionsForm::FormKeyUp(int vk) {
  if (vk == VK::Escape)
    CloseOptionsScreen();
  else
    ScreenForm::FormKeyUp(vk);
}
