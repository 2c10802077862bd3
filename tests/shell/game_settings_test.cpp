// A game takes its settings from the options screen once, at its start: changes made
// meanwhile wait for the next game, and a switch forced off by a failed device plays
// "Off" though Options.dat keeps the player's "On".

#include <fstream>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "base/keys.h"
#include "screens/options.h"
#include "shell/game_directory_fixture.h"
#include "support/broken_sound_device.h"

namespace {

class GameSettingsTest : public GameDirectoryTest {};

TEST_F(GameSettingsTest, ChangesDuringAGameWaitForTheNextGame) {
  MakeGameDirectory(1);
  StartProgram();
  ReachTitleMenu();
  TOptionsForm& options = program->Options();
  const uint64_t t = Now();
  int keyUpInGame = 0;
  bool soundInGame = false;
  std::vector<std::string> boxesInGame{"not looked at"};
  PushKey(VK::F2, t + 5);
  At(t + 300, [&] {
    options.KeyCode(*options.P1UpEdit()) = 'W';
    options.SoundEdit->text = "Off";
    options.GameSpeedEdit->text = "fast";
  });
  At(t + 600, [&] {
    keyUpInGame = program->GameState().Player1.KeyUp;
    soundInGame = program->SoundModule().SoundEnabled;
    boxesInGame = program->OpenBoxes();
  });
  PushKey(VK::Escape, t + 700);
  PushKey('Y', t + 800);
  RunFor(1000);
  EXPECT_EQ(keyUpInGame, VK::Up);
  EXPECT_TRUE(soundInGame);
  EXPECT_TRUE(boxesInGame.empty()) << boxesInGame.front();
  ASSERT_TRUE(program->InTitleMenu());

  // The next game takes them: the speed text is read as a whole number and fails.
  std::vector<std::string> boxes;
  int keyUpNext = 0;
  bool soundNext = true;
  PushKey(VK::F2, Now() + 5);
  At(Now() + 400, [&] {
    boxes = program->OpenBoxes();
    keyUpNext = program->GameState().Player1.KeyUp;
    soundNext = program->SoundModule().SoundEnabled;
  });
  PushKey(VK::Enter, Now() + 450);
  PushKey(VK::Escape, Now() + 600);
  PushKey('Y', Now() + 700);
  RunFor(900);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "'fast' is not a valid integer value");
  EXPECT_EQ(keyUpNext, 'W');
  EXPECT_FALSE(soundNext);
  EXPECT_TRUE(program->InTitleMenu());
}

// A speed in Options.dat that is no number is reported when the game starts, and the
// game then runs at the default speed: as many world ticks as at "16", players walking.
TEST_F(GameSettingsTest, ASpeedThatIsNoNumberPlaysAtTheDefaultSpeedAfterItsBox) {
  MakeGameDirectory(1);
  struct Run {
    std::vector<std::string> boxes;
    int ticks = 0;
    int stepsLeft = 0;
  };
  auto play = [&](const std::string& speed) {
    std::ofstream(dir / "Options.dat", std::ios::binary)
        << speed << "\r\n0 Up 38 Down 40 Left 37 Right 39 Ctrl 17 Shift 16 \r\n"
        << "0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\nOn\r\nOn\r\n";
    StartProgram();
    ReachTitleMenu();
    Run run;
    const uint64_t t = Now();
    PushKey(VK::F2, t + 5);
    At(t + 200, [&] { run.boxes = program->OpenBoxes(); });
    PushKey(VK::Enter, t + 300);
    Game& game = program->GameState();
    int ticksFrom = 0, xFrom = 0;
    At(t + 1000, [&] {
      ticksFrom = game.Clock.c0;
      xFrom = game.Player1.X;
    });
    Push(InputEvent::Type::KeyDown, VK::Left, t + 1000);
    Push(InputEvent::Type::KeyUp, VK::Left, t + 1200);
    bool inGame = false;
    At(t + 2600, [&] {
      run.ticks = game.Clock.c0 - ticksFrom;
      run.stepsLeft = xFrom - game.Player1.X;
      inGame = program->InGame();
      program->Quit();
    });
    RunFor(2700);
    EXPECT_TRUE(inGame);
    program.reset();
    return run;
  };
  const Run chosen = play("16");
  EXPECT_TRUE(chosen.boxes.empty());
  EXPECT_EQ(chosen.ticks, 100);
  EXPECT_GT(chosen.stepsLeft, 1);
  for (const std::string speed : {"abc", "99999999999"}) {
    SCOPED_TRACE(speed);
    const Run run = play(speed);
    EXPECT_EQ(run.boxes, std::vector<std::string>{"'" + speed + "' is not a valid integer value"});
    EXPECT_EQ(run.ticks, chosen.ticks);
    // The player walks every fourth tick, whose phase the box's time may shift.
    EXPECT_NEAR(run.stepsLeft, chosen.stepsLeft, 1);
    EXPECT_GT(run.stepsLeft, 1);
  }
}

TEST_F(GameSettingsTest, SwitchesForcedOffPlayOffWhileTheChoiceStaysOn) {
  MakeGameDirectory(1);
  LinkGameFolders({"Sounds", "Music"});
  BrokenSoundDevice noDevice;
  StartProgram();
  PushChar('a', Now() + 5);
  AnswerBoxes(Now() + 50, 6);
  RunFor(700);
  ASSERT_TRUE(program->InTitleMenu());
  ASSERT_EQ(program->Options().CurrentOptions().sound, "On");
  ASSERT_EQ(program->Options().CurrentOptions().music, "On");

  bool inGame = false, soundInGame = true, musicInGame = true;
  PushKey(VK::F2, Now() + 5);
  At(Now() + 300, [&] {
    inGame = program->InGame();
    soundInGame = program->SoundModule().SoundEnabled;
    musicInGame = program->MusicModule().MusicEnabled;
  });
  PushKey(VK::Escape, Now() + 400);
  PushKey('Y', Now() + 500);
  RunFor(700);
  EXPECT_TRUE(inGame);
  EXPECT_FALSE(soundInGame);
  EXPECT_FALSE(musicInGame);
}

}  // namespace
