#include "authoring/level_check.h"

#include "authoring/level_model.h"
#include "authoring/level_notes.h"
#include "authoring/level_search.h"
#include "authoring/search_route.h"

const char* const NotProvenText = "not proven: too many possibilities";

namespace {

ModeResult Summarise(const LevelSearch& search, const CheckOptions& options) {
  ModeResult result;
  result.searched = true;
  result.reachable = search.Reachable();
  result.gaveUp = search.GaveUp();
  result.outOfBudget = search.OutOfBudget() && !result.reachable;
  result.states = search.States();
  if (options.wantRoute && result.reachable) {
    result.route = DescribeRoute(search);
    result.path = TraceRoute(search);
  }
  for (int node : search.DeadEnds())
    result.deadEnds.push_back(search.Node(node).parent < 0
                                  ? "the Finish cannot be reached from the start"
                                  : DescribeNode(search, node, options.wantRoute));
  return result;
}

std::string GaveUp(const char* who, const CheckOptions& options) {
  return std::string(who) + ": gave up after " + std::to_string(options.stateLimit) +
         " search states";
}

}  // namespace

CheckReport CheckLevel(const LevelBytes& bytes, const CheckOptions& options) {
  CheckReport report;
  const LevelModel m(bytes);
  CheckStartAndFinish(m, report);
  NoteLayout(m, report);
  if (!report.errors.empty()) {
    report.onePlayer.failure = report.twoPlayers.failure = report.errors.front();
    return report;
  }

  SearchMeter meter;
  meter.cancel = options.cancel;
  const SearchCeiling whole{options.budget.states, options.budget.bytes};
  const SearchCeiling half{whole.states / 2, whole.bytes / 2};
  LevelSearch one(m, false, options.stateLimit, meter);
  one.Run(options.findDeadEnds, half);
  LevelSearch two(m, true, options.stateLimit, meter);
  two.Run(false, whole);
  // Dead ends are worth a note, not the budget of a verdict: they come last.
  if (one.Reachable()) one.Exhaust(whole);
  report.statesSpent = meter.states;
  report.peakBytes = meter.peakBytes;
  report.cancelled = one.Cancelled() || two.Cancelled();
  if (report.cancelled) return report;
  report.onePlayer = Summarise(one, options);
  report.twoPlayers = Summarise(two, options);

  report.bothStartsUsable = two.StartsJoined();
  report.startInfo = "Start at " + DescribeCell(m.Start()) + "; player 1 starts at " +
                     DescribeCell(m.Start1()) + ", player 2 at " + DescribeCell(m.Start2()) +
                     (report.bothStartsUsable
                          ? ": both start cells usable"
                          : ": the two start cells are not joined (the players cannot meet)");
  ModeResult& solo = report.onePlayer;
  ModeResult& team = report.twoPlayers;
  if (!report.bothStartsUsable) {
    report.errors.push_back("player 2's start cell is cut off from player 1's");
    team.failure = report.errors.back();
  }
  if (solo.reachable)
    for (const auto& d : solo.deadEnds) report.notes.push_back("a player can get stuck for good: " + d);
  if (solo.reachable && options.findDeadEnds && one.OutOfBudget())
    report.notes.push_back("not every move was tried for whether it strands a player for good: " +
                           std::string(NotProvenText));
  // Running out of budget says nothing against the level: a verdict, not an error.
  if (solo.outOfBudget) {
    solo.failure = NotProvenText;
  } else if (!solo.reachable) {
    report.errors.push_back(solo.gaveUp ? GaveUp("one player", options)
                                        : "one player cannot reach the Finish");
    solo.failure = report.errors.back();
  }
  if (report.bothStartsUsable && team.outOfBudget) {
    team.failure = NotProvenText;
  } else if (report.bothStartsUsable && !team.reachable) {
    report.errors.push_back(team.gaveUp ? GaveUp("two players", options)
                                        : "two players together cannot reach the Finish (room "
                                          "exits must let both cross side by side)");
    team.failure = report.errors.back();
  }
  return report;
}

LevelFinishability CheckFinishability(const LevelBytes& bytes, int stateLimit) {
  CheckOptions options;
  options.stateLimit = stateLimit;
  return CheckFinishability(bytes, options);
}

LevelFinishability CheckFinishability(const LevelBytes& bytes, const CheckOptions& given) {
  CheckOptions options = given;
  options.wantRoute = true;
  options.findDeadEnds = false;
  const CheckReport report = CheckLevel(bytes, options);
  auto verdict = [](const ModeResult& mode) {
    Finishability f;
    f.finishable = mode.failure.empty() && mode.reachable;
    f.notProven = mode.outOfBudget;
    f.reason = mode.failure;
    f.route = mode.path;
    return f;
  };
  return {verdict(report.onePlayer), verdict(report.twoPlayers), report.cancelled};
}
