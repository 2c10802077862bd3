#include "music_maker/drum_names.h"

#include <map>

int DrumKey(const std::string& name) {
  static const std::map<std::string, int> drums = {
      {"akick", 35},   {"kick", 36},    {"stick", 37},    {"snare", 38},   {"clap", 39},
      {"esnare", 40},  {"lftom", 41},   {"hat", 42},      {"hftom", 43},   {"phat", 44},
      {"tom", 45},     {"ohat", 46},    {"mtom", 47},     {"hmtom", 48},   {"crash", 49},
      {"htom", 50},    {"ride", 51},    {"china", 52},    {"rbell", 53},    {"tamb", 54},
      {"splash", 55},  {"cowbell", 56}, {"crash2", 57},   {"vslap", 58},   {"ride2", 59},
      {"hbongo", 60},  {"lbongo", 61},  {"mconga", 62},   {"hconga", 63},  {"lconga", 64},
      {"htimb", 65},   {"ltimb", 66},   {"hagogo", 67},   {"lagogo", 68},  {"cabasa", 69},
      {"maracas", 70}, {"swhistle", 71}, {"lwhistle", 72}, {"sguiro", 73}, {"lguiro", 74},
      {"claves", 75},  {"hwood", 76},   {"lwood", 77},    {"mcuica", 78},  {"ocuica", 79},
      {"mtri", 80},    {"otri", 81}};
  const auto it = drums.find(name);
  return it == drums.end() ? -1 : it->second;
}
