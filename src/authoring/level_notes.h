#pragma once
// What the checker finds without searching: whether the Start and Finish are usable,
// and layouts worth a look.
#include "authoring/level_check.h"
#include "authoring/level_model.h"

// Errors (and a note) about the Start, player 1's and player 2's start cells and the
// Finish.
void CheckStartAndFinish(const LevelModel& m, CheckReport& report);
// Notes: several Starts, shootable walls that crumble at once, things in laser beams,
// crossings that overwrite something or lead out of the level.
void NoteLayout(const LevelModel& m, CheckReport& report);
