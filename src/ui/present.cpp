// The window, the composed screen and presenting it: only what changed is composed
// and uploaded, and at most about once per display refresh.
#include <algorithm>

#include "ui/app.h"
#include "ui/app_impl.h"
#include "ui/form.h"
#include "ui/state_hash.h"

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

void App::SetWindowed(int width, int height) {
  Impl& m = *impl_;
  m.logicalWidth = width;
  m.logicalHeight = height;
  m.fullScreen = false;
  m.forceFull = true;
  if (m.window) m.window->ShowCentred(width, height);
}

bool App::SetFullScreen(int logicalWidth, int logicalHeight, std::string& error) {
  Impl& m = *impl_;
  if (m.window && !m.window->CoverDesktop(logicalWidth, logicalHeight, error)) return false;
  m.logicalWidth = logicalWidth;
  m.logicalHeight = logicalHeight;
  m.fullScreen = true;
  m.forceFull = true;
  return true;
}

void App::RestoreDesktop() {
  Impl& m = *impl_;
  if (!m.window || !m.fullScreen) return;
  m.window->RestoreDesktop();
  m.fullScreen = false;
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
      PaintMessageBox(impl_->text, screen, *l.box,
                      LayoutMessageBox(impl_->text, *l.box, screen.Width(), screen.Height(), impl_->title),
                      impl_->title);
    }
  }
  return screen;
}

void App::PresentIfDirty() { Present(true); }

void App::Present(bool force) {
  Impl& m = *impl_;
  if (!m.window) return;
  uint64_t now = clock_.NowMs();
  if (!force && m.checkedOnce && now - m.lastCheckMs < kRefreshMs) return;
  m.checkedOnce = true;
  m.lastCheckMs = now;

  if (!m.window->Placed()) {
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

  bool uploaded = false;
  auto upload = [&](int x, int y, int w, int h) {
    m.window->Update(m.screen, x, y, w, h);
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
  if (!m.window->Show(uploaded)) return;
  ++m.stats.presents;
  lastPresentMs_ = now;
}

void App::ApplyCursor() {
  if (impl_->window) impl_->window->SetCursor(ShownCursor());
}
