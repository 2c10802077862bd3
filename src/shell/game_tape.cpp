#include "shell/game_tape.h"

#include "base/files.h"
#include "play/game.h"
#include "ui/app.h"

GameTape::~GameTape() { Detach(); }

void GameTape::Detach() { app_.SetPumpTap(nullptr); }

void GameTape::Record(const ReplaySettings& settings) {
  player_.reset();
  settings_ = settings;
  recorder_ = std::make_unique<ReplayRecorder>(settings);
  reachedFirstPass_ = false;
  running_ = true;
  app_.SetPumpTap(recorder_.get());
}

void GameTape::Play(const Replay& replay, bool paced) {
  recorder_.reset();
  player_ = std::make_unique<ReplayPlayer>(replay, paced);
  settings_ = replay.settings;
  reachedFirstPass_ = false;
  running_ = true;
  app_.SetPumpTap(player_.get());
}

void GameTape::Carry(Game& game) {
  CarriedState& c = settings_.carried;
  if (player_) {
    c = player_->Recorded().settings.carried;
    game.Clock = {c.worldClock[0], c.worldClock[1], c.worldClock[2], c.worldClock[3]};
    game.PanelRefreshCount = c.panelRefreshCount;
    game.Joystick = c.joystick;
    for (int i = 0; i < 2; ++i) {
      PlayerState& p = game.Player(i + 1);
      const CarriedState::Player& k = c.players[i];
      p.ShotX = k.shotX, p.ShotY = k.shotY, p.BombX = k.bombX, p.BombY = k.bombY;
      p.ShotAge = k.shotAge, p.ShotDirection = k.shotDirection;
      p.CodeUnderBomb = k.codeUnderBomb, p.MenuChoice = k.menuChoice;
    }
    return;
  }
  c.worldClock = {game.Clock.c0, game.Clock.c1, game.Clock.c2, game.Clock.c3};
  c.panelRefreshCount = game.PanelRefreshCount;
  c.joystick = game.Joystick;
  for (int i = 0; i < 2; ++i) {
    const PlayerState& p = game.Player(i + 1);
    c.players[i] = {p.ShotX, p.ShotY, p.BombX, p.BombY, p.ShotAge, p.ShotDirection, p.CodeUnderBomb, p.MenuChoice};
  }
  if (recorder_) recorder_->Settings().carried = c;
}

uint32_t GameTape::Seed(uint32_t seed) {
  if (player_) return player_->Recorded().settings.seed;
  if (recorder_) recorder_->Settings().seed = seed;
  return seed;
}

void GameTape::LevelLoaded(int index, const std::string& fileName) {
  if (!recorder_) return;
  std::string bytes, error;
  // A level that cannot be read is told by the digest of nothing.
  if (!ReadWholeFile(fileName, bytes, error)) bytes.clear();
  recorder_->LevelLoaded(index, Sha256Of(bytes));
}

void GameTape::LevelAdvanced() {
  if (recorder_) recorder_->LevelAdvanced();
}

bool GameTape::PassBegins(const Game& game) {
  reachedFirstPass_ = true;
  if (recorder_) recorder_->PassBegins(game);
  if (player_ && !player_->PassBegins(game)) {
    Detach();
    return false;
  }
  return true;
}

bool GameTape::PollJoystick(int player, JoystickReading& reading,
                            const std::function<bool(JoystickReading&)>& poll) {
  if (player_) return player_->JoystickPoll(player, reading);
  const bool ok = poll(reading);
  if (recorder_) recorder_->JoystickPolled(player, ok, reading);
  return ok;
}

std::optional<bool> GameTape::RecordedJoystickOpened(int player) const {
  if (!player_ || player < 1 || player > 2) return std::nullopt;
  return player_->Recorded().settings.joystickOpened[player - 1];
}

void GameTape::JoystickOpened(int player, bool opened) {
  if (recorder_ && player >= 1 && player <= 2) recorder_->Settings().joystickOpened[player - 1] = opened;
}

void GameTape::EndedAtMenu(const Game& game) {
  if (recorder_) recorder_->EndedAtMenu(game);
  if (player_) player_->EndedAtMenu(game);
  Detach();
}

std::optional<Replay> GameTape::Finish(const Game& game) {
  Detach();
  running_ = false;
  std::optional<Replay> recording;
  if (recorder_) {
    if (!recorder_->Ended()) recorder_->EndedByClosing(game);
    if (reachedFirstPass_) recording = recorder_->Result();
  }
  recorder_.reset();
  return recording;
}
