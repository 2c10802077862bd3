#include "authoring/search_route.h"

namespace {

std::string Where(int cell) { return DescribeCell(cell); }

std::string MoveText(const Move& move, int keysLeft) {
  switch (move.type) {
    case MoveType::Start: return "start at " + Where(move.to);
    case MoveType::Walk: return "go from " + Where(move.from) + " to " + Where(move.to);
    case MoveType::Slide: return "slide from " + Where(move.from) + " to " + Where(move.to);
    case MoveType::Cross: return "cross from " + Where(move.from) + " to " + Where(move.to);
    case MoveType::TeamCross:
      return "both players cross from " + Where(move.from) + " and " + Where(move.partnerFrom) +
             " to " + Where(move.to) + " and " + Where(move.partnerTo);
    case MoveType::OpenDoor:
      return "open the door at " + Where(move.to) + " (" + std::to_string(keysLeft) +
             (keysLeft == 1 ? " key" : " keys") + " left)";
  }
  return "";
}

std::string GainText(const LevelModel& m, int cell, GainKind how) {
  const std::string at = " at " + Where(cell);
  switch (how) {
    case GainKind::Item: return "";
    case GainKind::Key: return "collect the key" + at;
    case GainKind::EnterOver: return "enter over the " + std::string(NameOfCode(m.Code(cell))) + at;
    case GainKind::Shot: return "shoot the " + std::string(NameOfCode(m.Code(cell))) + at;
    case GainKind::PigRanInto: return "let the pig run into the player" + at;
  }
  return "";
}

}  // namespace

std::string DescribeNode(const LevelSearch& search, int node, bool gains) {
  const SearchNode& n = search.Node(node);
  const ClosureSummary& s = search.Summary(node);
  std::string text = MoveText(n.move, n.keys - s.keysGained);
  if (!gains) return text;
  const LevelModel& m = search.Model();
  std::vector<std::string> parts;
  for (uint32_t g = 0; g < s.gainCount; ++g) {
    const Gain& gain = search.Gains(s)[g];
    std::string part = GainText(m, m.CellOfBit(gain.bit), gain.how);
    if (!part.empty()) parts.push_back(std::move(part));
  }
  for (std::size_t k = 0; k < parts.size(); ++k) text += (k ? ", " : "; then ") + parts[k];
  return text;
}

std::vector<std::string> DescribeRoute(const LevelSearch& search) {
  std::vector<std::string> route;
  const std::vector<int> chain = search.GoalChain();
  if (chain.empty()) return route;
  for (int node : chain) route.push_back(DescribeNode(search, node, true));
  route.push_back("step onto the Finish from " + Where(search.Summary(chain.back()).goal.from));
  return route;
}
