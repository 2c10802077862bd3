#pragma once
// The title menu's pictures, drawn at start-up rather than shipped as files.
#include "base/image.h"

// The "TROK MIREL" logo on black (690 x 150 in the menu).
Image MakeTitlePicture(int w, int h);
// The strip under the logo (690 x 64): creatures marching towards a player.
Image MakeSecondPicture(int w, int h);
// A menu button plate (317 x 54 or 157 x 54); the left ~50 pixels are a key cap for
// the key name, the rest takes the caption.
Image MakeButton(int w, int h);
// A square arrow key (42 x 42) pointing up or down.
Image MakeArrow(bool up, int size);
// The plate behind "Level" and its value (317 x 54), with seats for the two arrows
// at 9 pixels from either end.
Image MakeLevelSelector(int w, int h);
