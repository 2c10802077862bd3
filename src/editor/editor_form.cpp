#include "editor/editor_form.h"

#include <filesystem>

#include "editor/editor_help.h"
#include "editor/file_dialog.h"
#include "editor/level_files.h"
#include "editor/map_control.h"
#include "editor/map_painter.h"
#include "editor/palette.h"
#include "editor/palette_panel.h"
#include "editor/scratch_game.h"
#include "editor/side_panel.h"
#include "editor/toolbar.h"
#include "replay/replay_file.h"
#include "screens/menu_builder.h"
#include "ui/app.h"

namespace {

constexpr Color DarkBlue{1, 0, 51};  // the game's main window
constexpr Color Heading{246, 226, 172};
constexpr int MapLeft = 8, MapTop = 40, MapWidth = 736, MapHeight = 456;
constexpr int RightLeft = 752, RightWidth = 264;
constexpr int CheckDelayMs = 250;
constexpr int CheckPollMs = 15;

const char* const KeysHelpLine =
    "F1 help   B L R F I tools   right button picks   wheel scrolls, Ctrl+wheel zooms   Tab room/level   "
    "Ctrl+Z/Y undo/redo   F5/F6 play   F7 solution";

}  // namespace

EditorForm::EditorForm(App& application, const EditorPlaces& places, std::unique_ptr<LevelPlayer> player,
                       const CheckBudget& checkBudget)
    : Form(application, "EditorForm", ScreenWidth, ScreenHeight, DarkBlue),
      places_(places),
      player_(std::move(player)),
      document_(std::make_unique<LevelDocument>()),
      gesture_(*document_),
      view_(MapWidth, MapHeight),
      checker_(checkBudget) {
  std::string tilesError;
  const bool tilesRead = tiles_.Load(places_.dataDir + "Objects/", tilesError);
  BuildLayout();
  ConnectMap();
  checkTimer_ = &app.CreateTimer();
  checkTimer_->onTimer = [this] {
    checkTimer_->SetInterval(0);
    CheckNow();
  };
  checkPollTimer_ = &app.CreateTimer();
  checkPollTimer_->onTimer = [this] { PollCheck(); };
  playTimer_ = &app.CreateTimer();
  playTimer_->onTimer = [this] { PollPlay(); };
  stopTimer_ = &app.CreateTimer();
  stopTimer_->onTimer = [this] {
    if (stopRequested_ && stopRequested_()) StopNow();
  };
  gesture_.onPick = [this](uint8_t code) { ChooseBrush(code); };
  ChooseBrush(static_cast<uint8_t>(Cell::BrickSolid));
  ChooseTool(Tool::Paint);
  Changed();
  if (!tilesRead)
    startMessage_ = tilesError + "\nThe level editor draws plain coloured cells where the game's pictures are missing.";
  // Games of an editor that was killed while they ran.
  RemoveAbandonedScratchGames(places_.playDir);
}

void EditorForm::FormShow() {
  if (!startMessage_.empty()) {
    const std::string message = std::move(startMessage_);
    startMessage_.clear();
    app.MessageBox(BoxKind::Error, message);
  }
  if (!recoveryOffered_) {
    recoveryOffered_ = true;
    OfferRecovery();
  }
}

EditorForm::~EditorForm() {
  // The app keeps its timers: none may call into a form that is gone.
  for (Timer* timer : {checkTimer_, checkPollTimer_, playTimer_}) {
    timer->SetInterval(0);
    timer->onTimer = nullptr;
  }
  // A game still running goes first (the child is stopped), then its directory.
  player_.reset();
  if (Playing()) RemoveScratchGame(playDir_);
}

void EditorForm::BuildLayout() {
  MenuBuilder builder(*this);
  builder.Caption("EditorTitle", "Level Editor", MapLeft, 0, 21, Color{110, 150, 255});
  fileLabel_ = &Add<Label>("FileLbl", MapLeft + 150, 6, 170, 0);
  fileLabel_->font = FontSpec{FontFace::Plain, 12, true, false};
  fileLabel_->color = White;
  fileLabel_->wordWrap = true;

  map_ = &Add<MapControl>("Map", MapLeft, MapTop, MapWidth, MapHeight);
  map_->cursor = CursorKind::Arrow;
  palette_ = std::make_unique<PalettePanel>(*this, tiles_, MapLeft, MapTop + MapHeight + 8, MapWidth);
  palette_->onChoose = [this](uint8_t code) { ChooseBrush(code); };

  ToolbarActions actions;
  actions.chooseTool = [this](Tool t) { ChooseTool(t); };
  actions.newLevel = [this] { NewLevel(); };
  actions.open = [this] { OpenLevelDialog(); };
  actions.save = [this] { Save(); };
  actions.saveAs = [this] { SaveAs(); };
  actions.exportPicture = [this] { ExportPicture(); };
  actions.exportText = [this] { ExportText(); };
  actions.undo = [this] { Undo(); };
  actions.redo = [this] { Redo(); };
  actions.playOne = [this] { PlayLevel(1); };
  actions.playTwo = [this] { PlayLevel(2); };
  actions.playSolution = [this] { PlayLastSolution(); };
  actions.help = [this] { ToggleHelp(); };
  builder.Caption("ToolsCaption", "Tools", RightLeft, MapTop, 21, Heading);
  toolbar_ = std::make_unique<Toolbar>(*this, actions, RightLeft + RightWidth, RightLeft, MapTop + 28, 656);

  brushPicture_ = &Add<Picture>("BrushPicture", RightLeft, 212, 32, 32);
  brushName_ = &Add<Label>("BrushLbl", RightLeft + 40, 214, RightWidth - 40, 0);
  brushName_->font = FontSpec{FontFace::Title, 16, true, false};
  brushName_->color = White;
  brushName_->wordWrap = true;

  side_ = std::make_unique<SidePanel>(*this, RightLeft, 252, RightWidth);
  side_->onPoint = [this](int cell) { PointOut(cell); };
  side_->onRoute = [this](int players) {
    routePlayers_ = routePlayers_ == players ? 0 : players;
    side_->ShowVerdict(verdict_, CheckPending(), routePlayers_);
    Redraw();
  };

  status_ = &Add<Label>("StatusLbl", MapLeft, 728, ScreenWidth - 16, 0);
  status_->font = FontSpec{FontFace::Plain, 13, true, false};
  status_->color = White;
  keysLine_ = &Add<Label>("KeysLbl", MapLeft, 748, ScreenWidth - 16, 0);
  keysLine_->font = FontSpec{FontFace::Plain, 12, false, false};
  keysLine_->color = Color{0, 170, 170};
  keysLine_->SetText(KeysHelpLine);

  helpPanel_ = &Add<Panel>("HelpPanel", MapLeft, MapTop, MapWidth, MapHeight);
  helpPanel_->background = Black;
  helpPanel_->visible = false;
  helpPanel_->onClick = [this] { ToggleHelp(); };
  BuildEditorHelp(*this, *helpPanel_);
  playingPanel_ = &Add<Panel>("PlayingPanel", MapLeft, MapTop, MapWidth, MapHeight);
  playingPanel_->background = Black;
  playingPanel_->visible = false;
  MenuBuilder inPlaying(*this, playingPanel_);
  Label& playing = inPlaying.Caption("PlayingLbl", "Playing the level...", 0, 180, 29, MenuRed);
  playing.left = (MapWidth - playing.width) / 2;
  Label& back = inPlaying.Caption("PlayingBackLbl", "Close the game's window to come back here.", 0, 230, 16,
                                  Heading);
  back.left = (MapWidth - back.width) / 2;
  dialog_ = std::make_unique<FileDialog>(app, places_.gameDir);
}

void EditorForm::ConnectMap() {
  map_->onMouseDown = [this](MouseButton button, int x, int y) {
    if (Playing()) return;
    if (button == MouseButton::Middle) {
      pressedButton_ = 2;
      panX_ = x;
      panY_ = y;
      return;
    }
    const int cell = view_.CellAt(x, y);
    if (cell < 0) return;
    pressedButton_ = button == MouseButton::Right ? 1 : 0;
    cursor_ = cell;
    pointed_ = -1;
    gesture_.Press(cell, button == MouseButton::Right);
    Changed();
  };
  map_->onMouseMove = [this](int x, int y) {
    if (pressedButton_ == 2) {
      view_.ScrollBy(panX_ - x, panY_ - y);
      panX_ = x;
      panY_ = y;
      Redraw();
      return;
    }
    const int cell = view_.CellAt(x, y);
    if (cell < 0 || cell == cursor_) return;
    cursor_ = cell;
    if (gesture_.Active()) gesture_.Drag(cell);
    Changed();
  };
  map_->onMouseUp = [this](MouseButton, int x, int y) {
    const int held = pressedButton_;
    pressedButton_ = -1;
    if (held != 0) return;
    const int cell = view_.CellAt(x, y);
    gesture_.Release(cell >= 0 ? cell : cursor_);
    Changed();
  };
  map_->onWheel = [this](int notches, int x, int y) {
    if (control_) {
      if (view_.Mode() == MapMode::Room && notches < 0)
        view_.ShowLevel();
      else
        view_.Zoom(notches > 0 ? 1 : -1, x, y);
    } else if (view_.Mode() == MapMode::Room) {
      view_.ShowRoom(view_.RoomX() - (shift_ ? notches : 0), view_.RoomY() - (shift_ ? 0 : notches));
    } else {
      const int step = 3 * view_.CellSize() * notches;
      view_.ScrollBy(shift_ ? -step : 0, shift_ ? 0 : -step);
    }
    Redraw();
  };
}

void EditorForm::Changed() {
  if (drawnRevision_ != document_->Revision()) {
    drawnRevision_ = document_->Revision();
    findings_ = CheckLevelRules(document_->Bytes());
    side_->ShowFindings(findings_);
    // The check of the level as it was is of no use; a new one starts once the edits pause.
    checker_.Cancel();
    checkPollTimer_->SetInterval(0);
    checkTimer_->SetInterval(0);
    checkTimer_->SetInterval(CheckDelayMs);
    side_->ShowVerdict(verdict_, true, routePlayers_);
    ShowSolutions();
  }
  Redraw();
  UpdateTitle();
  UpdateStatus();
}

void EditorForm::CheckNow() {
  checkTimer_->SetInterval(0);
  checker_.Start(document_->Bytes(), document_->Revision());
  checkPollTimer_->SetInterval(CheckPollMs);
}

void EditorForm::PollCheck() {
  std::optional<EditorVerdict> verdict = checker_.TakeVerdict();
  if (!verdict) return;
  checkPollTimer_->SetInterval(0);
  // Changes reach the document through Changed(), which cancels the check: this one is
  // for the level as it is, unless the document was changed behind the window's back
  // and nobody said so.
  if (verdict->revision != document_->Revision()) {
    Changed();
    return;
  }
  verdict_ = std::move(*verdict);
  side_->ShowVerdict(verdict_, false, routePlayers_);
  Redraw();
}

void EditorForm::Redraw() {
  MapOverlay overlay;
  for (const RuleFinding& f : findings_)
    if (f.cell >= 0) (f.severity == RuleSeverity::Error ? overlay.errors : overlay.warnings).push_back(f.cell);
  if (!CheckPending() && routePlayers_ > 0)
    overlay.route = routePlayers_ == 1 ? verdict_.onePlayerRoute : verdict_.twoPlayerRoute;
  overlay.preview = gesture_.Preview();
  overlay.previewByte = gesture_.brush;
  overlay.cursor = cursor_;
  overlay.pointed = pointed_;
  Image picture = map_->Picture();
  PaintMap(picture, view_, document_->Bytes(), tiles_, overlay);
  map_->SetPicture(std::move(picture));
}

void EditorForm::UpdateTitle() {
  const std::string shown = document_->Path().empty() ? "New level" : document_->Path();
  fileLabel_->SetText(shown + (document_->Modified() ? "  (changed)" : ""));
  app.SetTitle("TROK Mirel Level Editor - " + shown);
}

void EditorForm::UpdateStatus() {
  std::string text = std::string(ToolName(gesture_.tool)) + " with " + CellName(gesture_.brush);
  if (cursor_ >= 0)
    text += "      " + DescribeLevelCell(cursor_) + ", x " + std::to_string(InRoomX(cursor_)) + " y " +
            std::to_string(InRoomY(cursor_)) + ": " + CellName(document_->At(cursor_));
  status_->SetText(text);
}

const std::string& EditorForm::StatusText() const { return status_->text; }

bool EditorForm::HelpShown() const { return helpPanel_->visible; }

bool EditorForm::CellCentre(int cell, int& x, int& y) const {
  if (!view_.CellOrigin(cell, x, y)) return false;
  x += map_->ScreenLeft() + view_.CellSize() / 2;
  y += map_->ScreenTop() + view_.CellSize() / 2;
  return true;
}

void EditorForm::ChooseTool(Tool tool) {
  gesture_.Cancel();
  gesture_.tool = tool;
  toolbar_->ShowTool(tool);
  Changed();
}

void EditorForm::ChooseBrush(uint8_t code) {
  gesture_.brush = code;
  palette_->Show(code);
  brushPicture_->image = tiles_.Cell(code, 32);
  brushName_->SetText(CellName(code));
  UpdateStatus();
}

void EditorForm::PointOut(int cell) {
  if (cell < 0) return;
  pointed_ = cell;
  cursor_ = cell;
  view_.Reveal(cell);
  Changed();
}

void EditorForm::SetDocument(std::unique_ptr<LevelDocument> document) {
  gesture_.Cancel();
  document_ = std::move(document);
  recoveredFrom_.clear();
  gesture_.SetDocument(*document_);
  verdict_ = EditorVerdict{};
  // Solutions of the level before are no use for this one; its own saved ones are.
  solutions_.Forget();
  staleSolutions_.clear();
  if (!document_->Path().empty())
    staleSolutions_ = TakeSavedSolutions(document_->Path(), LevelDigest(), solutions_).outOfDate;
  drawnRevision_ = ~uint64_t{0};
  pointed_ = -1;
  Changed();
}

Sha256Digest EditorForm::LevelDigest() const {
  return Sha256Of(LevelFileContents(*document_, LevelForm::LevelFile));
}

void EditorForm::ShowSolutions() {
  const Sha256Digest level = LevelDigest();
  const bool one = solutions_.For(1, level) != nullptr, two = solutions_.For(2, level) != nullptr;
  const char* kept = one && two ? "one and two players" : one ? "one player" : two ? "two players" : "";
  std::string stale;
  for (const std::string& path : staleSolutions_) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.ends_with(ReplayExtension)) name.erase(name.size() - std::string_view(ReplayExtension).size());
    stale += (stale.empty() ? "" : ", ") + name;
  }
  side_->ShowSolutions(kept, stale);
}

void EditorForm::Undo() {
  gesture_.Cancel();
  document_->Undo();
  Changed();
}

void EditorForm::Redo() {
  gesture_.Cancel();
  document_->Redo();
  Changed();
}
