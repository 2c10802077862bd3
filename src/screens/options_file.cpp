#include "screens/options_file.h"

#include <cctype>
#include <cstdio>

#include "base/numbers.h"

namespace {

struct Fault {
  std::string text;
};

class WordReader {
 public:
  explicit WordReader(std::istream& in) : in_(in) {}

  std::string Word() {
    int c = in_.get();
    while (c != EOF && std::isspace(c)) c = in_.get();
    if (c == EOF) throw Fault{"Read beyond end of file"};
    std::string word;
    while (c != EOF && !std::isspace(c)) {
      if (word.size() == MaxOptionsWord)
        throw Fault{"'" + word + "...' is longer than " + std::to_string(MaxOptionsWord) + " characters"};
      word += static_cast<char>(c);
      c = in_.get();
    }
    return word;
  }

  int Number() {
    std::string word = Word();
    int value = 0;
    if (!ParseInt(word, value)) throw Fault{"'" + word + "' is not a valid integer value"};
    return value;
  }

 private:
  std::istream& in_;
};

void AppendPlayerLine(std::string& out, const PlayerControls& player) {
  out += std::to_string(player.device);
  for (const KeyBinding& key : player.keys) out += " " + key.name + " " + std::to_string(key.code);
  out += " \r\n";
}

}  // namespace

std::string FormatOptions(const GameOptions& options) {
  std::string out = options.GameSpeed + "\r\n";
  for (const PlayerControls& player : options.players) AppendPlayerLine(out, player);
  out += options.sound + "\r\n";
  out += options.music + "\r\n";
  return out;
}

std::string ParseOptions(std::istream& in, GameOptions& options) {
  WordReader reader(in);
  try {
    options.GameSpeed = reader.Word();
    for (PlayerControls& player : options.players) {
      player.device = reader.Number();
      for (KeyBinding& key : player.keys) {
        key.name = reader.Word();
        key.code = reader.Number();
      }
    }
    options.sound = reader.Word();
    options.music = reader.Word();
  } catch (const Fault& fault) {
    return fault.text;
  }
  return {};
}

GameSettings SettingsOf(const GameOptions& options) {
  GameSettings settings;
  if (!ParseInt(options.GameSpeed, settings.speed)) {
    settings.speed = DefaultGameSpeed;
    settings.speedFault = "'" + options.GameSpeed + "' is not a valid integer value";
  }
  settings.players = options.players;
  settings.sound = options.sound == "On";
  settings.music = options.music == "On";
  return settings;
}
