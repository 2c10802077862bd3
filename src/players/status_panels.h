#pragma once
// What the two status panels show; the shell owns the labels themselves.
#include <string>

struct Game;

struct PanelTexts {
  std::string Life, Points, HealthKits, Bombs, Keys, LevelsPassed, Status;
};

// Works on every third call (the first call works): hands a dead partner's keys to
// the living player and fills both players' texts. True when it worked.
bool UpdateStatusPanels(Game& game, PanelTexts texts[2]);
