#include "net/net_message.h"

#include <algorithm>

#include "base/packed_bytes.h"
#include "replay/replay_file.h"

namespace {

// Pass input: which parts follow.
constexpr uint8_t HasKeys = 1, HasPad = 2, HasCheck = 4;
constexpr uint8_t TimerBits = (1 << static_cast<int>(GameTimer::Warp)) | (1 << static_cast<int>(GameTimer::GameOver));
// A key: the action in the low bits, then these.
constexpr uint8_t KeyRepeat = 0x40, KeyDown = 0x80;
constexpr std::size_t MaxSpeedText = 16;

void WriteInput(PackedWriter& w, const NetPassInput& in) {
  w.Unsigned(in.pass);
  const uint8_t parts = static_cast<uint8_t>((in.keys.empty() ? 0 : HasKeys) | (in.padChanged ? HasPad : 0) |
                                             (in.hasCheck ? HasCheck : 0));
  w.Byte(parts);
  w.Byte(in.timers);
  if (!in.keys.empty()) {
    w.Unsigned(in.keys.size());
    for (const NetKey& k : in.keys)
      w.Byte(static_cast<uint8_t>(static_cast<uint8_t>(k.action) | (k.repeat ? KeyRepeat : 0) | (k.down ? KeyDown : 0)));
  }
  if (in.padChanged) {
    w.Flag(in.pad.ok);
    WriteJoystickReading(w, in.pad.reading);
  }
  if (in.hasCheck) w.Fixed64(in.check);
}

void ReadInput(PackedReader& r, NetPassInput& in) {
  in.pass = r.Count(UINT32_MAX / 2);
  if (in.pass == 0) r.Fail("a pass number in it is out of range");
  const uint8_t parts = r.Byte();
  if (parts & ~(HasKeys | HasPad | HasCheck)) r.Fail("it holds parts of an unknown kind");
  in.timers = r.Byte();
  if (in.timers & ~TimerBits) r.Fail("a timer in it is of an unknown kind");
  if (parts & HasKeys) {
    const uint32_t count = r.Count(MaxKeysPerPass);
    if (count == 0) r.Fail("it holds an empty list of keys");
    for (uint32_t i = 0; i < count && !r.Failed(); ++i) {
      const uint8_t b = r.Byte();
      const uint8_t action = b & ~(KeyRepeat | KeyDown);
      if (action >= PlayerActions) r.Fail("a key in it is of an unknown kind");
      in.keys.push_back({static_cast<PlayerAction>(action), (b & KeyDown) != 0, (b & KeyRepeat) != 0});
    }
  }
  in.padChanged = parts & HasPad;
  if (in.padChanged) {
    in.pad.ok = r.Flag();
    in.pad.reading = ReadJoystickReading(r);
  }
  in.hasCheck = parts & HasCheck;
  if (in.hasCheck) in.check = r.Fixed64();
}

void ReadStart(PackedReader& r, NetMessage& m) {
  ReplaySettings& s = m.settings;
  ReadReplaySettings(r, s);
  if (r.Failed()) return;
  if (s.program.size() > MaxProgramText || s.gameSpeed.size() > MaxSpeedText)
    r.Fail("a text in it is too long");
  if (s.playerCount != 2) r.Fail("its game is not one for two players");
  if (s.levelCount < 1 || s.levelIndex >= s.levelCount) r.Fail("its level is out of range");
  m.delay = r.Count(MaxInputDelay);
  if (m.delay == 0) r.Fail("its input delay is out of range");
}

}  // namespace

bool NetPad::operator==(const NetPad& o) const {
  return ok == o.ok && reading.X == o.reading.X && reading.Y == o.reading.Y &&
         reading.FireButton == o.reading.FireButton && reading.MenuButton == o.reading.MenuButton;
}

std::string EncodeNetMessage(const NetMessage& m) {
  PackedWriter w;
  w.Byte(static_cast<uint8_t>(m.kind));
  switch (m.kind) {
    case NetKind::Hello:
      w.Unsigned(m.protocol);
      w.Text(m.program.substr(0, MaxProgramText));
      w.Unsigned(std::min(m.levels.size(), MaxNetLevels));
      for (std::size_t i = 0; i < m.levels.size() && i < MaxNetLevels; ++i) w.Bytes(m.levels[i].data(), m.levels[i].size());
      break;
    case NetKind::Welcome:
      w.Text(m.program.substr(0, MaxProgramText));
      break;
    case NetKind::Refuse:
      w.Byte(static_cast<uint8_t>(m.refuse));
      w.Text(m.program.substr(0, MaxProgramText));
      w.Signed(m.level);
      break;
    case NetKind::Ping:
    case NetKind::Pong:
      w.Unsigned(m.stamp);
      break;
    case NetKind::Ready:
      w.Flag(m.flag);
      break;
    case NetKind::Start:
      WriteReplaySettings(w, m.settings);
      w.Unsigned(m.delay);
      break;
    case NetKind::Go:
      w.Flag(m.flag);
      w.Signed(m.device);
      w.Flag(m.padOpened);
      break;
    case NetKind::Pass:
      WriteInput(w, m.input);
      break;
    case NetKind::Leave:
      w.Unsigned(m.pass);
      w.Byte(static_cast<uint8_t>(m.leave));
      break;
    case NetKind::Desync:
      w.Unsigned(m.pass);
      break;
    case NetKind::Echo:
      w.Unsigned(std::min(m.echoed.size(), MaxEchoedInputs));
      for (std::size_t i = 0; i < m.echoed.size() && i < MaxEchoedInputs; ++i) WriteInput(w, m.echoed[i]);
      break;
  }
  return std::move(w.Out());
}

bool DecodeNetMessage(std::string_view bytes, NetMessage& m, std::string& why) {
  m = NetMessage{};
  if (bytes.empty() || bytes.size() > MaxNetMessageBytes) {
    why = bytes.empty() ? "it is empty" : "it is larger than any message";
    return false;
  }
  PackedReader r(bytes);
  const uint8_t kind = r.Byte();
  if (kind < 1 || kind > LastNetKind) {
    why = "it is of an unknown kind";
    return false;
  }
  m.kind = static_cast<NetKind>(kind);
  switch (m.kind) {
    case NetKind::Hello: {
      m.protocol = r.Count(UINT32_MAX);
      m.program = r.Text(MaxProgramText);
      const uint32_t levels = r.Count(MaxNetLevels);
      if (!r.Failed() && r.Left() < std::size_t{levels} * sizeof(Sha256Digest)) r.Fail("it ends too early");
      for (uint32_t i = 0; i < levels && !r.Failed(); ++i) {
        Sha256Digest d{};
        r.Bytes(d.data(), d.size());
        m.levels.push_back(d);
      }
      break;
    }
    case NetKind::Welcome:
      m.program = r.Text(MaxProgramText);
      break;
    case NetKind::Refuse: {
      const uint8_t reason = r.Byte();
      if (reason < 1 || reason > static_cast<uint8_t>(RefuseReason::Levels)) r.Fail("its reason is of an unknown kind");
      m.refuse = static_cast<RefuseReason>(reason);
      m.program = r.Text(MaxProgramText);
      m.level = r.Int(-1, static_cast<int64_t>(MaxNetLevels) - 1);
      break;
    }
    case NetKind::Ping:
    case NetKind::Pong:
      m.stamp = r.Count(UINT32_MAX);
      break;
    case NetKind::Ready:
      m.flag = r.Flag();
      break;
    case NetKind::Start:
      ReadStart(r, m);
      break;
    case NetKind::Go:
      m.flag = r.Flag();
      m.device = r.Int(0, 1000);
      m.padOpened = r.Flag();
      break;
    case NetKind::Pass:
      ReadInput(r, m.input);
      break;
    case NetKind::Leave: {
      m.pass = r.Count(UINT32_MAX / 2);
      const uint8_t reason = r.Byte();
      if (reason < 1 || reason > LastLeaveReason) r.Fail("its reason is of an unknown kind");
      m.leave = static_cast<LeaveReason>(reason);
      break;
    }
    case NetKind::Desync:
      m.pass = r.Count(UINT32_MAX / 2);
      break;
    case NetKind::Echo: {
      const uint32_t count = r.Count(MaxEchoedInputs);
      if (count == 0) r.Fail("it echoes no input");
      for (uint32_t i = 0; i < count && !r.Failed(); ++i) {
        NetPassInput in;
        ReadInput(r, in);
        if (!m.echoed.empty() && in.pass != m.echoed.back().pass + 1) r.Fail("the passes it echoes do not follow each other");
        m.echoed.push_back(std::move(in));
      }
      break;
    }
  }
  if (!r.Failed() && r.Left() != 0) r.Fail("it holds more than its message");
  if (r.Failed()) {
    why = r.Why();
    m = NetMessage{};
    return false;
  }
  return true;
}
