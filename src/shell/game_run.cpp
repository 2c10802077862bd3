// A game from Start Game to the title menu: the main loop, its timers and the abort
// question.
#include "shell/game_session.h"

#include <ctime>
#include <exception>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "base/numbers.h"
#include "net/lockstep.h"
#include "play/level_loading.h"
#include "play/player_control.h"
#include "play/status_panels.h"
#include "play/world_tick.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/input_devices.h"
#include "shell/main_window.h"
#include "shell/program_name.h"
#include "world/level_file.h"

namespace {
void CopyKeys(PlayerState& p, const PlayerControls& controls) {
  // Bindings are ordered Up, Down, Left, Right, Fire, Menu.
  p.KeyUp = controls.keys[0].code;
  p.KeyDown = controls.keys[1].code;
  p.KeyLeft = controls.keys[2].code;
  p.KeyRight = controls.keys[3].code;
  p.KeyFire = controls.keys[4].code;
  p.KeyMenu = controls.keys[5].code;
}
}  // namespace

GameSession::GameSession(App& app, TMainForm& window, SoundEffects& sounds, Music& music, InputDevices& input)
    : game(*this),
      app_(app),
      window_(window),
      sounds_(sounds),
      music_(music),
      input_(input),
      musicRng_(std::random_device{}()),
      tape_(app) {
  game.StartDirectory = window.StartDirectory();
  window.WarpTimer->onTimer = [this] { WarpTimerTimer(); };
  window.GameOverTimer->onTimer = [this] { GameOverTimerTimer(); };
  // When they fire is part of a game's record.
  window.WarpTimer->gameTimerId = static_cast<int>(GameTimer::Warp);
  window.GameOverTimer->gameTimerId = static_cast<int>(GameTimer::GameOver);
}

void GameSession::ConnectScreens(TOptionsForm& options, THScoreForm& scores) {
  options_ = &options;
  scores_ = &scores;
}

void GameSession::OpenJoysticks() {
  for (int number = 1; number <= 2; ++number) {
    PlayerState& p = game.Player(number);
    const int device = settings_.players[number - 1].device;
    p.UsesKeyboard = true;
    if (device <= 0) continue;
    // A replay opens no device: it has the readings.
    const std::optional<bool> recorded = tape_.RecordedJoystickOpened(number);
    const bool opened = recorded ? *recorded : input_.OpenJoystick(device - 1, number);
    tape_.JoystickOpened(number, opened);
    if (!opened)
      app_.MessageBox(BoxKind::Error,
                      "Error getting player" + std::to_string(number) + " joystick. Keyboard will be used.");
    else
      p.UsesKeyboard = false;
  }
}

void GameSession::BeginGame() {
  highScoreEntered_ = false;
  tape_.Record(RecordingSettings());
  tape_.Carry(game);
  StartAndRun();
  std::optional<Replay> recording = tape_.Finish(game);
  if (recording && onRecorded) onRecorded(*recording, highScoreEntered_, false);
}

void GameSession::BeginNetGame(const ReplaySettings& settings, Lockstep& lockstep, NetGame& net) {
  highScoreEntered_ = false;
  tape_.RecordNetworked(settings, lockstep);
  tape_.Carry(game);
  game.LevelIndex = settings.levelIndex;
  game.RandomLevels = settings.randomLevels;
  // Both players' results count at the end, as in a game for two at one keyboard.
  window_.SelectPlayers(2);
  net_ = &net;
  StartAndRun();
  net_ = nullptr;
  if (net.atEnd) net.atEnd();
  std::optional<Replay> recording = tape_.Finish(game);
  if (recording && onRecorded) onRecorded(*recording, highScoreEntered_, net.keepForReport);
}

ReplaySettings GameSession::NetGameSettings() {
  ReplaySettings r = RecordingSettings();
  r.playerCount = 2;
  for (int p = 0; p < 2; ++p) {
    for (int k = 0; k < PlayerActions; ++k) r.keys[p][k] = NetGameKey(p + 1, static_cast<PlayerAction>(k));
    r.devices[p] = 0;
    r.joystickOpened[p] = false;
  }
  r.seed = NewSeed();
  r.carried = GameTape::CarriedOf(game);
  return r;
}

void GameSession::EndNetGameBeforePass() {
  tape_.EndedBeforePass(game);
  ReturnToMenu();
}

uint32_t GameSession::NewSeed() {
  return fixedSeed_ ? *fixedSeed_ : static_cast<uint32_t>(app_.GetClock().SecondsForSeed());
}

void GameSession::PlayBack(const Replay& replay, bool paced) {
  tape_.Play(replay, paced);
  tape_.Carry(game);
  game.LevelIndex = replay.settings.levelIndex;
  game.RandomLevels = replay.settings.randomLevels;
  capturesTaken_ = 0;
  StartAndRun();
  // Ended by the watcher: back to the title menu as after the game.
  if (!GameStopped) ReturnToMenu();
  tape_.Finish(game);
}

ReplaySettings GameSession::RecordingSettings() const {
  ReplaySettings r;
  r.program = ProgramName;
  r.recordedAt = static_cast<int64_t>(std::time(nullptr));
  if (window_.Selection().players == 2) r.playerCount = 2;
  r.levelIndex = game.LevelIndex;
  r.randomLevels = game.RandomLevels;
  r.levelCount = game.LevelCount;
  const GameOptions now = options_->OptionsInForce();
  r.gameSpeed = now.GameSpeed;
  for (int p = 0; p < 2; ++p) {
    r.devices[p] = now.players[p].device;
    for (int k = 0; k < 6; ++k) r.keys[p][k] = now.players[p].keys[k].code;
  }
  r.sound = now.sound == "On";
  r.music = now.music == "On";
  return r;
}

// The options a recorded game ran with, in the form the options screen gives them.
static GameOptions OptionsOf(const ReplaySettings& r) {
  GameOptions options;
  options.GameSpeed = r.gameSpeed;
  for (int p = 0; p < 2; ++p) {
    options.players[p].device = r.devices[p];
    for (int k = 0; k < 6; ++k) options.players[p].keys[k].code = r.keys[p][k];
  }
  options.sound = r.sound ? "On" : "Off";
  options.music = r.music ? "On" : "Off";
  return options;
}

void GameSession::StartAndRun() {
  try {
    const GameOptions inForce = options_->OptionsInForce();
    if (const ReplaySettings* imposed = tape_.Imposed()) {
      // Sound and music are this player's own; the rest is the recorded or agreed game's.
      GameOptions recorded = OptionsOf(*imposed);
      recorded.sound = inForce.sound;
      recorded.music = inForce.music;
      settings_ = SettingsOf(recorded);
    } else {
      settings_ = SettingsOf(inForce);
    }
    OpenJoysticks();
    if (LoadLevel(game, game.LevelIndex) == LevelLoad::Failed) {
      ReturnToMenu();
      return;
    }
    tape_.LevelLoaded(game.LevelIndex, LevelFileName(game.StartDirectory, game.LevelIndex));
    const WorldGrid& grid = game.World;
    if (game.World.SetCurrentRoom(grid.StartRoomX, grid.StartRoomY) == RoomChange::OutsideGrid) {
      ReturnToMenu();
      return;
    }
    window_.MenuBox->visible = false;
    window_.Invalidate();
    app_.ProcessMessages();
    PlayerState& p1 = game.Player1;
    PlayerState& p2 = game.Player2;
    const ReplaySettings* imposed = tape_.Imposed();
    game.PlayerCount = imposed ? imposed->playerCount : window_.Selection().players;
    ResetPlayer(p1, 1);
    ResetPlayer(p2, 2);
    if (game.PlayerCount == 1) p2.Dead = true;
    CopyKeys(p1, settings_.players[0]);
    CopyKeys(p2, settings_.players[1]);
    game.World.CurrentRoomX = game.World.StartRoomX;
    game.World.CurrentRoomY = game.World.StartRoomY;
    DrawRoom();
    window_.Player1InfoBox.ShowAt(RoomOriginX, game.World.RoomHeight * 32 + RoomOriginY + 1);
    if (game.PlayerCount == 2)
      window_.Player2InfoBox.ShowAt((game.World.RoomWidth - 1) / 2 * 32 + RoomOriginX + 32,
                                    game.World.RoomHeight * 32 + RoomOriginY + 1);
    else
      window_.Player2InfoBox.Hide();
    app_.ProcessMessages();
    AbortQuestionOpen = false;
    GameStopped = false;
    sounds_.SoundEnabled = settings_.sound;
    music_.StartOfGame(settings_.music);
    window_.LevelTitleLbl->left = 0;
    window_.LevelTitleLbl->width = window_.ClientWidth();
    window_.LevelTitleLbl->visible = true;
    app_.SetCursor(CursorKind::Hidden);
    music_.EndOpeningSong();
    window_.Invalidate();
  } catch (const std::exception& e) {
    app_.MessageBox(BoxKind::Error, e.what());
    app_.MessageBox(BoxKind::Error, "Error starting game.");
    app_.SetCursor(CursorKind::Hidden);
    return;
  }
  MainLoop();
}

void GameSession::MainLoop() {
  const uint32_t generation = ++gameGeneration_;
  // A loop left on the stack by an earlier game, or a game that ended, stops here.
  auto over = [&] {
    return GameStopped || generation != gameGeneration_ || app_.Terminated() ||
           (tape_.Playing() && tape_.Player()->Controls().stopAsked);
  };
  try {
    DrawRoom();
    // A speed that is no number is reported, and the game then plays at the default
    // speed rather than standing still behind the box with only Escape working.
    const int delay = settings_.speed;
    if (!settings_.speedFault.empty()) app_.MessageBox(BoxKind::Error, settings_.speedFault);
    rng_.seed(tape_.Seed(NewSeed()));
    while (!over()) {
      // A network game waits here for the other machine's input, and may end.
      if (net_ && net_->beforePass && !net_->beforePass(over)) break;
      if (!tape_.PassBegins(game)) {
        // A replay that ends where its program was closed.
        ReturnToMenu();
        break;
      }
      const MillisecondTicks ticks(app_.GetClock());
      RefreshStatusPanels();
      app_.ProcessMessages();
      if (over()) break;
      WorldTick(game);
      if (over()) break;
      for (int number = 1; number <= 2; ++number) {
        PlayerState& p = game.Player(number);
        bool& seen = number == 1 ? WarpSeen1 : WarpSeen2;
        if (p.Warped && !seen) {
          seen = true;
          p.StatusText = "WARP";
          window_.WarpTimer->SetInterval(WarpDelayMs);
        }
      }
      if ((game.PlayerCount == 1 && game.Player1.Dead) ||
          (game.PlayerCount == 2 && game.Player1.Dead && game.Player2.Dead)) {
        game.Player1.StatusText = "Game Over";
        if (game.PlayerCount == 2) game.Player2.StatusText = "Game Over";
        window_.GameOverTimer->SetInterval(GameOverDelayMs);
      }
      music_.KeepMusicPlaying([this](int k) { return k > 0 ? static_cast<int>(musicRng_() % static_cast<uint32_t>(k)) : 0; });
      // The game's speed: `delay` whole milliseconds in which messages are handled.
      const ReplayPlayer* playback = tape_.Player();
      const bool fast = tape_.Playing() && playback->Controls().fast;
      app_.ProcessMessagesUntil(ticks.WholeMillisecondsAfterNow(fast ? delay / 4 : delay), over);
      if (tape_.Playing()) PlaybackPause(over);
      while (AbortQuestionOpen && !over()) {
        app_.ProcessMessages();
        DrawRoom();
      }
    }
  } catch (const std::exception& e) {
    app_.MessageBox(BoxKind::Error, e.what());
  }
}

// While the watcher has paused: only the watcher's own keys are handled.
void GameSession::PlaybackPause(const std::function<bool()>& over) {
  for (;;) {
    const ReplayControls& controls = tape_.Player()->Controls();
    for (; capturesTaken_ < controls.capturesAsked; ++capturesTaken_) window_.CaptureScreen(window_);
    if (!controls.paused || over()) return;
    app_.ProcessMessagesUntil(app_.GetClock().NowMicros() + 50000, [&] { return !controls.paused || over(); });
  }
}

void GameSession::RefreshStatusPanels() {
  PanelTexts texts[2];
  if (!UpdateStatusPanels(game, texts)) return;
  window_.Player1InfoBox.Apply(texts[0]);
  window_.Player2InfoBox.Apply(texts[1]);
  shown_[0] = {game.Player1.Points, game.Player1.LevelsPassed};
  shown_[1] = {game.Player2.Points, game.Player2.LevelsPassed};
}

void GameSession::KeyPressedByPlayers(int vk) {
  if (game.Player1.UsesKeyboard) KeyPressed(game, vk, game.Player1);
  if (game.PlayerCount == 2 && game.Player2.UsesKeyboard) KeyPressed(game, vk, game.Player2);
}

void GameSession::KeyReleasedByPlayers(int vk) {
  if (game.Player1.UsesKeyboard) KeyReleased(game, vk, game.Player1);
  if (game.PlayerCount == 2 && game.Player2.UsesKeyboard) KeyReleased(game, vk, game.Player2);
}

void GameSession::HandleAbortQuestion() {
  const bool someoneInPlay =
      !game.Player1.Dead || (game.PlayerCount == 2 && !game.Player2.Dead);
  if (!someoneInPlay) return;
  AbortQuestionOpen = true;
  if (app_.MessageBox(BoxKind::Confirmation, "Abort game and return to menu?") == BoxResult::Yes) {
    ReturnToMenu();
  } else {
    DrawRoom();
    AbortQuestionOpen = false;
  }
}

void GameSession::ReturnToMenu() {
  tape_.EndedAtMenu(game);
  GameStopped = true;
  game.PlayerCount = 0;
  AbortQuestionOpen = false;
  window_.MenuBox->visible = true;
  window_.LevelTitleLbl->visible = false;
  window_.Player1InfoBox.Hide();
  window_.Player2InfoBox.Hide();
  app_.SetCursor(CursorKind::Arrow);
  music_.StopAllMusic();
  window_.Invalidate();
}

void GameSession::WarpTimerTimer() {
  window_.WarpTimer->SetInterval(0);
  const PlayerState& p1 = game.Player1;
  const PlayerState& p2 = game.Player2;
  if (game.PlayerCount == 1 ||
      (game.PlayerCount == 2 && (p1.Warped || p1.Dead) && (p2.Warped || p2.Dead))) {
    AdvanceLevel(game);
    tape_.LevelAdvanced();
    tape_.LevelLoaded(game.LevelIndex, LevelFileName(game.StartDirectory, game.LevelIndex));
  }
  WarpSeen1 = WarpSeen2 = false;
}

void GameSession::GameOverTimerTimer() {
  window_.GameOverTimer->SetInterval(0);
  const bool playback = tape_.Playing();
  ReturnToMenu();
  // A replay shows the game, not a new entry in the table.
  if (playback) return;
  EnterResults();
}

void GameSession::EnterResults() {
  // The table stays hidden until it shows the new entries.
  scores_->ContentBox->visible = false;
  app_.Show(scores_);
  app_.Hide(&window_);
  app_.SetCursor(CursorKind::Arrow);
  if (scores_->LoadHighScores()) {
    // The final results as the panels show them; player 2 takes part in a two-player game.
    std::vector<THScoreForm::FinalResult> results;
    auto result = [](const ShownRecord& shown) {
      return THScoreForm::FinalResult{shown.points, std::to_string(shown.levelsPassed)};
    };
    results.push_back(result(shown_[0]));
    if (window_.Selection().players == 2) results.push_back(result(shown_[1]));
    highScoreEntered_ = scores_->InsertHighScores(results);
    scores_->ShowHighScores();
  }
  scores_->ContentBox->visible = true;
}

void GameSession::ProcessMessages() { app_.ProcessMessages(); }
void GameSession::PlaySound(int soundNumber) { sounds_.PlaySound(soundNumber); }

int GameSession::Random(int k) {
  if (k <= 0) return 0;
  return static_cast<int>(rng_() & 0x7fffffffu) % k;
}

void GameSession::ShowError(const std::string& text) { app_.MessageBox(BoxKind::Error, text); }

void GameSession::SetLevelTitle(const std::string& text) {
  window_.LevelTitleLbl->SetText(text);
  window_.Invalidate();
}

bool GameSession::PollJoystick(int player, JoystickReading& reading) {
  return tape_.PollJoystick(player, reading, [&](JoystickReading& r) { return input_.PollJoystick(player, r); });
}
