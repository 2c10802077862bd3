#pragma once
// What lies over the visible form: modal forms and message boxes, in the order they
// were opened, and the looks of a box.
#include <string>
#include <vector>

#include "base/image.h"
#include "base/rect.h"

class Form;
class TextRenderer;

enum class BoxKind { Error, Confirmation, Message };
enum class BoxResult { Ok, Yes, No };

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

// A modal form or an open box.
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
  Rect Area() const { return {x, y, w, h}; }
};

BoxLayout LayoutMessageBox(TextRenderer& text, const MessageBoxState& box, int screenWidth,
                           int screenHeight, const std::string& title);
void PaintMessageBox(TextRenderer& text, Image& screen, const MessageBoxState& box, const BoxLayout& layout,
                     const std::string& title);
// The button under a point, or -1.
int BoxButtonAt(const BoxLayout& layout, int x, int y);
