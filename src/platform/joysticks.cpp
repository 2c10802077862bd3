#include "platform/joysticks.h"

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "base/files.h"

int ScaleJoystickAxis(int raw) {
  if (raw < -32768) raw = -32768;
  if (raw > 32767) raw = 32767;
  // Each side has its own span so that both ends reach exactly 1000.
  const int span = raw < 0 ? 32768 : 32767;
  const int scaled = raw * 1000;
  return scaled < 0 ? (scaled - span / 2) / span : (scaled + span / 2) / span;
}

struct Joystick::Impl {
  SDL_GameController* controller = nullptr;
  SDL_Joystick* joystick = nullptr;  // the controller's own one when controller is set
  SDL_JoystickGUID guid{};

  void Close() {
    if (controller)
      SDL_GameControllerClose(controller);
    else if (joystick)
      SDL_JoystickClose(joystick);
    controller = nullptr;
    joystick = nullptr;
  }
  // Opens device `index`; false (and nothing held) when refused.
  bool OpenIndex(int index) {
    if (SDL_IsGameController(index)) {
      controller = SDL_GameControllerOpen(index);
      if (controller) joystick = SDL_GameControllerGetJoystick(controller);
    } else {
      joystick = SDL_JoystickOpen(index);
    }
    if (!joystick) {
      Close();
      return false;
    }
    guid = SDL_JoystickGetGUID(joystick);
    return true;
  }
};

Joystick::Joystick(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {
  const char* n = impl_->controller ? SDL_GameControllerName(impl_->controller)
                                    : SDL_JoystickName(impl_->joystick);
  name_ = n ? n : "Joystick";
}

Joystick::~Joystick() { impl_->Close(); }

bool Joystick::IsGameController() const { return impl_->controller != nullptr; }

bool Joystick::Poll() {
  if (!impl_->joystick) return false;
  SDL_JoystickUpdate();
  return SDL_JoystickGetAttached(impl_->joystick) == SDL_TRUE;
}

bool Joystick::Reacquire() {
  SDL_JoystickUpdate();
  if (impl_->joystick && SDL_JoystickGetAttached(impl_->joystick)) return true;
  // Plugged back in, the device returns under a new identity: find it by its kind,
  // preferring one that nobody holds open (a twin may belong to the other player).
  const int count = SDL_NumJoysticks();
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < count; ++i) {
      SDL_JoystickGUID g = SDL_JoystickGetDeviceGUID(i);
      if (std::memcmp(g.data, impl_->guid.data, sizeof g.data) != 0) continue;
      if (pass == 0 && SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(i))) continue;
      Impl fresh;
      if (!fresh.OpenIndex(i)) continue;
      impl_->Close();
      *impl_ = fresh;
      return true;
    }
  }
  return false;
}

bool Joystick::Read(JoystickState& state) const {
  if (!impl_->joystick || !SDL_JoystickGetAttached(impl_->joystick)) return false;
  if (SDL_GameController* c = impl_->controller) {
    state.X = ScaleJoystickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    state.Y = ScaleJoystickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    state.Fire = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_A) != 0;
    state.Menu = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_B) != 0;
    return true;
  }
  SDL_Joystick* j = impl_->joystick;
  // Missing axes or buttons read as centred and released.
  state.X = SDL_JoystickNumAxes(j) > 0 ? ScaleJoystickAxis(SDL_JoystickGetAxis(j, 0)) : 0;
  state.Y = SDL_JoystickNumAxes(j) > 1 ? ScaleJoystickAxis(SDL_JoystickGetAxis(j, 1)) : 0;
  state.Fire = SDL_JoystickNumButtons(j) > 0 && SDL_JoystickGetButton(j, 0) != 0;
  state.Menu = SDL_JoystickNumButtons(j) > 1 && SDL_JoystickGetButton(j, 1) != 0;
  return true;
}

bool JoystickSystem::Start(std::string& error) {
  if (started_) return true;
  // Devices are looked at when asked (every read and count updates first), not by
  // every pass of the event pump.
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
    error = SDL_GetError();
    return false;
  }
  started_ = true;
  return true;
}

void JoystickSystem::Stop() {
  if (!started_) return;
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  started_ = false;
}

int JoystickSystem::AddMappingFiles(const std::string& fileName, std::vector<std::string>& refused) {
  if (!started_) return 0;
  std::vector<std::filesystem::path> files;
  if (char* base = SDL_GetBasePath()) {
    files.push_back(std::filesystem::path(base) / fileName);
    SDL_free(base);
  }
  files.push_back(fileName);
  int added = 0;
  std::error_code ec;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!std::filesystem::exists(files[i], ec)) continue;
    // Started in its own folder, the program has one file, not two.
    if (i > 0 && std::filesystem::equivalent(files[i], files[0], ec)) continue;
    // Read by us, not by SDL, which would take a file of any size or kind whole.
    std::string text, error;
    if (!ReadWholeFile(files[i].string(), text, error, MaxMappingFileBytes)) {
      refused.push_back(error);
      continue;
    }
    SDL_RWops* bytes = SDL_RWFromConstMem(text.data(), static_cast<int>(text.size()));
    const int n = bytes ? SDL_GameControllerAddMappingsFromRW(bytes, 1) : 0;
    if (n > 0) added += n;
  }
  return added;
}

int JoystickSystem::AttachedCount() const {
  if (!started_) return 0;
  // Picks up devices plugged in or removed since the last look.
  SDL_JoystickUpdate();
  const int n = SDL_NumJoysticks();
  return n > 0 ? n : 0;
}

std::unique_ptr<Joystick> JoystickSystem::Open(int deviceIndex) const {
  if (!started_ || deviceIndex < 0 || deviceIndex >= SDL_NumJoysticks()) return nullptr;
  auto impl = std::make_unique<Joystick::Impl>();
  if (!impl->OpenIndex(deviceIndex)) return nullptr;
  return std::unique_ptr<Joystick>(new Joystick(std::move(impl)));
}
