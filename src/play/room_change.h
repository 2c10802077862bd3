#pragma once
// Taking both players into a neighbouring room when one walks off the edge.
struct Game;
struct PlayerState;

// Which of the eight neighbours a player leaving the room from (X, Y) in its
// MoveDirection heads for: a diagonal leaves diagonally only out of a corner.
int LeaveDirection(const PlayerState& player);
// True (refused) when the players may not leave, or no room lies that way.
bool LeaveRoom(Game& game, int direction);
