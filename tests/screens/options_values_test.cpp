// The settings as the values the rest of the program takes from the options screen:
// what a game plays with, switches forced off by a failed device, offered joysticks.
#include "options_fixture.h"

namespace {

TEST_F(OptionsTest, GamePlaysWithTheFieldsAsOneValue) {
  WriteFile("-3\r\n"
            "0 W 87 S 83 A 65 D 68 Space 32 Alt 18 \r\n"
            "0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\n"
            "Off\r\n"
            "On\r\n");
  MakeForm();
  const GameOptions inForce = form->OptionsInForce();
  EXPECT_EQ(inForce.GameSpeed, "-3");
  EXPECT_EQ(inForce.players[0].keys[0].code, 87);
  EXPECT_EQ(inForce.players[0].keys[4].code, 32);
  EXPECT_EQ(inForce.players[1].keys[5].code, 65);
  EXPECT_EQ(inForce.sound, "Off");
  EXPECT_EQ(inForce.music, "On");
  // The value is taken once: later changes on the screen do not reach it.
  form->KeyCode(*form->P1UpEdit()) = 38;
  EXPECT_EQ(inForce.players[0].keys[0].code, 87);
  EXPECT_EQ(form->OptionsInForce().players[0].keys[0].code, 38);
}

TEST(GameSettings, TheScreensWordsBecomeValuesWithTheSpeedsFallback) {
  GameOptions words;
  words.GameSpeed = "7";
  words.sound = "On";
  words.music = "Off";
  words.players[1].keys[4].code = 32;
  GameSettings s = SettingsOf(words);
  EXPECT_EQ(s.speed, 7);
  EXPECT_TRUE(s.speedFault.empty());
  EXPECT_TRUE(s.sound);
  EXPECT_FALSE(s.music);
  EXPECT_EQ(s.players[1].keys[4].code, 32);

  // Only "On" switches on; a speed that is no number plays at the default and says why.
  words.GameSpeed = "fast";
  words.sound = "on";
  words.music = "";
  s = SettingsOf(words);
  EXPECT_EQ(s.speed, DefaultGameSpeed);
  EXPECT_EQ(s.speedFault, "'fast' is not a valid integer value");
  EXPECT_FALSE(s.sound);
  EXPECT_FALSE(s.music);
  words.GameSpeed = "-3";
  EXPECT_EQ(SettingsOf(words).speed, -3);
  words.GameSpeed = "99999999999";
  EXPECT_EQ(SettingsOf(words).speed, DefaultGameSpeed);
}

TEST_F(OptionsTest, SwitchForcedOffPlaysOffButKeepsTheChoice) {
  MakeForm();
  form->ForceSwitchOff(OptionSwitch::Music);
  EXPECT_EQ(form->MusicEdit->text, "Off");
  EXPECT_FALSE(form->MusicEdit->enabled);
  EXPECT_EQ(form->OptionsInForce().music, "Off");
  EXPECT_EQ(form->CurrentOptions().music, "On");
  // Sound untouched.
  EXPECT_EQ(form->OptionsInForce().sound, "On");
  EXPECT_TRUE(form->SoundEdit->enabled);

  // Forced off when loading failed, then greyed at the end of start-up: the second
  // time keeps the choice made before the first.
  form->ForceSwitchOff(OptionSwitch::Sound);
  form->GreySwitchOff(OptionSwitch::Sound);
  EXPECT_EQ(form->SoundEdit->color, (Color{128, 128, 128}));
  EXPECT_EQ(form->SoundEdit->text, "Off");
  EXPECT_EQ(form->CurrentOptions().sound, "On");
  EXPECT_EQ(form->OptionsInForce().sound, "Off");
}

TEST_F(OptionsTest, JoysticksAreOfferedAfterKeyboardInBothLists) {
  MakeForm();
  form->P2ControlBox->selectedIndex = 0;
  form->ListJoysticks({"Pad One", "Pad Two"});
  for (DropDown* box : {form->P1ControlBox, form->P2ControlBox}) {
    EXPECT_EQ(box->items, (std::vector<std::string>{"Keyboard", "Pad One", "Pad Two"}));
    EXPECT_EQ(box->selectedIndex, 0);
  }
  // A device index read afterwards selects the offered device.
  GameOptions options = form->CurrentOptions();
  options.players[1].device = 2;
  form->ApplyOptions(options);
  EXPECT_EQ(form->OptionsInForce().players[1].device, 2);
}

}  // namespace
