#include "shell/game_tape.h"

#include "base/files.h"
#include "net/lockstep.h"
#include "play/game.h"
#include "ui/app.h"

GameTape::~GameTape() { Detach(); }

void GameTape::Detach() { app_.SetPumpTap(nullptr); }

void GameTape::Record(const ReplaySettings& settings) {
  player_.reset();
  lockstep_ = nullptr;
  settings_ = settings;
  recorder_ = std::make_unique<ReplayRecorder>(settings);
  reachedFirstPass_ = false;
  running_ = true;
  app_.SetPumpTap(recorder_.get());
}

void GameTape::Play(const Replay& replay, bool paced) {
  recorder_.reset();
  lockstep_ = nullptr;
  player_ = std::make_unique<ReplayPlayer>(replay, paced);
  settings_ = replay.settings;
  reachedFirstPass_ = false;
  running_ = true;
  app_.SetPumpTap(player_.get());
}

void GameTape::RecordNetworked(const ReplaySettings& settings, Lockstep& lockstep) {
  Record(settings);
  lockstep_ = &lockstep;
  lockstep.SetRecorder(recorder_.get());
  app_.SetPumpTap(&lockstep);
}

const ReplaySettings* GameTape::Imposed() const {
  if (player_) return &player_->Recorded().settings;
  if (lockstep_) return &settings_;
  return nullptr;
}

CarriedState GameTape::CarriedOf(const Game& game) {
  CarriedState c;
  c.worldClock = {game.Clock.c0, game.Clock.c1, game.Clock.c2, game.Clock.c3};
  c.panelRefreshCount = game.PanelRefreshCount;
  c.joystick = game.Joystick;
  for (int i = 0; i < 2; ++i) {
    const PlayerState& p = i == 0 ? game.Player1 : game.Player2;
    c.players[i] = {p.ShotX, p.ShotY, p.BombX, p.BombY, p.ShotAge, p.ShotDirection, p.CodeUnderBomb, p.MenuChoice};
  }
  return c;
}

void GameTape::Carry(Game& game) {
  if (const ReplaySettings* imposed = Imposed()) {
    const CarriedState& c = imposed->carried;
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
  settings_.carried = CarriedOf(game);
  if (recorder_) recorder_->Settings().carried = settings_.carried;
}

uint32_t GameTape::Seed(uint32_t seed) {
  if (const ReplaySettings* imposed = Imposed()) return imposed->seed;
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
  if (lockstep_) lockstep_->PassBegins();
  if (player_ && !player_->PassBegins(game)) {
    Detach();
    return false;
  }
  return true;
}

bool GameTape::PollJoystick(int player, JoystickReading& reading,
                            const std::function<bool(JoystickReading&)>& poll) {
  if (player_) return player_->JoystickPoll(player, reading);
  const bool ok = lockstep_ ? lockstep_->JoystickPoll(player, reading) : poll(reading);
  if (recorder_) recorder_->JoystickPolled(player, ok, reading);
  return ok;
}

std::optional<bool> GameTape::RecordedJoystickOpened(int player) const {
  const ReplaySettings* imposed = Imposed();
  if (!imposed || player < 1 || player > 2) return std::nullopt;
  return imposed->joystickOpened[player - 1];
}

void GameTape::JoystickOpened(int player, bool opened) {
  if (recorder_ && player >= 1 && player <= 2) recorder_->Settings().joystickOpened[player - 1] = opened;
}

void GameTape::EndedAtMenu(const Game& game) {
  if (recorder_) recorder_->EndedAtMenu(game);
  if (player_) player_->EndedAtMenu(game);
  Detach();
}

void GameTape::EndedBeforePass(const Game& game) {
  if (recorder_ && !recorder_->Ended()) {
    // The replay ends where that pass begins, as one of a program that closed does.
    recorder_->PassBegins(game);
    recorder_->EndedByClosing(game);
  }
}

std::optional<Replay> GameTape::Finish(const Game& game) {
  Detach();
  running_ = false;
  if (lockstep_) lockstep_->SetRecorder(nullptr);
  lockstep_ = nullptr;
  std::optional<Replay> recording;
  if (recorder_) {
    if (!recorder_->Ended()) recorder_->EndedByClosing(game);
    if (reachedFirstPass_) recording = recorder_->Result();
  }
  recorder_.reset();
  return recording;
}
