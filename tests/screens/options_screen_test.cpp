// The options screen as the player uses it: keys, typing, clicks.
#include "options_fixture.h"
#include "base/keys.h"
#include "screens/key_names.h"

namespace {

TEST(KeyNameTest, NamesTheBindableKeysOnly) {
  EXPECT_EQ(KeyName(VK::Back), "Back");
  EXPECT_EQ(KeyName(VK::Enter), "Enter");
  EXPECT_EQ(KeyName(VK::Control), "Ctrl");
  EXPECT_EQ(KeyName(VK::Space), "Space");
  EXPECT_EQ(KeyName(VK::PageDown), "PgDn");
  EXPECT_EQ(KeyName(VK::Delete), "Del");
  EXPECT_EQ(KeyName('0'), "0");
  EXPECT_EQ(KeyName('9'), "9");
  EXPECT_EQ(KeyName('A'), "A");
  EXPECT_EQ(KeyName('Z'), "Z");
  EXPECT_EQ(KeyName(VK::Numpad0), "N0");
  EXPECT_EQ(KeyName(VK::Numpad0 + 9), "N9");
  EXPECT_EQ(KeyName(VK::Multiply), "N*");
  EXPECT_EQ(KeyName(VK::Decimal), "NDel");
  EXPECT_EQ(KeyName(VK::Divide), "N/");
  EXPECT_EQ(KeyName(VK::Semicolon), ";");
  EXPECT_EQ(KeyName(VK::Tilde), "~");
  EXPECT_EQ(KeyName(VK::Backslash), "|");
  EXPECT_EQ(KeyName(VK::Quote), "'");
  for (int vk : {0, VK::Tab, VK::Pause, VK::CapsLock, VK::Escape, VK::PrintScreen, 47, 58, 64, 91, 108,
                 VK::F1, VK::F12, VK::NumLock, 185, 193, 218, 223, 255, -1, 65 + 256})
    EXPECT_EQ(KeyName(vk), "") << vk;
}

TEST_F(OptionsTest, ScreenLayoutAndFocusOrder) {
  MakeForm();
  EXPECT_EQ(form->ClientWidth(), 792);
  EXPECT_EQ(form->ScrollBox->ScreenLeft(), 5);
  EXPECT_EQ(form->GameSpeedEdit->ScreenLeft(), 5 + 261);
  EXPECT_EQ(form->P2RightEdit()->ScreenTop(), 5 + 190);
  EXPECT_EQ(form->P2RightEdit()->ScreenLeft(), 5 + 653);
  EXPECT_EQ(form->P1ControlBox->background, (Color{1, 0, 51}));
  EXPECT_EQ(form->ReturnImage->cursor, CursorKind::Hand);
  const std::vector<Control*> order = {
      form->GameSpeedEdit, form->P1ControlBox, form->P1UpEdit(),   form->P1DownEdit(),
      form->P1LeftEdit(),  form->P1RightEdit(), form->P1FireEdit(), form->P1MenuEdit(),
      form->P2ControlBox,  form->P2UpEdit(),   form->P2DownEdit(), form->P2LeftEdit(),
      form->P2RightEdit(), form->P2FireEdit(), form->P2MenuEdit(), form->SoundEdit,
      form->MusicEdit};
  EXPECT_EQ(form->tabOrder, order);
  EXPECT_EQ(form->focus, form->GameSpeedEdit);
}

TEST_F(OptionsTest, ReleasedKeyBecomesTheBindingWhenItHasAName) {
  MakeForm();
  form->SetFocus(form->P1UpEdit());
  Press(VK::Numpad0 + 5);
  EXPECT_EQ(form->P1UpEdit()->text, "N5");
  EXPECT_EQ(form->KeyCode(*form->P1UpEdit()), 101);
  // Typed characters never reach the read-only text.
  Type('q');
  EXPECT_EQ(form->P1UpEdit()->text, "N5");
  Press(VK::F1);
  Press(VK::PrintScreen);
  EXPECT_EQ(form->P1UpEdit()->text, "N5");
  EXPECT_EQ(form->KeyCode(*form->P1UpEdit()), 101);
  // The same key may serve twice.
  form->SetFocus(form->P2FireEdit());
  Press(VK::Numpad0 + 5);
  EXPECT_EQ(form->KeyCode(*form->P2FireEdit()), 101);
  EXPECT_EQ(form->KeyCode(*form->P1UpEdit()), 101);
}

TEST_F(OptionsTest, TabMovesOnWithoutBinding) {
  MakeForm();
  form->SetFocus(form->P1UpEdit());
  Press(VK::Tab);
  EXPECT_EQ(form->focus, form->P1DownEdit());
  EXPECT_EQ(form->P1UpEdit()->text, "Up");
  EXPECT_EQ(form->P1DownEdit()->text, "Down");
  EXPECT_EQ(form->KeyCode(*form->P1DownEdit()), 40);
}

TEST_F(OptionsTest, EscapeInAKeyFieldLeavesTheScreen) {
  MakeForm();
  form->SetFocus(form->P2LeftEdit());
  Press(VK::Escape);
  EXPECT_EQ(titleMenuShown, 1);
  EXPECT_EQ(app.Visible(), nullptr);
  EXPECT_EQ(form->P2LeftEdit()->text, "F");
  EXPECT_EQ(form->KeyCode(*form->P2LeftEdit()), 70);
}

TEST_F(OptionsTest, GameSpeedFieldRules) {
  MakeForm();
  EditField& speed = *form->GameSpeedEdit;
  form->SetFocus(&speed);
  speed.SelectAll();
  Type('1');
  EXPECT_EQ(speed.text, "1");
  Type('x');
  EXPECT_EQ(speed.text, "20");
  Type('\r');
  EXPECT_EQ(speed.text, "20");
  // Cleared, it stays empty while the user types anew.
  Type(8);
  Type(8);
  EXPECT_EQ(speed.text, "");
  Type('-');
  EXPECT_EQ(speed.text, "20");
  Type(8);
  Type(8);
  Press(VK::Tab);
  EXPECT_EQ(form->focus, form->P1ControlBox);
  EXPECT_EQ(speed.text, "4");

  form->SetFocus(&speed);
  speed.SelectAll();
  Type('0');
  Type(8);
  EXPECT_EQ(speed.text, "");
  Press(VK::Escape);
  EXPECT_EQ(speed.text, "4");
  EXPECT_EQ(titleMenuShown, 1);
}

TEST_F(OptionsTest, SwitchesToggleByClickAndEnter) {
  MakeForm();
  Click(*form->SoundEdit);
  EXPECT_EQ(form->SoundEdit->text, "Off");
  Click(*form->SoundEdit);
  EXPECT_EQ(form->SoundEdit->text, "On");

  form->SetFocus(form->MusicEdit);
  Press(VK::Enter);
  EXPECT_EQ(form->MusicEdit->text, "Off");
  Press(VK::Space);
  Type('x');
  EXPECT_EQ(form->MusicEdit->text, "Off");
  form->MusicEdit->text = "garbage";
  Press(VK::Enter);
  EXPECT_EQ(form->MusicEdit->text, "On");

  // A switch whose device failed is greyed out and stays "Off", even after reading a file.
  form->SoundEdit->text = "Off";
  form->SoundEdit->enabled = false;
  Click(*form->SoundEdit);
  EXPECT_EQ(form->SoundEdit->text, "Off");
  WriteFile(DefaultOptionsText);
  form->LoadOptions();
  EXPECT_EQ(form->SoundEdit->text, "Off");
  EXPECT_EQ(form->MusicEdit->text, "On");
}

TEST_F(OptionsTest, ReturnButtonClosesTheScreen) {
  MakeForm();
  form->GameSpeedEdit->text = "";
  Click(*form->ReturnImage);
  EXPECT_EQ(titleMenuShown, 1);
  EXPECT_EQ(app.Visible(), nullptr);
  EXPECT_EQ(form->GameSpeedEdit->text, "4");
}

TEST_F(OptionsTest, PrintScreenCapturesTheOptionsScreen) {
  MakeForm();
  Form* captured = nullptr;
  form->captureScreen = [&](Form& f) { captured = &f; };
  Press(VK::PrintScreen);
  EXPECT_EQ(captured, form.get());
  EXPECT_EQ(titleMenuShown, 0);
}

}  // namespace
