#pragma once
// The one SDL window: where it sits (a small centred window, or over the whole
// desktop), the logical screen scaled crisply into it and letterboxed in black, and the
// pointer's shape. Nothing here knows forms or controls.
#include <cstdint>
#include <memory>
#include <string>

#include "base/image.h"
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
  // Back to a centred window (at quit).
  void RestoreDesktop();
  bool Placed() const;

  // Copies a rectangle of the logical screen picture to the window's copy of it.
  void Update(const Image& screen, int x, int y, int w, int h);
  // Shows the window's copy when something was updated or the window lost its
  // picture; true when it showed it.
  bool Show(bool updated);
  void SetCursor(CursorKind kind);

  // For the event source: a window position in logical screen coordinates (outside the
  // picture the result lies outside the logical size), and the window's picture lost.
  void ToLogical(int windowX, int windowY, int& x, int& y) const;
  void PictureLost();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
