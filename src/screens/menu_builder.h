#pragma once
// The words and buttons of the program's screens, made alike everywhere: captions in the
// bold title face lying over the pictures, button plates with the hand pointer, still
// pictures, and the input fields of the options screen and the name dialog.
#include <functional>
#include <string>

#include "base/image.h"
#include "ui/form.h"

// The menus' caption colours: the words in red, the key names on the plates' caps in blue.
constexpr Color MenuRed{224, 0, 0};
constexpr Color KeyBlue{0, 0, 255};

class MenuBuilder {
 public:
  // Adds the controls to `form`, inside `parent` when one is given.
  explicit MenuBuilder(Form& form, Panel* parent = nullptr) : form_(form), parent_(parent) {}

  // A transparent caption in the bold title face, sized to its text.
  Label& Caption(const std::string& id, const std::string& text, int left, int top, int pixelHeight,
                 Color color, bool underline = false);
  // A picture stretched over its seat.
  Picture& Art(const std::string& id, int left, int top, int width, int height, Image image);
  // The same, its picture made when first needed (menu art takes a while to draw).
  Picture& Art(const std::string& id, int left, int top, int width, int height, std::function<Image()> maker);
  // A button plate of that size with the hand pointer; `onClick` is its action (it may
  // also be set later).
  Picture& Plate(const std::string& id, int left, int top, int width, int height,
                 std::function<void()> onClick = {});
  // An input field 38 pixels high: text in the 21-pixel bold title face on black.
  EditField& Field(const std::string& id, const std::string& text, int left, int top, int width,
                   Color color);

 private:
  Form& form_;
  Panel* parent_;
};
