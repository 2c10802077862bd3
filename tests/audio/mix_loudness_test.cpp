// Records the real mix of a two-player game (effects over music) through SDL's disk
// audio driver and checks that no sample reaches full scale.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "trok_driver/driver_script.h"
#include "world/level_file.h"

namespace fs = std::filesystem;

namespace {

// While it lives, SDL mixes into a raw file instead of a device.
class DiskAudio {
 public:
  explicit DiskAudio(const fs::path& file) {
    for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE"})
      if (const char* value = std::getenv(name)) previous_.emplace_back(name, value);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  }
  ~DiskAudio() {
    unsetenv("SDL_DISKAUDIOFILE");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (const auto& [name, value] : previous_) setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::vector<std::pair<std::string, std::string>> previous_;
};

// A level whose start room has a bomb at each end of rows 2..10 and gold on the two
// players' columns: walking down picks up gold, shooting sideways sets off bombs.
std::vector<uint8_t> ShootingRangeLevel() {
  std::vector<uint8_t> bytes(LevelFileSize, 0);
  auto set = [&](int row, int col, CellCode code) {
    bytes[static_cast<size_t>(row * LevelColumns + col)] = static_cast<uint8_t>(code);
  };
  for (int row = 0; row < LevelRows; ++row)
    for (int col = 0; col < LevelColumns; ++col)
      if (row % 12 == 0 || row % 12 == 11 || col % 20 == 0 || col % 20 == 19) set(row, col, 1);
  set(1, 9, 23);  // Start: player 1 stands left of it, player 2 right
  set(10, 14, 24);
  for (int row = 2; row <= 10; ++row) {
    set(row, 2, 17);
    set(row, 17, 17);
    set(row, 8, 18);
    set(row, 10, 18);
  }
  ScrambleLevelBytes(bytes.data(), bytes.size());
  return bytes;
}

std::string GameScript() {
  std::ostringstream s;
  // In real time, with room for a slow start-up before the title menu.
  s << "seed 5\nrealtime\nat 10 type a\nat 5000 press F7\nat 5300 press F2\n";
  for (int step = 0; step < 9; ++step) {
    const int t = 6000 + step * 700;
    // One cell down for both, then both fire outwards at the bombs.
    s << "at " << t << " down Down\nat " << t << " down G\n";
    s << "at " << t + 80 << " up Down\nat " << t + 80 << " up G\n";
    s << "at " << t + 150 << " down Ctrl\nat " << t + 150 << " down Z\n";
    s << "at " << t + 200 << " down Left\nat " << t + 200 << " down H\n";
    s << "at " << t + 600 << " up Left\nat " << t + 600 << " up H\n";
    s << "at " << t + 650 << " up Ctrl\nat " << t + 650 << " up Z\n";
  }
  s << "at 12500 dump players\nat 12500 dump room\nat 12600 quit\n";
  return s.str();
}

TEST(MixLoudness, AGameOfShotsPickUpsAndExplosionsOverMusicNeverClips) {
  const fs::path game(TROK_GAME_DIR);
  const fs::path dir = fs::temp_directory_path() / ("trok-mix-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "FELDS");
  for (const char* folder : {"Objects", "Sounds", "Music"})
    fs::create_directory_symlink(game / folder, dir / folder);
  const std::vector<uint8_t> level = ShootingRangeLevel();
  std::ofstream(dir / "FELDS" / "FELD.00", std::ios::binary)
      .write(reinterpret_cast<const char*>(level.data()), std::streamsize(level.size()));
  const fs::path previous = fs::current_path();
  fs::current_path(dir);

  DriverScript script;
  std::string error;
  ASSERT_TRUE(ParseDriverScript(GameScript(), script, error)) << error;
  std::ostringstream out;
  {
    DiskAudio disk(dir / "mix.raw");
    EXPECT_EQ(RunDriverScript(script, out), 0);
  }
  std::ifstream raw(dir / "mix.raw", std::ios::binary);
  std::vector<int16_t> samples;
  int16_t sample = 0;
  while (raw.read(reinterpret_cast<char*>(&sample), sizeof sample)) samples.push_back(sample);
  fs::current_path(previous);
  fs::remove_all(dir);

  // The script did what it says: gold taken by both, every bomb gone.
  const std::string dump = out.str();
  EXPECT_EQ(dump.find("Points=0 "), std::string::npos) << dump;
  EXPECT_EQ(dump.find(" 17 "), std::string::npos) << dump;

  ASSERT_GT(samples.size(), 22050u) << "less than half a second was mixed";
  int peak = 0;
  size_t atFullScale = 0;
  double sum = 0;
  for (int16_t s : samples) {
    peak = std::max(peak, std::abs(static_cast<int>(s)));
    atFullScale += s == 32767 || s == -32768;
    sum += static_cast<double>(s) * s;
  }
  const double rms = std::sqrt(sum / static_cast<double>(samples.size()));
  const double peakDb = 20 * std::log10(std::max(peak, 1) / 32768.0);
  const double rmsDb = 20 * std::log10(std::max(rms, 1.0) / 32768.0);
  std::printf("mix of %.1f s: peak %d (%.1f dBFS), RMS %.0f (%.1f dBFS)\n",
              static_cast<double>(samples.size()) / 2 / 22050, peak, peakDb, rms, rmsDb);
  EXPECT_EQ(atFullScale, 0u);
  EXPECT_LT(peak, 32767);
  EXPECT_GT(rmsDb, -40.0) << "the music and effects should be heard";
}

}  // namespace
