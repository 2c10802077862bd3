#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "base/keys.h"
#include "trok_driver/driver_script.h"
#include "base/bmp_file.h"

namespace fs = std::filesystem;

namespace {

TEST(DriverScriptTest, ParsesEveryCommand) {
  DriverScript s;
  std::string error;
  ASSERT_TRUE(ParseDriverScript("seed 7\n"
                                "at 10 type ab   # two characters\n"
                                "at 20 press F2\n"
                                "at 30 down ctrl\n"
                                "at 40 up 17\n"
                                "at 50 click 100 200\n"
                                "at 60 capture x.bmp\n"
                                "at 70 dump room\n"
                                "at 80 dump players\n"
                                "at 90 quit\n"
                                "end 100\n",
                                s, error))
      << error;
  ASSERT_TRUE(s.seed);
  EXPECT_EQ(*s.seed, 7u);
  EXPECT_EQ(s.endMs, 100u);
  ASSERT_EQ(s.actions.size(), 12u);
  EXPECT_EQ(s.actions[1].input.ch, 'b');
  EXPECT_EQ(s.actions[2].input.type, InputEvent::Type::KeyDown);
  EXPECT_EQ(s.actions[2].input.vk, VK::F2);
  EXPECT_EQ(s.actions[3].input.type, InputEvent::Type::KeyUp);
  EXPECT_EQ(s.actions[4].input.vk, VK::Control);
  EXPECT_EQ(s.actions[5].input.vk, 17);
  EXPECT_EQ(s.actions[6].input.type, InputEvent::Type::MouseDown);
  EXPECT_EQ(s.actions[7].input.y, 200);
  EXPECT_EQ(s.actions[8].kind, DriverAction::Kind::Capture);
  EXPECT_EQ(s.actions[8].path, "x.bmp");
  EXPECT_EQ(s.actions[11].kind, DriverAction::Kind::End);
}

TEST(DriverScriptTest, RefusesBadLinesWithTheirNumber) {
  DriverScript s;
  std::string error;
  EXPECT_FALSE(ParseDriverScript("seed 1\nat 5 press Nokey\n", s, error));
  EXPECT_EQ(error, "line 2: unknown key 'Nokey'");
  EXPECT_FALSE(ParseDriverScript("jump 5\n", s, error));
  EXPECT_EQ(error, "line 1: unknown command 'jump'");
  EXPECT_FALSE(ParseDriverScript("at x type a\n", s, error));
  EXPECT_FALSE(ParseDriverScript("at 5 dump everything\n", s, error));
  EXPECT_EQ(KeyCodeFromName("F13"), -1);
  EXPECT_EQ(KeyCodeFromName("f12"), VK::F12);
  EXPECT_EQ(KeyCodeFromName("q"), 'Q');
}

TEST(DriverScriptTest, RunsTheRealGameHeadless) {
  const fs::path dir = fs::temp_directory_path() / ("trok-driver-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::create_directory_symlink(fs::path(TROK_GAME_DIR) / "Objects", dir / "Objects");
  fs::create_directory_symlink(fs::path(TROK_GAME_DIR) / "FELDS", dir / "FELDS");
  const fs::path previous = fs::current_path();
  fs::current_path(dir);

  DriverScript s;
  std::string error;
  ASSERT_TRUE(ParseDriverScript("seed 3\n"
                                "at 10 type a\n"
                                "at 100 press F7\n"
                                "at 200 press F2\n"
                                "at 900 dump players\n"
                                "at 900 dump room\n"
                                "at 950 capture shot.bmp\n"
                                "at 1000 press Escape\n"
                                "at 1100 press Y\n",
                                s, error))
      << error;
  std::ostringstream out;
  EXPECT_EQ(RunDriverScript(s, out), 0);
  const std::string text = out.str();
  EXPECT_NE(text.find("player 1 X="), std::string::npos) << text;
  EXPECT_NE(text.find("player 2 X="), std::string::npos) << text;
  EXPECT_NE(text.find("room "), std::string::npos) << text;
  std::string why;
  auto shot = LoadBmp("shot.bmp", why);
  ASSERT_TRUE(shot) << why;
  EXPECT_EQ(shot->Width(), 800);

  fs::current_path(previous);
  fs::remove_all(dir);
}

}  // namespace
