// Two machines' sides of a network game on this machine's loopback: players with the
// same game meet and measure their round trip; another version or other level files
// are turned away with the reason on both sides; a third player and bytes that are no
// message close their connection; the title menu's talk proposes and answers a game.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "net/net_peer.h"

namespace {

NetIdentity Identity(const std::string& program = "trok 1.0.0", int differentLevel = -1) {
  NetIdentity me;
  me.program = program;
  for (int n = 0; n < 12; ++n) me.levels.push_back(Sha256Of(n == differentLevel ? "other" : std::to_string(n)));
  return me;
}

// Services every peer until `done` (false after 5 s).
bool Until(std::initializer_list<NetPeer*> peers, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    for (NetPeer* p : peers) p->Service(1);
  }
  return true;
}

class NetPeerTest : public ::testing::Test {
 protected:
  void Open(NetIdentity hostIdentity, NetIdentity joinerIdentity) {
    std::string error;
    host = NetPeer::Host(0, std::move(hostIdentity), error);
    ASSERT_TRUE(host) << error;
    joiner = NetPeer::Join("127.0.0.1", host->Port(), std::move(joinerIdentity), error);
    ASSERT_TRUE(joiner) << error;
  }
  bool Connected() {
    return host->GetState() == NetPeer::State::Connected && joiner->GetState() == NetPeer::State::Connected;
  }
  // What is in flight is taken, so that neither waits for it when it goes.
  void TearDown() override {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
    while (std::chrono::steady_clock::now() < end)
      for (NetPeer* p : {host.get(), joiner.get()})
        if (p) p->Service(1);
  }
  std::unique_ptr<NetPeer> host, joiner;
};

}  // namespace

TEST_F(NetPeerTest, PlayersWithTheSameGameMeetAndMeasureTheRoundTrip) {
  Open(Identity(), Identity());
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return Connected() && joiner->RoundTripMs() >= 0; }));
  EXPECT_FALSE(host->HasNotice());
  EXPECT_FALSE(joiner->HasNotice());
  EXPECT_LT(joiner->RoundTripMs(), 200);
  EXPECT_EQ(joiner->PeerAddress(), "127.0.0.1:" + std::to_string(host->Port()));
  EXPECT_LT(host->SilentMs(), 1000u);
}

TEST_F(NetPeerTest, AnotherVersionIsTurnedAwayWithTheReasonOnBothSides) {
  Open(Identity("trok 1.0.1"), Identity());
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return joiner->GetState() == NetPeer::State::Closed; }));
  ASSERT_TRUE(Until({host.get()}, [&] { return host->HasNotice(); }));
  EXPECT_EQ(*joiner->TakeNotice(), "The host plays trok 1.0.1 and this is trok 1.0.0: both players need the same version.");
  EXPECT_EQ(*host->TakeNotice(),
            "A player with another version of the game (trok 1.0.0) tried to join: both players need the same version.");
  EXPECT_EQ(host->GetState(), NetPeer::State::Waiting);
}

TEST_F(NetPeerTest, OtherLevelFilesAreTurnedAwayNamingTheFirstThatDiffers) {
  Open(Identity(), Identity("trok 1.0.0", 7));
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return joiner->GetState() == NetPeer::State::Closed; }));
  EXPECT_EQ(*joiner->TakeNotice(), "The host's level 07 differs from yours: both players need the same levels.");
  EXPECT_EQ(*host->TakeNotice(), "A player whose level 07 differs from yours tried to join: both players need the same levels.");
  // The host takes the next player.
  std::string error;
  joiner = NetPeer::Join("127.0.0.1", host->Port(), Identity(), error);
  ASSERT_TRUE(joiner) << error;
  EXPECT_TRUE(Until({host.get(), joiner.get()}, [&] { return Connected(); }));
}

TEST_F(NetPeerTest, AThirdPlayerAndBytesThatAreNoMessageAreTurnedAway) {
  Open(Identity(), Identity());
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return Connected(); }));
  std::string error;
  auto third = NetPeer::Join("127.0.0.1", host->Port(), Identity(), error);
  ASSERT_TRUE(third) << error;
  ASSERT_TRUE(Until({host.get(), joiner.get(), third.get()}, [&] { return third->GetState() == NetPeer::State::Closed; }));
  EXPECT_TRUE(Connected());

  // A program that connects and sends what no game sends.
  joiner.reset();
  ASSERT_TRUE(Until({host.get()}, [&] { return host->GetState() == NetPeer::State::Waiting; }));
  auto stranger = NetLink::Connect("127.0.0.1", host->Port(), error);
  ASSERT_TRUE(stranger) << error;
  std::vector<NetLink::Event> events;
  ASSERT_TRUE(Until({host.get()}, [&] {
    stranger->Service(1, events);
    return stranger->Connected() && host->GetState() == NetPeer::State::Meeting;
  }));
  while (host->TakeNotice()) {
  }
  stranger->Send(std::string("\x09\x00\x00\x00", 4));
  stranger->Flush();
  ASSERT_TRUE(Until({host.get()}, [&] { return host->HasNotice(); }));
  EXPECT_EQ(*host->TakeNotice(),
            "The other player's program sent something this one cannot read (a pass number in it is out of range).");
  EXPECT_EQ(host->GetState(), NetPeer::State::Waiting);
}

TEST_F(NetPeerTest, TheHostProposesAGameAndTheJoinerAnswersWithItsJoystick) {
  Open(Identity(), Identity());
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return Connected(); }));
  joiner->SetReady(true);
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return host->OtherReady(); }));
  ReplaySettings settings;
  settings.program = "trok 1.0.0";
  settings.playerCount = 2;
  settings.levelIndex = 3;
  settings.levelCount = 12;
  settings.seed = 77;
  host->ProposeGame(settings, 4);
  std::optional<NetPeer::GameProposal> proposal;
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return (proposal = joiner->TakeProposal()).has_value(); }));
  EXPECT_EQ(proposal->settings, settings);
  EXPECT_EQ(proposal->delay, 4u);
  joiner->AnswerProposal({true, 2, true});
  std::optional<NetPeer::GameAnswer> answer;
  ASSERT_TRUE(Until({host.get(), joiner.get()}, [&] { return (answer = host->TakeAnswer()).has_value(); }));
  EXPECT_TRUE(answer->accepted);
  EXPECT_EQ(answer->device, 2);
  EXPECT_TRUE(answer->padOpened);
  // Busy with that game until the joiner says it is back.
  EXPECT_FALSE(host->OtherReady());
  joiner->SetReady(true);
  EXPECT_TRUE(Until({host.get(), joiner.get()}, [&] { return host->OtherReady(); }));
}
