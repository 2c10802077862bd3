#include "editor/level_files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "authoring/level_io.h"
#include "base/file_saving.h"
#include "base/files.h"

namespace {

constexpr const char* LevelFolder = "FELDS";

// The heading comment lines of a text source, without their '#'.
std::string HeadingComment(const std::string& text) {
  std::string comment;
  size_t at = 0;
  while (at < text.size() && text[at] == '#') {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at + 1, end - at - 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == ' ') line.erase(0, 1);
    comment += line + "\n";
    at = end + 1;
  }
  return comment;
}

OpenedLevel OpenText(const std::string& path) {
  OpenedLevel result;
  std::string text, why;
  if (!ReadWholeFile(path, text, why)) {
    result.message = "Cannot open the level. " + why;
    return result;
  }
  TextError error;
  auto bytes = ParseLevelText(text, error);
  if (!bytes) {
    result.message = "Cannot open \"" + path + "\": it is not a level in the text form.\n" + error.Format();
    return result;
  }
  result.document = std::make_unique<LevelDocument>(*bytes, path, LevelForm::Text, HeadingComment(text));
  return result;
}

OpenedLevel OpenLevelFile(const std::string& path) {
  OpenedLevel result;
  std::vector<uint8_t> data;
  std::string why;
  if (!ReadFileStart(path, LevelFileSize + 1, data, why)) {
    result.message = "Cannot open the level. " + why;
    return result;
  }
  const size_t size = data.size();
  std::array<uint8_t, LevelFileSize> file{};
  // Missing bytes read as the scrambling key's own bytes, so they unscramble to floor.
  const auto key = BuildLevelKey();
  for (size_t n = 0; n < file.size(); ++n) file[n] = n < size ? data[n] : key[n % LevelKeySize];
  LevelBytes bytes = UnscrambleLevel(file.data());
  result.document = std::make_unique<LevelDocument>(bytes, path, LevelForm::LevelFile);
  if (size < static_cast<size_t>(LevelFileSize)) {
    result.document->MarkUnsaved();
    result.message = "\"" + path + "\" is damaged: it holds " + std::to_string(size) +
                     " bytes, but a level file has " + std::to_string(LevelFileSize) +
                     ". The game cannot play it. What it holds is shown, the missing cells as floor; "
                     "saving writes a whole level.";
  } else if (size > static_cast<size_t>(LevelFileSize)) {
    result.document->MarkUnsaved();
    result.message = "\"" + path + "\" is longer than a level file (" + std::to_string(LevelFileSize) +
                     " bytes). The game reads only the first " + std::to_string(LevelFileSize) +
                     ", which are shown; saving writes only those.";
  }
  return result;
}

std::string LevelFolderOf(const std::string& gameDir) { return gameDir + LevelFolder; }

}  // namespace

LevelForm FormOfName(const std::string& path) {
  return IsLevelSourceName(path) ? LevelForm::Text : LevelForm::LevelFile;
}

OpenedLevel OpenLevel(const std::string& path) {
  return FormOfName(path) == LevelForm::Text ? OpenText(path) : OpenLevelFile(path);
}

std::string LevelFileContents(const LevelDocument& document, LevelForm form) {
  if (form == LevelForm::Text) return FormatLevelText(document.Bytes(), document.Comment());
  const auto file = ScrambleLevel(document.Bytes());
  return std::string(file.begin(), file.end());
}

bool SaveLevelAs(const LevelDocument& document, const std::string& path, LevelForm form, std::string& error) {
  return ReplaceFile(path, LevelFileContents(document, form), error);
}

std::string NextFreeLevelFile(const std::string& gameDir, int& number) {
  for (number = 0;; ++number) {
    const std::string path = LevelFileName(gameDir, number);
    if (!NameTaken(path)) return path;
  }
}

bool SaveAsNextLevel(const LevelDocument& document, const std::string& gameDir, std::string& path,
                     std::string& error) {
  const std::string contents = LevelFileContents(document, LevelForm::LevelFile);
  int number = 0;
  for (int tries = 0; tries < 100; ++tries) {
    path = NextFreeLevelFile(gameDir, number);
    switch (WriteNewFile(path, contents, error)) {
      case NewFileResult::Written: return true;
      case NewFileResult::NameTaken: continue;
      case NewFileResult::Failed: return false;
    }
  }
  error = "Cannot find a free level number in \"" + LevelFolderOf(gameDir) + "\".";
  return false;
}

bool LevelFolderIsSharedReadOnly(const std::string& gameDir) {
  const std::string folder = LevelFolderOf(gameDir);
  struct stat st;
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
  return ::access(folder.c_str(), W_OK) != 0;
}

bool MakeOwnLevelFolder(const std::string& gameDir, std::string& error) {
  const std::string folder = LevelFolderOf(gameDir);
  const std::string fresh = folder + ".own-" + std::to_string(::getpid());
  if (::mkdir(fresh.c_str(), 0755) != 0) {
    error = "Cannot make a levels folder of your own (\"" + fresh + "\"): " + FileErrorText(errno) + ".";
    return false;
  }
  auto giveUp = [&](const std::string& why) {
    if (DIR* d = ::opendir(fresh.c_str())) {
      while (const dirent* e = ::readdir(d))
        if (e->d_name[0] != '.') ::unlink((fresh + "/" + e->d_name).c_str());
      ::closedir(d);
    }
    ::rmdir(fresh.c_str());
    error = why;
    return false;
  };
  DIR* shared = ::opendir(folder.c_str());
  if (!shared) return giveUp("Cannot read the levels folder \"" + folder + "\": " + FileErrorText(errno) + ".");
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(shared))
    if (std::string(e->d_name).rfind("FELD.", 0) == 0) names.push_back(e->d_name);
  ::closedir(shared);
  for (const std::string& name : names) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(folder + "/" + name, bytes, why)) return giveUp(why);
    if (WriteNewFile(fresh + "/" + name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     why) != NewFileResult::Written)
      return giveUp(why);
  }
  // The link goes only once every copy is made; if the folder cannot take its place the
  // link comes back.
  std::string target(4096, '\0');
  const ssize_t n = ::readlink(folder.c_str(), target.data(), target.size() - 1);
  if (n <= 0) return giveUp("Cannot read the link \"" + folder + "\".");
  target.resize(static_cast<size_t>(n));
  if (::unlink(folder.c_str()) != 0)
    return giveUp("Cannot replace the link \"" + folder + "\": " + FileErrorText(errno) + ".");
  if (::rename(fresh.c_str(), folder.c_str()) != 0) {
    const int why = errno;
    ::symlink(target.c_str(), folder.c_str());
    return giveUp("Cannot put the levels folder in place: " + FileErrorText(why) + ".");
  }
  return true;
}
