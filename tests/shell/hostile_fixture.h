#pragma once
// The real program in a game directory that a player (or something worse) has tampered
// with: folders, FIFOs and links where files belong, a disk that is full. Every box the
// program shows is answered with Enter and its text kept, in order.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/keys.h"
#include "shell/game_directory_fixture.h"
#include "support/small_disk.h"
#include "support/watchdog.h"

class HostileDirectoryTest : public GameDirectoryTest {
 protected:
  inline static const std::string ObjectsError =
      "Error loading objects. Please make sure the objects directory exists and that it is in "
      "the same directory as this program.";
  inline static const std::string CaptureError =
      "Error capturing screen. Please make sure the directory of TROK is writable. If it is and "
      "captures still fail, please report it to the TROK Mirel team with the message above.";

  void TearDown() override {
    // The program and the working directory leave the small disk before it goes.
    program.reset();
    if (!previousDir.empty()) std::filesystem::current_path(previousDir);
    disk_.reset();
    GameDirectoryTest::TearDown();
  }

  // Like StartProgram, with every box answered from the very first one, which may open
  // while the windows are made.
  void StartAnsweringBoxes() {
    program = std::make_unique<HeadlessProgram>();
    // Enter closes a box at once, so each box is seen by one check.
    Timer& answer = program->CreateTimer();
    answer.onTimer = [this, &answer] {
      const auto& open = program->OpenBoxes();
      if (answerBoxes && !open.empty()) {
        boxes.push_back(open.back());
        PushKey(VK::Enter, Now() + 1);
      }
      answer.SetInterval(0);
      answer.SetInterval(50);
    };
    answer.SetInterval(50);
    std::string error;
    ASSERT_TRUE(program->Start(error)) << error;
  }

  // Types the first key and lets start-up run. A box answered before swallows the
  // characters of its key until the next key press, so the key goes first, as typed.
  void TypeFirstKey() {
    PushKey('A', Now() + 5);
    PushChar('a', Now() + 6);
    RunFor(500);
  }

  // Objects/ as a copy of its own, so a tile can be tampered with.
  void CopyObjects() {
    std::filesystem::remove(dir / "Objects");
    std::filesystem::copy(std::filesystem::path(TROK_GAME_DIR) / "Objects", dir / "Objects");
  }

  // The game directory moves onto a tmpfs of `kilobytes`; false (and a reason) when none
  // can be mounted here.
  bool MoveOntoSmallDisk(int kilobytes, std::string& why) {
    namespace fs = std::filesystem;
    disk_ = std::make_unique<SmallDisk>(dir / "disk", kilobytes);
    if (!disk_->Mounted()) {
      why = disk_->SkipReason();
      return false;
    }
    for (const auto& entry : fs::directory_iterator(dir)) {
      const fs::path name = entry.path().filename();
      if (name == "disk") continue;
      if (entry.is_symlink())
        fs::create_directory_symlink(fs::read_symlink(entry.path()), dir / "disk" / name);
      else
        fs::copy(entry.path(), dir / "disk" / name, fs::copy_options::recursive);
    }
    fs::current_path(dir / "disk");
    return true;
  }
  SmallDisk& Disk() { return *disk_; }

  static std::string Text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static bool IsFifo(const std::filesystem::path& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
  }

  std::vector<std::string> boxes;
  bool answerBoxes = true;  // off while a test answers a box itself

 private:
  std::unique_ptr<SmallDisk> disk_;
};
