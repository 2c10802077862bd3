#pragma once
// What the two status panels say about the players; the shell owns the labels.
#include <string>

#include "players/player_state.h"

struct PanelTexts {
  std::string Life, Points, HealthKits, Bombs, Keys, LevelsPassed, Status;
};

// Hands a dead partner's keys to the living player (two-player games) and fills both
// players' texts; the status line also shows an open item menu or a running shield.
void FillStatusTexts(PlayerState& player1, PlayerState& player2, bool twoPlayers, PanelTexts texts[2]);
