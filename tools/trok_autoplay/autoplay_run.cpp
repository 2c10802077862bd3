#include "trok_autoplay/autoplay_run.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "authoring/level_io.h"
#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "shell/headless_program.h"
#include "trok_autoplay/player_hands.h"
#include "trok_autoplay/tactics.h"
#include "world/level_file.h"

namespace {

constexpr int DecideEveryMs = 8;  // twice per main-loop pass at the usual game speed

std::string Seconds(uint64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(ms) / 1000.0);
  return text;
}

class Autopilot {
 public:
  Autopilot(HeadlessProgram& program, const AutoplayOptions& options, std::ostream& trace)
      : program_(program), options_(options), trace_(trace), timer_(program.CreateTimer()) {
    timer_.onTimer = [this] { Step(); };
    timer_.SetInterval(DecideEveryMs);
  }

  bool Done() const { return done_; }
  const AutoplayOutcome& Outcome() const { return outcome_; }
  void Fail(const std::string& reason) { End(false, reason); }

 private:
  enum class Stage { Welcome, TitleMenu, Starting, Playing };

  void Step() {
    if (done_) return;
    if (stage_ != Stage::Playing && !program_.OpenBoxes().empty()) {
      program_.PushKey(VK::Enter, program_.Now());
      return;
    }
    switch (stage_) {
      case Stage::Welcome:
        if (!program_.WelcomeShown()) return;
        program_.Push(InputEvent::Type::KeyDown, VK::A, program_.Now());
        program_.PushChar('a', program_.Now());
        program_.Push(InputEvent::Type::KeyUp, VK::A, program_.Now() + 20);
        stage_ = Stage::TitleMenu;
        return;
      case Stage::TitleMenu:
        if (!program_.InTitleMenu() || program_.WelcomeShown()) return;
        program_.SetLevelLabel(std::to_string(options_.level));
        program_.SetPlayersLabel(std::to_string(options_.players));
        program_.PushKey(VK::F2, program_.Now());
        stage_ = Stage::Starting;
        return;
      case Stage::Starting:
        if (program_.InGame() && program_.GameState().PlayerCount > 0) BeginPlay();
        else if (!program_.OpenBoxes().empty() || program_.Now() > 30000) Fail("the game did not start");
        return;
      case Stage::Playing:
        Play();
        return;
    }
  }

  void BeginPlay() {
    stage_ = Stage::Playing;
    const Game& game = program_.GameState();
    startMs_ = lastProgressMs_ = program_.Now();
    const LevelReadResult level = ReadLevelFile(LevelFileName(game.StartDirectory, game.LevelIndex));
    if (!level.ok) return Fail(level.error);
    RoutePlan plan = PlanLevel(level.bytes, game.PlayerCount);
    if (!plan.ok) return Fail("the checker finds no way: " + plan.reason);
    if (options_.trace) {
      trace_ << "[   0.0 s] plan:";
      for (const Goal& g : plan.goals) trace_ << ' ' << GoalName(g.kind) << '@' << CellName(g.cell);
      trace_ << '\n';
    }
    tactics_.emplace(std::move(plan));
    hands_[0].emplace(game.Player1);
    hands_[1].emplace(game.Player2);
    life_ = {game.Player1.Life, game.Player2.Life};
  }

  void Play() {
    Game& game = program_.GameState();
    const uint64_t now = program_.Now();
    if (game.Player1.LevelsPassed + game.Player2.LevelsPassed > 0) return End(true, "");
    if (!program_.InGame() || program_.GameStopped()) return End(false, "every player is dead (game over)");
    for (int n = 0; n < game.PlayerCount; ++n) {
      // Life lost between two looks; healing and revival raise it and count nothing.
      const int life = game.Player(n + 1).Life;
      if (life < life_[n]) damage_ += life_[n] - life;
      life_[n] = life;
      const bool dead = game.Player(n + 1).Dead;
      if (dead && !dead_[n]) {
        ++deaths_;
        Note("player " + std::to_string(n + 1) + " died at " + Place(game.Player(n + 1), game));
      }
      dead_[n] = dead;
    }
    const WorldMap map = MapOfGrid(game.World);
    const std::array<Intent, 2> intents = tactics_->Decide(map, game);
    for (int n = 0; n < game.PlayerCount; ++n) {
      const PlayerState& p = game.Player(n + 1);
      if (p.Dead || p.Warped) {
        hands_[n]->ReleaseAll(program_);
        continue;
      }
      hands_[n]->Apply(intents[static_cast<std::size_t>(n)], p, program_);
      Report(n, intents[static_cast<std::size_t>(n)].doing);
    }
    const int room = map.roomX * 10 + map.roomY;
    const int done = tactics_->GoalsDone() * 4 + game.Player1.Warped + game.Player2.Warped;
    if (room != room_) {
      room_ = room;
      Note("room (" + std::to_string(map.roomX - 1) + "," + std::to_string(map.roomY - 1) + ")");
    }
    if (tactics_->GoalText() != goal_) {
      goal_ = tactics_->GoalText();
      Note("goal: " + goal_);
    }
    const int cost = tactics_->CostLeft();
    if (done > bestDone_ || (done == bestDone_ && cost >= 0 && (bestCost_ < 0 || cost < bestCost_))) {
      if (done > bestDone_) bestCost_ = -1;
      bestDone_ = done;
      if (cost >= 0) bestCost_ = cost;
      lastProgressMs_ = now;
    }
    const double stuckMinutes = static_cast<double>(now - lastProgressMs_) / 60000.0;
    if (stuckMinutes >= options_.maxMinutes) {
      const int lead = game.Player1.Dead || game.Player1.Warped ? 2 : 1;
      End(false, "stuck: no progress for " + Seconds(now - lastProgressMs_) + " s of game time towards the " + goal_ +
                     " (player " + std::to_string(lead) + " at " + Place(game.Player(lead), game) + ", " +
                     (doing_[lead - 1].empty() ? "walking" : doing_[lead - 1]) + ")");
    }
  }

  static std::string Place(const PlayerState& p, const Game& game) {
    return CellName(WorldMap::InRoom(game.World.CurrentRoomX, game.World.CurrentRoomY, p.X, p.Y));
  }

  void Report(int n, const std::string& doing) {
    // Only the kind of action: the cells it names change every step.
    const std::string kind = doing.substr(0, doing.find(' ', doing.find(' ') + 1));
    if (kind == doingKind_[n]) return;
    doingKind_[n] = kind;
    doing_[n] = doing;
    if (!doing.empty()) Note("P" + std::to_string(n + 1) + ": " + doing);
  }

  void Note(const std::string& what) {
    if (options_.trace) trace_ << '[' << std::string(6 - std::min<std::size_t>(6, Seconds(program_.Now() - startMs_).size()), ' ')
                               << Seconds(program_.Now() - startMs_) << " s] " << what << '\n';
  }

  void End(bool finished, const std::string& reason) {
    done_ = true;
    timer_.SetInterval(0);
    const Game& game = program_.GameState();
    const uint64_t played = stage_ == Stage::Playing ? program_.Now() - startMs_ : 0;
    std::string lives = std::to_string(game.Player1.Life);
    if (options_.players == 2) lives += "/" + std::to_string(game.Player2.Life);
    const std::string who = std::to_string(options_.level) + " with " + std::to_string(options_.players) +
                            (options_.players == 2 ? " players" : " player");
    const std::string tail = " in " + Seconds(played) + " s of game time (life left " + lives + ", deaths " +
                             std::to_string(deaths_) + ", damage taken " + std::to_string(damage_) + ")";
    outcome_.finished = finished;
    outcome_.summary = finished ? "finished level " + who + tail : "did not finish level " + who + tail + ": " + reason;
    program_.Quit();
  }

  HeadlessProgram& program_;
  AutoplayOptions options_;
  std::ostream& trace_;
  Timer& timer_;
  Stage stage_ = Stage::Welcome;
  bool done_ = false;
  AutoplayOutcome outcome_;
  std::optional<Tactics> tactics_;
  std::array<std::optional<PlayerHands>, 2> hands_;
  std::array<bool, 2> dead_{};
  std::array<std::string, 2> doing_, doingKind_;
  std::string goal_;
  int deaths_ = 0;
  std::array<int, 2> life_{};
  int damage_ = 0;  // life lost by both players together
  int room_ = -1;
  int bestDone_ = -1, bestCost_ = -1;
  uint64_t startMs_ = 0, lastProgressMs_ = 0;
};

}  // namespace

AutoplayOutcome RunAutoplay(const AutoplayOptions& options, std::ostream& trace) {
  HeadlessProgram program(std::make_unique<NullAudioDoor>());
  std::string error;
  Autopilot pilot(program, options, trace);
  if (!program.Start(error)) return {false, "the game did not start: " + error};
  program.UseFixedSeed(options.seed);
  while (!pilot.Done() && !program.Terminated()) program.RunFor(100);
  if (!pilot.Done()) pilot.Fail("the program ended");
  return pilot.Outcome();
}
