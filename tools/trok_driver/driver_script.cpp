#include "trok_driver/driver_script.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

#include "base/keys.h"
#include "shell/headless_program.h"
#include "base/bmp_file.h"

namespace {

const std::map<std::string, int>& NamedKeys() {
  static const std::map<std::string, int> keys = {
      {"back", VK::Back},       {"tab", VK::Tab},         {"enter", VK::Enter},
      {"shift", VK::Shift},     {"ctrl", VK::Control},    {"alt", VK::Alt},
      {"escape", VK::Escape},   {"esc", VK::Escape},      {"space", VK::Space},
      {"pgup", VK::PageUp},     {"pgdn", VK::PageDown},   {"end", VK::End},
      {"home", VK::Home},       {"left", VK::Left},       {"up", VK::Up},
      {"right", VK::Right},     {"down", VK::Down},       {"printscreen", VK::PrintScreen},
      {"print", VK::PrintScreen}, {"ins", VK::Insert},    {"del", VK::Delete},
  };
  return keys;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

int KeyCodeFromName(const std::string& name) {
  if (name.empty()) return -1;
  const std::string lower = Lower(name);
  if (auto it = NamedKeys().find(lower); it != NamedKeys().end()) return it->second;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return std::toupper(static_cast<unsigned char>(name[0]));
  if (lower[0] == 'f' && lower.size() <= 3) {
    int n = 0;
    for (size_t i = 1; i < lower.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(lower[i]))) return -1;
      n = n * 10 + (lower[i] - '0');
    }
    if (n >= 1 && n <= 12) return VK::F1 + n - 1;
    return -1;
  }
  if (lower.size() <= 3 && std::all_of(lower.begin(), lower.end(), ::isdigit)) {
    const int code = std::stoi(lower);
    return code >= 1 && code <= 254 ? code : -1;
  }
  return -1;
}

bool ParseDriverScript(const std::string& text, DriverScript& script, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++lineNumber;
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string verb;
    if (!(words >> verb)) continue;
    verb = Lower(verb);
    if (verb == "seed") {
      long long s;
      if (!(words >> s) || s < 0) return fail("seed needs a non-negative number");
      script.seed = static_cast<uint32_t>(s);
      continue;
    }
    if (verb == "realtime") {
      script.realTime = true;
      continue;
    }
    if (verb == "end") {
      long long t;
      if (!(words >> t) || t < 0) return fail("end needs a time in ms");
      script.endMs = static_cast<uint64_t>(t);
      continue;
    }
    if (verb != "at") return fail("unknown command '" + verb + "'");
    long long t;
    std::string what;
    if (!(words >> t) || t < 0) return fail("'at' needs a time in ms");
    if (!(words >> what)) return fail("'at' needs an action");
    what = Lower(what);
    DriverAction a;
    a.atMs = static_cast<uint64_t>(t);
    if (what == "type") {
      std::string rest;
      std::getline(words, rest);
      const auto start = rest.find_first_not_of(" \t");
      if (start == std::string::npos) return fail("'type' needs characters");
      const auto stop = rest.find_last_not_of(" \t\r");
      for (char c : rest.substr(start, stop - start + 1)) {
        a.input = InputEvent{};
        a.input.type = InputEvent::Type::Char;
        a.input.ch = c;
        script.actions.push_back(a);
      }
      continue;
    }
    if (what == "down" || what == "up" || what == "press") {
      std::string key;
      if (!(words >> key)) return fail("'" + what + "' needs a key name");
      const int code = KeyCodeFromName(key);
      if (code < 0) return fail("unknown key '" + key + "'");
      a.input.vk = code;
      if (what != "up") {
        a.input.type = InputEvent::Type::KeyDown;
        script.actions.push_back(a);
      }
      if (what != "down") {
        a.input.type = InputEvent::Type::KeyUp;
        script.actions.push_back(a);
      }
      continue;
    }
    if (what == "click" || what == "mousedown" || what == "mouseup") {
      int x, y;
      if (!(words >> x >> y)) return fail("'" + what + "' needs x and y");
      a.input.x = x;
      a.input.y = y;
      if (what != "mouseup") {
        a.input.type = InputEvent::Type::MouseDown;
        script.actions.push_back(a);
      }
      if (what != "mousedown") {
        a.input.type = InputEvent::Type::MouseUp;
        script.actions.push_back(a);
      }
      continue;
    }
    if (what == "capture") {
      if (!(words >> a.path)) return fail("'capture' needs a file name");
      a.kind = DriverAction::Kind::Capture;
    } else if (what == "dump") {
      std::string which;
      words >> which;
      which = Lower(which);
      if (which == "room")
        a.kind = DriverAction::Kind::DumpRoom;
      else if (which == "players")
        a.kind = DriverAction::Kind::DumpPlayers;
      else if (which == "boxes")
        a.kind = DriverAction::Kind::DumpBoxes;
      else
        return fail("'dump' takes 'room', 'players' or 'boxes'");
    } else if (what == "quit") {
      a.kind = DriverAction::Kind::End;
    } else {
      return fail("unknown action '" + what + "'");
    }
    script.actions.push_back(a);
  }
  return true;
}

namespace {

void DumpRoom(const Game& game, std::ostream& out) {
  const WorldGrid& w = game.World;
  out << "room " << w.CurrentRoomX << ' ' << w.CurrentRoomY << '\n';
  for (int y = 0; y < w.RoomHeight; ++y) {
    for (int x = 0; x < w.RoomWidth; ++x) out << (x ? " " : "") << w.At(x, y);
    out << '\n';
  }
}

void DumpPlayer(const PlayerState& p, std::ostream& out) {
  out << "player " << p.PlayerNumber << " X=" << p.X << " Y=" << p.Y << " Life=" << p.Life
      << " Points=" << p.Points << " Keys=" << p.Keys << " HealthKits=" << p.HealthKits
      << " Bombs=" << p.Bombs << " LevelsPassed=" << p.LevelsPassed
      << " MoveDirection=" << p.MoveDirection << " Dead=" << p.Dead << " Warped=" << p.Warped
      << " Status=\"" << p.StatusText << "\"\n";
}

void DumpBoxes(const std::vector<std::string>& boxes, std::ostream& out) {
  out << "boxes " << boxes.size() << '\n';
  for (const std::string& text : boxes) out << "box " << text << '\n';
}

}  // namespace

int RunDriverScript(const DriverScript& script, std::ostream& out) {
  HeadlessProgram program(nullptr, script.realTime);
  // The script is in place before the windows are made, so that it also answers the boxes
  // shown while they are made (a damaged Options.dat) and during start-up.
  uint64_t lastMs = 0;
  for (const DriverAction& a : script.actions) {
    lastMs = std::max(lastMs, a.atMs);
    if (a.kind == DriverAction::Kind::Input) {
      program.Push(a.input, a.atMs);
      continue;
    }
    // Other actions run at their time inside the game's own loops.
    program.At(a.atMs, [&program, &out, a] {
      switch (a.kind) {
        case DriverAction::Kind::Capture: {
          std::string why;
          if (!SaveBmp24(program.Capture(), a.path, why)) out << "error: " << why << '\n';
          break;
        }
        case DriverAction::Kind::DumpRoom: DumpRoom(program.GameState(), out); break;
        case DriverAction::Kind::DumpPlayers:
          DumpPlayer(program.GameState().Player1, out);
          DumpPlayer(program.GameState().Player2, out);
          break;
        case DriverAction::Kind::DumpBoxes: DumpBoxes(program.OpenBoxes(), out); break;
        default: program.Quit(); break;
      }
    });
  }
  const uint64_t endMs = script.endMs ? script.endMs : lastMs + 1;
  program.At(endMs, [&program] { program.Quit(); });

  std::string error;
  if (!program.Start(error)) {
    out << "error: " << error << '\n';
    return 1;
  }
  if (script.seed) program.UseFixedSeed(*script.seed);
  program.RunToEnd();
  return 0;
}
