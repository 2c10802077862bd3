#include "platform/sound_libraries.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace {

template <typename Table>
struct Opened {
  Table table;
  std::string error;
};

template <typename Function>
void Resolve(void* handle, const std::string& file, const char* name, Function& function,
             std::string& error) {
  if (!error.empty()) return;
  function = reinterpret_cast<Function>(dlsym(handle, name));
  if (!function) error = file + " has no function " + name;
}

// A failed file is not closed again: what its loading started may still hold on to it.
template <typename Table, typename ResolveAll>
const Table* OpenOnce(const std::string& file, std::string& error, ResolveAll resolveAll) {
  static std::mutex mutex;
  // Never destroyed: the mixer's thread may use a table while the program exits.
  static auto* opened = new std::map<std::string, Opened<Table>>;
  std::lock_guard lock(mutex);
  auto [at, fresh] = opened->try_emplace(file);
  Opened<Table>& entry = at->second;
  if (fresh) {
    if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL))
      resolveAll(handle, entry.table, entry.error);
    else
      entry.error = dlerror();
  }
  if (!entry.error.empty()) {
    error = entry.error;
    return nullptr;
  }
  return &entry.table;
}

}  // namespace

#define TROK_RESOLVE(name) Resolve(handle, file, #name, table.name, failure);

const MixerLibrary* OpenMixerLibrary(const std::string& file, std::string& error) {
  return OpenOnce<MixerLibrary>(file, error, [&](void* handle, MixerLibrary& table, std::string& failure) {
    TROK_MIXER_FUNCTIONS(TROK_RESOLVE)
  });
}

const SynthLibrary* OpenSynthLibrary(const std::string& file, std::string& error) {
  return OpenOnce<SynthLibrary>(file, error, [&](void* handle, SynthLibrary& table, std::string& failure) {
    TROK_SYNTH_FUNCTIONS(TROK_RESOLVE)
  });
}

#undef TROK_RESOLVE
