#pragma once
// A screen of the program: a borderless window with its own canvas and controls.
// One form is visible at a time; it receives the keys first (key preview).
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/image.h"

class App;

class Form {
 public:
  Form(App& app, std::string name, int clientWidth, int clientHeight, Color background);
  virtual ~Form();

  App& app;
  std::string name;
  Color background;
  // The form's own painting (for the main window: the room). Controls are composed
  // over it when presenting and capturing.
  Image canvas;

  int ClientWidth() const { return canvas.Width(); }
  int ClientHeight() const { return canvas.Height(); }
  // Resizes the canvas (background-filled) and marks everything to be shown again.
  void SetClientSize(int w, int h);

  // Creates a control owned by the form, inside `parent` when given.
  template <class T>
  T& Add(const std::string& controlName, int left, int top, int width, int height,
         Panel* parent = nullptr) {
    auto owned = std::make_unique<T>();
    T& c = *owned;
    c.name = controlName;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    Adopt(std::move(owned), parent);
    return c;
  }
  Control* Find(const std::string& controlName) const;
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

  Control* focus = nullptr;
  void SetFocus(Control* c);
  // Tab order: the focusable controls in the order given.
  std::vector<Control*> tabOrder;

  // The canvas with every showing control painted over it.
  Image Compose() const;
  // Something changed: the next present shows it.
  void Invalidate() { dirty = true; }
  void InvalidateRect(int x, int y, int w, int h);
  bool dirty = true;

  // Handlers; the key ones see every key before the focused control does.
  virtual void FormKeyDown(int /*vk*/) {}
  virtual void FormKeyUp(int /*vk*/) {}
  virtual void FormKeyPress(char /*c*/) {}
  virtual void FormPaint() {}
  virtual void FormShow() {}
  virtual void FormClose() {}
  // Modal forms: set to end their nested loop.
  bool modalDone = false;

 private:
  void Adopt(std::unique_ptr<Control> c, Panel* parent);
  std::vector<std::unique_ptr<Control>> controls_;
};
