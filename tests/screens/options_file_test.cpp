// Options.dat as the screen reads and writes it.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "options_fixture.h"
#include "base/files.h"
#include "base/keys.h"
#include "support/file_faults.h"

namespace fs = std::filesystem;

namespace {

const char* const LoadFailed = "Error loading 'Options.dat' file. ";
const char* const CannotWrite = "Option settings not saved. Please make sure the disk is not write protected.";

TEST_F(OptionsTest, FreshDirectoryShowsDefaultsAndSavesTheDefaultFile) {
  MakeForm();
  EXPECT_EQ(form->GameSpeedEdit->text, "16");
  EXPECT_EQ(form->P1UpEdit()->text, "Up");
  EXPECT_EQ(form->KeyCode(*form->P2MenuEdit()), 65);
  form->SaveOptions();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(ReadFile(), DefaultOptionsText);
  EXPECT_FALSE(fs::exists("Options.dat.new"));
}

TEST_F(OptionsTest, ChangedValuesSurviveSaveAndLoad) {
  MakeForm();
  for (DropDown* box : {form->P1ControlBox, form->P2ControlBox}) box->items.push_back("Pad");
  form->P1ControlBox->selectedIndex = 1;
  form->GameSpeedEdit->text = "-3";
  form->CaptureKey(VK::Numpad0 + 5, *form->P1FireEdit());
  form->CaptureKey(VK::Backslash, *form->P2UpEdit());
  form->SoundEdit->text = "Off";
  form->SaveOptions();
  EXPECT_EQ(ReadFile(),
            "-3\r\n"
            "1 Up 38 Down 40 Left 37 Right 39 N5 101 Shift 16 \r\n"
            "0 | 220 G 71 F 70 H 72 Z 90 A 65 \r\n"
            "Off\r\n"
            "On\r\n");

  // A new run: the constructor sees only the keyboard, the second reading the pad.
  form.reset();
  MakeForm();
  EXPECT_EQ(form->P1ControlBox->selectedIndex, 0);
  for (DropDown* box : {form->P1ControlBox, form->P2ControlBox}) box->items.push_back("Pad");
  form->LoadOptions();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(form->P1ControlBox->selectedIndex, 1);
  EXPECT_EQ(form->P2ControlBox->selectedIndex, 0);
  EXPECT_EQ(form->GameSpeedEdit->text, "-3");
  EXPECT_EQ(form->P1FireEdit()->text, "N5");
  EXPECT_EQ(form->KeyCode(*form->P1FireEdit()), 101);
  EXPECT_EQ(form->P2UpEdit()->text, "|");
  EXPECT_EQ(form->KeyCode(*form->P2UpEdit()), 220);
  EXPECT_EQ(form->SoundEdit->text, "Off");
  EXPECT_EQ(form->MusicEdit->text, "On");
}

TEST_F(OptionsTest, NameAndCodeAreTakenAsTheFileGivesThem) {
  WriteFile("7\n0 Q 38 Down 40 Left 37 Right 39 Ctrl 17 Shift 16\n"
            "5 T 84 G 71 F 70 H 72 Z 90 Banana -12\nOff Maybe\n");
  MakeForm();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(form->GameSpeedEdit->text, "7");
  EXPECT_EQ(form->P1UpEdit()->text, "Q");
  EXPECT_EQ(form->KeyCode(*form->P1UpEdit()), 38);
  EXPECT_EQ(form->P2MenuEdit()->text, "Banana");
  EXPECT_EQ(form->KeyCode(*form->P2MenuEdit()), -12);
  // Device 5 does not exist: the list keeps its selection.
  EXPECT_EQ(form->P2ControlBox->selectedIndex, 0);
  EXPECT_EQ(form->SoundEdit->text, "Off");
  EXPECT_EQ(form->MusicEdit->text, "Maybe");
  form->SaveOptions();
  EXPECT_NE(ReadFile().find("\r\n0 T 84"), std::string::npos);
}

TEST_F(OptionsTest, NegativeDeviceIndexIsIgnored) {
  WriteFile("16 -1 Up 38 Down 40 Left 37 Right 39 Ctrl 17 Shift 16 0 T 84 G 71 F 70 H 72 Z 90 A 65 On On");
  MakeForm();
  EXPECT_EQ(form->P1ControlBox->selectedIndex, 0);
}

struct DamagedCase {
  const char* name;
  std::string text;
  std::string fault;  // part of the first box's text
};

class DamagedOptionsFile : public OptionsTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedOptionsFile, KeepsWhatWasReadAndSaysSo) {
  WriteFile(GetParam().text);
  AnswerBoxes({VK::Enter, VK::Enter});
  MakeForm();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find(GetParam().fault), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[1], LoadFailed);
  // Each case breaks inside player 1's line, after the speed and the Up pair.
  EXPECT_EQ(form->GameSpeedEdit->text, "9");
  EXPECT_EQ(form->P1UpEdit()->text, "W");
  EXPECT_EQ(form->KeyCode(*form->P1UpEdit()), 87);
  EXPECT_EQ(form->P1RightEdit()->text, "Right");
  EXPECT_EQ(form->P2UpEdit()->text, "T");
  EXPECT_EQ(form->SoundEdit->text, "On");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedOptionsFile,
    ::testing::Values(DamagedCase{"EndsEarly", "9\r\n0 W 87 S", "end of file"},
                      DamagedCase{"WordForANumber", "9 0 W 87 S down", "'down' is not a valid integer"},
                      DamagedCase{"NumberTooBig", "9 0 W 87 S 99999999999", "not a valid integer"},
                      DamagedCase{"OverlongWord", "9 0 W 87 " + std::string(400, 'x') + " 83",
                                  "longer than 51"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(OptionsTest, LongestWordIsTaken) {
  const std::string word(51, 'k');
  WriteFile("16 0 " + word + " 38");
  AnswerBoxes({VK::Enter, VK::Enter});
  MakeForm();
  EXPECT_EQ(form->P1UpEdit()->text, word);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("end of file"), std::string::npos);
}

TEST_F(OptionsTest, EmptyAndBinaryFilesDoNotCrash) {
  WriteFile("");
  AnswerBoxes({VK::Enter, VK::Enter});
  MakeForm();
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_EQ(form->GameSpeedEdit->text, "16");

  boxes.clear();
  std::string junk;
  for (int i = 0; i < 3000; ++i) junk += static_cast<char>((i * 7919) % 256);
  WriteFile(junk);
  AnswerBoxes({VK::Enter, VK::Enter});
  form->LoadOptions();
  EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(OptionsTest, UnreadableFileReportsAndKeepsValues) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteFile("3 0 W 87");
  ::chmod(OptionsFileName, 0);
  AnswerBoxes({VK::Enter});
  MakeForm();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Unable to open 'Options.dat' file. Please make sure the disk is accessable.");
  EXPECT_EQ(form->GameSpeedEdit->text, "16");
}

TEST_F(OptionsTest, ReadOnlyFileAnsweredNoStaysUntouched) {
  WriteFile("5\r\nold\r\n");
  ::chmod(OptionsFileName, 0444);
  AnswerBoxes({VK::Enter, VK::Enter});  // the short file is reported while the form reads it
  MakeForm();
  boxes.clear();
  AnswerBoxes({'N', VK::Enter});
  form->SaveOptions();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "The 'Options.dat' file is read-only. Do you want to make this file write able?");
  EXPECT_EQ(boxes[1], "Options settings NOT saved.");
  EXPECT_EQ(ReadFile(), "5\r\nold\r\n");
  EXPECT_TRUE(FileIsReadOnly(OptionsFileName));
}

TEST_F(OptionsTest, ReadOnlyFileAnsweredYesIsSaved) {
  WriteFile(DefaultOptionsText);
  ::chmod(OptionsFileName, 0444);
  MakeForm();
  form->GameSpeedEdit->text = "30";
  AnswerBoxes({'Y'});
  form->SaveOptions();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(FileIsReadOnly(OptionsFileName));
  EXPECT_EQ(ReadFile().substr(0, 4), "30\r\n");
}

TEST_F(OptionsTest, FailedWriteLeavesTheOldFile) {
  WriteFile(DefaultOptionsText);
  MakeForm();
  form->GameSpeedEdit->text = "99";
  AnswerBoxes({VK::Enter});
  {
    FullDiskWrites full;
    form->SaveOptions();
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], CannotWrite);
  EXPECT_EQ(ReadFile(), DefaultOptionsText);
  EXPECT_EQ(NamesStartingWith(dir, "Options.dat.new"), std::vector<std::string>{});
}

TEST_F(OptionsTest, ReadOnlyDirectoryLeavesTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  WriteFile(DefaultOptionsText);
  MakeForm();
  form->GameSpeedEdit->text = "99";
  fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
  AnswerBoxes({VK::Enter});
  form->SaveOptions();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], CannotWrite);
  EXPECT_EQ(ReadFile(), DefaultOptionsText);
}

}  // namespace
