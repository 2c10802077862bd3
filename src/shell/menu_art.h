#pragma once
// Title-menu pictures, drawn by the program itself.
#include "platform/image.h"

Image MakeTitlePicture(int w, int h);
Image MakeSecondPicture(int w, int h);
Image MakeButton(int w, int h);
Image MakeArrow(bool up, int size);
Image MakeLevelSelector(int w, int h);
