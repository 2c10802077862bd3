// The program's side of a network game before a game starts: the command line's
// address, the input delay for a round trip, what the host's and the joiner's titles
// say, who may start a game, the joiner's readiness as the host learns it, and a
// joiner turned away or handed a game it cannot play.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "base/keys.h"
#include "net/net_peer.h"
#include "shell/game_directory_fixture.h"
#include "shell/net_play.h"
#include "shell/program_name.h"

TEST(NetRequestTest, ReadsAPortAndAHostWithItsPort) {
  NetRequest r;
  std::string error;
  ASSERT_TRUE(ParseNetRequest(true, "", r, error));
  EXPECT_TRUE(r.host);
  EXPECT_EQ(r.port, DefaultNetPort);
  ASSERT_TRUE(ParseNetRequest(true, "4000", r, error));
  EXPECT_EQ(r.port, 4000);
  ASSERT_TRUE(ParseNetRequest(false, "games.example.org:4100", r, error));
  EXPECT_FALSE(r.host);
  EXPECT_EQ(r.address, "games.example.org");
  EXPECT_EQ(r.port, 4100);
  ASSERT_TRUE(ParseNetRequest(false, "192.0.2.7", r, error));
  EXPECT_EQ(r.address, "192.0.2.7");
  EXPECT_EQ(r.port, DefaultNetPort);
  for (const char* bad : {"0", "65536", "port", "-1"}) {
    EXPECT_FALSE(ParseNetRequest(true, bad, r, error)) << bad;
    EXPECT_EQ(error, "'" + std::string(bad) + "' is no UDP port (1 to 65535)");
  }
  EXPECT_FALSE(ParseNetRequest(false, ":4000", r, error));
  EXPECT_EQ(error, "the host to join is missing");
  EXPECT_FALSE(ParseNetRequest(false, "192.0.2.7:x", r, error));
}

TEST(NetRequestTest, TheInputDelayCoversTheWayThereInWholePasses) {
  EXPECT_EQ(InputDelayFor(0, 16), 1u);
  EXPECT_EQ(InputDelayFor(20, 16), 1u);
  EXPECT_EQ(InputDelayFor(80, 16), 3u);
  // As measured between two programs busy with other things.
  EXPECT_EQ(InputDelayFor(95, 16), 3u);
  EXPECT_EQ(InputDelayFor(300, 16), 10u);
  // A slower game needs fewer passes for the same time.
  EXPECT_EQ(InputDelayFor(80, 50), 1u);
  // Before any is measured, and at speed 0 or below.
  EXPECT_EQ(InputDelayFor(-1, 16), 4u);
  EXPECT_EQ(InputDelayFor(10, 0), 5u);
  EXPECT_EQ(InputDelayFor(100000, 16), MaxInputDelay);
}

namespace {

class NetPlayTest : public GameDirectoryTest {
 protected:
  void SetUp() override {
    MakeGameDirectory(3);
    StartProgram();
    ReachTitleMenu();
    // Boxes hold the program in their own loop: each is noted and answered from there.
    Timer& answer = program->CreateTimer();
    answer.onTimer = [this] {
      const std::vector<std::string>& open = program->OpenBoxes();
      if (open.empty() || (!boxes.empty() && boxes.back() == open.back() && answering)) return;
      boxes.push_back(open.back());
      answering = true;
      PushKey(VK::Enter, Now() + 1);
    };
    answer.SetInterval(20);
  }
  // Runs the program, and the other machine when there is one, until `done` (false
  // after 5 s of the wall clock: the network does not run on virtual time).
  bool RunUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      RunFor(1);
      if (other) other->Service(0);
      std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    return true;
  }
  void Open(bool host, uint16_t port = 0) {
    NetRequest request;
    request.host = host;
    request.address = "127.0.0.1";
    request.port = port;
    std::string error;
    ASSERT_TRUE(program->OpenNetwork(request, error)) << error;
  }
  // A host of the test's own, and the program joining it.
  void Join(NetIdentity hostIdentity) {
    std::string error;
    other = NetPeer::Host(0, std::move(hostIdentity), error);
    ASSERT_TRUE(other) << error;
    Open(false, other->Port());
  }
  NetIdentity SameGame() { return NetIdentity{ProgramName, LevelDigests(dir.string() + "/")}; }
  // The box that `vk` opens, once it was answered.
  std::string BoxAfter(int vk) {
    boxes.clear();
    answering = false;
    PushKey(vk, Now() + 5);
    RunUntil([&] { return !boxes.empty() && program->OpenBoxes().empty(); });
    return boxes.empty() ? "" : boxes.front();
  }

  std::vector<std::string> boxes;
  bool answering = false;
  std::unique_ptr<NetPeer> other;
};

}  // namespace

TEST_F(NetPlayTest, TheHostTellsItsAddressAndCannotStartAlone) {
  Open(true);
  const std::string port = std::to_string(program->Net()->Peer().Port());
  const std::string announced = program->Net()->Announcement();
  EXPECT_NE(announced.find("trok --join "), std::string::npos) << announced;
  EXPECT_NE(announced.find(":" + port + "\n"), std::string::npos) << announced;
  EXPECT_NE(announced.find("forward UDP port " + port), std::string::npos) << announced;
  RunFor(50);
  EXPECT_NE(program->WindowTitle().find("the other player joins with  trok --join "), std::string::npos)
      << program->WindowTitle();
  EXPECT_TRUE(program->NetLine().visible);
  EXPECT_NE(program->NetLine().text.find(":" + port), std::string::npos) << program->NetLine().text;
  EXPECT_EQ(BoxAfter(VK::F2).rfind("No other player has joined yet.", 0), 0u);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_TRUE(program->GameStopped());
}

TEST_F(NetPlayTest, TheJoinerWaitsForTheHostWhoLearnsWhetherItCanStart) {
  ASSERT_NO_FATAL_FAILURE(Join(SameGame()));
  ASSERT_TRUE(RunUntil([&] { return other->OtherReady(); }));
  EXPECT_NE(program->WindowTitle().find("waiting for the host to start a game"), std::string::npos)
      << program->WindowTitle();
  EXPECT_EQ(BoxAfter(VK::F2), "In a network game the host starts each game.");
  EXPECT_TRUE(program->GameStopped());
  // On another screen it cannot start; back at the title menu it can.
  PushKey(VK::F10, Now() + 5);
  EXPECT_TRUE(RunUntil([&] { return !other->OtherReady(); }));
  PushKey(VK::Escape, Now() + 5);
  EXPECT_TRUE(RunUntil([&] { return other->OtherReady(); }));
}

TEST_F(NetPlayTest, AJoinerWithOtherLevelsIsToldWhichDiffers) {
  NetIdentity host = SameGame();
  host.levels[1] = Sha256Of("another level");
  ASSERT_NO_FATAL_FAILURE(Join(host));
  ASSERT_TRUE(RunUntil([&] { return !boxes.empty() && program->OpenBoxes().empty(); }));
  EXPECT_EQ(boxes.front(), "The host's level 01 differs from yours: both players need the same levels.");
  EXPECT_NE(program->WindowTitle().find("not connected"), std::string::npos) << program->WindowTitle();
}

TEST_F(NetPlayTest, AGameOnALevelTheJoinerDoesNotHaveIsRefused) {
  ASSERT_NO_FATAL_FAILURE(Join(SameGame()));
  ASSERT_TRUE(RunUntil([&] { return other->OtherReady(); }));
  ReplaySettings settings;
  settings.program = ProgramName;
  settings.playerCount = 2;
  settings.levelCount = 40;
  settings.levelIndex = 39;
  other->ProposeGame(settings, 3);
  std::optional<NetPeer::GameAnswer> answer;
  ASSERT_TRUE(RunUntil([&] { return (answer = other->TakeAnswer()).has_value(); }));
  EXPECT_FALSE(answer->accepted);
  RunFor(50);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_FALSE(program->Net()->InNetGame());
}
