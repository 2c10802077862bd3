#pragma once
// A screen of the program: a borderless window with its own canvas and controls.
// One form is visible at a time; it receives the keys first (key preview).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/image.h"
#include "base/rect.h"
#include "ui/controls.h"
#include "ui/form_canvas.h"

class App;
class DamageList;

// A form registers itself with the app when made (AddForm) and leaves it when
// destroyed, so it must not outlive the app.
class Form {
 public:
  Form(App& app, std::string name, int clientWidth, int clientHeight, Color background);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  App& app;
  std::string name;
  Color background;
  // The form's own painting (for the main window: the room). Controls are composed
  // over it when presenting and capturing.
  FormCanvas canvas;

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
  // Makes the pictures that were left to be made when first looked at.
  void MakeWaitingPictures();

  Control* focus = nullptr;
  // Moves the focus; the field that loses it gets its onExit.
  void SetFocus(Control* c);
  // Tab order: the focusable controls in the order given.
  std::vector<Control*> tabOrder;
  // Tab / Shift+Tab: the next (previous) focusable, showing control of tabOrder,
  // wrapping around. A field reached this way has its whole text selected.
  void FocusNext(bool backwards);

  // The deepest showing control at a point of the client area; the later added wins
  // where controls overlap, an unfolded drop-down list lies over everything, and a
  // label without mouse handlers lets the mouse through to what lies under it.
  Control* ControlAt(int x, int y) const;

  // The canvas with every showing control painted over it.
  Image Compose() const;
  // Paints the showing controls (and unfolded lists) with the client area's corner at
  // (originX, originY) of `target`; with `only`, just those painting into that part
  // of the client area.
  void PaintControls(Image& target, int originX, int originY) const;
  void PaintControls(Image& target, int originX, int originY, const Rect& only) const;
  // Drawing onto `canvas` must be announced with one of these, or the screen keeps
  // the old picture. Changes to controls are noticed without them.
  void Invalidate() { dirty = true; }
  void InvalidateRect(int x, int y, int w, int h);
  bool dirty = true;
  // Hands what changed since the last call to `damage`, with the client area's corner
  // at (originX, originY): announced canvas drawing, and the old and new places of
  // every control whose look changed (autoSize labels are fitted first).
  void TakeDamage(DamageList& damage, int originX, int originY);

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
  friend class App;
  struct DirtyRect {
    int x, y, w, h;
  };
  void Adopt(std::unique_ptr<Control> c, Panel* parent);
  void TakeControlDamage(Control& c, DamageList& damage, int originX, int originY);
  void PaintSome(Image& target, int originX, int originY, const Rect* only) const;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<DirtyRect> dirtyRects_;
  // FormPaint is due (the form was shown or resized), as a window's paint message.
  bool paintPending_ = true;
};
