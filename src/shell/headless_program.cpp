#include "shell/headless_program.h"

#include <stdexcept>
#include <string>
#include <utility>

HeadlessProgram::HeadlessProgram(std::unique_ptr<AudioDoor> audio, bool realTime)
    : clock_(realTime ? static_cast<Clock&>(realClock_) : virtualClock_),
      program_(clock_, true, std::move(audio)) {}

bool HeadlessProgram::Start(std::string& error) { return program_.Init(error); }

void HeadlessProgram::RunFor(int ms) {
  const uint64_t end = Now() + static_cast<uint64_t>(ms);
  while (Now() < end && !Terminated()) {
    program_.app.ProcessMessages();
    clock_.SleepMs(1);
  }
}

void HeadlessProgram::RunToEnd() {
  program_.app.Run();
  program_.QuitAfterStopSignal();
}

void HeadlessProgram::Push(const InputEvent& e, uint64_t atMs) { program_.app.PushInput(e, atMs); }

void HeadlessProgram::Push(InputEvent::Type type, int vk, uint64_t atMs) {
  InputEvent e;
  e.type = type;
  e.vk = vk;
  Push(e, atMs);
}

void HeadlessProgram::PushKey(int vk, uint64_t atMs) {
  Push(InputEvent::Type::KeyDown, vk, atMs);
  Push(InputEvent::Type::KeyUp, vk, atMs + 20);
}

void HeadlessProgram::PushChar(char c, uint64_t atMs) {
  InputEvent e;
  e.type = InputEvent::Type::Char;
  e.ch = c;
  Push(e, atMs);
}

void HeadlessProgram::PushMouse(InputEvent::Type type, int x, int y, uint64_t atMs, MouseButton button) {
  InputEvent e;
  e.type = type;
  e.x = x;
  e.y = y;
  e.button = button;
  Push(e, atMs);
}

void HeadlessProgram::PushClick(int x, int y, uint64_t atMs) {
  PushMouse(InputEvent::Type::MouseDown, x, y, atMs);
  PushMouse(InputEvent::Type::MouseUp, x, y, atMs + 20);
}

void HeadlessProgram::At(uint64_t atMs, std::function<void()> action) {
  Timer& t = program_.app.CreateTimer();
  t.onTimer = [&t, action = std::move(action)] {
    t.SetInterval(0);
    action();
  };
  t.SetInterval(static_cast<int>(atMs > Now() ? atMs - Now() : 1));
}

void HeadlessProgram::UseFixedSeed(uint32_t seed) { program_.session->UseFixedSeed(seed); }

bool HeadlessProgram::LevelArrowHeld(bool up) const {
  return program_.titleMenu->Held(up ? LevelArrow::Up : LevelArrow::Down);
}

const StatusPanelView& HeadlessProgram::StatusPanel(int player) const {
  return player == 2 ? program_.mainForm->Player2InfoBox : program_.mainForm->Player1InfoBox;
}

PictureImage& HeadlessProgram::TilePicture(int code) {
  const auto& holders = program_.mainForm->A;
  if (code < 0 || code >= static_cast<int>(holders.size()) || !holders[code])
    throw std::out_of_range("no tile picture for code " + std::to_string(code));
  return holders[code]->image;
}
