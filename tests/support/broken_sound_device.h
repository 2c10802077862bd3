#pragma once
// While it lives, SDL's audio driver is one that cannot open, so the program meets a
// machine without a sound device; the previous setting comes back afterwards.
#include <cstdlib>
#include <optional>
#include <string>

class BrokenSoundDevice {
 public:
  BrokenSoundDevice() {
    if (const char* value = std::getenv("SDL_AUDIODRIVER")) previous_ = value;
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  }
  ~BrokenSoundDevice() {
    if (previous_)
      setenv("SDL_AUDIODRIVER", previous_->c_str(), 1);
    else
      unsetenv("SDL_AUDIODRIVER");
  }
  BrokenSoundDevice(const BrokenSoundDevice&) = delete;
  BrokenSoundDevice& operator=(const BrokenSoundDevice&) = delete;

 private:
  std::optional<std::string> previous_;
};
