#include "replay/replay_file.h"

#include <cstring>

#include <zlib.h>

#include "base/files.h"
#include "base/packed_bytes.h"

namespace {

constexpr std::string_view Magic = "TROKREPLAY\n";
constexpr std::size_t DigestSize = 32;
constexpr uint8_t NestedBit = 0x80;
constexpr int64_t IntMin = INT32_MIN, IntMax = INT32_MAX;

using Writer = PackedWriter;
using Reader = PackedReader;

}  // namespace

void WriteJoystickReading(PackedWriter& w, const JoystickReading& r) {
  w.Signed(r.X);
  w.Signed(r.Y);
  w.Byte(static_cast<uint8_t>((r.FireButton ? 1 : 0) | (r.MenuButton ? 2 : 0)));
}

JoystickReading ReadJoystickReading(PackedReader& r) {
  JoystickReading j;
  j.X = r.Int(-32768, 32767);
  j.Y = r.Int(-32768, 32767);
  const uint8_t buttons = r.Byte();
  if (buttons > 3) r.Fail("a value in it is out of range");
  j.FireButton = buttons & 1;
  j.MenuButton = buttons & 2;
  return j;
}

namespace {

void WriteInput(Writer& w, const InputEvent& e) {
  w.Byte(static_cast<uint8_t>(e.type));
  switch (e.type) {
    case InputEvent::Type::KeyDown:
    case InputEvent::Type::KeyUp:
      w.Unsigned(static_cast<uint64_t>(e.vk));
      w.Flag(e.repeat);
      break;
    case InputEvent::Type::Char:
      w.Byte(static_cast<uint8_t>(e.ch));
      break;
    case InputEvent::Type::MouseDown:
    case InputEvent::Type::MouseUp:
    case InputEvent::Type::MouseMove:
    case InputEvent::Type::Wheel:
      w.Signed(e.x);
      w.Signed(e.y);
      w.Byte(static_cast<uint8_t>(e.button));
      w.Signed(e.wheel);
      break;
    case InputEvent::Type::Close:
      break;
  }
}

InputEvent ReadInput(Reader& r) {
  InputEvent e;
  const uint8_t type = r.Byte();
  if (type > static_cast<uint8_t>(InputEvent::Type::Wheel)) {
    r.Fail("an input event in it is of an unknown kind");
    return e;
  }
  e.type = static_cast<InputEvent::Type>(type);
  switch (e.type) {
    case InputEvent::Type::KeyDown:
    case InputEvent::Type::KeyUp:
      e.vk = static_cast<int>(r.Count(255));
      e.repeat = r.Flag();
      break;
    case InputEvent::Type::Char:
      e.ch = static_cast<char>(r.Byte());
      break;
    case InputEvent::Type::MouseDown:
    case InputEvent::Type::MouseUp:
    case InputEvent::Type::MouseMove:
    case InputEvent::Type::Wheel: {
      e.x = r.Int(-100000, 100000);
      e.y = r.Int(-100000, 100000);
      const uint8_t button = r.Byte();
      if (button > static_cast<uint8_t>(MouseButton::Middle)) r.Fail("a value in it is out of range");
      e.button = static_cast<MouseButton>(button);
      e.wheel = r.Int(-100000, 100000);
      break;
    }
    case InputEvent::Type::Close:
      break;
  }
  return e;
}

}  // namespace

void WriteReplaySettings(PackedWriter& w, const ReplaySettings& s) {
  w.Text(s.program);
  w.Signed(s.recordedAt);
  w.Unsigned(static_cast<uint64_t>(s.playerCount));
  w.Signed(s.levelIndex);
  w.Flag(s.randomLevels);
  w.Signed(s.levelCount);
  w.Text(s.gameSpeed);
  for (int p = 0; p < 2; ++p) {
    w.Signed(s.devices[p]);
    w.Flag(s.joystickOpened[p]);
    for (const int32_t key : s.keys[p]) w.Signed(key);
  }
  w.Flag(s.sound);
  w.Flag(s.music);
  w.Unsigned(s.seed);
  const CarriedState& c = s.carried;
  for (const int32_t v : c.worldClock) w.Signed(v);
  w.Signed(c.panelRefreshCount);
  WriteJoystickReading(w, c.joystick);
  for (const CarriedState::Player& p : c.players)
    for (const int32_t v : {p.shotX, p.shotY, p.bombX, p.bombY, p.shotAge, p.shotDirection, p.codeUnderBomb,
                            p.menuChoice})
      w.Signed(v);
}

void ReadReplaySettings(PackedReader& r, ReplaySettings& s) {
  s.program = r.Text();
  s.recordedAt = r.Signed();
  s.playerCount = static_cast<int32_t>(r.Count(2));
  if (s.playerCount < 1) r.Fail("its player count is out of range");
  s.levelIndex = r.Int(0, 99);
  s.randomLevels = r.Flag();
  s.levelCount = r.Int(0, 100);
  s.gameSpeed = r.Text();
  for (int p = 0; p < 2; ++p) {
    s.devices[p] = r.Int(0, 1000);
    s.joystickOpened[p] = r.Flag();
    for (int32_t& key : s.keys[p]) key = r.Int(IntMin, IntMax);
  }
  s.sound = r.Flag();
  s.music = r.Flag();
  s.seed = static_cast<uint32_t>(r.Count(UINT32_MAX));
  CarriedState& c = s.carried;
  for (int32_t& v : c.worldClock) v = r.Int(IntMin, IntMax);
  c.panelRefreshCount = r.Int(IntMin, IntMax);
  c.joystick = ReadJoystickReading(r);
  for (CarriedState::Player& p : c.players)
    for (int32_t* v : {&p.shotX, &p.shotY, &p.bombX, &p.bombY, &p.shotAge, &p.shotDirection, &p.codeUnderBomb,
                       &p.menuChoice})
      *v = r.Int(IntMin, IntMax);
}

namespace {

void WriteBody(Writer& w, const Replay& replay) {
  WriteReplaySettings(w, replay.settings);
  w.Unsigned(replay.levels.size());
  for (const LevelPlayed& level : replay.levels) {
    w.Signed(level.index);
    w.Bytes(level.digest.data(), level.digest.size());
  }
  w.Unsigned(replay.items.size());
  uint32_t pass = 0;
  for (const ReplayItem& item : replay.items) {
    w.Unsigned(item.at.pass - pass);
    pass = item.at.pass;
    w.Unsigned(item.at.pump);
    w.Byte(static_cast<uint8_t>(item.kind));
    if (item.kind == ReplayItem::Kind::Input)
      WriteInput(w, item.input);
    else
      w.Byte(static_cast<uint8_t>(static_cast<uint8_t>(item.timer) | (item.afterNested ? NestedBit : 0)));
  }
  for (const auto& samples : replay.joystick) {
    w.Unsigned(samples.size());
    uint32_t poll = 0;
    for (const JoystickSample& sample : samples) {
      w.Unsigned(sample.poll - poll);
      poll = sample.poll;
      w.Flag(sample.ok);
      WriteJoystickReading(w, sample.reading);
    }
  }
  w.Unsigned(replay.checks.size());
  pass = 0;
  for (const StateCheck& check : replay.checks) {
    w.Unsigned(check.pass - pass);
    pass = check.pass;
    w.Fixed64(check.hash);
  }
  const ReplayEnd& end = replay.end;
  w.Unsigned(end.at.pass);
  w.Unsigned(end.at.pump);
  w.Byte(static_cast<uint8_t>(end.how));
  w.Fixed64(end.finalHash);
  w.Signed(end.points[0]);
  w.Signed(end.points[1]);
  w.Signed(end.level);
  w.Flag(end.levelFinished);
}

// Stamps and polls only go forward; a sum that overflows is a damaged file.
uint32_t Forward(Reader& r, uint32_t from) {
  const uint64_t step = r.Unsigned();
  if (step > UINT32_MAX - from) return static_cast<uint32_t>(r.Fail("a value in it is out of range"));
  return from + static_cast<uint32_t>(step);
}

void ReadBody(Reader& r, Replay& replay) {
  ReadReplaySettings(r, replay.settings);
  const uint32_t levels = r.Entries(1 + DigestSize);
  replay.levels.resize(levels);
  for (LevelPlayed& level : replay.levels) {
    level.index = r.Int(0, 99);
    r.Bytes(level.digest.data(), level.digest.size());
  }
  const uint32_t items = r.Entries(4);
  replay.items.reserve(items);
  uint32_t pass = 0;
  for (uint32_t i = 0; i < items && !r.Failed(); ++i) {
    ReplayItem item;
    pass = item.at.pass = Forward(r, pass);
    item.at.pump = r.Count(UINT32_MAX);
    if (!replay.items.empty() && item.at < replay.items.back().at) r.Fail("its events are out of order");
    const uint8_t kind = r.Byte();
    if (kind == static_cast<uint8_t>(ReplayItem::Kind::Input)) {
      item.kind = ReplayItem::Kind::Input;
      item.input = ReadInput(r);
    } else if (kind == static_cast<uint8_t>(ReplayItem::Kind::Timer)) {
      item.kind = ReplayItem::Kind::Timer;
      const uint8_t byte = r.Byte();
      item.afterNested = byte & NestedBit;
      const uint8_t timer = byte & ~NestedBit;
      if (timer != static_cast<uint8_t>(GameTimer::Warp) && timer != static_cast<uint8_t>(GameTimer::GameOver))
        r.Fail("a timer in it is of an unknown kind");
      item.timer = static_cast<GameTimer>(timer);
    } else {
      r.Fail("an entry in it is of an unknown kind");
    }
    replay.items.push_back(item);
  }
  for (auto& samples : replay.joystick) {
    const uint32_t count = r.Entries(5);
    samples.reserve(count);
    uint32_t poll = 0;
    for (uint32_t i = 0; i < count && !r.Failed(); ++i) {
      JoystickSample sample;
      poll = sample.poll = Forward(r, poll);
      if (i > 0 && sample.poll == samples.back().poll) r.Fail("its joystick polls are out of order");
      sample.ok = r.Flag();
      sample.reading = ReadJoystickReading(r);
      samples.push_back(sample);
    }
  }
  const uint32_t checks = r.Entries(9);
  replay.checks.reserve(checks);
  pass = 0;
  for (uint32_t i = 0; i < checks && !r.Failed(); ++i) {
    StateCheck check;
    pass = check.pass = Forward(r, pass);
    check.hash = r.Fixed64();
    replay.checks.push_back(check);
  }
  ReplayEnd& end = replay.end;
  end.at.pass = r.Count(UINT32_MAX);
  end.at.pump = r.Count(UINT32_MAX);
  const uint8_t how = r.Byte();
  if (how != static_cast<uint8_t>(ReplayEnding::BackToMenu) && how != static_cast<uint8_t>(ReplayEnding::ProgramClosed))
    r.Fail("its ending is of an unknown kind");
  end.how = static_cast<ReplayEnding>(how);
  end.finalHash = r.Fixed64();
  end.points[0] = r.Int(IntMin, IntMax);
  end.points[1] = r.Int(IntMin, IntMax);
  end.level = r.Int(0, 99);
  end.levelFinished = r.Flag();
  if (!r.Failed() && r.Left() != 0) r.Fail("it holds more than a replay");
  if (!replay.items.empty() && end.at < replay.items.back().at) r.Fail("its events are out of order");
}

}  // namespace

bool ReplayItem::operator==(const ReplayItem& o) const {
  if (at != o.at || kind != o.kind) return false;
  if (kind == Kind::Timer) return timer == o.timer && afterNested == o.afterNested;
  const InputEvent &a = input, &b = o.input;
  return a.type == b.type && a.vk == b.vk && a.ch == b.ch && a.x == b.x && a.y == b.y && a.button == b.button &&
         a.repeat == b.repeat && a.wheel == b.wheel;
}

bool JoystickSample::operator==(const JoystickSample& o) const {
  return poll == o.poll && ok == o.ok && reading.X == o.reading.X && reading.Y == o.reading.Y &&
         reading.FireButton == o.reading.FireButton && reading.MenuButton == o.reading.MenuButton;
}

bool CarriedState::operator==(const CarriedState& o) const {
  return worldClock == o.worldClock && panelRefreshCount == o.panelRefreshCount && joystick.X == o.joystick.X &&
         joystick.Y == o.joystick.Y && joystick.FireButton == o.joystick.FireButton &&
         joystick.MenuButton == o.joystick.MenuButton && players == o.players;
}

std::string EncodeReplay(const Replay& replay) { return PackReplayBody(EncodeReplayBody(replay)); }

std::string EncodeReplayBody(const Replay& replay) {
  Writer body;
  WriteBody(body, replay);
  return std::move(body.Out());
}

std::string PackReplayBody(std::string_view body) {
  uLongf packedSize = compressBound(static_cast<uLong>(body.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(body.data()),
                static_cast<uLong>(body.size()), Z_BEST_COMPRESSION) != Z_OK)
    return {};
  packed.resize(packedSize);
  Writer w;
  w.Bytes(Magic.data(), Magic.size());
  w.Unsigned(ReplayFormatVersion);
  w.Unsigned(body.size());
  w.Bytes(packed.data(), packed.size());
  const Sha256Digest digest = Sha256Of(w.Out());
  w.Bytes(digest.data(), digest.size());
  return std::move(w.Out());
}

ReplayReadResult DecodeReplay(std::string_view bytes, Replay& replay, std::string& error) {
  replay = Replay{};
  if (bytes.size() < Magic.size() || bytes.substr(0, Magic.size()) != Magic) {
    error = "it is not a replay file";
    return ReplayReadResult::Damaged;
  }
  if (bytes.size() > MaxReplayBytes) {
    error = "it is far larger than any replay";
    return ReplayReadResult::Damaged;
  }
  Reader header(bytes.substr(Magic.size()));
  const uint64_t version = header.Unsigned();
  if (header.Failed()) {
    error = "it is damaged: " + header.Why();
    return ReplayReadResult::Damaged;
  }
  if (version != ReplayFormatVersion) {
    error = "it was recorded in replay format " + std::to_string(version) + ", and this program reads format " +
            std::to_string(ReplayFormatVersion);
    return ReplayReadResult::WrongVersion;
  }
  if (header.Left() < DigestSize + 1) {
    error = "it is damaged: it ends too early";
    return ReplayReadResult::Damaged;
  }
  const std::string_view content = bytes.substr(0, bytes.size() - DigestSize);
  const Sha256Digest digest = Sha256Of(content);
  if (std::memcmp(digest.data(), bytes.data() + content.size(), DigestSize) != 0) {
    error = "it is damaged: its checksum does not match its contents";
    return ReplayReadResult::Damaged;
  }
  // Never more than the file says, and never more than a replay can be.
  const uint64_t bodySize = header.Unsigned();
  if (header.Failed() || bodySize > MaxReplayBytes || header.Left() < DigestSize) {
    error = "it is damaged: its size is out of range";
    return ReplayReadResult::Damaged;
  }
  const std::size_t packedAt = bytes.size() - header.Left();
  const std::string_view packed = content.substr(packedAt);
  std::string body(static_cast<std::size_t>(bodySize), '\0');
  uLongf unpacked = static_cast<uLongf>(bodySize);
  uLong used = static_cast<uLong>(packed.size());
  if (uncompress2(reinterpret_cast<Bytef*>(body.data()), &unpacked, reinterpret_cast<const Bytef*>(packed.data()),
                  &used) != Z_OK ||
      unpacked != bodySize || used != packed.size()) {
    error = "it is damaged: its contents cannot be unpacked";
    return ReplayReadResult::Damaged;
  }
  Reader r(body);
  ReadBody(r, replay);
  if (r.Failed()) {
    error = "it is damaged: " + r.Why();
    replay = Replay{};
    return ReplayReadResult::Damaged;
  }
  return ReplayReadResult::Ok;
}

ReplayReadResult ReadReplayFile(const std::string& path, Replay& replay, std::string& error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error, MaxReplayBytes + 1)) return ReplayReadResult::Unreadable;
  std::string why;
  const ReplayReadResult result = DecodeReplay(bytes, replay, why);
  if (result != ReplayReadResult::Ok) error = "The replay \"" + path + "\" cannot be played: " + why + ".";
  return result;
}
