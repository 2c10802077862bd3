// A game from Start Game to the title menu: the main loop, its timers and the abort
// question.
#include <exception>

#include "base/numbers.h"

#include "play/player_control.h"
#include "play/status_panels.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/main_window.h"
#include "play/level_loading.h"
#include "world/level_file.h"
#include "play/world_tick.h"

namespace {
void CopyKeys(PlayerState& p, const std::array<EditField*, 6>& keys) {
  // Fields are ordered Up, Down, Left, Right, Fire, Menu.
  p.KeyUp = keys[0]->tag;
  p.KeyDown = keys[1]->tag;
  p.KeyLeft = keys[2]->tag;
  p.KeyRight = keys[3]->tag;
  p.KeyFire = keys[4]->tag;
  p.KeyMenu = keys[5]->tag;
}
}  // namespace

void TMainForm::BeginGame() {
  try {
    PlayerState& p1 = game.Player1;
    PlayerState& p2 = game.Player2;
    p1.UsesKeyboard = true;
    if (options_->P1ControlBox->selectedIndex > 0) {
      if (!input.OpenJoystick(options_->P1ControlBox->selectedIndex - 1, 1))
        app.MessageBox(BoxKind::Error, "Error getting player1 joystick. Keyboard will be used.");
      else
        p1.UsesKeyboard = false;
    }
    p2.UsesKeyboard = true;
    if (options_->P2ControlBox->selectedIndex > 0) {
      if (!input.OpenJoystick(options_->P2ControlBox->selectedIndex - 1, 2))
        app.MessageBox(BoxKind::Error, "Error getting player2 joystick. Keyboard will be used.");
      else
        p2.UsesKeyboard = false;
    }
    if (LoadLevel(game, game.LevelIndex)) {
      ReturnToMenu();
      return;
    }
    if (game.World.SetCurrentRoom(game.World.StartRoomX, game.World.StartRoomY)) {
      ReturnToMenu();
      return;
    }
    MenuBox->visible = false;
    Invalidate();
    app.ProcessMessages();
    game.PlayerCount = TextToInt(NumPlayersLbl->text);
    ResetPlayer(p1, 1);
    ResetPlayer(p2, 2);
    if (game.PlayerCount == 1) p2.Dead = true;
    CopyKeys(p1, options_->P1Keys);
    CopyKeys(p2, options_->P2Keys);
    game.World.CurrentRoomX = game.World.StartRoomX;
    game.World.CurrentRoomY = game.World.StartRoomY;
    DrawRoom();
    Player1InfoBox.ShowAt(RoomOriginX, game.World.RoomHeight * 32 + RoomOriginY + 1);
    if (game.PlayerCount == 2)
      Player2InfoBox.ShowAt((game.World.RoomWidth - 1) / 2 * 32 + RoomOriginX + 32,
                            game.World.RoomHeight * 32 + RoomOriginY + 1);
    else
      Player2InfoBox.Hide();
    app.ProcessMessages();
    AbortQuestionOpen = false;
    GameStopped = false;
    sounds.SoundEnabled = options_->SoundEdit->text == "On";
    music.StartOfGame(options_->MusicEdit->text == "On");
    LevelTitleLbl->left = 0;
    LevelTitleLbl->width = ClientWidth();
    LevelTitleLbl->visible = true;
    app.SetCursor(CursorKind::Hidden);
    music.StopOpeningSong();
    Invalidate();
  } catch (const std::exception& e) {
    app.MessageBox(BoxKind::Error, e.what());
    app.MessageBox(BoxKind::Error, "Error starting game.");
    app.SetCursor(CursorKind::Hidden);
    return;
  }
  MainLoop();
}

void TMainForm::MainLoop() {
  const uint32_t generation = ++gameGeneration_;
  // A loop left on the stack by an earlier game, or a game that ended, stops here.
  auto over = [&] { return GameStopped || generation != gameGeneration_ || app.Terminated(); };
  try {
    DrawRoom();
    const int delay = TextToInt(options_->GameSpeedEdit->text);
    rng_.seed(fixedSeed_ ? *fixedSeed_ : static_cast<uint32_t>(app.GetClock().SecondsForSeed()));
    while (!over()) {
      RefreshStatusPanels();
      app.ProcessMessages();
      if (over()) break;
      WorldTick(game);
      if (over()) break;
      for (int number = 1; number <= 2; ++number) {
        PlayerState& p = game.Player(number);
        bool& seen = number == 1 ? WarpSeen1 : WarpSeen2;
        if (p.Warped && !seen) {
          seen = true;
          p.StatusText = "WARP";
          WarpTimer->SetInterval(WarpDelayMs);
        }
      }
      if ((game.PlayerCount == 1 && game.Player1.Dead) ||
          (game.PlayerCount == 2 && game.Player1.Dead && game.Player2.Dead)) {
        game.Player1.StatusText = "Game Over";
        if (game.PlayerCount == 2) game.Player2.StatusText = "Game Over";
        GameOverTimer->SetInterval(GameOverDelayMs);
      }
      music.KeepMusicPlaying([this](int k) { return Random(k); });
      for (int i = 0; i < delay && !over(); ++i) {
        app.ProcessMessages();
        app.SleepMs(1);
      }
      while (AbortQuestionOpen && !over()) {
        app.ProcessMessages();
        DrawRoom();
      }
    }
  } catch (const std::exception& e) {
    app.MessageBox(BoxKind::Error, e.what());
  }
}

void TMainForm::RefreshStatusPanels() {
  PanelTexts texts[2];
  if (!UpdateStatusPanels(game, texts)) return;
  Player1InfoBox.Apply(texts[0]);
  Player2InfoBox.Apply(texts[1]);
  Invalidate();
}

void TMainForm::HandleAbortQuestion() {
  const bool someoneInPlay =
      !game.Player1.Dead || (game.PlayerCount == 2 && !game.Player2.Dead);
  if (!someoneInPlay) return;
  AbortQuestionOpen = true;
  if (app.MessageBox(BoxKind::Confirmation, "Abort game and return to menu?") == BoxResult::Yes) {
    ReturnToMenu();
  } else {
    DrawRoom();
    AbortQuestionOpen = false;
  }
}

void TMainForm::ReturnToMenu() {
  GameStopped = true;
  game.PlayerCount = 0;
  AbortQuestionOpen = false;
  MenuBox->visible = true;
  LevelTitleLbl->visible = false;
  Player1InfoBox.Hide();
  Player2InfoBox.Hide();
  app.SetCursor(CursorKind::Arrow);
  music.StopAllMusic();
  Invalidate();
}

void TMainForm::WarpTimerTimer() {
  WarpTimer->SetInterval(0);
  const PlayerState& p1 = game.Player1;
  const PlayerState& p2 = game.Player2;
  if (game.PlayerCount == 1 ||
      (game.PlayerCount == 2 && (p1.Warped || p1.Dead) && (p2.Warped || p2.Dead)))
    AdvanceLevel(game);
  WarpSeen1 = WarpSeen2 = false;
}

void TMainForm::GameOverTimerTimer() {
  GameOverTimer->SetInterval(0);
  ReturnToMenu();
  // The table stays hidden until it shows the new entries.
  scores_->ContentBox->visible = false;
  app.Show(scores_);
  app.Hide(this);
  app.SetCursor(CursorKind::Arrow);
  if (scores_->LoadHighScores()) {
    // The final results as the panels show them; player 2 takes part in a two-player game.
    std::vector<THScoreForm::FinalResult> results;
    auto result = [](const StatusPanelView& panel) {
      int points = 0;
      ParseInt(panel.PointsLbl->text, points);
      return THScoreForm::FinalResult{points, panel.LevelsPassedLbl->text};
    };
    results.push_back(result(Player1InfoBox));
    if (NumPlayersLbl->text == "2") results.push_back(result(Player2InfoBox));
    scores_->InsertHighScores(results);
    scores_->ShowHighScores();
  }
  scores_->ContentBox->visible = true;
}
