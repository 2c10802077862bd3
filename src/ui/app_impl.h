#pragma once
// The app's private state: the window, the modal layers, input and presenting state.
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/sdl_input.h"
#include "platform/window.h"
#include "ui/app.h"
#include "ui/form.h"
#include "ui/text.h"

struct MessageBoxState {
  BoxKind kind = BoxKind::Message;
  std::string text;
  std::vector<BoxResult> buttons;  // OK, or Yes and No
  int focused = 0;                 // the default button; Tab and the arrows move it
  int pressed = -1;                // button under a held mouse button
  bool pressedInside = false;      // the pointer is still over the pressed button
  bool done = false;
  BoxResult result = BoxResult::Ok;
};

// A modal form or an open box, in the order they were opened.
struct ModalLayer {
  Form* form = nullptr;
  MessageBoxState* box = nullptr;
};

struct BoxLayout {
  int x = 0, y = 0, w = 0, h = 0;
  int titleHeight = 18;
  int iconX = 0, iconY = 0;
  int textX = 0, textY = 0;
  std::vector<std::string> lines;
  struct Button {
    int x, y, w, h;
  };
  std::vector<Button> buttons;
};

BoxLayout LayoutMessageBox(TextRenderer& text, const MessageBoxState& box, int screenWidth,
                           int screenHeight, const std::string& title);
void PaintMessageBox(TextRenderer& text, Image& screen, const MessageBoxState& box, const BoxLayout& layout,
                     const std::string& title);
// The button under a point, or -1.
int BoxButtonAt(const BoxLayout& layout, int x, int y);

struct App::Impl {
  std::string title;

  FontLibrary fonts;
  TextRenderer text{fonts};

  // Display and its events (absent when headless).
  std::unique_ptr<Window> window;
  std::unique_ptr<SdlInput> events;
  int logicalWidth = 0, logicalHeight = 0;  // 0: follow the visible form
  bool fullScreen = false;

  // Input.
  std::deque<InputEvent> pending;
  std::vector<ModalLayer> layers;
  Control* capture = nullptr;
  Form* captureForm = nullptr;
  bool captureInList = false;  // the press began in an unfolded drop-down list
  int mouseX = -1, mouseY = -1;
  std::set<int> keysDown;
  std::set<int> swallowUps;   // keys pressed while a box was open
  bool swallowChars = false;  // characters of a key a box took

  // Presenting.
  Image screen;  // what the display shows
  const Form* shownForm = nullptr;
  uint64_t shownFormHash = 0;
  uint64_t shownLayerHash = 0;
  bool forceFull = true;
  uint64_t lastCheckMs = 0;
  bool checkedOnce = false;
  PresentStats stats;
};
