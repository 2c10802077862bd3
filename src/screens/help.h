#pragma once
// The help screens: about page and the legend of the game's objects.
#include "screens/screen_form.h"

class THelpForm : public ScreenForm {
 public:
  explicit THelpForm(App& app);
};
