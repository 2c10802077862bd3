// The options screen inside the running program: a binding made there drives the next
// game, and quitting keeps it in Options.dat.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/keys.h"
#include "shell/game_directory_fixture.h"
#include "support/broken_sound_device.h"

namespace {

class OptionsProgramTest : public GameDirectoryTest {
 protected:
  static std::string OptionsText() {
    std::ifstream in("Options.dat", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Quit() {
    PushKey(VK::Escape, Now() + 5);
    PushKey('Y', Now() + 100);
    RunFor(200);
  }
};

TEST_F(OptionsProgramTest, BindingMadeOnTheScreenIsPlayedAndSaved) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  TOptionsForm& options = program->Options();

  PushKey(VK::F10, Now() + 5);
  RunFor(50);
  ASSERT_EQ(program->Visible(), &options);

  // Tab from the speed field past player 1's device list to the Up field.
  PushKey(VK::Tab, Now() + 5);
  PushKey(VK::Tab, Now() + 35);
  PushKey('W', Now() + 65);
  RunFor(100);
  EXPECT_EQ(options.focus, options.P1UpEdit());
  EXPECT_EQ(options.P1UpEdit()->text, "W");

  PushKey(VK::Escape, Now() + 5);
  RunFor(50);
  ASSERT_EQ(program->Visible(), &program->MainWindow());
  ASSERT_TRUE(program->InTitleMenu());

  int keyUpInGame = 0;
  PushKey(VK::F2, Now() + 5);
  At(Now() + 400, [&] { keyUpInGame = program->InGame() ? program->GameState().Player1.KeyUp : -1; });
  PushKey(VK::Escape, Now() + 500);
  PushKey('Y', Now() + 600);
  RunFor(900);
  EXPECT_EQ(keyUpInGame, 'W');
  ASSERT_TRUE(program->InTitleMenu());

  Quit();
  ASSERT_TRUE(program->Terminated());
  EXPECT_EQ(OptionsText(),
            "16\r\n"
            "0 W 87 Down 40 Left 37 Right 39 Ctrl 17 Shift 16 \r\n"
            "0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\n"
            "On\r\n"
            "On\r\n");
}

// A start on a machine without sound shows both switches "Off" and disabled, but the
// player's own choice is what Options.dat keeps for the next start.
TEST_F(OptionsProgramTest, SwitchesForcedOffByAMissingDeviceKeepThePlayersChoice) {
  MakeGameDirectory(1);
  LinkGameFolders({"Sounds", "Music"});
  const std::string chosen =
      "12\r\n"
      "0 W 87 S 83 A 65 D 68 Space 32 Alt 18 \r\n"
      "0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\n"
      "On\r\n"
      "On\r\n";
  std::ofstream(dir / "Options.dat", std::ios::binary) << chosen;
  BrokenSoundDevice noDevice;
  StartProgram();
  PushChar('a', Now() + 5);
  AnswerBoxes(Now() + 50, 8);
  RunFor(900);
  ASSERT_TRUE(program->InTitleMenu());
  TOptionsForm& options = program->Options();
  EXPECT_EQ(options.SoundEdit->text, "Off");
  EXPECT_FALSE(options.SoundEdit->enabled);
  EXPECT_EQ(options.MusicEdit->text, "Off");
  EXPECT_FALSE(options.MusicEdit->enabled);
  EXPECT_EQ(options.GameSpeedEdit->text, "12");

  Quit();
  ASSERT_TRUE(program->Terminated());
  EXPECT_EQ(OptionsText(), chosen);
}

// "ESC" is printed on the return plate's key cap, clear of the cap's rim, as the title
// menu prints its key names.
TEST_F(OptionsProgramTest, EscCaptionStaysOnItsKeyCap) {
  MakeGameDirectory(1);
  StartProgram();
  ReachTitleMenu();
  PushKey(VK::F10, Now() + 5);
  RunFor(50);
  ASSERT_EQ(program->Visible(), &program->Options());
  const Image screen = program->Capture();
  const Picture& plate = *program->Options().ReturnImage;
  const int left = plate.ScreenLeft(), top = plate.ScreenTop();
  // The cap's face is the bluish run on a row below the caption; the plate is beige.
  int capLeft = -1, capRight = -1;
  for (int x = left; x < left + 60; ++x) {
    const Color c = screen.PixelColor(x, top + 40);
    if (c.b > c.r + 10) {
      if (capLeft < 0) capLeft = x;
      capRight = x;
    }
  }
  int textLeft = -1, textRight = -1;
  for (int y = top; y < top + plate.height; ++y)
    for (int x = left; x < left + 60; ++x) {
      const Color c = screen.PixelColor(x, y);
      if (c.b > c.r + 80 && c.b > c.g + 80) {
        textLeft = textLeft < 0 ? x : std::min(textLeft, x);
        textRight = std::max(textRight, x);
      }
    }
  ASSERT_GE(capLeft, 0);
  ASSERT_GE(textLeft, 0) << "no blue key name on the plate";
  EXPECT_GT(textLeft, capLeft);
  EXPECT_LT(textRight, capRight) << "the key name runs over the cap's rim";
}

}  // namespace
