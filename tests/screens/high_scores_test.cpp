#include "screens/high_scores.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "ui/app.h"
#include "base/clock.h"
#include "base/files.h"
#include "base/keys.h"
#include "support/file_faults.h"

namespace fs = std::filesystem;

namespace {

const char* const LoadError =
    "Error loading 'HighScores.dat'. Please make sure the file exists and has not been corrupted.";

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string ShippedText() { return ReadText(fs::path(TROK_SOURCE_DIR) / "data" / "HighScores.dat"); }

// What the name dialog showed while it was open.
struct DialogSeen {
  std::string message, name;
  Color color;
  bool selected = false;
};

class HighScoresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("trok-scores-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    previousDir = fs::current_path();
    fs::current_path(dir);
    app = std::make_unique<App>(clock, true);
    std::string error;
    ASSERT_TRUE(app->Init(error)) << error;
    scores = std::make_unique<THScoreForm>(*app);
    nameForm = std::make_unique<TNameForm>(*app);
    scores->nameDialog = nameForm.get();
    nameForm->captureScreen = [this](Form& f) { captured.push_back(&f); };
    scores->showTitleMenu = [this] { ++titleMenuShown; };
    app->Show(scores.get());
  }
  void TearDown() override {
    nameForm.reset();
    scores.reset();
    app.reset();
    fs::current_path(previousDir);
    fs::permissions(dir / "HighScores.dat", fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }

  void Ship() { WriteText(dir / "HighScores.dat", ShippedText()); }
  std::string FileText() { return ReadText(dir / "HighScores.dat"); }

  uint64_t Now() { return clock.NowMs(); }
  void Push(InputEvent::Type type, int vk, uint64_t at, char ch = 0) {
    InputEvent e;
    e.type = type;
    e.vk = vk;
    e.ch = ch;
    app->PushInput(e, at);
  }
  void Key(int vk, uint64_t at) {
    Push(InputEvent::Type::KeyDown, vk, at);
    Push(InputEvent::Type::KeyUp, vk, at + 20);
  }
  void Type(const std::string& text, uint64_t at) {
    for (char c : text) Push(InputEvent::Type::Char, 0, at++, c);
  }
  void At(uint64_t at, std::function<void()> check) {
    Timer& t = app->CreateTimer();
    t.onTimer = [&t, check = std::move(check)] {
      t.SetInterval(0);
      check();
    };
    t.SetInterval(static_cast<int>(at - Now()));
  }
  void SeeDialog(uint64_t at) {
    At(at, [this] {
      seen.push_back({nameForm->HSLbl->text, nameForm->NameEdit->text, nameForm->NameEdit->color,
                      nameForm->NameEdit->selected});
    });
  }
  void SeeBoxes(uint64_t at) {
    At(at, [this] {
      for (const auto& t : app->OpenBoxTexts()) boxes.push_back(t);
    });
  }
  // Loads expecting a refusal with `message`, closed with Enter.
  void ExpectLoadRefused(const std::string& message) {
    boxes.clear();
    SeeBoxes(Now() + 10);
    Key(VK::Enter, Now() + 20);
    EXPECT_FALSE(scores->LoadHighScores());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], message);
  }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> out;
    for (int r = 1; r <= 15; ++r) out.push_back(scores->table.At(column, r));
    return out;
  }

  VirtualClock clock;
  std::unique_ptr<App> app;
  std::unique_ptr<THScoreForm> scores;
  std::unique_ptr<TNameForm> nameForm;
  fs::path dir, previousDir;
  std::vector<DialogSeen> seen;
  std::vector<std::string> boxes;
  std::vector<Form*> captured;
  int titleMenuShown = 0;
};

TEST_F(HighScoresTest, LabelsStartAsPlaceholdersAndShowTheLoadedTable) {
  EXPECT_EQ(scores->RankLbl[6]->text, "7");
  EXPECT_EQ(scores->NameLbl[6]->text, "---");
  EXPECT_EQ(scores->ScoreLbl[6]->text, "999999999999");
  EXPECT_EQ(scores->LevelsLbl[6]->text, "1");
  EXPECT_EQ(scores->NameLbl[14]->color, (Color{0, 255, 0}));
  EXPECT_EQ(scores->NameLbl[14]->width, 270);

  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  scores->ShowHighScores();
  EXPECT_EQ(scores->NameLbl[1]->text, "Tamsin Oakhollow");
  EXPECT_EQ(scores->ScoreLbl[0]->text, "24850");
  EXPECT_EQ(scores->LevelsLbl[14]->text, "1");
  EXPECT_EQ(scores->RankLbl[14]->text, "15");
}

TEST_F(HighScoresTest, SavingTheShippedTableRewritesItByteForByte) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  scores->table.cell[1][0] = "anything";  // the marker is put back on saving
  scores->SaveHighScores();
  EXPECT_EQ(FileText(), ShippedText());
  EXPECT_FALSE(fs::exists(dir / "HighScores.dat.new"));
}

TEST_F(HighScoresTest, NameWithSpacesSurvivesSavingAndLoading) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  const uint64_t t = Now();
  Type("Ann  Lee Smith ", t + 50);
  Key(VK::Enter, t + 100);
  scores->InsertHighScores({{30000, "21"}});
  ASSERT_TRUE(scores->LoadHighScores());
  EXPECT_EQ(scores->table.At(2, 1), "Ann  Lee Smith ");
  EXPECT_EQ(scores->table.At(3, 1), "30000");
  EXPECT_EQ(scores->table.At(4, 1), "21");
  EXPECT_EQ(scores->table.At(2, 2), "Mirel");
  EXPECT_NE(FileText().find("\r\n8 pelvorin 1 1 15 Ann  Lee Smith  5 30000 2 21 \r\n"),
            std::string::npos);
}

TEST_F(HighScoresTest, TieWithPlaceThreeLandsBelowItAndDropsTheLastPlace) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  const auto names = Column(2);
  SeeDialog(Now() + 30);
  Key(VK::Escape, Now() + 50);  // keeps the default name
  scores->InsertHighScores({{18775, "15"}});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, "You have a high score of 18775");

  ASSERT_TRUE(scores->LoadHighScores());
  std::vector<std::string> expected(names.begin(), names.begin() + 3);
  expected.push_back("Player 1");
  expected.insert(expected.end(), names.begin() + 3, names.begin() + 14);
  EXPECT_EQ(Column(2), expected);
  EXPECT_EQ(scores->table.At(3, 4), "18775");
  EXPECT_EQ(scores->table.At(4, 4), "15");
  for (int r = 1; r <= 15; ++r) EXPECT_EQ(scores->table.At(1, r), std::to_string(r));
  EXPECT_EQ(scores->table.rows, 16);
}

TEST_F(HighScoresTest, EqualScoreWithMoreLevelsLandsAbove) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  Key(VK::Enter, Now() + 50);
  scores->InsertHighScores({{18775, "16"}});
  EXPECT_EQ(scores->table.At(2, 3), "Player 1");
  EXPECT_EQ(scores->table.At(2, 4), "Bruno");
}

// A score beyond what the game's points reach (a table edited by hand) ranks by its
// value, not as nothing.
TEST_F(HighScoresTest, AScorePastTheGamesRangeKeepsItsPlace) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  scores->table.cell[1][3] = "3000000000";
  Key(VK::Enter, Now() + 50);
  scores->InsertHighScores({{30000, "21"}});
  EXPECT_EQ(scores->table.At(3, 1), "3000000000");
  EXPECT_EQ(scores->table.At(2, 1), "Mirel");
  EXPECT_EQ(scores->table.At(2, 2), "Player 1");
}

TEST_F(HighScoresTest, TwoPlayersAreAskedInOrderWithTheirColours) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  const uint64_t t = Now();
  SeeDialog(t + 30);
  Type("Ann", t + 50);
  Key(VK::Enter, t + 100);
  Push(InputEvent::Type::Char, 0, t + 101, '\r');
  SeeDialog(t + 200);
  Key(VK::Escape, t + 250);
  scores->InsertHighScores({{9000, "8"}, {9000, "8"}});

  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].name, "Player 1");
  EXPECT_EQ(seen[0].color, (Color{0, 128, 0}));
  EXPECT_TRUE(seen[0].selected);
  EXPECT_EQ(seen[1].name, "Player 2");
  EXPECT_EQ(seen[1].color, (Color{0, 128, 128}));
  EXPECT_TRUE(seen[1].selected);
  EXPECT_EQ(seen[1].message, "You have a high score of 9000");
  // Above Lotta (8640), and player 2 right under player 1 with the equal result.
  EXPECT_EQ(scores->table.At(2, 8), "Ann");
  EXPECT_EQ(scores->table.At(2, 9), "Player 2");
  EXPECT_EQ(scores->table.At(2, 10), "Lotta");
  ASSERT_TRUE(scores->LoadHighScores());
  EXPECT_EQ(scores->table.At(2, 8), "Ann");  // the typed Enter added nothing
}

TEST_F(HighScoresTest, DialogClosesOnlyOnKeysPressedWhileItIsOpen) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  const uint64_t t = Now();
  // A release of a key held from the game does not dismiss the dialog unseen.
  Push(InputEvent::Type::KeyUp, VK::Enter, t + 20);
  Key(VK::PrintScreen, t + 40);
  bool stillOpen = false;
  At(t + 100, [&] { stillOpen = !nameForm->modalDone; });
  Type("Z", t + 120);
  At(t + 150, [&] { nameForm->OkImage->onClick(); });
  scores->InsertHighScores({{100000, "30"}});
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(captured.size(), 1u);
  EXPECT_EQ(captured[0], nameForm.get());
  EXPECT_EQ(scores->table.At(2, 1), "Z");
}

TEST_F(HighScoresTest, NobodyQualifyingStillRewritesTheFile) {
  // The same table with other white space: the rewrite brings the usual layout back.
  std::string text = ShippedText();
  for (std::string::size_type at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  WriteText(dir / "HighScores.dat", text);
  ASSERT_TRUE(scores->LoadHighScores());
  scores->InsertHighScores({{10, "0"}, {500, "0"}});
  EXPECT_EQ(FileText(), ShippedText());
  EXPECT_EQ(scores->table.At(2, 15), "Newcomer");
}

TEST_F(HighScoresTest, ReadOnlyFileAnsweredNoStaysUntouched) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  fs::permissions(dir / "HighScores.dat", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ASSERT_TRUE(FileIsReadOnly("HighScores.dat"));
  const uint64_t t = Now();
  Key(VK::Enter, t + 50);  // the name dialog
  SeeBoxes(t + 100);
  Key(VK::N, t + 150);
  SeeBoxes(t + 200);
  Key(VK::Enter, t + 250);
  scores->InsertHighScores({{50000, "40"}});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "The 'High Scores' file read-only. Do you want to make this file write able?");
  EXPECT_EQ(boxes[1], "High scores NOT saved.");
  EXPECT_EQ(FileText(), ShippedText());
  EXPECT_TRUE(FileIsReadOnly("HighScores.dat"));
  EXPECT_EQ(scores->table.At(2, 1), "Player 1");  // kept until the next load
}

TEST_F(HighScoresTest, ReadOnlyFileAnsweredYesIsMadeWritableAndSaved) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  fs::permissions(dir / "HighScores.dat", fs::perms::owner_write, fs::perm_options::remove);
  Key('Y', Now() + 50);
  scores->InsertHighScores({{1, "0"}});
  EXPECT_FALSE(FileIsReadOnly("HighScores.dat"));
  EXPECT_EQ(FileText(), ShippedText());
}

TEST_F(HighScoresTest, FailedWriteKeepsTheOldFile) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  scores->table.cell[2][2] = "Changed";
  SeeBoxes(Now() + 10);
  Key(VK::Enter, Now() + 20);
  {
    FullDiskWrites full;
    scores->SaveHighScores();
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "High scores were not saved. Please make sure the disk is not write protected.");
  EXPECT_EQ(FileText(), ShippedText());
  EXPECT_EQ(NamesStartingWith(dir, "HighScores.dat.new"), std::vector<std::string>{});
}

TEST_F(HighScoresTest, RefusedFilesLeaveTheLabelsAndAreNeverSaved) {
  Ship();
  ASSERT_TRUE(scores->LoadHighScores());
  scores->ShowHighScores();
  const std::string good = ShippedText();

  fs::remove(dir / "HighScores.dat");
  ExpectLoadRefused(LoadError);
  EXPECT_EQ(scores->table.rows, 2);
  EXPECT_TRUE(scores->table.At(2, 1).empty());

  for (const std::string version : {"Version1.0", "version1.1", "version1.0x", "VERSION1.0"}) {
    WriteText(dir / "HighScores.dat", version + good.substr(10));
    ExpectLoadRefused("Invalid file format. High scores not loaded.");
  }
  WriteText(dir / "HighScores.dat", good.substr(0, good.size() - 30));
  ExpectLoadRefused(LoadError);
  EXPECT_EQ(scores->NameLbl[0]->text, "Mirel");
  EXPECT_FALSE(fs::exists(dir / "HighScores.dat.new"));
}

// Damaged texts are refused as a whole; the table keeps what it held.
TEST(HighScoreFile, DamagedTextsAreRefused) {
  const std::string good = ShippedText();
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  const std::vector<std::string> damaged = {
      "",
      "version1.0",
      replaced("5 16", "5 2000000000"),           // absurd dimensions
      replaced("5 16", "100000 100000"),
      replaced("5 16", "-5 16"),
      replaced("5 16", "3 16"),                   // no score column
      replaced("5 16", "5 x"),
      replaced("5 16", "5 17"),                   // a row more than the text holds
      replaced("20 20 20\r\n", "20 20 zz\r\n"),
      replaced("5 24850", "5 24x50"),             // score not a number
      replaced("2 19", "2 ab"),                   // levels not a number
      replaced("5 Mirel", "9999 Mirel"),          // length past the end
      replaced("5 Mirel", "-5 Mirel"),
      replaced("5 Mirel", "100000 Mirel"),        // longer than a cell may be
      good.substr(0, good.size() - 4),
  };
  for (std::size_t i = 0; i < damaged.size(); ++i) {
    HighScoreTable table;
    table.Resize(5, 3);
    table.cell[2][2] = "kept";
    EXPECT_EQ(ParseHighScores(damaged[i], table), i == 0 ? HighScoreParse::WrongVersion
                                                           : HighScoreParse::Damaged)
        << "case " << i;
    EXPECT_EQ(table.At(2, 2), "kept");
  }
}

TEST(HighScoreFile, ExtraColumnsAndRowsTravelWithTheirPlaces) {
  HighScoreTable table;
  table.Resize(6, 20);
  for (int r = 1; r < 20; ++r) {
    table.cell[r][1] = std::to_string(r);
    table.cell[r][3] = std::to_string(1000 - r);
    table.cell[r][4] = "-1";
    table.cell[r][5] = "x" + std::to_string(r);
  }
  table.widths = {1, 2, 3, -4, 5, 6};
  int calls = 0;
  const std::string text = FormatHighScores(table, [&] { ++calls; });
  EXPECT_EQ(calls, 4);  // rows 0, 5, 10, 15
  HighScoreTable back;
  calls = 0;
  ASSERT_EQ(ParseHighScores(text, back, [&] { ++calls; }), HighScoreParse::Ok);
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(back.cell, table.cell);
  EXPECT_EQ(back.widths, table.widths);
  EXPECT_EQ(FormatHighScores(back), text);
}

}  // namespace
