// The network game's messages: each kind comes back as it was sent, and a reader takes
// nothing that is not exactly one well-formed, bounded message.
#include <gtest/gtest.h>

#include <string>

#include "net/net_message.h"

namespace {

NetMessage PassWith(std::vector<NetKey> keys) {
  NetMessage m;
  m.kind = NetKind::Pass;
  m.input.pass = 700;
  m.input.keys = std::move(keys);
  return m;
}

NetMessage StartMessage() {
  NetMessage m;
  m.kind = NetKind::Start;
  m.settings.program = "trok 1.0.0";
  m.settings.playerCount = 2;
  m.settings.levelIndex = 4;
  m.settings.levelCount = 30;
  m.settings.gameSpeed = "16";
  m.settings.seed = 99;
  m.delay = 3;
  return m;
}

std::string Why(const std::string& bytes) {
  NetMessage m;
  std::string why;
  EXPECT_FALSE(DecodeNetMessage(bytes, m, why)) << "taken: " << static_cast<int>(bytes.empty() ? 0 : bytes[0]);
  return why;
}

}  // namespace

TEST(NetMessageTest, EveryKindReadsBackAsSent) {
  std::vector<NetMessage> sent;
  NetMessage hello;
  hello.kind = NetKind::Hello;
  hello.program = "trok 1.0.0";
  hello.levels.assign(30, Sha256Of("level"));
  sent.push_back(hello);
  NetMessage refuse;
  refuse.kind = NetKind::Refuse;
  refuse.refuse = RefuseReason::Levels;
  refuse.program = "trok 1.0.0";
  refuse.level = 7;
  sent.push_back(refuse);
  NetMessage ping;
  ping.kind = NetKind::Pong;
  ping.stamp = 123456;
  sent.push_back(ping);
  sent.push_back(StartMessage());
  NetMessage go;
  go.kind = NetKind::Go;
  go.flag = true;
  go.device = 2;
  go.padOpened = true;
  sent.push_back(go);
  NetMessage pass = PassWith({{PlayerAction::Fire, true, false}, {PlayerAction::Left, false, true}});
  pass.input.padChanged = true;
  pass.input.pad.ok = false;
  pass.input.pad.reading.X = -1000;
  pass.input.pad.reading.FireButton = true;
  pass.input.timers = 1 << static_cast<int>(GameTimer::GameOver);
  pass.input.hasCheck = true;
  pass.input.check = 0x0123456789abcdefULL;
  sent.push_back(pass);
  NetMessage leave;
  leave.kind = NetKind::Leave;
  leave.pass = 5000;
  leave.leave = LeaveReason::Closed;
  sent.push_back(leave);
  NetMessage echo;
  echo.kind = NetKind::Echo;
  echo.echoed = {PassWith({}).input, pass.input};
  echo.echoed[1].pass = 701;
  sent.push_back(echo);

  for (const NetMessage& m : sent) {
    const std::string bytes = EncodeNetMessage(m);
    NetMessage got;
    std::string why;
    ASSERT_TRUE(DecodeNetMessage(bytes, got, why)) << "kind " << static_cast<int>(m.kind) << ": " << why;
    EXPECT_EQ(EncodeNetMessage(got), bytes);
  }
  NetMessage got;
  std::string why;
  ASSERT_TRUE(DecodeNetMessage(EncodeNetMessage(pass), got, why));
  EXPECT_EQ(got.input, pass.input);
  ASSERT_TRUE(DecodeNetMessage(EncodeNetMessage(StartMessage()), got, why));
  EXPECT_EQ(got.settings, StartMessage().settings);
  EXPECT_EQ(got.delay, 3u);
  ASSERT_TRUE(DecodeNetMessage(EncodeNetMessage(echo), got, why));
  EXPECT_EQ(got.echoed, echo.echoed);
}

TEST(NetMessageTest, AnEmptyPassIsAFewBytes) {
  // Sent every pass each way: its size is most of what a game costs the network.
  EXPECT_LE(EncodeNetMessage(PassWith({})).size(), 5u);
}

TEST(NetMessageTest, RefusesWhatIsNotExactlyOneBoundedMessage) {
  EXPECT_EQ(Why(""), "it is empty");
  EXPECT_EQ(Why(std::string(MaxNetMessageBytes + 1, '\x09')), "it is larger than any message");
  EXPECT_EQ(Why(std::string(1, '\0')), "it is of an unknown kind");
  EXPECT_EQ(Why("\x0d"), "it is of an unknown kind");
  EXPECT_EQ(Why(EncodeNetMessage(PassWith({})) + "x"), "it holds more than its message");
  const std::string pass = EncodeNetMessage(PassWith({{PlayerAction::Up, true, false}}));
  EXPECT_EQ(Why(pass.substr(0, pass.size() - 1)), "it ends too early");
}

TEST(NetMessageTest, RefusesFieldsOutOfTheirRange) {
  // Too many keys for one pass, a key of no action, a timer of no kind, pass 0.
  EXPECT_FALSE(Why(EncodeNetMessage(PassWith(std::vector<NetKey>(MaxKeysPerPass + 1)))).empty());
  std::string bytes = EncodeNetMessage(PassWith({{PlayerAction::Menu, true, false}}));
  bytes.back() = static_cast<char>(0x86);
  EXPECT_EQ(Why(bytes), "a key in it is of an unknown kind");
  NetMessage timers = PassWith({});
  timers.input.timers = 0x10;
  EXPECT_EQ(Why(EncodeNetMessage(timers)), "a timer in it is of an unknown kind");
  NetMessage first = PassWith({});
  first.input.pass = 0;
  EXPECT_EQ(Why(EncodeNetMessage(first)), "a pass number in it is out of range");

  // A start that is no game for two, on a level it does not have, without a delay.
  NetMessage start = StartMessage();
  start.settings.playerCount = 1;
  EXPECT_EQ(Why(EncodeNetMessage(start)), "its game is not one for two players");
  start = StartMessage();
  start.settings.levelIndex = 30;
  EXPECT_EQ(Why(EncodeNetMessage(start)), "its level is out of range");
  start = StartMessage();
  start.delay = 0;
  EXPECT_EQ(Why(EncodeNetMessage(start)), "its input delay is out of range");
  start.delay = MaxInputDelay + 1;
  EXPECT_EQ(Why(EncodeNetMessage(start)), "a value in it is out of range");
  start = StartMessage();
  start.settings.gameSpeed = std::string(40, '1');
  EXPECT_EQ(Why(EncodeNetMessage(start)), "a text in it is too long");

  // A meeting that claims more level files than the game has, or than it holds.
  NetMessage hello;
  hello.kind = NetKind::Hello;
  hello.levels.assign(MaxNetLevels, Sha256Digest{});
  std::string many = EncodeNetMessage(hello);
  ASSERT_EQ(static_cast<std::size_t>(many[3]), MaxNetLevels);
  many[3] = static_cast<char>(MaxNetLevels + 1);
  EXPECT_EQ(Why(many), "a value in it is out of range");
  hello.levels.resize(3);
  const std::string three = EncodeNetMessage(hello);
  EXPECT_EQ(Why(three.substr(0, three.size() - 32)), "it ends too early");

  NetMessage leave;
  leave.kind = NetKind::Leave;
  std::string gone = EncodeNetMessage(leave);
  gone.back() = 9;
  EXPECT_EQ(Why(gone), "its reason is of an unknown kind");

  // Early copies: none, more than an echo holds, passes that do not follow each other.
  NetMessage echo;
  echo.kind = NetKind::Echo;
  EXPECT_EQ(Why(EncodeNetMessage(echo)), "it echoes no input");
  echo.echoed.assign(2, PassWith({}).input);
  EXPECT_EQ(Why(EncodeNetMessage(echo)), "the passes it echoes do not follow each other");
  echo.echoed.assign(MaxEchoedInputs, PassWith({}).input);
  for (std::size_t i = 0; i < echo.echoed.size(); ++i) echo.echoed[i].pass = static_cast<uint32_t>(i + 1);
  std::string tooMany = EncodeNetMessage(echo);
  ASSERT_EQ(tooMany[1], static_cast<char>(MaxEchoedInputs));
  tooMany[1] = static_cast<char>(MaxEchoedInputs + 1);
  EXPECT_EQ(Why(tooMany), "a value in it is out of range");
}
