#pragma once
// Starting a level in the running game, and moving on to the next one.
struct Game;

// Fills the grid from the level file, places both players' markers beside the Start
// and sets the level title. True when it failed: the grid is then cleared.
bool LoadLevel(Game& game, int levelNumber);
// The next level (in order or at random), players back to their start, room drawn.
void AdvanceLevel(Game& game);
