#include "players/status_texts.h"

#include <algorithm>

namespace {

void HandOverKeys(PlayerState& from, PlayerState& to) {
  to.Keys += from.Keys;
  from.Keys = 0;
}

const char* MenuText(int choice) {
  if (choice == MenuLife) return "LIFE";
  if (choice == MenuBomb) return "BOMB";
  return "NOTHING";
}

void FillPanel(PlayerState& player, PanelTexts& texts) {
  // Below zero the player is dead, however hard the last hit was.
  texts.Life = std::to_string(std::max(player.Life, 0));
  texts.Keys = std::to_string(player.Keys);
  texts.Bombs = std::to_string(player.Bombs);
  texts.HealthKits = std::to_string(player.HealthKits);
  texts.LevelsPassed = std::to_string(player.LevelsPassed);
  texts.Points = std::to_string(player.Points);
  if (player.ShieldTicks > 0)
    player.StatusText = "Shield On - " + std::to_string(player.ShieldTicks) + "%";
  // The open menu wins over the shield.
  if (player.MenuOpen) player.StatusText = MenuText(player.MenuChoice);
  texts.Status = "Status: " + player.StatusText;
}

}  // namespace

void FillStatusTexts(PlayerState& p1, PlayerState& p2, bool twoPlayers, PanelTexts texts[2]) {
  if (twoPlayers) {
    if (p1.Dead && !p2.Dead)
      HandOverKeys(p1, p2);
    else if (p2.Dead && !p1.Dead)
      HandOverKeys(p2, p1);
  }
  FillPanel(p1, texts[0]);
  FillPanel(p2, texts[1]);
}
