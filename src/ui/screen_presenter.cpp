#include "ui/screen_presenter.h"

#include <algorithm>
#include <cstring>

#include "platform/window.h"
#include "ui/form.h"
#include "ui/state_hash.h"

namespace {

// Copies `area` of `from` into `to` at the same place shifted by (dx, dy), cut to both.
void CopyArea(const Image& from, Rect area, Image& to, int dx, int dy) {
  area = area.Intersect({0, 0, from.Width(), from.Height()});
  area = area.Intersect(Rect{0, 0, to.Width(), to.Height()}.Moved(-dx, -dy));
  for (int y = area.y; y < area.Bottom(); ++y)
    std::memcpy(to.Pixels().data() + static_cast<size_t>(y + dy) * to.Width() + area.x + dx,
                from.Pixels().data() + static_cast<size_t>(y) * from.Width() + area.x,
                static_cast<size_t>(area.w) * sizeof(uint32_t));
}

}  // namespace

bool ScreenPresenter::CheckDue(uint64_t nowMs, bool force) {
  if (!force && checkedOnce_ && nowMs - lastCheckMs_ < kRefreshMs) {
    owed_ = true;
    return false;
  }
  checkedOnce_ = true;
  lastCheckMs_ = nowMs;
  owed_ = false;
  return true;
}

bool ScreenPresenter::PresentOwed() {
  if (!owed_) return false;
  CollectDamage();
  owed_ = !damage_.Empty() || (state_.window && state_.window->NeedsWholePicture());
  return owed_;
}

bool ScreenPresenter::Present() {
  CollectDamage();
  Window* window = state_.window;
  if (damage_.Empty() && !(window && window->NeedsWholePicture())) return false;
  for (const Rect& r : damage_.Rects()) {
    ComposeArea(r);
    if (r == Rect{0, 0, screen_.Width(), screen_.Height()})
      ++stats_.fullComposes;
    else
      ++stats_.partialComposes;
  }
  const bool presented = window && window->Present(screen_, damage_.Rects());
  if (presented) ++stats_.presents;
  damage_.Clear();
  return presented;
}

void ScreenPresenter::FormGone(const Form* form) {
  if (shownForm_ == form) shownForm_ = nullptr;
  for (ShownLayer& l : shownLayers_)
    if (l.form == form) l.form = nullptr;
  wholeScreen_ = true;
}

void ScreenPresenter::CollectDamage() {
  const int sw = state_.ScreenWidth(), sh = state_.ScreenHeight();
  if (screen_.Width() != sw || screen_.Height() != sh) {
    screen_ = Image(sw, sh);
    scratch_ = Image(sw, sh);
    wholeScreen_ = true;
  }
  damage_.SetBounds(sw, sh);
  const Form* visible = state_.visible;
  if (visible != shownForm_ || (visible && (visible->ClientWidth() != shownFormWidth_ ||
                                            visible->ClientHeight() != shownFormHeight_)))
    wholeScreen_ = true;
  shownForm_ = visible;
  shownFormWidth_ = visible ? visible->ClientWidth() : 0;
  shownFormHeight_ = visible ? visible->ClientHeight() : 0;
  // Every shown form hands over its changes, so that none are left for later.
  if (state_.visible) state_.visible->TakeDamage(damage_, 0, 0);
  CollectLayerDamage();
  if (wholeScreen_) {
    damage_.Clear();
    damage_.AddWhole();
    wholeScreen_ = false;
  }
}

void ScreenPresenter::CollectLayerDamage() {
  const std::vector<ModalLayer>& layers = state_.layers;
  // Layers above the first one that differs from what was shown are all new.
  size_t same = 0;
  while (same < layers.size() && same < shownLayers_.size() && layers[same].form == shownLayers_[same].form &&
         layers[same].box == shownLayers_[same].box)
    ++same;
  for (size_t i = same; i < shownLayers_.size(); ++i) damage_.Add(shownLayers_[i].area);
  if (shownLayers_.size() != layers.size()) shownLayers_.resize(layers.size());
  for (size_t i = 0; i < layers.size(); ++i) {
    Refresh(shownLayers_[i], layers[i], i >= same);
    if (Form* f = layers[i].form) {
      int x, y;
      state_.FormOrigin(f, x, y);
      f->TakeDamage(damage_, x, y);
    }
  }
}

void ScreenPresenter::Refresh(ShownLayer& shown, const ModalLayer& layer, bool isNew) {
  Rect area;
  uint64_t boxHash = 0;
  if (layer.form) {
    int x, y;
    state_.FormOrigin(layer.form, x, y);
    area = {x, y, layer.form->ClientWidth(), layer.form->ClientHeight()};
  } else {
    boxHash = BoxHash(*layer.box);
    if (!isNew && boxHash == shown.boxHash) return;
    shown.layout = LayoutMessageBox(state_.text, *layer.box, state_.ScreenWidth(), state_.ScreenHeight(), state_.title);
    area = shown.layout.Area();
  }
  if (isNew || area != shown.area || boxHash != shown.boxHash) {
    if (!isNew) damage_.Add(shown.area);
    damage_.Add(area);
  }
  shown.form = layer.form;
  shown.box = layer.box;
  shown.boxHash = boxHash;
  shown.area = area;
}

uint64_t ScreenPresenter::BoxHash(const MessageBoxState& b) const {
  StateHasher h;
  h.Add(b.text).Add(static_cast<uint64_t>(b.kind)).Add(static_cast<uint64_t>(b.buttons.size()));
  h.Add(static_cast<uint64_t>(b.focused)).Add(static_cast<uint64_t>(b.pressed + 1)).Add(b.pressedInside);
  h.Add(state_.title).Add(static_cast<uint64_t>(state_.ScreenWidth())).Add(static_cast<uint64_t>(state_.ScreenHeight()));
  return h.Value();
}

// Layer by layer from the bottom, each opaque over its own rectangle: a form's canvas
// and controls (cut to its client area), or a box.
void ScreenPresenter::ComposeArea(const Rect& area) {
  screen_.FillRect(area.x, area.y, area.w, area.h, Black);
  if (state_.visible) ComposeForm(*state_.visible, 0, 0, area);
  for (size_t i = 0; i < state_.layers.size(); ++i) {
    const ModalLayer& l = state_.layers[i];
    if (l.form) {
      int x, y;
      state_.FormOrigin(l.form, x, y);
      ComposeForm(*l.form, x, y, area);
      continue;
    }
    const ShownLayer& shown = shownLayers_[i];
    Rect part = area.Intersect(shown.area);
    if (part.Empty()) continue;
    PaintMessageBox(state_.text, scratch_, *l.box, shown.layout, state_.title);
    CopyArea(scratch_, part, screen_, 0, 0);
  }
}

void ScreenPresenter::ComposeForm(const Form& form, int originX, int originY, const Rect& area) {
  Rect part = area.Intersect({originX, originY, form.ClientWidth(), form.ClientHeight()});
  if (part.Empty()) return;
  Rect inForm = part.Moved(-originX, -originY);
  if (form.canvas.Flat())
    scratch_.FillRect(part.x, part.y, part.w, part.h, form.canvas.FlatColor());
  else
    CopyArea(form.canvas.Picture(), inForm, scratch_, originX, originY);
  form.PaintControls(scratch_, originX, originY, inForm);
  CopyArea(scratch_, part, screen_, 0, 0);
}

Image ScreenPresenter::ComposeWhole() const {
  Image screen(state_.ScreenWidth(), state_.ScreenHeight(), Black);
  if (state_.visible) screen.Blit(state_.visible->Compose(), 0, 0);
  for (const ModalLayer& l : state_.layers) {
    if (l.form) {
      int x, y;
      state_.FormOrigin(l.form, x, y);
      screen.Blit(l.form->Compose(), x, y);
    } else if (l.box) {
      PaintMessageBox(state_.text, screen, *l.box,
                      LayoutMessageBox(state_.text, *l.box, screen.Width(), screen.Height(), state_.title),
                      state_.title);
    }
  }
  return screen;
}
