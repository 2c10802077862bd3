#pragma once
// The one SDL window: where it sits (a small centred window, a framed resizable
// window, or over the whole desktop), the logical screen scaled crisply into its own pixels (SDL's window
// surface, no renderer) and letterboxed in black, and the pointer's shape. Nothing
// here knows forms or controls.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/image.h"
#include "base/rect.h"
#include "platform/events.h"

class Window {
 public:
  Window();
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Starts SDL's video and opens the window, hidden and borderless; false with a reason.
  bool Open(const std::string& title, std::string& error);
  void SetTitle(const std::string& title);
  // Brings the window in front and asks for the keyboard (after another program's
  // window went away).
  void Raise();
  // The window's icon: width x height pixels 0xAARRGGBB, row by row from the top.
  void SetIcon(const uint32_t* argb, int width, int height);
  // A borderless window of the logical size, centred on the desktop.
  void ShowCentred(int width, int height);
  // Covers the desktop; the logical screen keeps its size and is scaled into it. False
  // with a reason when the desktop refused.
  bool CoverDesktop(int logicalWidth, int logicalHeight, std::string& error);
  // A framed window the player can resize; the logical screen keeps its size and is
  // scaled into it. It opens where it was left in this run, or first at the largest
  // whole multiple of the logical size that fits the desktop's work area.
  void ShowInWindow(int logicalWidth, int logicalHeight);
  // Back to a centred window (at quit).
  void RestoreDesktop();
  bool Placed() const;

  // Shows the `changed` rectangles of the logical screen picture, or all of it when
  // the window lost its picture; true when something was shown.
  bool Present(const Image& screen, const std::vector<Rect>& changed);
  // The window lost its picture (shown, exposed, resized): the next Present shows all.
  bool NeedsWholePicture() const;
  void SetCursor(CursorKind kind);

  // For the event source: a window position in logical screen coordinates (outside the
  // picture the result lies outside the logical size), and the window's picture lost.
  void ToLogical(int windowX, int windowY, int& x, int& y) const;
  void PictureLost();
  // The descriptor that turns readable when the display server has something for the
  // window; -1 where there is none to watch (then waiting asks SDL).
  int DisplayConnection() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
