#include "play/status_panels.h"

#include "play/game.h"

bool UpdateStatusPanels(Game& game, PanelTexts texts[2]) {
  // Only the count modulo 3 matters; keeping it small keeps it from overflowing.
  const int phase = ((game.PanelRefreshCount % 3) + 3) % 3;
  game.PanelRefreshCount = (phase + 1) % 3;
  if (phase != 0) return false;
  FillStatusTexts(game.Player1, game.Player2, game.TwoPlayers(), texts);
  return true;
}
