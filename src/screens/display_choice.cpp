#include "screens/display_choice.h"

#include "base/file_saving.h"
#include "base/files.h"

namespace {
// Far more than the word and its line end; a larger file is not ours.
constexpr std::size_t kLongestFile = 64;
}  // namespace

DisplayChoice ReadDisplayChoice() {
  std::string text, error;
  if (!ReadWholeFile(DisplayChoiceFileName, text, error, kLongestFile)) return DisplayChoice::FullScreen;
  const auto first = text.find_first_not_of(" \t\r\n");
  const auto last = text.find_last_not_of(" \t\r\n");
  if (first == std::string::npos) return DisplayChoice::FullScreen;
  return text.substr(first, last - first + 1) == "window" ? DisplayChoice::Window : DisplayChoice::FullScreen;
}

bool SaveDisplayChoice(DisplayChoice choice, std::string& error) {
  return ReplaceFile(DisplayChoiceFileName, choice == DisplayChoice::Window ? "window\n" : "fullscreen\n", error);
}
