#include "replay/replay_player.h"

#include "base/keys.h"
#include "play/game.h"
#include "replay/game_state_hash.h"

ReplayPlayer::ReplayPlayer(const Replay& replay, bool paced) : replay_(replay), paced_(paced) {}

void ReplayPlayer::Check(uint32_t pass, uint64_t expected, uint64_t got) {
  if (expected != got && !desync_) desync_ = ReplayDesync{pass, expected, got};
}

bool ReplayPlayer::PassBegins(const Game& game) {
  if (finished_) return false;
  calls_.PassBegins();
  const uint32_t pass = calls_.Latest().pass;
  const ReplayEnd& end = replay_.end;
  const auto& checks = replay_.checks;
  while (nextCheck_ < checks.size() && checks[nextCheck_].pass < pass) ++nextCheck_;
  // Past the recording's end without having got there: the game went its own way.
  if (pass > end.at.pass) {
    finalHash_ = GameStateHash(game);
    if (!desync_) desync_ = ReplayDesync{pass, end.finalHash, finalHash_};
    finished_ = true;
    return false;
  }
  const bool closing = end.how == ReplayEnding::ProgramClosed && pass >= end.at.pass;
  if ((nextCheck_ < checks.size() && checks[nextCheck_].pass == pass) || closing) {
    const uint64_t hash = GameStateHash(game);
    if (nextCheck_ < checks.size() && checks[nextCheck_].pass == pass) Check(pass, checks[nextCheck_].hash, hash);
    if (closing) {
      finalHash_ = hash;
      Check(pass, end.finalHash, hash);
      finished_ = true;
      return false;
    }
  }
  return true;
}

void ReplayPlayer::EndedAtMenu(const Game& game) {
  if (finished_) return;
  finished_ = true;
  finalHash_ = GameStateHash(game);
  const PumpStamp at = calls_.Latest();
  // Back at the menu at another moment than the recording was: the game went its own way.
  if ((replay_.end.how != ReplayEnding::BackToMenu || at != replay_.end.at) && !desync_)
    desync_ = ReplayDesync{at.pass, replay_.end.finalHash, finalHash_};
  Check(at.pass, replay_.end.finalHash, finalHash_);
}

bool ReplayPlayer::JoystickPoll(int player, JoystickReading& reading) {
  if (player < 1 || player > 2) return false;
  const auto& samples = replay_.joystick[player - 1];
  std::size_t& next = nextSample_[player - 1];
  const uint32_t poll = polls_[player - 1]++;
  while (next < samples.size() && samples[next].poll <= poll) ++next;
  // The latest sample at or before this poll holds; none yet means the first one.
  if (next == 0) {
    if (samples.empty()) return false;
    reading = samples[0].reading;
    return samples[0].ok;
  }
  reading = samples[next - 1].reading;
  return samples[next - 1].ok;
}

bool ReplayPlayer::ItemsLeftInPass() const {
  return next_ < replay_.items.size() && replay_.items[next_].at.pass == calls_.Latest().pass;
}

void ReplayPlayer::PumpBegins(bool fromWait, std::deque<InputEvent>& replayed) {
  // The wait's calls after the pass's last recorded input change nothing; how many of
  // them there are depends on the clock, so they are not counted.
  if (finished_ || (fromWait && !ItemsLeftInPass())) {
    calls_.Skip();
    return;
  }
  calls_.Begin();
  const auto& items = replay_.items;
  for (std::size_t i = next_; i < items.size() && items[i].at == calls_.Latest(); ++i)
    if (items[i].kind == ReplayItem::Kind::Input) replayed.push_back(items[i].input);
  // Timers are taken when they fire; inputs of this call are handed over now.
  while (next_ < items.size() && items[next_].at == calls_.Latest() && items[next_].kind == ReplayItem::Kind::Input)
    ++next_;
}

bool ReplayPlayer::TimerFires(int id, bool) {
  if (finished_ || calls_.RunningUncounted()) return false;
  const auto& items = replay_.items;
  // Inputs of the call may sit between its timers: skip past them.
  std::size_t i = next_;
  while (i < items.size() && items[i].at == calls_.Latest() && items[i].kind == ReplayItem::Kind::Input) ++i;
  if (i >= items.size() || items[i].at != calls_.Latest()) return false;
  const ReplayItem& item = items[i];
  if (item.kind != ReplayItem::Kind::Timer || static_cast<int>(item.timer) != id ||
      item.afterNested != calls_.AfterNested())
    return false;
  next_ = i + 1;
  return true;
}

bool ReplayPlayer::WaitGoesOn(bool timeLeft) {
  if (ItemsLeftInPass()) return true;
  return paced_ && timeLeft;
}

bool ReplayPlayer::Admit(const InputEvent& e) {
  // The watcher's keys steer the playback; none of them reaches the game.
  if (e.type == InputEvent::Type::KeyDown || e.type == InputEvent::Type::KeyUp) {
    const bool down = e.type == InputEvent::Type::KeyDown;
    if (e.vk == VK::Pause && down && !e.repeat) controls_.paused = !controls_.paused;
    if (e.vk == VK::Tab) controls_.fast = down;
    if (e.vk == VK::Escape && down) controls_.stopAsked = true;
    if (e.vk == VK::PrintScreen && !down) ++controls_.capturesAsked;
  }
  // Closing the window is the watcher's, and the program's to answer.
  return e.type == InputEvent::Type::Close;
}
