#include "screens/high_scores.h"

#include <cstdint>
#include <cstdio>

#include "ui/app.h"
#include "ui/text.h"
#include "base/file_saving.h"
#include "base/files.h"
#include "base/keys.h"
#include "screens/menu_art.h"
#include "screens/menu_builder.h"
#include "base/numbers.h"

namespace {

const char* const FileName = "HighScores.dat";
// A damaged header must not make us read an unbounded file.
constexpr std::size_t MaxFileBytes = 16u << 20;

constexpr Color Teal{0, 128, 128};
constexpr Color Player1Green{0, 128, 0};

constexpr Color PlaceColors[15] = {
    {255, 255, 255}, {0, 0, 128},   {0, 255, 255}, {128, 0, 0},   {128, 128, 128},
    {128, 0, 128},   {224, 0, 0},   {0, 128, 0},   {255, 255, 0}, {0, 0, 255},
    {255, 0, 0},     {255, 0, 255}, {128, 128, 0}, {192, 192, 192}, {0, 255, 0},
};

// A caption of fixed width: long texts are cut at its edge.
Label& AddField(MenuBuilder& builder, const std::string& id, int left, int top, int width, int pixelHeight,
                Color color, Align align = Align::Left) {
  Label& l = builder.Caption(id, "", left, top, pixelHeight, color);
  int w = 0, h = 0;
  l.Text().Fonts().Measure(l.font, "Mg", w, h);
  l.autoSize = false;
  l.width = width;
  l.height = h;
  l.align = align;
  return l;
}

// A score past the game's own range (a table edited by hand) still ranks by its value.
int64_t IntOf(const std::string& text) {
  int64_t value = 0;
  ParseInt(text, value);
  return value;
}

}  // namespace

THScoreForm::THScoreForm(App& application) : ScreenForm(application, "HScoreForm", 792, 573) {
  ContentBox = &Add<Panel>("ScrollBox1", 5, 5, 790, 562);
  ContentBox->background = Black;
  MenuBuilder screen(*this, ContentBox);

  TitleLbl = &screen.Caption("TitleLbl", "High Scores", 316, 0, 27, KeyBlue, true);
  screen.Caption("RankHeadLbl", "Rank", 40, 48, 16, Teal, true);
  screen.Caption("NameHeadLbl", "             Player Name             ", 98, 48, 16, Teal, true);
  screen.Caption("ScoreHeadLbl", "      Player Score      ", 395, 48, 16, Teal, true);
  screen.Caption("LevelsHeadLbl", "   Levels Passed   ", 600, 48, 16, Teal, true);

  for (int k = 1; k <= 15; ++k) {
    const int top = 80 + 24 * (k - 1);
    const Color color = PlaceColors[k - 1];
    const std::string n = std::to_string(k);
    RankLbl[k - 1] = &screen.Caption("Rank" + n + "Lbl", n, 45, top, 16, color);
    NameLbl[k - 1] = &AddField(screen, "Name" + n + "Lbl", 100, top, 270, 16, color);
    ScoreLbl[k - 1] = &AddField(screen, "Score" + n + "Lbl", 400, top, 175, 16, color);
    LevelsLbl[k - 1] = &AddField(screen, "Levels" + n + "Lbl", 605, top, 105, 16, color);
    NameLbl[k - 1]->SetText("---");
    ScoreLbl[k - 1]->SetText("999999999999");
    LevelsLbl[k - 1]->SetText("1");
  }

  ReturnImage = &screen.Plate("ReturnImage", 238, 482, 315, 54, [this] { ReturnImageClick(); });
  // The art of the other screens' 317-pixel plate, squeezed onto this one.
  ReturnImage->image.MakeLater([] { return MakeButton(317, 54); });
  screen.Caption("ReturnCaption", "Return to Main Menu", 296, 492, 24, MenuRed);
  screen.Caption("ReturnKey", "ESC", 252, 494, 13, KeyBlue);
}

bool THScoreForm::LoadHighScores() {
  table.ClearPlaces();
  const char* const loadError =
      "Error loading 'HighScores.dat'. Please make sure the file exists and has not been corrupted.";
  std::string text, error;
  if (!ReadWholeFile(FileName, text, error, MaxFileBytes)) {
    app.MessageBox(BoxKind::Error, loadError);
    return false;
  }
  switch (ParseHighScores(text, table, [this] { app.ProcessMessages(); })) {
    case HighScoreParse::Ok: return true;
    case HighScoreParse::WrongVersion:
      app.MessageBox(BoxKind::Error, "Invalid file format. High scores not loaded.");
      return false;
    case HighScoreParse::Damaged: break;
  }
  app.MessageBox(BoxKind::Error, loadError);
  return false;
}

void THScoreForm::ShowHighScores() {
  for (int k = 1; k <= 15; ++k) {
    RankLbl[k - 1]->SetText(table.At(1, k));
    NameLbl[k - 1]->SetText(table.At(2, k));
    ScoreLbl[k - 1]->SetText(table.At(3, k));
    LevelsLbl[k - 1]->SetText(table.At(4, k));
  }
}

bool THScoreForm::InsertHighScores(const std::vector<FinalResult>& results) {
  bool entered = false;
  for (std::size_t player = 0; player < results.size() && player < 2; ++player) {
    const int score = results[player].points;
    const int64_t levels = IntOf(results[player].levelsPassed);
    int place = 0;
    for (int i = 1; i < table.rows; ++i) {
      const int64_t rowScore = IntOf(table.At(3, i));
      if (rowScore < score || (rowScore == score && IntOf(table.At(4, i)) < levels)) {
        place = i;
        break;
      }
    }
    if (place == 0) continue;
    entered = true;
    for (int r = table.rows - 1; r > place; --r)
      for (int c = 2; c < table.columns; ++c) table.cell[r][c] = table.cell[r - 1][c];
    auto& row = table.cell[place];
    row[3] = std::to_string(score);
    row[4] = results[player].levelsPassed;
    const bool first = player == 0;
    row[2] = nameDialog ? nameDialog->AskName(score, first ? "Player 1" : "Player 2",
                                              first ? Player1Green : Teal)
                        : std::string(first ? "Player 1" : "Player 2");
  }
  SaveHighScores();
  return entered;
}

void THScoreForm::SaveHighScores() {
  if (FileExists(FileName) && FileIsReadOnly(FileName)) {
    if (app.MessageBox(BoxKind::Confirmation,
                       "The 'High Scores' file read-only. Do you want to make this file write able?") !=
        BoxResult::Yes) {
      app.MessageBox(BoxKind::Message, "High scores NOT saved.");
      return;
    }
    if (!MakeFileWritable(FileName)) {
      app.MessageBox(BoxKind::Error,
                     "Unable to make the 'High Scores' file write able. Please make sure it is not on "
                     "a write protected disk.");
      return;
    }
  }
  if (table.columns > 0 && table.rows > 1) table.cell[1][0] = HighScoreMarker;
  const std::string text = FormatHighScores(table, [this] { app.ProcessMessages(); });
  std::string error;
  if (!ReplaceFile(FileName, text, error))
    app.MessageBox(BoxKind::Error, "High scores were not saved. Please make sure the disk is not write protected.");
}

void THScoreForm::FormKeyUp(int vk) {
  if (vk == VK::Enter)
    CloseHighScores();
  else
    ScreenForm::FormKeyUp(vk);
}

TNameForm::TNameForm(App& application) : ScreenForm(application, "NameForm", 482, 413) {
  MenuBuilder dialog(*this);
  Label& heading = AddField(dialog, "CongratsLbl", 6, 24, 471, 24, KeyBlue, Align::Center);
  heading.SetText("Congratulations!!!");
  HSLbl = &AddField(dialog, "HSLbl", 3, 56, 471, 24, KeyBlue, Align::Center);
  dialog.Caption("NameCaption", "Player Name:", 16, 168, 21, MenuRed);

  NameEdit = &dialog.Field("NameEdit", "", 157, 166, 308, Player1Green);
  NameEdit->onKeyPress = [](char& c) {
    if (c == '\r' || c == '\n') c = 0;
  };
  // The longest cell the table's reader takes: a longer name would be saved, and the
  // table never read (nor saved) again.
  NameEdit->maxLength = HighScoreMaxCell;
  tabOrder = {NameEdit};

  OkImage = &dialog.Plate("OkImage", 163, 353, 157, 54, [this] { OkImageClick(); });
  dialog.Caption("OkCaption", "OK", 218, 359, 29, MenuRed);
}

std::string TNameForm::AskName(int score, const std::string& defaultName, Color color) {
  HSLbl->SetText("You have a high score of " + std::to_string(score));
  NameEdit->text = defaultName;
  NameEdit->color = color;
  NameEdit->caret = std::string::npos;
  NameEdit->SelectAll();
  pressedHere_.clear();
  SetFocus(NameEdit);
  app.ShowModal(*this);
  pressedHere_.clear();
  return NameEdit->text;
}

void TNameForm::FormKeyDown(int vk) {
  if (vk == VK::Enter || vk == VK::Escape) pressedHere_.insert(vk);
}

void TNameForm::FormKeyUp(int vk) {
  if (vk == VK::PrintScreen) {
    if (captureScreen) captureScreen(*this);
  } else if ((vk == VK::Enter || vk == VK::Escape) && pressedHere_.count(vk)) {
    modalDone = true;
  }
}
