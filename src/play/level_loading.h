#pragma once
// Starting a level in the running game, and moving on to the next one.
struct Game;

enum class LevelLoad { Loaded, Failed };

// Fills the grid from the level file, places both players' markers beside the Start
// and sets the level title. When it failed the grid is cleared and the error shown.
LevelLoad LoadLevel(Game& game, int levelNumber);
// The next level (in order or at random), players back to their start, room drawn.
void AdvanceLevel(Game& game);
