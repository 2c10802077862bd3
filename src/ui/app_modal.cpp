// The modal layer stack (boxes and modal forms, each with its own nested loop) and
// the display switch.
#include <algorithm>
#include <cstdio>

#include "ui/app.h"
#include "ui/app_impl.h"
#include "ui/form.h"

void App::PushLayer(const ModalLayer& layer) {
  impl_->state.layers.push_back(layer);
  impl_->state.SyncLayerLists();
}

void App::PopLayer(const Form* form, const MessageBoxState* box) {
  auto& layers = impl_->state.layers;
  layers.erase(std::remove_if(layers.begin(), layers.end(),
                              [&](const ModalLayer& l) { return (form && l.form == form) || (box && l.box == box); }),
               layers.end());
  impl_->state.SyncLayerLists();
}

void App::ShowModal(Form& form) {
  if (Terminated()) return;
  AddForm(&form);
  form.modalDone = false;
  PushLayer({&form, nullptr});
  form.paintPending_ = true;
  form.Invalidate();
  if (!form.focus) form.FocusNext(false);
  form.FormShow();
  while (!form.modalDone && !Terminated()) {
    ProcessMessages();
    if (form.modalDone || Terminated()) break;
    Idle();
  }
  PopLayer(&form, nullptr);
  impl_->router.ReleaseCapture(&form);
}

BoxResult App::MessageBox(BoxKind kind, const std::string& text) {
  return MessageBox(kind, text, kind == BoxKind::Confirmation ? BoxResult::Yes : BoxResult::Ok);
}

BoxResult App::MessageBox(BoxKind kind, const std::string& text, BoxResult defaultButton) {
  BoxResult fallback = kind == BoxKind::Confirmation ? BoxResult::No : BoxResult::Ok;
  if (Terminated()) {
    // Nobody can see it any more (the program is ending, say at a signal): what it had
    // to tell, such as a save that failed, still reaches the player.
    std::fprintf(stderr, "%s: %s\n", impl_->state.title.c_str(), text.c_str());
    return fallback;
  }
  MessageBoxState box;
  box.kind = kind;
  box.text = text;
  if (kind == BoxKind::Confirmation)
    box.buttons = {BoxResult::Yes, BoxResult::No};
  else
    box.buttons = {BoxResult::Ok};
  const auto chosen = std::find(box.buttons.begin(), box.buttons.end(), defaultButton);
  if (chosen != box.buttons.end()) box.focused = static_cast<int>(chosen - box.buttons.begin());
  PushLayer({nullptr, &box});
  impl_->router.ApplyCursor();
  while (!box.done && !Terminated()) {
    ProcessMessages();
    if (box.done || Terminated()) break;
    Idle();
  }
  PopLayer(nullptr, &box);
  impl_->router.ApplyCursor();
  return box.done ? box.result : fallback;
}

bool App::BoxButtonRect(int index, int& x, int& y, int& w, int& h) const {
  const AppState& s = impl_->state;
  for (auto it = s.layers.rbegin(); it != s.layers.rend(); ++it) {
    if (!it->box) continue;
    BoxLayout layout = LayoutMessageBox(s.text, *it->box, s.ScreenWidth(), s.ScreenHeight(), s.title);
    if (index < 0 || index >= static_cast<int>(layout.buttons.size())) return false;
    const auto& b = layout.buttons[static_cast<size_t>(index)];
    x = b.x;
    y = b.y;
    w = b.w;
    h = b.h;
    return true;
  }
  return false;
}

void App::TakeDisplayMode(int logicalWidth, int logicalHeight, bool fullScreen, bool inWindow) {
  AppState& s = impl_->state;
  s.logicalWidth = logicalWidth;
  s.logicalHeight = logicalHeight;
  s.fullScreen = fullScreen;
  s.inWindow = inWindow;
  impl_->presenter.InvalidateAll();
  // The switch waited for the display server; the events it brought are read at once.
  if (impl_->events) impl_->events->PumpNextTime();
}

void App::SetWindowed(int width, int height) {
  TakeDisplayMode(width, height, false, false);
  if (impl_->window) impl_->window->ShowCentred(width, height);
}

void App::ShowInWindow(int logicalWidth, int logicalHeight) {
  TakeDisplayMode(logicalWidth, logicalHeight, false, true);
  if (impl_->window) impl_->window->ShowInWindow(logicalWidth, logicalHeight);
}

bool App::ToggleFullScreen() {
  AppState& s = impl_->state;
  if (s.fullScreen) {
    ShowInWindow(s.logicalWidth, s.logicalHeight);
  } else if (s.inWindow) {
    std::string error;
    if (!SetFullScreen(s.logicalWidth, s.logicalHeight, error)) return false;
  } else {
    return false;
  }
  if (onDisplayModeChanged) onDisplayModeChanged(s.fullScreen);
  return true;
}

bool App::FullScreen() const { return impl_->state.fullScreen; }
bool App::InWindow() const { return impl_->state.inWindow; }

bool App::SetFullScreen(int logicalWidth, int logicalHeight, std::string& error) {
  if (impl_->window && !impl_->window->CoverDesktop(logicalWidth, logicalHeight, error)) return false;
  TakeDisplayMode(logicalWidth, logicalHeight, true, false);
  return true;
}

void App::RestoreDesktop() {
  AppState& s = impl_->state;
  s.inWindow = false;
  if (!impl_->window || !s.fullScreen) return;
  impl_->window->RestoreDesktop();
  s.fullScreen = false;
}
