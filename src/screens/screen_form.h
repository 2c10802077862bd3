#pragma once
// A full-screen window of the program beside the main one: black, borderless,
// Escape returns to the title menu and Print Screen captures it.
#include <functional>
#include <string>

#include "ui/form.h"

class ScreenForm : public Form {
 public:
  ScreenForm(App& app, std::string name, int clientWidth, int clientHeight);

  // Set by the main window: shows the title menu again.
  std::function<void()> showTitleMenu;
  // Set by the main window: saves a capture of the given screen.
  std::function<void(Form&)> captureScreen;

  // Shows the title menu and hides this screen.
  void ReturnToTitleMenu();
  void FormKeyUp(int vk) override;
};
