#include "platform/window.h"

#include <SDL.h>

#include <algorithm>

#include "platform/display_connection.h"
#include "platform/screen_fit.h"
#include "platform/screen_scaler.h"
#include "platform/window_placement.h"

struct Window::Impl {
  bool videoStarted = false;
  SDL_Window* window = nullptr;
  int logicalWidth = 0, logicalHeight = 0;
  bool placed = false;
  bool coversDesktop = false;
  bool framed = false;  // the resizable window
  // Where the player last left the resizable window in this run.
  bool haveFramedPlace = false;
  SDL_Rect framedPlace{};
  bool pictureLost = true;
  // The surface last drawn into; a new or resized one starts without a picture.
  const SDL_Surface* shownSurface = nullptr;
  int shownWidth = 0, shownHeight = 0;
  ScreenScaler scaler;
  // Scaled pixels for a surface that is not 32-bit XRGB, converted rectangle by rectangle.
  std::vector<uint32_t> converted;
  std::vector<SDL_Rect> updated;
  SDL_Cursor* arrow = nullptr;
  SDL_Cursor* wait = nullptr;
  SDL_Cursor* hand = nullptr;
  int appliedCursor = -1;

  void OutputSize(int& w, int& h) const {
    w = h = 0;
    if (window) SDL_GetWindowSizeInPixels(window, &w, &h);
  }
  ScreenFit CurrentFit() const {
    int w, h;
    OutputSize(w, h);
    return FitScreen(w, h, logicalWidth, logicalHeight);
  }
  // The resizable window's place is kept before the window changes to another kind.
  void LeaveFramed();
  Rect FirstFramedPlace() const;
  // Starts video and opens the window with a surface; false (video stopped) when not.
  bool Start(const std::string& title, bool accelerated, std::string& error);
  bool Draw(SDL_Surface* surface, const Image& screen, const std::vector<Rect>& changed, bool whole);
  void DrawRect(SDL_Surface* surface, const Image& screen, const Rect& area, bool direct);
};

namespace {
// 0x00RRGGBB words, as the logical screen holds them.
bool HoldsScreenPixels(const SDL_Surface* s) {
  return s->format->format == SDL_PIXELFORMAT_RGB888 || s->format->format == SDL_PIXELFORMAT_ARGB8888;
}
}  // namespace

Window::Window() : impl_(std::make_unique<Impl>()) {}

Window::~Window() {
  Impl& m = *impl_;
  if (m.arrow) SDL_FreeCursor(m.arrow);
  if (m.wait) SDL_FreeCursor(m.wait);
  if (m.hand) SDL_FreeCursor(m.hand);
  if (m.window) SDL_DestroyWindow(m.window);
  if (m.videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool Window::Open(const std::string& title, std::string& error) {
  Impl& m = *impl_;
  if (m.window) return true;
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // The window's own pixels, updated rectangle by rectangle. Without the hint SDL backs
  // the window surface with a renderer, which without a GPU is a software GL stack; a
  // video driver with no pixels of its own still gets a renderer behind the surface.
  if (!m.Start(title, false, error) && !m.Start(title, true, error)) return false;
  SDL_StartTextInput();
  return true;
}

bool Window::Impl::Start(const std::string& title, bool accelerated, std::string& error) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, accelerated ? "1" : "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("Cannot start the display: ") + SDL_GetError();
    return false;
  }
  videoStarted = true;
  window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                            SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window) {
    error = std::string("Cannot open the window: ") + SDL_GetError();
  } else if (!SDL_GetWindowSurface(window)) {
    error = std::string("Cannot draw into the window: ") + SDL_GetError();
    SDL_DestroyWindow(window);
    window = nullptr;
  }
  if (window) return true;
  // The video driver decides once per start whether surfaces get a renderer.
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  videoStarted = false;
  return false;
}

void Window::SetTitle(const std::string& title) {
  if (impl_->window) SDL_SetWindowTitle(impl_->window, title.c_str());
}

void Window::Raise() {
  if (!impl_->window) return;
  SDL_RaiseWindow(impl_->window);
  SDL_SetWindowInputFocus(impl_->window);
}

void Window::SetIcon(const uint32_t* argb, int width, int height) {
  if (!impl_->window || !argb) return;
  // SDL copies the pixels: the surface only lends them.
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), width, height, 32, width * 4,
                                                         SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  SDL_SetWindowIcon(impl_->window, icon);
  SDL_FreeSurface(icon);
}

bool Window::Placed() const { return impl_->placed; }

void Window::ShowCentred(int width, int height) {
  Impl& m = *impl_;
  m.logicalWidth = width;
  m.logicalHeight = height;
  m.coversDesktop = false;
  m.pictureLost = true;
  if (!m.window) return;
  m.LeaveFramed();
  SDL_SetWindowFullscreen(m.window, 0);
  SDL_SetWindowBordered(m.window, SDL_FALSE);
  SDL_SetWindowSize(m.window, width, height);
  SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  SDL_ShowWindow(m.window);
  SDL_RaiseWindow(m.window);
  m.placed = true;
}

bool Window::CoverDesktop(int logicalWidth, int logicalHeight, std::string& error) {
  Impl& m = *impl_;
  if (m.window) {
    // A borderless window over the whole desktop: unlike a full-screen request it
    // needs no window manager to honour it, and it never changes the display mode.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(m.window), &desktop) != 0) {
      error = SDL_GetError();
      return false;
    }
    m.LeaveFramed();
    SDL_SetWindowBordered(m.window, SDL_FALSE);
    SDL_SetWindowPosition(m.window, 0, 0);
    SDL_SetWindowSize(m.window, desktop.w, desktop.h);
    SDL_ShowWindow(m.window);
    SDL_RaiseWindow(m.window);
    m.placed = true;
  }
  m.logicalWidth = logicalWidth;
  m.logicalHeight = logicalHeight;
  m.coversDesktop = true;
  m.pictureLost = true;
  return true;
}

void Window::Impl::LeaveFramed() {
  if (!framed) return;
  framed = false;
  SDL_GetWindowPosition(window, &framedPlace.x, &framedPlace.y);
  SDL_GetWindowSize(window, &framedPlace.w, &framedPlace.h);
  haveFramedPlace = framedPlace.w > 0 && framedPlace.h > 0;
  SDL_SetWindowResizable(window, SDL_FALSE);
}

Rect Window::Impl::FirstFramedPlace() const {
  const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
  SDL_Rect area{0, 0, logicalWidth, logicalHeight};
  if (SDL_GetDisplayUsableBounds(display, &area) != 0) SDL_GetDisplayBounds(display, &area);
  // The frame is known once the window manager has framed the window; before, none.
  WindowFrame frame;
  if (SDL_GetWindowBordersSize(window, &frame.top, &frame.left, &frame.bottom, &frame.right) != 0) frame = {};
  return PlaceWindow({area.x, area.y, area.w, area.h}, frame, logicalWidth, logicalHeight);
}

void Window::ShowInWindow(int logicalWidth, int logicalHeight) {
  Impl& m = *impl_;
  m.logicalWidth = logicalWidth;
  m.logicalHeight = logicalHeight;
  m.coversDesktop = false;
  m.pictureLost = true;
  if (!m.window || m.framed) return;
  SDL_SetWindowBordered(m.window, SDL_TRUE);
  SDL_SetWindowResizable(m.window, SDL_TRUE);
  SDL_SetWindowMinimumSize(m.window, std::max(logicalWidth / 2, 1), std::max(logicalHeight / 2, 1));
  SDL_Rect place = m.framedPlace;
  if (!m.haveFramedPlace) {
    Rect first = m.FirstFramedPlace();
    place = {first.x, first.y, first.w, first.h};
  }
  SDL_SetWindowSize(m.window, place.w, place.h);
  SDL_SetWindowPosition(m.window, place.x, place.y);
  SDL_ShowWindow(m.window);
  SDL_RaiseWindow(m.window);
  m.framed = true;
  m.placed = true;
}

void Window::RestoreDesktop() {
  Impl& m = *impl_;
  if (!m.window || !m.coversDesktop) return;
  SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  m.coversDesktop = false;
  m.pictureLost = true;
}

bool Window::NeedsWholePicture() const { return impl_->pictureLost; }

bool Window::Present(const Image& screen, const std::vector<Rect>& changed) {
  Impl& m = *impl_;
  if (!m.window || screen.Empty()) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(m.window);
  if (!surface) return false;
  m.logicalWidth = screen.Width();
  m.logicalHeight = screen.Height();
  bool whole = m.pictureLost || surface != m.shownSurface || surface->w != m.shownWidth || surface->h != m.shownHeight;
  if (!whole && changed.empty()) return false;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  bool drawn = m.Draw(surface, screen, changed, whole);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (!drawn) return false;
  int result = whole ? SDL_UpdateWindowSurface(m.window)
                     : SDL_UpdateWindowSurfaceRects(m.window, m.updated.data(), static_cast<int>(m.updated.size()));
  if (result != 0) return false;
  m.pictureLost = false;
  m.shownSurface = surface;
  m.shownWidth = surface->w;
  m.shownHeight = surface->h;
  return true;
}

bool Window::Impl::Draw(SDL_Surface* surface, const Image& screen, const std::vector<Rect>& changed, bool whole) {
  bool direct = HoldsScreenPixels(surface);
  if (!direct) converted.resize(static_cast<size_t>(surface->w) * surface->h);
  scaler.Configure(screen.Width(), screen.Height(), FitScreen(surface->w, surface->h, screen.Width(), screen.Height()));
  updated.clear();
  if (whole) {
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    DrawRect(surface, screen, {0, 0, screen.Width(), screen.Height()}, direct);
    return true;
  }
  for (const Rect& r : changed) DrawRect(surface, screen, r, direct);
  return !updated.empty();
}

void Window::Impl::DrawRect(SDL_Surface* surface, const Image& screen, const Rect& area, bool direct) {
  if (direct) {
    Rect out = scaler.Scale(screen, area, static_cast<uint32_t*>(surface->pixels), surface->pitch / 4);
    if (!out.Empty()) updated.push_back({out.x, out.y, out.w, out.h});
    return;
  }
  Rect out = scaler.Scale(screen, area, converted.data(), surface->w);
  if (out.Empty()) return;
  const uint32_t* from = converted.data() + static_cast<size_t>(out.y) * surface->w + out.x;
  auto* to = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(out.y) * surface->pitch +
             static_cast<size_t>(out.x) * surface->format->BytesPerPixel;
  SDL_ConvertPixels(out.w, out.h, SDL_PIXELFORMAT_RGB888, from, surface->w * 4, surface->format->format, to,
                    surface->pitch);
  updated.push_back({out.x, out.y, out.w, out.h});
}

void Window::SetCursor(CursorKind kind) {
  Impl& m = *impl_;
  if (!m.videoStarted || static_cast<int>(kind) == m.appliedCursor) return;
  m.appliedCursor = static_cast<int>(kind);
  if (kind == CursorKind::Hidden) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  // Each cursor is asked of the display server when first shown, not while the first
  // screen waits.
  SDL_Cursor*& c = kind == CursorKind::Hourglass ? m.wait : kind == CursorKind::Hand ? m.hand : m.arrow;
  if (!c)
    c = SDL_CreateSystemCursor(kind == CursorKind::Hourglass ? SDL_SYSTEM_CURSOR_WAIT
                               : kind == CursorKind::Hand    ? SDL_SYSTEM_CURSOR_HAND
                                                             : SDL_SYSTEM_CURSOR_ARROW);
  if (c) SDL_SetCursor(c);
}

void Window::ToLogical(int wx, int wy, int& x, int& y) const {
  const Impl& m = *impl_;
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(m.window, &ww, &wh);
  m.OutputSize(ow, oh);
  if (ww <= 0 || wh <= 0) {
    x = wx;
    y = wy;
    return;
  }
  // Window points to output pixels (they differ on high-density displays).
  double px = static_cast<double>(wx) * ow / ww, py = static_cast<double>(wy) * oh / wh;
  OutputToLogical(m.CurrentFit(), m.logicalWidth, m.logicalHeight, px, py, x, y);
}

void Window::PictureLost() { impl_->pictureLost = true; }

int Window::DisplayConnection() const { return DisplayConnectionOf(impl_->window); }
