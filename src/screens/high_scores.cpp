#include "screens/high_scores.h"

#include <cstdio>

#include "ui/app.h"
#include "ui/text.h"
#include "base/file_saving.h"
#include "base/files.h"
#include "base/keys.h"
#include "screens/menu_art.h"
#include "base/numbers.h"

namespace {

const char* const FileName = "HighScores.dat";
// A damaged header must not make us read an unbounded file.
constexpr std::size_t MaxFileBytes = 16u << 20;

constexpr Color Teal{0, 128, 128};
constexpr Color Blue{0, 0, 255};
constexpr Color MenuRed{224, 0, 0};
constexpr Color Player1Green{0, 128, 0};

constexpr Color PlaceColors[15] = {
    {255, 255, 255}, {0, 0, 128},   {0, 255, 255}, {128, 0, 0},   {128, 128, 128},
    {128, 0, 128},   {224, 0, 0},   {0, 128, 0},   {255, 255, 0}, {0, 0, 255},
    {255, 0, 0},     {255, 0, 255}, {128, 128, 0}, {192, 192, 192}, {0, 255, 0},
};

FontSpec Comic(int px, bool underline = false) { return FontSpec{FontFace::Title, px, true, underline}; }

Label& AddText(Form& form, const std::string& id, const std::string& text, int left, int top,
               FontSpec font, Color color, Panel* parent) {
  Label& l = form.Add<Label>(id, left, top, 0, 0, parent);
  l.font = font;
  l.color = color;
  l.transparent = true;
  l.SetText(text);
  return l;
}

// A label of fixed width: long texts are cut at its edge.
Label& AddField(Form& form, const std::string& id, int left, int top, int width, FontSpec font,
                Color color, Panel* parent, Align align = Align::Left) {
  Label& l = AddText(form, id, "", left, top, font, color, parent);
  int w = 0, h = 0;
  form.app.Text().Fonts().Measure(font, "Mg", w, h);
  l.autoSize = false;
  l.width = width;
  l.height = h;
  l.align = align;
  return l;
}


int IntOf(const std::string& text) {
  int value = 0;
  ParseInt(text, value);
  return value;
}

}  // namespace

THScoreForm::THScoreForm(App& application) : ScreenForm(application, "HScoreForm", 792, 573) {
  ContentBox = &Add<Panel>("ScrollBox1", 5, 5, 790, 562);
  ContentBox->background = Black;

  TitleLbl = &AddText(*this, "TitleLbl", "High Scores", 316, 0, Comic(27, true), Blue, ContentBox);
  AddText(*this, "RankHeadLbl", "Rank", 40, 48, Comic(16, true), Teal, ContentBox);
  AddText(*this, "NameHeadLbl", "             Player Name             ", 98, 48, Comic(16, true),
          Teal, ContentBox);
  AddText(*this, "ScoreHeadLbl", "      Player Score      ", 395, 48, Comic(16, true), Teal,
          ContentBox);
  AddText(*this, "LevelsHeadLbl", "   Levels Passed   ", 600, 48, Comic(16, true), Teal, ContentBox);

  for (int k = 1; k <= 15; ++k) {
    const int top = 80 + 24 * (k - 1);
    const Color color = PlaceColors[k - 1];
    const std::string n = std::to_string(k);
    RankLbl[k - 1] = &AddText(*this, "Rank" + n + "Lbl", n, 45, top, Comic(16), color, ContentBox);
    NameLbl[k - 1] = &AddField(*this, "Name" + n + "Lbl", 100, top, 270, Comic(16), color, ContentBox);
    ScoreLbl[k - 1] = &AddField(*this, "Score" + n + "Lbl", 400, top, 175, Comic(16), color, ContentBox);
    LevelsLbl[k - 1] = &AddField(*this, "Levels" + n + "Lbl", 605, top, 105, Comic(16), color, ContentBox);
    NameLbl[k - 1]->SetText("---");
    ScoreLbl[k - 1]->SetText("999999999999");
    LevelsLbl[k - 1]->SetText("1");
  }

  ReturnImage = &Add<Picture>("ReturnImage", 238, 482, 315, 54, ContentBox);
  ReturnImage->image = MakeButton(317, 54);
  ReturnImage->stretch = true;
  ReturnImage->cursor = CursorKind::Hand;
  ReturnImage->onClick = [this] { ReturnImageClick(); };
  AddText(*this, "ReturnCaption", "Return to Main Menu", 296, 492, Comic(24), MenuRed, ContentBox);
  AddText(*this, "ReturnKey", "ESC", 252, 494, Comic(13), Blue, ContentBox);
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

void THScoreForm::InsertHighScores(const std::vector<FinalResult>& results) {
  for (std::size_t player = 0; player < results.size() && player < 2; ++player) {
    const int score = results[player].points;
    const int levels = IntOf(results[player].levelsPassed);
    int place = 0;
    for (int i = 1; i < table.rows; ++i) {
      const int rowScore = IntOf(table.At(3, i));
      if (rowScore < score || (rowScore == score && IntOf(table.At(4, i)) < levels)) {
        place = i;
        break;
      }
    }
    if (place == 0) continue;
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
  Label& heading = AddField(*this, "CongratsLbl", 6, 24, 471, Comic(24), Blue, nullptr, Align::Center);
  heading.SetText("Congratulations!!!");
  HSLbl = &AddField(*this, "HSLbl", 3, 56, 471, Comic(24), Blue, nullptr, Align::Center);
  AddText(*this, "NameCaption", "Player Name:", 16, 168, Comic(21), MenuRed, nullptr);

  NameEdit = &Add<EditField>("NameEdit", 157, 166, 308, 38);
  NameEdit->font = Comic(21);
  NameEdit->background = Black;
  NameEdit->color = Player1Green;
  NameEdit->onKeyPress = [](char& c) {
    if (c == '\r' || c == '\n') c = 0;
  };
  tabOrder = {NameEdit};

  OkImage = &Add<Picture>("OkImage", 163, 353, 157, 54);
  OkImage->image = MakeButton(157, 54);
  OkImage->stretch = true;
  OkImage->cursor = CursorKind::Hand;
  OkImage->onClick = [this] { OkImageClick(); };
  AddText(*this, "OkCaption", "OK", 218, 359, Comic(29), MenuRed, nullptr);
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
