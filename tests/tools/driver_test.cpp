#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/keys.h"
#include "support/broken_sound_device.h"
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
                                "at 85 dump boxes\n"
                                "at 90 quit\n"
                                "end 100\n",
                                s, error))
      << error;
  ASSERT_TRUE(s.seed);
  EXPECT_EQ(*s.seed, 7u);
  EXPECT_EQ(s.endMs, 100u);
  ASSERT_EQ(s.actions.size(), 13u);
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
  EXPECT_EQ(s.actions[11].kind, DriverAction::Kind::DumpBoxes);
  EXPECT_EQ(s.actions[12].kind, DriverAction::Kind::End);
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

// Ends the test program when a run does not finish in time, so a hanging run fails
// instead of stalling the whole suite.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit)
      : thread_([this, limit] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!done_cv_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "the driver run did not end within %lld s\n",
                         static_cast<long long>(limit.count()));
            std::_Exit(1);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

// Boxes shown before the title menu (a damaged Options.dat while the windows are made,
// a missing sound device during start-up) are reached by the script's timed actions.
TEST(DriverScriptTest, AnswersTheBoxesOfStartUp) {
  const fs::path dir = fs::temp_directory_path() / ("trok-driver-boxes-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* folder : {"Objects", "FELDS", "Sounds", "Music"})
    fs::create_directory_symlink(fs::path(TROK_GAME_DIR) / folder, dir / folder);
  std::ofstream(dir / "Options.dat", std::ios::binary) << "16\r\n0 Up xx\r\n";
  const fs::path previous = fs::current_path();
  fs::current_path(dir);

  DriverScript s;
  std::string error;
  std::string script =
      "at 5 dump boxes\n"
      "at 10 press Enter\n"
      "at 15 dump boxes\n"
      "at 20 press Enter\n"
      // After a box the character needs its key press, as from a keyboard.
      "at 30 press A\n"
      "at 30 type a\n";
  // Start-up: the device's pair, the music system's pair, then the file's pair again.
  for (int k = 1; k <= 6; ++k) {
    const std::string at = std::to_string(100 * k);
    script += "at " + at + " dump boxes\nat " + at + " press Enter\n";
  }
  script += "at 800 dump boxes\nat 850 capture menu.bmp\nat 900 quit\n";
  ASSERT_TRUE(ParseDriverScript(script, s, error)) << error;
  std::ostringstream out;
  {
    BrokenSoundDevice noDevice;
    Watchdog watchdog(std::chrono::seconds(60));
    EXPECT_EQ(RunDriverScript(s, out), 0);
  }
  std::vector<std::string> shown;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("box ", 0) == 0) shown.push_back(line.substr(4));
  const std::string fileFault = "'xx' is not a valid integer value";
  const std::string fileError = "Error loading 'Options.dat' file. ";
  ASSERT_EQ(shown.size(), 8u) << out.str();
  EXPECT_EQ(shown[0], fileFault);
  EXPECT_EQ(shown[1], fileError);
  EXPECT_EQ(shown[3].rfind("Error loading WAV sounds.", 0), 0u) << out.str();
  EXPECT_EQ(shown[5].rfind("Error loading MIDI Music", 0), 0u) << out.str();
  EXPECT_EQ(shown[6], fileFault);
  EXPECT_EQ(shown[7], fileError);
  EXPECT_NE(out.str().find("boxes 0\n"), std::string::npos) << "the title menu without a box";
  std::string why;
  auto menu = LoadBmp("menu.bmp", why);
  ASSERT_TRUE(menu) << why;
  EXPECT_EQ(menu->Width(), 800) << "start-up completed and switched the display";

  fs::current_path(previous);
  fs::remove_all(dir);
}

}  // namespace
