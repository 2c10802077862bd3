// The application core: forms, the nestable message pump, timers and modal loops.
#include "ui/app.h"

#include <algorithm>

#include "ui/app_impl.h"
#include "ui/form.h"

void Timer::SetInterval(int ms) {
  if (ms < 0) ms = 0;
  if (ms == interval_) return;
  interval_ = ms;
  if (ms > 0) dueAt_ = (clock_ ? clock_->NowMs() : 0) + static_cast<uint64_t>(ms);
}

App::App(Clock& clock, bool headless) : clock_(clock), headless_(headless), impl_(std::make_unique<Impl>()) {}

App::~App() = default;

bool App::Init(std::string& error) {
  if (headless_ || impl_->window) return true;
  auto window = std::make_unique<Window>();
  if (!window->Open(impl_->title, error)) return false;
  impl_->window = std::move(window);
  impl_->events = std::make_unique<SdlInput>(*impl_->window);
  return true;
}

TextRenderer& App::Text() { return impl_->text; }

void App::SetTitle(const std::string& title) {
  impl_->title = title;
  if (impl_->window) impl_->window->SetTitle(title);
  impl_->forceFull = true;
}

const std::string& App::Title() const { return impl_->title; }

void App::RaiseWindow() {
  if (impl_->window) impl_->window->Raise();
}

void App::SetIcon(const uint32_t* argb, int width, int height) {
  if (impl_->window) impl_->window->SetIcon(argb, width, height);
}

void App::AddForm(Form* form) {
  if (form && std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void App::RemoveForm(Form* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (visible_ == form) visible_ = nullptr;
  auto& layers = impl_->layers;
  layers.erase(std::remove_if(layers.begin(), layers.end(), [form](const ModalLayer& l) { return l.form == form; }),
               layers.end());
  SyncLayerLists();
  if (impl_->captureForm == form) {
    impl_->capture = nullptr;
    impl_->captureForm = nullptr;
  }
  if (impl_->shownForm == form) impl_->shownForm = nullptr;
  impl_->forceFull = true;
}

void App::Show(Form* form) {
  if (!form) return;
  AddForm(form);
  if (visible_ == form) return;
  visible_ = form;
  form->paintPending_ = true;
  form->Invalidate();
  if (!form->focus) form->FocusNext(false);
  form->FormShow();
}

void App::Hide(Form* form) {
  if (!form) return;
  if (visible_ == form) visible_ = nullptr;
  for (const ModalLayer& l : impl_->layers)
    if (l.form == form) form->modalDone = true;
  if (impl_->captureForm == form) {
    impl_->capture = nullptr;
    impl_->captureForm = nullptr;
  }
}

void App::SyncLayerLists() {
  modalForms_.clear();
  boxTexts_.clear();
  for (const ModalLayer& l : impl_->layers) {
    if (l.form) modalForms_.push_back(l.form);
    if (l.box) boxTexts_.push_back(l.box->text);
  }
}

Form* App::InputTarget() const { return modalForms_.empty() ? visible_ : modalForms_.back(); }

void App::FormOrigin(const Form* form, int& x, int& y) const {
  x = y = 0;
  if (!form || form == visible_) return;
  // A dialog is centred on the screen, whatever the size of the form behind it.
  x = (ScreenWidth() - form->ClientWidth()) / 2;
  y = (ScreenHeight() - form->ClientHeight()) / 2;
}

int App::ScreenWidth() const {
  if (impl_->logicalWidth > 0) return impl_->logicalWidth;
  return visible_ ? visible_->ClientWidth() : 640;
}

int App::ScreenHeight() const {
  if (impl_->logicalHeight > 0) return impl_->logicalHeight;
  return visible_ ? visible_->ClientHeight() : 480;
}

void App::ProcessMessages() {
  if (terminated_) return;
  if (impl_->events) impl_->events->Poll(impl_->pending);
  uint64_t now = clock_.NowMs();
  while (!script_.empty() && script_.front().first <= now) {
    impl_->pending.push_back(script_.front().second);
    script_.pop_front();
  }
  // A form that was shown or resized paints itself first, as on a paint message.
  auto paintIfDue = [this](Form* f) {
    if (f && f->paintPending_ && !terminated_) {
      f->paintPending_ = false;
      f->FormPaint();
    }
  };
  paintIfDue(visible_);
  for (size_t i = 0; i < modalForms_.size(); ++i) paintIfDue(modalForms_[i]);
  while (!impl_->pending.empty() && !terminated_) {
    InputEvent e = impl_->pending.front();
    impl_->pending.pop_front();
    if (onEvent) onEvent(e);
    Dispatch(e);
    // A box or modal form that just ended gives the rest to the loop beneath it,
    // as a dialog's own message loop stops at its end.
    if (!impl_->layers.empty()) {
      const ModalLayer& top = impl_->layers.back();
      if (top.box ? top.box->done : top.form->modalDone) break;
    }
  }
  if (terminated_) return;
  FireTimers();
  if (terminated_) return;
  if (!headless_) Present(false);
}

void App::Run() {
  while (!terminated_) {
    ProcessMessages();
    if (terminated_) break;
    SleepMs(1);
  }
}

void App::Terminate() { terminated_ = true; }

Timer& App::CreateTimer() {
  timers_.push_back(std::make_unique<Timer>());
  timers_.back()->clock_ = &clock_;
  return *timers_.back();
}

void App::FireTimers() {
  // By index: a handler may create timers.
  for (size_t i = 0; i < timers_.size() && !terminated_; ++i) {
    Timer* t = timers_[i].get();
    if (t->interval_ <= 0 || t->firing_ || clock_.NowMs() < t->dueAt_) continue;
    t->dueAt_ = clock_.NowMs() + static_cast<uint64_t>(t->interval_);
    if (!t->onTimer) continue;
    t->firing_ = true;
    t->onTimer();
    t->firing_ = false;
  }
}

void App::PushInput(const InputEvent& e, uint64_t atMs) {
  auto at = std::upper_bound(script_.begin(), script_.end(), atMs,
                             [](uint64_t t, const std::pair<uint64_t, InputEvent>& p) { return t < p.first; });
  script_.insert(at, {atMs, e});
}

void App::ShowModal(Form& form) {
  if (terminated_) return;
  AddForm(&form);
  form.modalDone = false;
  impl_->layers.push_back({&form, nullptr});
  SyncLayerLists();
  form.paintPending_ = true;
  form.Invalidate();
  if (!form.focus) form.FocusNext(false);
  form.FormShow();
  while (!form.modalDone && !terminated_) {
    ProcessMessages();
    if (form.modalDone || terminated_) break;
    SleepMs(1);
  }
  auto& layers = impl_->layers;
  layers.erase(std::remove_if(layers.begin(), layers.end(), [&form](const ModalLayer& l) { return l.form == &form; }),
               layers.end());
  SyncLayerLists();
  if (impl_->captureForm == &form) {
    impl_->capture = nullptr;
    impl_->captureForm = nullptr;
  }
}

BoxResult App::MessageBox(BoxKind kind, const std::string& text) {
  BoxResult fallback = kind == BoxKind::Confirmation ? BoxResult::No : BoxResult::Ok;
  if (terminated_) return fallback;
  MessageBoxState box;
  box.kind = kind;
  box.text = text;
  if (kind == BoxKind::Confirmation)
    box.buttons = {BoxResult::Yes, BoxResult::No};
  else
    box.buttons = {BoxResult::Ok};
  impl_->layers.push_back({nullptr, &box});
  SyncLayerLists();
  ApplyCursor();
  while (!box.done && !terminated_) {
    ProcessMessages();
    if (box.done || terminated_) break;
    SleepMs(1);
  }
  auto& layers = impl_->layers;
  layers.erase(std::remove_if(layers.begin(), layers.end(), [&box](const ModalLayer& l) { return l.box == &box; }),
               layers.end());
  SyncLayerLists();
  ApplyCursor();
  return box.done ? box.result : fallback;
}

bool App::BoxButtonRect(int index, int& x, int& y, int& w, int& h) const {
  for (auto it = impl_->layers.rbegin(); it != impl_->layers.rend(); ++it) {
    if (!it->box) continue;
    BoxLayout layout = LayoutMessageBox(impl_->text, *it->box, ScreenWidth(), ScreenHeight(), impl_->title);
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

void App::SetCursor(CursorKind kind) {
  cursor_ = kind;
  ApplyCursor();
}

CursorKind App::ShownCursor() const {
  for (const ModalLayer& l : impl_->layers)
    if (l.box) return CursorKind::Arrow;
  if (cursor_ == CursorKind::Hourglass || cursor_ == CursorKind::Hidden) return cursor_;
  Form* target = InputTarget();
  if (target && impl_->mouseX >= 0) {
    int ox, oy;
    FormOrigin(target, ox, oy);
    Control* c = target->ControlAt(impl_->mouseX - ox, impl_->mouseY - oy);
    if (c && c->enabled && c->cursor != CursorKind::Arrow) return c->cursor;
  }
  return cursor_;
}

const App::PresentStats& App::Stats() const { return impl_->stats; }
