#pragma once
// Window controls drawn in software over a form's canvas: labels, pictures, edit
// fields, drop-down lists and panels. Positions are relative to the parent.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/image.h"
#include "base/rect.h"
#include "platform/events.h"
#include "platform/fonts.h"

enum class Align { Left, Center, Right };

class Panel;
class Form;
class TextRenderer;

class Control {
 public:
  virtual ~Control() = default;

  std::string name;
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  bool enabled = true;
  int tag = 0;
  CursorKind cursor = CursorKind::Arrow;
  Panel* parent = nullptr;
  // The form that owns the control (set when the form adopts it).
  Form* form = nullptr;

  std::function<void(MouseButton, int x, int y)> onMouseDown;
  std::function<void(MouseButton, int x, int y)> onMouseUp;
  std::function<void()> onClick;
  // The pointer moved over the control, or anywhere while the control holds the press
  // (a drag); without it the control sees no moves.
  std::function<void(int x, int y)> onMouseMove;
  // Wheel notches turned over the control (positive away from the user); a control
  // without it passes them to its parent.
  std::function<void(int notches, int x, int y)> onWheel;

  // Visible itself and every parent visible.
  bool Showing() const;
  // Position in the form's client coordinates.
  int ScreenLeft() const;
  int ScreenTop() const;
  virtual bool CanFocus() const { return false; }
  // The form's focus is on this control.
  bool Focused() const { return focused_; }
  // Paints at form coordinates (x, y) onto the composed picture, within its own bounds.
  virtual void Paint(Image& target, int x, int y) const = 0;
  // Everything the control's picture depends on, folded into one number: the form
  // compares it between presents to notice changes made by plain assignment.
  virtual uint64_t StateHash() const;
  // Where it paints, in the form's client coordinates (while showing).
  virtual Rect PaintArea() const;
  // The owning app's text services.
  TextRenderer& Text() const;

 private:
  friend class Form;
  bool focused_ = false;
  // What the screen shows of it, to tell what changed (Form::TakeDamage).
  bool shownKnown_ = false;
  uint64_t shownHash_ = 0;
  Rect shownArea_;
};

class Label : public Control {
 public:
  std::string text;
  FontSpec font;
  Color color = Black;
  bool transparent = true;
  Color background = Black;
  Align align = Align::Left;
  // Width and height follow the text; a word-wrapped label keeps its width and only
  // its height follows the wrapped lines.
  bool autoSize = true;
  bool wordWrap = false;  // wraps inside `width`
  void SetText(const std::string& t);
  // Applies autoSize now (SetText does; the app does before it composes or hit-tests).
  void FitToText();
  // The size autoSize gives for the current text and font.
  void FittedSize(int& w, int& h) const;
  void Paint(Image& target, int x, int y) const override;
  Rect PaintArea() const override;
  uint64_t StateHash() const override;
};

// A picture's image, replaced whole: each replacement counts as a change to show, so
// noticing one costs nothing however large the image. An image that is slow to make and
// not needed at once may be given as its maker: it is made the first time anyone looks.
class PictureImage {
 public:
  PictureImage& operator=(Image image) {
    image_ = std::move(image);
    maker_ = nullptr;
    ++revision_;
    return *this;
  }
  // `inIdleMoments`: made in the program's idle moments too; without it, only when
  // looked at (a large picture seldom seen need not be held for the whole run).
  void MakeLater(std::function<Image()> maker, bool inIdleMoments = true) {
    image_ = Image();
    maker_ = std::move(maker);
    inIdleMoments_ = inIdleMoments;
    ++revision_;
  }
  bool Waiting() const { return maker_ != nullptr; }
  bool WaitsForIdleMoments() const { return maker_ != nullptr && inIdleMoments_; }
  operator const Image&() const { return Get(); }
  const Image& Get() const {
    if (maker_) MakeNow();
    return image_;
  }
  bool Empty() const { return Get().Empty(); }
  int Width() const { return Get().Width(); }
  int Height() const { return Get().Height(); }
  const std::vector<uint32_t>& Pixels() const { return Get().Pixels(); }
  Color PixelColor(int x, int y) const { return Get().PixelColor(x, y); }
  // Making a waiting image changes nothing that was promised, so it is no revision.
  uint64_t Revision() const { return revision_; }

 private:
  void MakeNow() const {
    auto maker = std::move(maker_);
    maker_ = nullptr;
    image_ = maker();
  }
  mutable Image image_;
  mutable std::function<Image()> maker_;
  bool inIdleMoments_ = true;
  uint64_t revision_ = 0;
};

class Picture : public Control {
 public:
  PictureImage image;
  bool stretch = true;
  void Paint(Image& target, int x, int y) const override;
  uint64_t StateHash() const override;
};

class EditField : public Control {
 public:
  std::string text;
  FontSpec font;
  Color color = Black;
  Color background = Black;
  bool readOnly = false;
  bool selected = false;  // the whole text is selected; typing replaces it
  // The most characters typing may leave in the field; 0: no limit.
  std::size_t maxLength = 0;
  // Called after typing changed the text.
  std::function<void()> onChange;
  // Focus leaves the field.
  std::function<void()> onExit;
  std::function<void(int vk)> onKeyDown;
  std::function<void(int vk)> onKeyUp;
  // A typed character; set it to 0 to swallow it.
  std::function<void(char& c)> onKeyPress;
  void SelectAll() { selected = true; }
  // Caret position in `text`; past the end means at the end.
  size_t caret = std::string::npos;
  bool CanFocus() const override { return visible && enabled; }
  void Paint(Image& target, int x, int y) const override;
  uint64_t StateHash() const override;

  // Editing as the keyboard does it (the app calls these after the handlers).
  // A typed character: printable ones insert (replacing a selected text) while the text
  // is shorter than maxLength, 8 deletes back; nothing when read-only. True when the
  // text changed.
  bool TypeChar(char c);
  // Delete, Left, Right, Home, End. True when the text changed.
  bool EditKey(int vk);
  // Caret index nearest to x pixels from the field's left edge.
  size_t CaretIndexAt(int x) const;
  // Where the text starts inside the field.
  static constexpr int kMargin = 4;
};

class DropDown : public Control {
 public:
  std::vector<std::string> items;
  int selectedIndex = 0;
  FontSpec font;
  Color color = Black;
  Color background = White;
  bool open = false;  // the list is unfolded below the field
  std::function<void()> onChange;
  bool CanFocus() const override { return visible && enabled; }
  void Paint(Image& target, int x, int y) const override;
  uint64_t StateHash() const override;
  // The unfolded list, drawn over everything with its top-left corner at (x, y).
  void PaintList(Image& target, int x, int y) const;
  // The field and, while unfolded, the list below it.
  Rect PaintArea() const override;
  int ItemHeight() const;
  int ListHeight() const;
  // The item under y pixels below the list's top, or -1.
  int ItemAt(int y) const;
  // Picks an item as the user does: calls onChange when the selection changed.
  void Choose(int index);
  // Unfolds the list when it has items; Escape goes back to the item chosen now.
  void Unfold();
  // Folds the list up on the item it was unfolded on, as Escape does.
  void CancelList();

 private:
  int unfoldedOn_ = -1;
};

class Panel : public Control {
 public:
  Color background = Black;
  bool transparent = false;
  std::vector<Control*> children;  // owned by the form; painted after the panel, clipped to it
  void Paint(Image& target, int x, int y) const override;
  uint64_t StateHash() const override;
};

