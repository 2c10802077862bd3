// The replay file: everything written is read back the same; a file damaged anywhere,
// cut short anywhere, of another version or claiming more than it holds is refused
// with a reason, and nothing the reader keeps grows beyond what the file holds.
#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <random>

namespace {

Replay SampleReplay() {
  Replay r;
  ReplaySettings& s = r.settings;
  s.program = "trok 9.9";
  s.recordedAt = 1796000000;
  s.playerCount = 2;
  s.levelIndex = 17;
  s.randomLevels = true;
  s.levelCount = 30;
  s.gameSpeed = "abc";
  s.devices = {0, 3};
  s.joystickOpened = {false, true};
  s.keys = {{{38, 40, 37, 39, 17, 16}, {84, 71, 70, 72, 90, 65}}};
  s.sound = false;
  s.seed = 0xdeadbeef;
  s.carried.worldClock = {5, -7, 123456, 1};
  s.carried.panelRefreshCount = 99;
  s.carried.joystick = {-1000, 1000, true, false};
  s.carried.players[1] = {1, 2, 3, 4, 5, 6, 7, 8};
  r.levels = {{17, {}}, {18, {}}};
  r.levels[1].digest.fill(0xab);
  std::mt19937 rng(1);
  PumpStamp at;
  for (int i = 0; i < 500; ++i) {
    at.pass += rng() % 3;
    at.pump = rng() % 40;
    if (i > 0 && at < r.items.back().at) at = r.items.back().at;
    ReplayItem item;
    item.at = at;
    if (i % 17 == 0) {
      item.kind = ReplayItem::Kind::Timer;
      item.timer = i % 2 ? GameTimer::Warp : GameTimer::GameOver;
      item.afterNested = i % 3 == 0;
    } else {
      item.input.type = static_cast<InputEvent::Type>(rng() % 8);
      item.input.vk = static_cast<int>(rng() % 256);
      item.input.repeat = rng() % 2;
      item.input.ch = static_cast<char>(rng() % 256);
      item.input.x = static_cast<int>(rng() % 800) - 5;
      item.input.y = static_cast<int>(rng() % 600);
      item.input.wheel = static_cast<int>(rng() % 5) - 2;
      // Only what a kind carries is kept: clear the rest as the reader leaves it.
      const auto type = item.input.type;
      const bool key = type == InputEvent::Type::KeyDown || type == InputEvent::Type::KeyUp;
      const bool mouse = !key && type != InputEvent::Type::Char && type != InputEvent::Type::Close;
      if (!key) item.input.vk = 0, item.input.repeat = false;
      if (type != InputEvent::Type::Char) item.input.ch = 0;
      if (!mouse) item.input.x = item.input.y = item.input.wheel = 0;
    }
    r.items.push_back(item);
  }
  r.joystick[0] = {{0, true, {0, 0, false, false}}, {7, false, {1000, -1000, true, true}}};
  r.checks = {{64, 0x0123456789abcdefULL}, {128, 42}};
  r.end = {at, ReplayEnding::BackToMenu, 0xfeedfacecafef00dULL, {1200, -3}, 18, true};
  return r;
}

TEST(ReplayFileTest, WhatIsWrittenIsReadBackTheSame) {
  const Replay written = SampleReplay();
  Replay read;
  std::string error;
  ASSERT_EQ(DecodeReplay(EncodeReplay(written), read, error), ReplayReadResult::Ok) << error;
  EXPECT_TRUE(read == written);
}

TEST(ReplayFileTest, DamageAnywhereIsRefusedWithAReason) {
  const std::string bytes = EncodeReplay(SampleReplay());
  Replay read;
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x24);
    std::string error;
    const ReplayReadResult result = DecodeReplay(damaged, read, error);
    // A changed version number is another version; every other change is damage.
    EXPECT_NE(result, ReplayReadResult::Ok) << "byte " << at;
    EXPECT_FALSE(error.empty()) << "byte " << at;
  }
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    std::string error;
    EXPECT_EQ(DecodeReplay(bytes.substr(0, length), read, error), ReplayReadResult::Damaged) << length;
    EXPECT_FALSE(error.empty());
  }
}

TEST(ReplayFileTest, AnotherVersionIsNamedAsSuch) {
  std::string bytes = EncodeReplay(SampleReplay());
  bytes[11] = ReplayFormatVersion + 1;  // the format number follows the magic line
  Replay read;
  std::string error;
  EXPECT_EQ(DecodeReplay(bytes, read, error), ReplayReadResult::WrongVersion);
  EXPECT_NE(error.find("format " + std::to_string(ReplayFormatVersion + 1)), std::string::npos) << error;
  // Games recorded before a tap between two steps counted would play differently now.
  bytes[11] = 1;
  EXPECT_EQ(DecodeReplay(bytes, read, error), ReplayReadResult::WrongVersion);
  EXPECT_EQ(error, "it was recorded in replay format 1, and this program reads format 2");
  EXPECT_EQ(DecodeReplay("not a replay at all", read, error), ReplayReadResult::Damaged);
  EXPECT_EQ(error, "it is not a replay file");
}

// Contents that claim a billion entries in a few bytes, packed and checksummed as if
// they were honest: refused before anything is allocated for them.
TEST(ReplayFileTest, HugeCountsAreRefusedWithoutAllocating) {
  Replay empty = SampleReplay();
  empty.levels.clear();
  empty.items.clear();
  empty.joystick = {};
  empty.checks.clear();
  empty.end = ReplayEnd{};
  const std::string body = EncodeReplayBody(empty);
  // Five empty lists and an end of 15 bytes follow the settings.
  const std::string settings = body.substr(0, body.size() - 5 - 15);
  const std::string billion = "\x80\x94\xeb\xdc\x03";
  Replay read;
  std::string error;
  for (const std::string& lists : {billion, std::string(1, '\0') + billion, std::string(2, '\0') + billion,
                                   std::string(4, '\0') + billion}) {
    EXPECT_EQ(DecodeReplay(PackReplayBody(settings + lists + std::string(64, '\0')), read, error),
              ReplayReadResult::Damaged);
    EXPECT_NE(error.find("more entries than it holds"), std::string::npos) << error;
  }
}

}  // namespace
