#include "screens/screen_form.h"

#include "ui/app.h"
#include "base/keys.h"

ScreenForm::ScreenForm(App& application, std::string formName, int clientWidth, int clientHeight)
    : Form(application, std::move(formName), clientWidth, clientHeight, Black) {}

void ScreenForm::ReturnToTitleMenu() {
  if (showTitleMenu) showTitleMenu();
  app.Hide(this);
}

void ScreenForm::FormKeyUp(int vk) {
  if (vk == VK::PrintScreen) {
    if (captureScreen) captureScreen(*this);
  } else if (vk == VK::Escape) {
    ReturnToTitleMenu();
  }
}
