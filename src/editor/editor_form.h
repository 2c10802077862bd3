#pragma once
// The level editor's window: the map, the palette, the tools, the rules and the
// checker's verdict, the file commands and playing the level in the game. Keys and
// mouse are routed here; the work is done by the model (LevelDocument, ToolGesture,
// LevelSolutions), the views (MapView, PalettePanel, SidePanel) and the commands in
// editor_files.cpp and editor_play.cpp.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/check_worker.h"
#include "editor/editor_tiles.h"
#include "editor/level_document.h"
#include "editor/level_player.h"
#include "editor/level_rules.h"
#include "editor/level_solutions.h"
#include "editor/map_view.h"
#include "editor/tool_gesture.h"
#include "editor/verdict.h"
#include "ui/form.h"

class FileDialog;
class MapControl;
class PalettePanel;
class SidePanel;
class Toolbar;
class Timer;

// Where the editor finds things.
struct EditorPlaces {
  std::string gameDir;  // FELDS/, Options.dat, captures: the player's game directory ("" = working directory)
  std::string dataDir;  // Objects/, Sounds/, Music/, Pictures/ (ends in '/' or is empty)
  std::string playDir;  // where the games that play the level get their directories ("" = the temporary folder)
};

class EditorForm : public Form {
 public:
  static constexpr int ScreenWidth = 1024;
  static constexpr int ScreenHeight = 768;

  // `checkBudget` bounds each check of the level being edited.
  EditorForm(App& app, const EditorPlaces& places, std::unique_ptr<LevelPlayer> player,
             const CheckBudget& checkBudget = {});
  ~EditorForm() override;

  // Opens a level at start-up (a name given on the command line).
  void OpenAtStart(const std::string& path);
  // From now on `requested` is asked a few times a second, in every loop (boxes, the
  // file dialog, a game being played); once it says so, the editor stops (StopNow).
  void WatchForStop(std::function<bool()> requested);
  // Ends the editor at once without asking, as the system wants it to: a game being
  // played is stopped and unsaved changes are kept in a recovery file (SaveRecovery),
  // never in the level file.
  void StopNow();

  void FormKeyDown(int vk) override;
  void FormKeyUp(int vk) override;
  void FormClose() override;
  void FormShow() override;

  // ---- seen from outside (tests, the program) ----
  LevelDocument& Document() { return *document_; }
  ToolGesture& Gesture() { return gesture_; }
  MapView& View() { return view_; }
  const std::vector<RuleFinding>& Findings() const { return findings_; }
  const EditorVerdict& Verdict() const { return verdict_; }
  bool CheckPending() const { return verdict_.revision != document_->Revision() || !verdict_.known; }
  int Cursor() const { return cursor_; }
  int RouteShown() const { return routePlayers_; }
  bool HelpShown() const;
  bool Playing() const { return !playDir_.empty(); }
  // A game being played shows a solution instead of the player playing.
  bool Watching() const { return Playing() && watching_; }
  // The level's last solutions from games that finished it (F5, F6), or saved with it.
  const LevelSolutions& Solutions() const { return solutions_; }
  // The digest of the level file as the level is now.
  Sha256Digest LevelDigest() const;
  SidePanel& Side() { return *side_; }
  Toolbar& Tools() { return *toolbar_; }
  PalettePanel& Palette() { return *palette_; }
  const MapControl& Map() const { return *map_; }
  const std::string& StatusText() const;
  // The map's top-left corner on the screen, and a cell's centre there.
  bool CellCentre(int cell, int& x, int& y) const;
  // Starts the checker now instead of after the pause. It runs on a thread of its own;
  // its verdict is taken when it is there, for the level as it still is.
  void CheckNow();
  // The document was changed from outside the window: show it, check it again.
  void Refresh() { Changed(); }

  // ---- commands (keys and plates) ----
  void NewLevel();
  void OpenLevelDialog();
  bool Save();
  bool SaveAs();
  void ExportPicture();
  void ExportText();
  void Undo();
  void Redo();
  void PlayLevel(int players);
  // Shows the last solution of the level as it is in the game.
  void PlayLastSolution();
  void ChooseTool(Tool tool);
  void ChooseBrush(uint8_t code);
  void ToggleHelp();
  void ToggleView();
  void MoveCursor(int dx, int dy);
  void PointOut(int cell);
  void Quit();
  void CaptureScreen();

 private:
  void BuildLayout();
  void ConnectMap();
  void Changed();  // the document or the view changed: redraw, recheck
  void Redraw();
  void ShowFindings();
  void UpdateStatus();
  void UpdateTitle();
  void SetDocument(std::unique_ptr<LevelDocument> document);
  bool ConfirmDiscard(const std::string& question);
  // Asks a question whose Yes throws work away; No is its default, so Enter keeps it.
  bool YesLosesWork(const std::string& question);
  bool WriteLevel(const std::string& path, LevelForm form);
  bool EnsureLevelFolderWritable();
  bool EnsureSolutionFolderWritable();
  // After the level was saved as `path`: its solutions go beside it.
  void SaveSolutionsWith(const std::string& path);
  // The solutions for the level as it is, and saved ones that no longer fit it.
  void ShowSolutions();
  // A game in a scratch game directory: played by the player, or showing `watched`.
  bool StartGame(int players, const LevelSolution* watched);
  // The file lies in the game's levels folder (followed through links).
  bool InLevelFolder(const std::string& path) const;
  std::string SuggestedName(const std::string& extension) const;
  // A file name from the dialog; a name already taken (other than `own`) only when the
  // player agrees to replace it.
  bool AskName(const std::string& title, const std::string& suggestion, const std::string& own, std::string& path);
  void PollPlay();
  void PollCheck();
  void EndPlay();
  void OfferRecovery();
  void ForgetRecovery();
  bool KeyWithControl(int vk);
  bool MapKey(int vk);

  EditorPlaces places_;
  std::unique_ptr<LevelPlayer> player_;
  std::unique_ptr<LevelDocument> document_;
  ToolGesture gesture_;
  MapView view_;
  EditorTiles tiles_;
  std::vector<RuleFinding> findings_;
  EditorVerdict verdict_;
  int cursor_ = -1;
  int pointed_ = -1;
  int routePlayers_ = 1;
  bool control_ = false, shift_ = false;
  int pressedButton_ = -1;  // the mouse button held on the map
  int panX_ = 0, panY_ = 0;
  uint64_t drawnRevision_ = ~uint64_t{0};
  std::string playDir_;
  bool watching_ = false;
  LevelSolutions solutions_;
  std::vector<std::string> staleSolutions_;  // saved solution files that do not fit the level
  std::string startMessage_;  // shown once the window is
  bool recoveryOffered_ = false;
  std::string recoveredFrom_;  // the recovery file the document was opened from, removed once it is saved
  std::function<bool()> stopRequested_;

  MapControl* map_ = nullptr;
  std::unique_ptr<PalettePanel> palette_;
  std::unique_ptr<SidePanel> side_;
  std::unique_ptr<Toolbar> toolbar_;
  std::unique_ptr<FileDialog> dialog_;
  Label* fileLabel_ = nullptr;
  Label* status_ = nullptr;
  Label* keysLine_ = nullptr;
  Picture* brushPicture_ = nullptr;
  Label* brushName_ = nullptr;
  Panel* helpPanel_ = nullptr;
  Panel* playingPanel_ = nullptr;
  Timer* checkTimer_ = nullptr;
  Timer* checkPollTimer_ = nullptr;
  Timer* playTimer_ = nullptr;
  CheckWorker checker_;
  Timer* stopTimer_ = nullptr;
};
