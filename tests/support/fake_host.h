#pragma once
// A host for world and player tests: records what the game asks of the screen and
// the speakers, and rolls dice from a seeded generator or from a scripted list.
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "play/game.h"

class FakeHost : public GameHost {
 public:
  struct DrawnCell {
    int x, y, code;
  };

  void DrawCell(int x, int y, int code) override { drawn.push_back({x, y, code}); }
  void DrawRoom() override { ++roomDraws; }
  void ProcessMessages() override {
    ++messagePumps;
    if (onProcessMessages) onProcessMessages();
  }
  void PlaySound(int soundNumber) override { sounds.push_back(soundNumber); }
  // Scripted draws first (each taken modulo k), then the seeded generator.
  int Random(int k) override {
    int draw;
    if (!scriptedDraws.empty()) {
      draw = scriptedDraws.front();
      scriptedDraws.pop_front();
    } else {
      draw = static_cast<int>(rng() & 0x7fffffff);
    }
    return draw % k;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void SetLevelTitle(const std::string& text) override { levelTitle = text; }
  bool PollJoystick(int player, JoystickReading& reading) override {
    ++joystickPolls;
    if (!joystickWorks) return false;
    reading = player == 2 ? joystick2 : joystick1;
    return true;
  }

  std::vector<DrawnCell> drawn;
  int roomDraws = 0;
  int messagePumps = 0;
  std::vector<int> sounds;
  std::deque<int> scriptedDraws;
  std::mt19937 rng{12345};
  std::vector<std::string> errors;
  std::string levelTitle;
  bool joystickWorks = true;
  JoystickReading joystick1, joystick2;
  int joystickPolls = 0;
  std::function<void()> onProcessMessages;
};
