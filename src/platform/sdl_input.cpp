#include "platform/sdl_input.h"

#include <SDL.h>
#include <poll.h>
#include <sys/prctl.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "base/keys.h"
#include "platform/sdl_keys.h"
#include "platform/window.h"

namespace {

// Characters of the Windows code page only: UTF-8 decoded, Latin-1 kept, the rest dropped.
void TypedCharacters(const char* utf8, std::deque<InputEvent>& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8);
  while (*p) {
    uint32_t cp;
    int extra;
    if (*p < 0x80) cp = *p, extra = 0;
    else if ((*p & 0xE0) == 0xC0) cp = *p & 0x1F, extra = 1;
    else if ((*p & 0xF0) == 0xE0) cp = *p & 0x0F, extra = 2;
    else if ((*p & 0xF8) == 0xF0) cp = *p & 0x07, extra = 3;
    else {
      ++p;
      continue;
    }
    ++p;
    bool valid = true;
    for (int i = 0; i < extra; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (*p & 0x3F);
    }
    if (!valid || cp < 32 || cp == 127 || (cp >= 0x80 && cp < 0xA0) || cp > 0xFF) continue;
    InputEvent e;
    e.type = InputEvent::Type::Char;
    e.ch = static_cast<char>(cp);
    out.push_back(e);
  }
}

MouseButton ButtonOf(uint8_t b, bool& known) {
  known = true;
  if (b == SDL_BUTTON_LEFT) return MouseButton::Left;
  if (b == SDL_BUTTON_RIGHT) return MouseButton::Right;
  if (b == SDL_BUTTON_MIDDLE) return MouseButton::Middle;
  known = false;
  return MouseButton::Left;
}

}  // namespace

SdlInput::SdlInput(Window& window) : window_(window) {
  // The kernel may end this thread's waits up to its timer slack late (50 µs by
  // default); a game pass that is to last its milliseconds exactly asks for 1 µs.
  prctl(PR_SET_TIMERSLACK, 1000UL);
}

void SdlInput::Poll(std::deque<InputEvent>& pending) {
  if (!SDL_WasInit(SDL_INIT_EVENTS) || !PumpNeeded()) return;
  pumpDue_ = false;
  lastPumpMs_ = lastLookMs_ = SDL_GetTicks64();
  SDL_Event ev;
  while (SDL_PollEvent(&ev)) Translate(ev, pending);
}

// Each pump reads the display connection several times: a loop that handles messages
// every millisecond would spend most of its time there finding nothing.
bool SdlInput::PumpNeeded() {
  // Events the library read while the window waited for a reply leave nothing on the
  // connection. A present and a display switch ask for them at once (PumpNextTime); the
  // rarer rest, and devices plugged in, wait this long at most. A game pass that pumped
  // every time it woke spent a third of its time here.
  constexpr uint64_t kQuietPumpMs = 50;
  const int fd = DisplayConnection();
  const uint64_t now = SDL_GetTicks64();
  if (fd < 0 || pumpDue_ || now - lastPumpMs_ >= kQuietPumpMs || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
    return true;
  // The room scan handles messages after every row: within one millisecond, the
  // connection is looked at once.
  if (now == lastLookMs_) return false;
  lastLookMs_ = now;
  pollfd connection{fd, POLLIN, 0};
  return poll(&connection, 1, 0) != 0;
}

int SdlInput::DisplayConnection() {
  if (displayConnection_ < 0) displayConnection_ = window_.DisplayConnection();
  return displayConnection_;
}

void SdlInput::Wait(uint64_t timeoutMicros, std::deque<InputEvent>& pending) {
  if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
  // SDL's own wait reads the display connection several times around each sleep; a
  // game waiting a few milliseconds hundreds of times a second only needs to sleep
  // until the server writes, then read it once.
  if (const int fd = DisplayConnection(); fd >= 0) {
    // Whatever the library already holds (and its requests flushed) before sleeping;
    // the time that took is part of the wait, or every pass would overrun by it.
    const auto begun = std::chrono::steady_clock::now();
    const size_t before = pending.size();
    Poll(pending);
    if (pending.size() != before) return;
    const auto spent = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begun);
    if (static_cast<uint64_t>(spent.count()) >= timeoutMicros) return;
    const uint64_t rest = timeoutMicros - static_cast<uint64_t>(spent.count());
    pollfd connection{fd, POLLIN, 0};
    const timespec timeout{static_cast<time_t>(rest / 1000000), static_cast<long>(rest % 1000000) * 1000};
    if (ppoll(&connection, 1, &timeout, nullptr) != 0) Poll(pending);
    return;
  }
  // Without a connection to watch: SDL's wait for the whole milliseconds, a plain
  // sleep for the rest.
  SDL_Event ev;
  if (const auto ms = static_cast<int>(timeoutMicros / 1000); ms > 0) {
    if (SDL_WaitEventTimeout(&ev, ms)) {
      Translate(ev, pending);
      return;
    }
  }
  std::this_thread::sleep_for(std::chrono::microseconds(timeoutMicros % 1000));
  while (SDL_PollEvent(&ev)) Translate(ev, pending);
}

void SdlInput::Translate(const SDL_Event& ev, std::deque<InputEvent>& pending) {
  InputEvent e;
  switch (ev.type) {
    case SDL_QUIT:
      e.type = InputEvent::Type::Close;
      pending.push_back(e);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(ev, pending);
      break;
    case SDL_TEXTINPUT:
      TypedCharacters(ev.text.text, pending);
      break;
    case SDL_MOUSEMOTION:
      e.type = InputEvent::Type::MouseMove;
      window_.ToLogical(ev.motion.x, ev.motion.y, e.x, e.y);
      // Only the latest position of a run of moves matters.
      if (!pending.empty() && pending.back().type == InputEvent::Type::MouseMove)
        pending.back() = e;
      else
        pending.push_back(e);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      bool known;
      e.button = ButtonOf(ev.button.button, known);
      if (!known) break;
      e.type = ev.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Type::MouseDown : InputEvent::Type::MouseUp;
      window_.ToLogical(ev.button.x, ev.button.y, e.x, e.y);
      pending.push_back(e);
      break;
    }
    case SDL_MOUSEWHEEL: {
      int notches = ev.wheel.y;
      if (ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) break;
      int wx = 0, wy = 0;
      SDL_GetMouseState(&wx, &wy);
      e.type = InputEvent::Type::Wheel;
      e.wheel = notches;
      window_.ToLogical(wx, wy, e.x, e.y);
      pending.push_back(e);
      break;
    }
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(ev, pending);
      break;
    default:
      break;
  }
}

void SdlInput::TranslateKey(const SDL_Event& ev, std::deque<InputEvent>& pending) {
  int vk = VirtualKeyFromSdl(ev.key.keysym.sym, ev.key.keysym.scancode);
  if (vk == 0) return;
  bool down = ev.type == SDL_KEYDOWN;
  InputEvent e;
  if (vk == VK::F1 + 3 && (ev.key.keysym.mod & KMOD_ALT)) {
    // Alt+F4 closes the program as the system's close command does.
    if (down && !ev.key.repeat) {
      e.type = InputEvent::Type::Close;
      pending.push_back(e);
    }
    return;
  }
  if (down)
    keysDown_.insert(vk);
  else
    keysDown_.erase(vk);
  e.type = down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
  e.vk = vk;
  e.repeat = down && ev.key.repeat != 0;
  pending.push_back(e);
  if (char c = ControlCharOfKey(vk); down && c) {
    InputEvent typed;
    typed.type = InputEvent::Type::Char;
    typed.ch = c;
    pending.push_back(typed);
  }
}

void SdlInput::TranslateWindowEvent(const SDL_Event& ev, std::deque<InputEvent>& pending) {
  switch (ev.window.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Keys released while another window had the keyboard would stay held.
      for (int vk : keysDown_) {
        InputEvent up;
        up.type = InputEvent::Type::KeyUp;
        up.vk = vk;
        pending.push_back(up);
      }
      keysDown_.clear();
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
      window_.PictureLost();
      break;
    default:
      break;
  }
}
