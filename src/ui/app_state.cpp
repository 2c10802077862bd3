#include "ui/app_state.h"

#include "ui/form.h"

int AppState::ScreenWidth() const {
  if (logicalWidth > 0) return logicalWidth;
  return visible ? visible->ClientWidth() : 640;
}

int AppState::ScreenHeight() const {
  if (logicalHeight > 0) return logicalHeight;
  return visible ? visible->ClientHeight() : 480;
}

Form* AppState::InputTarget() const { return modalForms.empty() ? visible : modalForms.back(); }

MessageBoxState* AppState::TopBox() const { return layers.empty() ? nullptr : layers.back().box; }

void AppState::FormOrigin(const Form* form, int& x, int& y) const {
  x = y = 0;
  if (!form || form == visible) return;
  // A dialog is centred on the screen, whatever the size of the form behind it.
  x = (ScreenWidth() - form->ClientWidth()) / 2;
  y = (ScreenHeight() - form->ClientHeight()) / 2;
}

void AppState::SyncLayerLists() {
  modalForms.clear();
  boxTexts.clear();
  for (const ModalLayer& l : layers) {
    if (l.form) modalForms.push_back(l.form);
    if (l.box) boxTexts.push_back(l.box->text);
  }
}
