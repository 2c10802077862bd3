// The window, the composed screen and presenting it: only what changed is composed
// and uploaded, and at most about once per display refresh.
#include <algorithm>

#include "platform/app.h"
#include "platform/app_impl.h"
#include "platform/form.h"
#include "platform/screen_fit.h"
#include "platform/state_hash.h"

namespace {
constexpr uint64_t kRefreshMs = 16;

struct Span {
  int x0, y0, x1, y1;
};

// The smallest rectangle holding every pixel that differs; empty when none does.
bool Difference(const Image& a, const Image& b, Span& span) {
  int w = a.Width(), h = a.Height();
  const uint32_t* pa = a.Pixels().data();
  const uint32_t* pb = b.Pixels().data();
  int top = -1, bottom = -1;
  for (int y = 0; y < h; ++y) {
    if (std::equal(pa + static_cast<size_t>(y) * w, pa + static_cast<size_t>(y + 1) * w, pb + static_cast<size_t>(y) * w))
      continue;
    if (top < 0) top = y;
    bottom = y;
  }
  if (top < 0) return false;
  int left = w, right = -1;
  for (int y = top; y <= bottom; ++y) {
    const uint32_t* ra = pa + static_cast<size_t>(y) * w;
    const uint32_t* rb = pb + static_cast<size_t>(y) * w;
    for (int x = 0; x < left; ++x)
      if (ra[x] != rb[x]) {
        left = x;
        break;
      }
    for (int x = w - 1; x > right; --x)
      if (ra[x] != rb[x]) {
        right = x;
        break;
      }
  }
  span = {left, top, right + 1, bottom + 1};
  return true;
}

}  // namespace

void App::Impl::UpdateDest() {
  if (!renderer || logicalWidth <= 0 || logicalHeight <= 0) return;
  int ow = 0, oh = 0;
  if (SDL_GetRendererOutputSize(renderer, &ow, &oh) != 0) return;
  ScreenFit fit = FitScreen(ow, oh, logicalWidth, logicalHeight);
  if (fit.w > 0) dest = {fit.x, fit.y, fit.w, fit.h};
}

void App::Impl::WindowToLogical(int wx, int wy, int& x, int& y) const {
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window, &ww, &wh);
  SDL_GetRendererOutputSize(renderer, &ow, &oh);
  if (ww <= 0 || wh <= 0) {
    x = wx;
    y = wy;
    return;
  }
  // Window points to output pixels (they differ on high-density displays).
  double px = static_cast<double>(wx) * ow / ww, py = static_cast<double>(wy) * oh / wh;
  OutputToLogical(ScreenFit{dest.x, dest.y, dest.w, dest.h}, logicalWidth, logicalHeight, px, py, x, y);
}

void App::SetWindowed(int width, int height) {
  Impl& m = *impl_;
  m.logicalWidth = width;
  m.logicalHeight = height;
  m.fullScreen = false;
  m.forceFull = true;
  if (!m.window) return;
  SDL_SetWindowFullscreen(m.window, 0);
  SDL_SetWindowBordered(m.window, SDL_FALSE);
  SDL_SetWindowSize(m.window, width, height);
  SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  SDL_ShowWindow(m.window);
  SDL_RaiseWindow(m.window);
  m.windowPlaced = true;
  m.UpdateDest();
}

bool App::SetFullScreen(int logicalWidth, int logicalHeight, std::string& error) {
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
    m.windowPlaced = true;
  }
  m.logicalWidth = logicalWidth;
  m.logicalHeight = logicalHeight;
  m.fullScreen = true;
  m.forceFull = true;
  m.UpdateDest();
  return true;
}

void App::RestoreDesktop() {
  Impl& m = *impl_;
  if (!m.window || !m.fullScreen) return;
  SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  m.fullScreen = false;
  m.UpdateDest();
  m.needRender = true;
}

Image App::ComposeScreen() const {
  Image screen(ScreenWidth(), ScreenHeight(), Black);
  if (visible_) screen.Blit(visible_->Compose(), 0, 0);
  for (const ModalLayer& l : impl_->layers) {
    if (l.form) {
      int x, y;
      FormOrigin(l.form, x, y);
      screen.Blit(l.form->Compose(), x, y);
    } else if (l.box) {
      PaintMessageBox(screen, *l.box, LayoutMessageBox(*l.box, screen.Width(), screen.Height(), impl_->title),
                      impl_->title);
    }
  }
  return screen;
}

void App::PresentIfDirty() { Present(true); }

void App::Present(bool force) {
  Impl& m = *impl_;
  if (headless_ || !m.renderer) return;
  uint64_t now = clock_.NowMs();
  if (!force && m.checkedOnce && now - m.lastCheckMs < kRefreshMs) return;
  m.checkedOnce = true;
  m.lastCheckMs = now;

  if (!m.windowPlaced) {
    if (!visible_) return;
    SetWindowed(visible_->ClientWidth(), visible_->ClientHeight());
  }
  // Hit-testing and captures see labels at their fitted size.
  auto fitLabels = [](Form* f) {
    for (const auto& c : f->Controls())
      if (auto* label = dynamic_cast<Label*>(c.get()); label && label->autoSize && label->Showing()) label->FitToText();
  };
  if (visible_) fitLabels(visible_);
  for (Form* f : modalForms_) fitLabels(f);

  ApplyCursor();

  int sw = ScreenWidth(), sh = ScreenHeight();
  uint64_t formHash = visible_ ? visible_->StateHash() : 0;
  StateHasher layerHash;
  layerHash.Add(static_cast<uint64_t>(m.layers.size())).Add(m.title);
  bool layersDirty = false;
  for (const ModalLayer& l : m.layers) {
    if (l.form) {
      layerHash.Add(reinterpret_cast<uintptr_t>(l.form)).Add(l.form->StateHash());
      layersDirty = layersDirty || l.form->dirty || !l.form->dirtyRects_.empty();
    } else {
      const MessageBoxState& b = *l.box;
      layerHash.Add(reinterpret_cast<uintptr_t>(l.box)).Add(b.text).Add(static_cast<uint64_t>(b.focused));
      layerHash.Add(static_cast<uint64_t>(b.pressed + 1)).Add(b.pressedInside);
    }
  }
  bool sizeChanged = m.screen.Width() != sw || m.screen.Height() != sh;
  bool full = m.forceFull || sizeChanged || visible_ != m.shownForm || formHash != m.shownFormHash ||
              layerHash.Value() != m.shownLayerHash || layersDirty || (visible_ && visible_->dirty);

  if (m.textureWidth != sw || m.textureHeight != sh || !m.texture) {
    if (m.texture) SDL_DestroyTexture(m.texture);
    m.texture = SDL_CreateTexture(m.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, sw, sh);
    if (!m.texture) return;
    SDL_SetTextureScaleMode(m.texture, SDL_ScaleModeNearest);
    m.textureWidth = sw;
    m.textureHeight = sh;
    m.UpdateDest();
    sizeChanged = true;
    full = true;
  }

  bool uploaded = false;
  auto upload = [&](int x, int y, int w, int h) {
    x = std::max(x, 0);
    y = std::max(y, 0);
    w = std::min(w, sw - x);
    h = std::min(h, sh - y);
    if (w <= 0 || h <= 0) return;
    SDL_Rect r{x, y, w, h};
    SDL_UpdateTexture(m.texture, &r, m.screen.Pixels().data() + static_cast<size_t>(y) * sw + x,
                      sw * static_cast<int>(sizeof(uint32_t)));
    uploaded = true;
  };

  if (full) {
    Image next = ComposeScreen();
    ++m.stats.fullComposes;
    Span span{0, 0, sw, sh};
    bool changed = sizeChanged || Difference(next, m.screen, span);
    m.screen = std::move(next);
    if (changed) upload(span.x0, span.y0, span.x1 - span.x0, span.y1 - span.y0);
  } else if (visible_ && !visible_->dirtyRects_.empty()) {
    for (const Form::DirtyRect& r : visible_->dirtyRects_) {
      Image piece(r.w, r.h);
      piece.Blit(visible_->canvas, -r.x, -r.y);
      visible_->PaintControls(piece, -r.x, -r.y);
      m.screen.Blit(piece, r.x, r.y);
      ++m.stats.partialComposes;
      upload(r.x, r.y, r.w, r.h);
    }
  }
  m.forceFull = false;
  m.shownForm = visible_;
  m.shownFormHash = formHash;
  m.shownLayerHash = layerHash.Value();
  if (visible_) {
    visible_->dirty = false;
    visible_->dirtyRects_.clear();
  }
  for (Form* f : modalForms_) {
    f->dirty = false;
    f->dirtyRects_.clear();
  }
  if (!uploaded && !m.needRender) return;
  m.needRender = false;
  SDL_SetRenderDrawColor(m.renderer, 0, 0, 0, 255);
  SDL_RenderClear(m.renderer);
  SDL_RenderCopy(m.renderer, m.texture, nullptr, &m.dest);
  SDL_RenderPresent(m.renderer);
  ++m.stats.presents;
  lastPresentMs_ = now;
}

void App::ApplyCursor() {
  Impl& m = *impl_;
  if (headless_ || !m.sdlStarted) return;
  CursorKind kind = ShownCursor();
  if (static_cast<int>(kind) == m.appliedCursor) return;
  m.appliedCursor = static_cast<int>(kind);
  if (kind == CursorKind::Hidden) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  SDL_Cursor* c = kind == CursorKind::Hourglass ? m.waitCursor : kind == CursorKind::Hand ? m.handCursor : m.arrowCursor;
  if (c) SDL_SetCursor(c);
}
