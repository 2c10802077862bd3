// The editor's window driven as a player drives it: mouse and keys, the palette, the
// rules and the verdict reacting to edits, files, pictures, playing, quitting.
#include <gtest/gtest.h>

#include <algorithm>

#include "authoring/level_picture.h"
#include "editor/level_files.h"
#include "editor/map_control.h"
#include "editor/palette_panel.h"
#include "editor/side_panel.h"
#include "editor_fixture.h"
#include "support/png_reader.h"
#include "world/cell_codes.h"

namespace {

namespace fs = std::filesystem;

int C(int col, int row) { return CellAt(col, row); }

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& words) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(words) != std::string::npos; });
}

TEST_F(EditorTest, PaintWithTheMouseChooseFromThePaletteUndoWithTheKeys) {
  OpenEditor();
  Key(VK::Digit0 + 2);  // the creatures; the ant becomes the brush
  EXPECT_EQ(form->Gesture().brush, Cell::Ant);
  Key(VK::Period);
  EXPECT_EQ(form->Gesture().brush, Cell::Devil);
  DragCells(C(3, 3), C(8, 3));
  for (int col = 3; col <= 8; ++col) EXPECT_EQ(form->Document().At(col, 3), Cell::Devil) << col;
  // The right button picks a wall; a click paints one cell.
  ClickCell(C(0, 0), MouseButton::Right);
  EXPECT_EQ(form->Gesture().brush, Cell::BrickSolid);
  ClickCell(C(10, 5));
  EXPECT_EQ(form->Document().At(10, 5), Cell::BrickSolid);
  EXPECT_NE(form->StatusText().find("Solid wall"), std::string::npos);
  Key(VK::A + ('Z' - 'A'), true);
  EXPECT_EQ(form->Document().At(10, 5), Cell::Floor);
  Key(VK::A + ('Z' - 'A'), true);
  EXPECT_EQ(form->Document().At(5, 3), Cell::Floor) << "the drag is one edit";
  Key(VK::A + ('Y' - 'A'), true);
  EXPECT_EQ(form->Document().At(5, 3), Cell::Devil);
  Key(VK::A + ('Z' - 'A'), true, true);  // Ctrl+Shift+Z redoes too
  EXPECT_EQ(form->Document().At(10, 5), Cell::BrickSolid);
  ClickPlate("Undo");
  EXPECT_EQ(form->Document().At(10, 5), Cell::Floor);
}

TEST_F(EditorTest, ToolsFromKeysAndPlatesAndTheKeyboardCursor) {
  OpenEditor();
  Key(VK::A + ('R' - 'A'));
  EXPECT_EQ(form->Gesture().tool, Tool::Rectangle);
  ClickPlate("Fill");
  EXPECT_EQ(form->Gesture().tool, Tool::Fill);
  Key(VK::Digit0 + 4);  // pick-ups: gold
  ClickCell(C(45, 30));  // fills room (2,2)'s floor
  EXPECT_EQ(form->Document().At(41, 25), Cell::Money);
  EXPECT_EQ(form->Document().At(21, 25), Cell::Floor) << "not the next room";
  // The keyboard: a rectangle from corner to corner with Space.
  Key(VK::A + ('R' - 'A'));
  ClickCell(C(5, 5), MouseButton::Right);  // picks the floor and puts the cursor there
  Key(VK::Period);
  Key(VK::Period);
  EXPECT_EQ(form->Gesture().brush, Cell::BrickEnemyTrans);
  Key(VK::Space);
  Key(VK::Right);
  Key(VK::Right);
  Key(VK::Down, false, true);  // five down
  EXPECT_EQ(form->Cursor(), C(7, 10));
  Key(VK::Space);
  EXPECT_EQ(form->Document().At(6, 8), Cell::BrickEnemyTrans);
  Key(VK::Delete);
  EXPECT_EQ(form->Document().At(7, 10), Cell::Floor);
  // Escape cancels a shape being drawn.
  Key(VK::Space);
  Key(VK::Left);
  Key(VK::Escape);
  EXPECT_FALSE(form->Gesture().Active());
  EXPECT_FALSE(app.Terminated());
}

TEST_F(EditorTest, RulesAndVerdictFollowTheEdits) {
  OpenEditor();
  form->OpenAtStart(Game("FELDS/FELD.00"));
  AwaitVerdict();  // the checker runs once edits pause
  EXPECT_FALSE(form->CheckPending());
  EXPECT_TRUE(form->Verdict().result.onePlayer.finishable);
  EXPECT_TRUE(form->Verdict().result.twoPlayers.finishable);
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "Finishable by one player"));
  EXPECT_FALSE(form->Verdict().onePlayerRoute.empty());

  // Wall in the Finish.
  const auto& bytes = form->Document().Bytes();
  const int finish = static_cast<int>(std::find(bytes.begin(), bytes.begin() + LevelCellCount, Cell::Finish) - bytes.begin());
  ASSERT_LT(finish, LevelCellCount);
  form->ChooseBrush(Cell::BrickSolid);
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (dx || dy) ClickCell(C(ColumnOf(finish) + dx, RowOf(finish) + dy));
  EXPECT_TRUE(form->CheckPending());
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "checking"));
  AwaitVerdict();
  EXPECT_FALSE(form->Verdict().result.onePlayer.finishable);
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "Not finishable by one player"));
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), form->Verdict().result.onePlayer.reason));
  for (int i = 0; i < 8; ++i) Key(VK::A + ('Z' - 'A'), true);
  AwaitVerdict();
  EXPECT_TRUE(form->Verdict().result.onePlayer.finishable);

  // Remove the Start: an error, which the panel names and a click points out.
  const int start = static_cast<int>(std::find(bytes.begin(), bytes.begin() + LevelCellCount, Cell::Start) - bytes.begin());
  form->ChooseBrush(Cell::Start);
  ClickCell(C(30, 30));
  ASSERT_FALSE(form->Findings().empty());
  EXPECT_EQ(form->Findings()[0].severity, RuleSeverity::Error);
  EXPECT_EQ(form->Findings()[0].cell, std::max(start, C(30, 30)));
  EXPECT_TRUE(AnyLineHas(form->Side().Lines(), "exactly one"));
  form->ChooseTool(Tool::Paint);
  form->View().ShowRoom(0, 0);
  Key(VK::Tab);  // back to the whole level
  EXPECT_EQ(form->View().Mode(), MapMode::Level);
}

TEST_F(EditorTest, AFindingClickedPointsOutItsCell) {
  OpenEditor();
  form->Document().Set({C(45, 30), C(5, 5)}, Cell::Start);  // two Starts
  form->Refresh();
  form->View().ShowRoom(0, 0);
  ASSERT_FALSE(form->Findings().empty());
  // The first finding's label in the rules box.
  const Control* label = form->Find("Finding0");
  ASSERT_TRUE(label && label->visible);
  Click(label->ScreenLeft() + 10, label->ScreenTop() + 5);
  EXPECT_EQ(form->Cursor(), C(45, 30));
  EXPECT_EQ(form->View().RoomX(), 2) << "the room view moves to the cell";
  EXPECT_EQ(form->View().RoomY(), 2);
}

TEST_F(EditorTest, WheelScrollsAndZooms) {
  OpenEditor();
  auto wheel = [this](int notches, int x, int y) {
    InputEvent e;
    e.type = InputEvent::Type::Wheel;
    e.wheel = notches;
    e.x = x;
    e.y = y;
    app.PushInput(e, clock.NowMs());
    Pump(2);
  };
  EXPECT_EQ(form->View().CellSize(), 12);
  app.PushInput(InputEvent{InputEvent::Type::KeyDown, VK::Control}, clock.NowMs());
  wheel(1, 300, 300);
  wheel(1, 300, 300);
  app.PushInput(InputEvent{InputEvent::Type::KeyUp, VK::Control}, clock.NowMs());
  Pump(2);
  EXPECT_EQ(form->View().CellSize(), 24);
  const int before = form->View().OriginY();
  wheel(-2, 300, 300);
  EXPECT_LT(form->View().OriginY(), before) << "turning towards you scrolls down";
  Key(VK::Minus);
  EXPECT_EQ(form->View().CellSize(), 16);
}

TEST_F(EditorTest, ANewLevelIsSavedAsTheGamesNextLevelThenInPlace) {
  OpenEditor();
  AnswerBoxes();
  int next = 0;
  const std::string expected = NextFreeLevelFile(Game(""), next);
  form->ChooseBrush(Cell::Start);
  ClickCell(C(5, 5));
  form->ChooseBrush(Cell::Finish);
  ClickCell(C(50, 30));
  Key(VK::A + ('S' - 'A'), true);
  ASSERT_FALSE(boxes.empty());
  EXPECT_NE(boxes.back().find("Saved as FELD." + std::to_string(next)), std::string::npos) << boxes.back();
  EXPECT_EQ(form->Document().Path(), expected);
  EXPECT_FALSE(form->Document().Modified());
  EXPECT_EQ(ReadFileBytes(expected), LevelFileContents(form->Document(), LevelForm::LevelFile));
  OpenedLevel back = OpenLevel(expected);
  ASSERT_TRUE(back.document);
  EXPECT_EQ(back.document->At(5, 5), Cell::Start);
  // Later saves go to the same file without a question.
  const size_t asked = boxes.size();
  form->ChooseBrush(Cell::Money);
  ClickCell(C(6, 6));
  Key(VK::A + ('S' - 'A'), true);
  EXPECT_EQ(boxes.size(), asked);
  EXPECT_EQ(OpenLevel(expected).document->At(6, 6), Cell::Money);
}

TEST_F(EditorTest, OpenPaintSaveAndTheFileHoldsThePaint) {
  OpenEditor();
  const std::string level = Game("FELDS/FELD.03");
  const std::string before = ReadFileBytes(level);
  // Open through the dialog: type the name, Enter.
  AnswerNextDialog("FELDS/FELD.03");
  Key(VK::A + ('O' - 'A'), true);
  Pump(40);
  ASSERT_EQ(form->Document().Path(), level);
  form->ChooseBrush(Cell::Key);
  ClickCell(C(2, 2));
  EXPECT_TRUE(form->Document().Modified());
  Key(VK::A + ('S' - 'A'), true);
  std::string after = ReadFileBytes(level);
  ASSERT_EQ(after.size(), before.size());
  // Exactly the painted byte differs, scrambled as the game reads it.
  const auto key = BuildLevelKey();
  for (size_t n = 0; n < after.size(); ++n) {
    const int cell = C(2, 2);
    if (static_cast<int>(n) == cell)
      EXPECT_EQ(static_cast<uint8_t>(after[n]) ^ key[n % LevelKeySize], Cell::Key);
    else
      ASSERT_EQ(after[n], before[n]) << n;
  }
}

TEST_F(EditorTest, NothingIsOverwrittenOrLostWithoutAsking) {
  OpenEditor();
  AnswerBoxes(VK::N);
  form->ChooseBrush(Cell::Ant);
  ClickCell(C(5, 5));
  Key(VK::A + ('N' - 'A'), true);  // asks; No keeps the level
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("not saved"), std::string::npos);
  EXPECT_EQ(form->Document().At(5, 5), Cell::Ant);
  Key(VK::Escape);  // quitting asks too
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_FALSE(app.Terminated());
  // Save as onto another existing level asks before replacing it.
  const std::string other = ReadFileBytes(Game("FELDS/FELD.01"));
  AnswerNextDialog("FELDS/FELD.01");
  Key(VK::A + ('S' - 'A'), true, true);
  Pump(200);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[2].find("exists. Replace it?"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(Game("FELDS/FELD.01")), other);
  // Quitting with nothing changed does not ask.
  form->Document().MarkSaved(Game("elsewhere.txt"), LevelForm::Text);
  Key(VK::Escape);
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(boxes.size(), 3u);
}

// Enter takes the default button, and on every question whose Yes throws work away
// that is No: the changes, the editor and the files already there stay.
TEST_F(EditorTest, EnterOnAQuestionThatLosesWorkKeepsTheWork) {
  OpenEditor();
  AnswerBoxes(VK::Enter);
  form->ChooseBrush(Cell::Ant);
  ClickCell(C(5, 5));
  Key(VK::A + ('N' - 'A'), true);
  ASSERT_EQ(form->Document().At(5, 5), Cell::Ant) << "no new level";
  // The Escape that quits next would cancel the file dialog had Open gone on.
  app.PushInput(InputEvent{InputEvent::Type::KeyDown, VK::Escape}, clock.NowMs() + 200);
  app.PushInput(InputEvent{InputEvent::Type::KeyUp, VK::Escape}, clock.NowMs() + 220);
  Key(VK::A + ('O' - 'A'), true);
  Pump(300);
  InputEvent close;
  close.type = InputEvent::Type::Close;
  app.PushInput(close, clock.NowMs());
  Pump(100);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_NE(boxes[1].find("Open another level"), std::string::npos) << boxes[1];
  EXPECT_NE(boxes[2].find("Quit without saving"), std::string::npos) << boxes[2];
  EXPECT_FALSE(app.Terminated());
  EXPECT_EQ(form->Document().At(5, 5), Cell::Ant);
  EXPECT_EQ(form->Document().Path(), "");

  // Save as and both exports onto files that exist leave them as they are.
  const std::string other = ReadFileBytes(Game("FELDS/FELD.01"));
  WriteFileBytes(Game("mine.png"), "mine");
  WriteFileBytes(Game("mine.txt"), "mine");
  AnswerNextDialog("FELDS/FELD.01");
  Key(VK::A + ('S' - 'A'), true, true);
  AnswerNextDialog("mine.png");
  Key(VK::A + ('E' - 'A'), true);
  AnswerNextDialog("mine.txt");
  Key(VK::A + ('T' - 'A'), true);
  Pump(100);
  ASSERT_EQ(boxes.size(), 7u);
  for (size_t i = 4; i < 7; ++i) EXPECT_NE(boxes[i].find("exists. Replace it?"), std::string::npos) << boxes[i];
  EXPECT_EQ(ReadFileBytes(Game("FELDS/FELD.01")), other);
  EXPECT_EQ(ReadFileBytes(Game("mine.png")), "mine");
  EXPECT_EQ(ReadFileBytes(Game("mine.txt")), "mine");
  EXPECT_EQ(form->Document().Path(), "") << "not saved as the level it would have replaced";
  EXPECT_TRUE(form->Document().Modified());

  // Y still answers Yes.
  AnswerBoxes(VK::A + ('Y' - 'A'));
  Key(VK::Escape);
  EXPECT_TRUE(app.Terminated());
}

TEST_F(EditorTest, ADamagedFileOpensWithItsMessage) {
  WriteFileBytes(Game("FELDS/FELD.50"), ReadFileBytes(Game("FELDS/FELD.02")).substr(0, 700));
  form.reset();
  EditorPlaces places;
  places.gameDir = Game("");
  places.dataDir = std::string(TROK_GAME_DIR) + "/";
  form = std::make_unique<EditorForm>(app, places, nullptr);
  form->OpenAtStart(Game("FELDS/FELD.50"));
  AnswerBoxes();
  app.Show(form.get());
  Pump(50);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("is damaged: it holds 700 bytes"), std::string::npos);
  EXPECT_TRUE(form->Document().Modified());
}

TEST_F(EditorTest, PlayItNowUsesAScratchGameAndComesBack) {
  OpenEditor();
  form->OpenAtStart(Game("FELDS/FELD.00"));
  form->ChooseBrush(Cell::Money);
  ClickCell(C(3, 3));
  Key(VK::F6);
  ASSERT_EQ(player->calls.size(), 1u);
  const RecordingPlayer::Call& call = player->calls[0];
  EXPECT_EQ(call.players, 2);
  EXPECT_EQ(call.level, LevelFileContents(form->Document(), LevelForm::LevelFile)) << "the level as edited";
  EXPECT_EQ(call.options, "the player's own settings\r\n");
  EXPECT_TRUE(call.objectsLinked);
  EXPECT_TRUE(form->Playing());
  Key(VK::A + ('Z' - 'A'), true);  // no edits while the game runs
  EXPECT_EQ(form->Document().At(3, 3), Cell::Money);
  Pump(500);
  EXPECT_FALSE(form->Playing());
  EXPECT_FALSE(fs::exists(call.dir)) << "the scratch game is gone";
  EXPECT_NE(form->StatusText().find("Finish was reached after 42 seconds"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(Game("Options.dat")), "the player's own settings\r\n");
  EXPECT_EQ(ReadFileBytes(Game("FELDS/FELD.00")), ReadFileBytes(std::string(TROK_GAME_DIR) + "/FELDS/FELD.00"))
      << "the player's levels untouched";
  ClickPlate("Play 1");
  ASSERT_EQ(player->calls.size(), 2u);
  EXPECT_EQ(player->calls[1].players, 1);
  // Closing the editor while a game runs leaves no scratch game behind.
  const std::string running = player->calls[1].dir;
  EXPECT_TRUE(fs::exists(running));
  form.reset();
  EXPECT_FALSE(fs::exists(running));
}

TEST_F(EditorTest, ALevelBreakingTheRulesIsNotPlayed) {
  OpenEditor();
  AnswerBoxes();
  Key(VK::F5);  // a new level has no Start
  EXPECT_TRUE(player->calls.empty());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("cannot be played yet"), std::string::npos);
  form->Document().Set({C(5, 5)}, Cell::Start);
  form->Document().Set({C(8, 5)}, Cell::Finish);
  form->Refresh();
  player->refuse = true;
  Key(VK::F5);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[1].find("Cannot start the game: no game here"), std::string::npos);
  EXPECT_FALSE(form->Playing());
}

TEST_F(EditorTest, ExportsAPictureAsLevelToolDrawsItAndTheTextForm) {
  OpenEditor();
  form->OpenAtStart(Game("FELDS/FELD.04"));
  AnswerBoxes();
  AnswerNextDialog("four.png");
  form->ExportPicture();
  const std::string png = ReadFileBytes(Game("four.png"));
  int w = 0, h = 0;
  std::vector<uint32_t> argb;
  ASSERT_TRUE(DecodePng(std::vector<uint8_t>(png.begin(), png.end()), w, h, argb));
  Image expected;
  std::string error;
  ASSERT_TRUE(RenderLevelPicture(form->Document().Bytes(), std::string(TROK_GAME_DIR) + "/Objects", expected, error));
  ASSERT_EQ(w, expected.Width());
  ASSERT_EQ(h, expected.Height());
  for (size_t i = 0; i < argb.size(); ++i) ASSERT_EQ(argb[i], expected.Pixels()[i] | 0xff000000u) << i;

  AnswerNextDialog("four.txt");
  form->ExportText();
  OpenedLevel text = OpenLevel(Game("four.txt"));
  ASSERT_TRUE(text.document) << text.message;
  EXPECT_EQ(text.document->Bytes(), form->Document().Bytes());
  EXPECT_EQ(form->Document().Path(), Game("FELDS/FELD.04")) << "an export is not a save";
}

// Every plate names its key on its cap, inside the cap's pale face, as the game's menus do.
TEST_F(EditorTest, EveryPlateShowsItsKeyOnItsCap) {
  OpenEditor();
  const Image screen = app.ComposeScreen();
  auto face = [](Color c) { return c.r > 150 && c.b > c.r + 10; };
  auto ink = [](Color c) { return c.b > c.r + 80 && c.b > c.g + 80; };
  for (const char* caption : {"New", "Open", "Save", "Save as", "Picture", "Text", "Paint", "Line", "Rectangle",
                              "Fill", "Pick", "Help", "Undo", "Redo", "Play 1", "Play 2", "Last solution"}) {
    const Control* plate = form->Find(std::string("Plate") + caption);
    ASSERT_NE(plate, nullptr) << caption;
    const int left = plate->ScreenLeft(), top = plate->ScreenTop();
    int faceLeft = -1, faceRight = -1;
    for (int x = left; x < left + 50; ++x)
      if (face(screen.PixelColor(x, top + plate->height / 2))) {
        if (faceLeft < 0) faceLeft = x;
        faceRight = x;
      }
    ASSERT_GE(faceLeft, 0) << caption;
    int inked = 0, inkLeft = faceRight, inkRight = faceLeft;
    for (int y = top; y < top + plate->height; ++y)
      for (int x = left; x < left + 50; ++x)
        if (ink(screen.PixelColor(x, y))) {
          ++inked;
          inkLeft = std::min(inkLeft, x);
          inkRight = std::max(inkRight, x);
        }
    EXPECT_GT(inked, 3) << caption << ": no key on the cap";
    EXPECT_GT(inkLeft, faceLeft) << caption;
    EXPECT_LT(inkRight, faceRight) << caption;
  }
}

TEST_F(EditorTest, PrintScreenSavesACaptureOfTheEditor) {
  OpenEditor();
  Key(VK::PrintScreen);
  EXPECT_TRUE(fs::exists(Game("Capture000.bmp")));
  Key(VK::F1);
  EXPECT_TRUE(form->HelpShown());
  Key(VK::PrintScreen);
  EXPECT_TRUE(fs::exists(Game("Capture001.bmp")));
  Key(VK::Escape);
  EXPECT_FALSE(form->HelpShown());
  EXPECT_FALSE(app.Terminated());
}

}  // namespace
