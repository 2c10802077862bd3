#include "replay/replay_recorder.h"

#include "play/game.h"
#include "replay/game_state_hash.h"

ReplayRecorder::ReplayRecorder(const ReplaySettings& settings) { replay_.settings = settings; }

void ReplayRecorder::PassBegins(const Game& game) {
  if (ended_) return;
  calls_.PassBegins();
  passStartHash_ = GameStateHash(game);
  passStartPoints_ = {game.Player1.Points, game.Player2.Points};
  const uint32_t pass = calls_.Latest().pass;
  if (pass % ReplayCheckPasses == 0) replay_.checks.push_back({pass, passStartHash_});
}

void ReplayRecorder::LevelLoaded(int index, const Sha256Digest& digest) {
  if (ended_) return;
  for (const LevelPlayed& level : replay_.levels)
    if (level.index == index) return;
  replay_.levels.push_back({index, digest});
}

void ReplayRecorder::JoystickPolled(int player, bool ok, const JoystickReading& r) {
  if (ended_ || player < 1 || player > 2) return;
  auto& samples = replay_.joystick[player - 1];
  const uint32_t poll = polls_[player - 1]++;
  const JoystickSample sample{poll, ok, r};
  // Only changes are kept; a player's first poll always is.
  if (!samples.empty()) {
    JoystickSample previous = samples.back();
    previous.poll = poll;
    if (previous == sample) return;
  }
  samples.push_back(sample);
}

void ReplayRecorder::PumpBegins(bool, std::deque<InputEvent>&) {
  if (!ended_) calls_.Begin();
}

void ReplayRecorder::Dispatching(const InputEvent& e) {
  if (ended_) return;
  ReplayItem item;
  item.at = calls_.Latest();
  item.kind = ReplayItem::Kind::Input;
  item.input = e;
  replay_.items.push_back(item);
}

bool ReplayRecorder::TimerFires(int id, bool due) {
  if (due && !ended_) {
    ReplayItem item;
    item.at = calls_.Latest();
    item.kind = ReplayItem::Kind::Timer;
    item.timer = static_cast<GameTimer>(id);
    item.afterNested = calls_.AfterNested();
    replay_.items.push_back(item);
  }
  return due;
}

void ReplayRecorder::EndedAtMenu(const Game& game) {
  if (!ended_)
    Finish(game, ReplayEnding::BackToMenu, calls_.Latest(), GameStateHash(game),
           {game.Player1.Points, game.Player2.Points});
}

void ReplayRecorder::EndedByClosing(const Game& game) {
  if (ended_) return;
  // What happened in the unfinished pass is not part of the replay.
  const uint32_t pass = calls_.Latest().pass;
  while (!replay_.items.empty() && replay_.items.back().at.pass >= pass) replay_.items.pop_back();
  Finish(game, ReplayEnding::ProgramClosed, {pass, 0}, passStartHash_, passStartPoints_);
}

void ReplayRecorder::Finish(const Game& game, ReplayEnding how, PumpStamp at, uint64_t hash,
                            std::array<int32_t, 2> points) {
  ended_ = true;
  ReplayEnd& end = replay_.end;
  end.at = at;
  end.how = how;
  end.finalHash = hash;
  end.points = points;
  end.level = game.LevelIndex;
  end.levelFinished = levelFinished_;
}
