#pragma once
// What the app's parts share: the forms, the modal layers over the visible one, the
// logical screen, the window and the text services. The app changes it; the input
// router and the screen presenter read it (and the router answers boxes).
#include <string>
#include <vector>

#include "platform/events.h"
#include "ui/modal_layers.h"

class Form;
class TextRenderer;
class Window;

struct AppState {
  explicit AppState(TextRenderer& textRenderer) : text(textRenderer) {}

  TextRenderer& text;
  Window* window = nullptr;  // none when headless
  std::string title;
  bool terminated = false;
  CursorKind cursor = CursorKind::Arrow;

  std::vector<Form*> forms;  // in creation order; not owned
  Form* visible = nullptr;
  std::vector<ModalLayer> layers;
  // Derived from the layers by SyncLayerLists.
  std::vector<Form*> modalForms;
  std::vector<std::string> boxTexts;

  int logicalWidth = 0, logicalHeight = 0;  // 0: follow the visible form
  bool fullScreen = false;
  bool inWindow = false;  // the resizable window

  int ScreenWidth() const;
  int ScreenHeight() const;
  // The innermost modal form, or the visible form.
  Form* InputTarget() const;
  // The innermost layer when it is a box.
  MessageBoxState* TopBox() const;
  // Where a form's client area lies on the screen: modal forms are centred on it.
  void FormOrigin(const Form* form, int& x, int& y) const;
  void SyncLayerLists();
};
