#include "platform/window.h"

#include <SDL.h>

#include <algorithm>

#include "platform/screen_fit.h"

struct Window::Impl {
  bool videoStarted = false;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0, textureHeight = 0;
  int logicalWidth = 0, logicalHeight = 0;
  bool placed = false;
  bool coversDesktop = false;
  bool pictureLost = false;
  SDL_Rect dest{0, 0, 0, 0};  // where the picture lands in the renderer's output
  SDL_Cursor* arrow = nullptr;
  SDL_Cursor* wait = nullptr;
  SDL_Cursor* hand = nullptr;
  int appliedCursor = -1;

  void UpdateDest() {
    if (!renderer || logicalWidth <= 0 || logicalHeight <= 0) return;
    int ow = 0, oh = 0;
    if (SDL_GetRendererOutputSize(renderer, &ow, &oh) != 0) return;
    ScreenFit fit = FitScreen(ow, oh, logicalWidth, logicalHeight);
    if (fit.w > 0) dest = {fit.x, fit.y, fit.w, fit.h};
  }
};

Window::Window() : impl_(std::make_unique<Impl>()) {}

Window::~Window() {
  Impl& m = *impl_;
  if (m.arrow) SDL_FreeCursor(m.arrow);
  if (m.wait) SDL_FreeCursor(m.wait);
  if (m.hand) SDL_FreeCursor(m.hand);
  if (m.texture) SDL_DestroyTexture(m.texture);
  if (m.renderer) SDL_DestroyRenderer(m.renderer);
  if (m.window) SDL_DestroyWindow(m.window);
  if (m.videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool Window::Open(const std::string& title, std::string& error) {
  Impl& m = *impl_;
  if (m.window) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("Cannot start the display: ") + SDL_GetError();
    return false;
  }
  m.videoStarted = true;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  m.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!m.window) {
    error = std::string("Cannot open the window: ") + SDL_GetError();
    return false;
  }
  // No vsync: presenting must never hold up the pump.
  m.renderer = SDL_CreateRenderer(m.window, -1, 0);
  if (!m.renderer) m.renderer = SDL_CreateRenderer(m.window, -1, SDL_RENDERER_SOFTWARE);
  if (!m.renderer) {
    error = std::string("Cannot draw into the window: ") + SDL_GetError();
    return false;
  }
  m.arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  m.wait = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
  m.hand = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  SDL_StartTextInput();
  return true;
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
  if (!m.window) return;
  SDL_SetWindowFullscreen(m.window, 0);
  SDL_SetWindowBordered(m.window, SDL_FALSE);
  SDL_SetWindowSize(m.window, width, height);
  SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  SDL_ShowWindow(m.window);
  SDL_RaiseWindow(m.window);
  m.placed = true;
  m.UpdateDest();
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
  m.UpdateDest();
  return true;
}

void Window::RestoreDesktop() {
  Impl& m = *impl_;
  if (!m.window || !m.coversDesktop) return;
  SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  m.coversDesktop = false;
  m.UpdateDest();
  m.pictureLost = true;
}

void Window::Update(const Image& screen, int x, int y, int w, int h) {
  Impl& m = *impl_;
  if (!m.renderer) return;
  const int sw = screen.Width(), sh = screen.Height();
  if (m.textureWidth != sw || m.textureHeight != sh || !m.texture) {
    if (m.texture) SDL_DestroyTexture(m.texture);
    m.texture = SDL_CreateTexture(m.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, sw, sh);
    m.textureWidth = m.textureHeight = 0;
    if (!m.texture) return;
    SDL_SetTextureScaleMode(m.texture, SDL_ScaleModeNearest);
    m.textureWidth = sw;
    m.textureHeight = sh;
    m.UpdateDest();
    // A new texture starts empty: all of it.
    x = 0, y = 0, w = sw, h = sh;
  }
  x = std::max(x, 0);
  y = std::max(y, 0);
  w = std::min(w, sw - x);
  h = std::min(h, sh - y);
  if (w <= 0 || h <= 0) return;
  SDL_Rect r{x, y, w, h};
  SDL_UpdateTexture(m.texture, &r, screen.Pixels().data() + static_cast<size_t>(y) * sw + x,
                    sw * static_cast<int>(sizeof(uint32_t)));
}

bool Window::Show(bool updated) {
  Impl& m = *impl_;
  if (!m.renderer || !m.texture || (!updated && !m.pictureLost)) return false;
  m.pictureLost = false;
  SDL_SetRenderDrawColor(m.renderer, 0, 0, 0, 255);
  SDL_RenderClear(m.renderer);
  SDL_RenderCopy(m.renderer, m.texture, nullptr, &m.dest);
  SDL_RenderPresent(m.renderer);
  return true;
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
  SDL_Cursor* c = kind == CursorKind::Hourglass ? m.wait : kind == CursorKind::Hand ? m.hand : m.arrow;
  if (c) SDL_SetCursor(c);
}

void Window::ToLogical(int wx, int wy, int& x, int& y) const {
  const Impl& m = *impl_;
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(m.window, &ww, &wh);
  SDL_GetRendererOutputSize(m.renderer, &ow, &oh);
  if (ww <= 0 || wh <= 0) {
    x = wx;
    y = wy;
    return;
  }
  // Window points to output pixels (they differ on high-density displays).
  double px = static_cast<double>(wx) * ow / ww, py = static_cast<double>(wy) * oh / wh;
  OutputToLogical(ScreenFit{m.dest.x, m.dest.y, m.dest.w, m.dest.h}, m.logicalWidth, m.logicalHeight, px, py,
                  x, y);
}

void Window::PictureLost() {
  impl_->UpdateDest();
  impl_->pictureLost = true;
}
