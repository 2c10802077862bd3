#pragma once
// The status panels' refresh, paced by its own call counter.
#include "players/status_texts.h"

struct Game;

// Works on every third call (the first call works): hands a dead partner's keys to
// the living player and fills both players' texts. True when it worked.
bool UpdateStatusPanels(Game& game, PanelTexts texts[2]);
