#include "sound_maker/sound_recipe.h"

#include <cmath>
#include <map>
#include <sstream>

namespace {

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  size_t used = 0;
  try {
    value = std::stod(text, &used);
  } catch (...) {
    return false;
  }
  return used == text.size() && std::isfinite(value);
}

bool ParseWaveform(const std::string& word, Waveform& wave) {
  static const std::map<std::string, Waveform> names = {
      {"square", Waveform::Square}, {"saw", Waveform::Saw}, {"sine", Waveform::Sine},
      {"noise", Waveform::Noise}};
  auto it = names.find(word);
  if (it == names.end()) return false;
  wave = it->second;
  return true;
}

// One key=value of a voice line; false with a reason.
bool SetVoiceKey(Voice& v, const std::string& key, const std::string& value, std::string& why) {
  if (key == "steps") {
    std::stringstream list(value);
    std::string item;
    while (std::getline(list, item, ',')) {
      double s = 0;
      if (!ParseNumber(item, s)) {
        why = "bad arpeggio step '" + item + "'";
        return false;
      }
      v.steps.push_back(s);
    }
    return true;
  }
  double x = 0;
  if (!ParseNumber(value, x)) {
    why = "bad number '" + value + "' for " + key;
    return false;
  }
  const std::map<std::string, std::pair<double*, std::pair<double, double>>> numbers = {
      {"at", {&v.at, {0, 10}}},          {"length", {&v.length, {0.001, 10}}},
      {"from", {&v.from, {1, 11000}}},   {"to", {&v.to, {1, 11000}}},
      {"volume", {&v.volume, {0, 1}}},   {"attack", {&v.attack, {0, 10}}},
      {"decay", {&v.decay, {0, 10}}},    {"sustain", {&v.sustain, {0, 1}}},
      {"release", {&v.release, {0, 10}}}, {"duty", {&v.duty, {0.05, 0.95}}},
      {"step", {&v.step, {0.005, 10}}},  {"vibrato", {&v.vibrato, {0, 100}}},
      {"depth", {&v.depth, {0, 24}}},    {"lowpass", {&v.lowpass, {0, 11000}}}};
  auto it = numbers.find(key);
  if (it == numbers.end()) {
    why = "unknown key '" + key + "'";
    return false;
  }
  const auto [lo, hi] = it->second.second;
  if (x < lo || x > hi) {
    why = key + " out of range";
    return false;
  }
  *it->second.first = x;
  return true;
}

}  // namespace

std::optional<std::vector<SoundRecipe>> ParseRecipes(const std::string& text, std::string& error) {
  std::vector<SoundRecipe> sounds;
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  bool inSound = false;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };
  auto find = [&](const std::string& name) -> const SoundRecipe* {
    for (const SoundRecipe& s : sounds)
      if (s.name == name) return &s;
    return nullptr;
  };
  while (std::getline(in, line)) {
    ++lineNumber;
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string head;
    if (!(words >> head)) continue;
    if (head == "sound") {
      std::string name, extra;
      if (!(words >> name) || (words >> extra)) return fail("expected: sound <name>");
      if (find(name)) return fail("sound '" + name + "' defined twice");
      sounds.push_back(SoundRecipe{name, {}, 1});
      inSound = true;
    } else if (head == "voice") {
      if (!inSound) return fail("voice outside a sound");
      Voice v;
      std::string word;
      if (!(words >> word) || !ParseWaveform(word, v.wave)) return fail("unknown waveform");
      while (words >> word) {
        const size_t eq = word.find('=');
        if (eq == std::string::npos) return fail("expected key=value, got '" + word + "'");
        std::string why;
        if (!SetVoiceKey(v, word.substr(0, eq), word.substr(eq + 1), why)) return fail(why);
      }
      sounds.back().voices.push_back(v);
    } else if (head == "variant") {
      std::string name, of, base, shift, extra;
      if (!(words >> name >> of >> base >> shift) || of != "of" || (words >> extra) ||
          shift.rfind("semitones=", 0) != 0)
        return fail("expected: variant <name> of <sound> semitones=<n>");
      double semitones = 0;
      if (!ParseNumber(shift.substr(10), semitones) || std::abs(semitones) > 24)
        return fail("bad semitones");
      const SoundRecipe* baseRecipe = find(base);
      if (!baseRecipe) return fail("variant of unknown sound '" + base + "'");
      if (find(name)) return fail("sound '" + name + "' defined twice");
      SoundRecipe copy = *baseRecipe;
      copy.name = name;
      copy.pitch = baseRecipe->pitch * std::pow(2.0, semitones / 12.0);
      sounds.push_back(std::move(copy));
      inSound = false;
    } else {
      return fail("unknown line '" + head + "'");
    }
  }
  for (const SoundRecipe& s : sounds)
    if (s.voices.empty()) {
      error = "sound '" + s.name + "' has no voices";
      return std::nullopt;
    }
  return sounds;
}
