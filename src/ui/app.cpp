// The application core: forms, the nestable message pump and timers.
#include "ui/app.h"

#include <algorithm>

#include "base/stop_signal.h"
#include "ui/app_impl.h"
#include "ui/form.h"

namespace {
// A waiting loop looks up at least this often, whatever it waits for.
constexpr uint64_t kLongestIdleMs = 250;
// Virtual time moves only while a loop waits: a wait that is over before it began (a
// game pass at speed 0) still takes this step, or the timers would never fall due.
constexpr uint64_t kLeastVirtualWaitMicros = 1000;
}  // namespace

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
  if (!window->Open(impl_->state.title, error)) return false;
  impl_->window = std::move(window);
  impl_->state.window = impl_->window.get();
  impl_->events = std::make_unique<SdlInput>(*impl_->window);
  return true;
}

TextRenderer& App::Text() { return impl_->text; }

void App::SetTitle(const std::string& title) {
  impl_->state.title = title;
  if (impl_->window) impl_->window->SetTitle(title);
}

const std::string& App::Title() const { return impl_->state.title; }

void App::RaiseWindow() {
  if (impl_->window) impl_->window->Raise();
}

void App::SetIcon(const uint32_t* argb, int width, int height) {
  if (impl_->window) impl_->window->SetIcon(argb, width, height);
}

void App::AddForm(Form* form) {
  auto& forms = impl_->state.forms;
  if (form && std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
}

void App::RemoveForm(Form* form) {
  AppState& s = impl_->state;
  s.forms.erase(std::remove(s.forms.begin(), s.forms.end(), form), s.forms.end());
  if (s.visible == form) s.visible = nullptr;
  PopLayer(form, nullptr);
  impl_->router.ReleaseCapture(form);
  impl_->presenter.FormGone(form);
}

void App::Show(Form* form) {
  if (!form) return;
  AddForm(form);
  if (impl_->state.visible == form) return;
  impl_->state.visible = form;
  form->paintPending_ = true;
  form->Invalidate();
  if (!form->focus) form->FocusNext(false);
  form->FormShow();
}

void App::Hide(Form* form) {
  if (!form) return;
  AppState& s = impl_->state;
  if (s.visible == form) s.visible = nullptr;
  for (const ModalLayer& l : s.layers)
    if (l.form == form) form->modalDone = true;
  impl_->router.ReleaseCapture(form);
}

Form* App::Visible() const { return impl_->state.visible; }
int App::ScreenWidth() const { return impl_->state.ScreenWidth(); }
int App::ScreenHeight() const { return impl_->state.ScreenHeight(); }
bool App::Terminated() const { return impl_->state.terminated; }
void App::Terminate() { impl_->state.terminated = true; }
const std::vector<std::string>& App::OpenBoxTexts() const { return impl_->state.boxTexts; }

void App::ProcessMessages() {
  // Every loop passes here, so a stop signal unwinds them all from wherever they are.
  if (stopSignalEnds_ && StopSignalled()) impl_->state.terminated = true;
  if (impl_->state.terminated) return;
  PumpTap* const tap = tap_;
  const uint64_t serial = tapSerial_;
  const bool fromWait = waitPump_;
  waitPump_ = false;
  std::deque<InputEvent>& arrived = impl_->arrived;
  if (impl_->events) impl_->events->Poll(arrived);
  DeliverScript(arrived);
  if (tap) {
    // What arrives passes the tap before it joins what a box left pending.
    for (const InputEvent& e : arrived) {
      if (tap->Admit(e)) {
        impl_->pending.push_back(e);
        continue;
      }
      // Kept from the game, yet Alt+Enter still switches the display.
      if (bool switchNow; impl_->router.DisplaySwitchKey(e, switchNow)) {
        if (switchNow) ToggleFullScreen();
      } else if (e.type == InputEvent::Type::KeyDown || e.type == InputEvent::Type::KeyUp) {
        impl_->router.KeyTaken(e);
      }
    }
    arrived.clear();
    tap->PumpBegins(fromWait, impl_->pending);
  } else {
    impl_->pending.insert(impl_->pending.end(), arrived.begin(), arrived.end());
    arrived.clear();
  }
  PumpMessages();
  // The tap may have gone with the game that ended meanwhile.
  if (tap && serial == tapSerial_) tap->PumpEnds();
}

void App::PumpMessages() {
  AppState& s = impl_->state;
  PaintDue();
  while (!impl_->pending.empty() && !s.terminated) {
    InputEvent e = impl_->pending.front();
    impl_->pending.pop_front();
    if (onEvent) onEvent(e);
    if (bool switchNow; impl_->router.DisplaySwitchKey(e, switchNow)) {
      if (switchNow) ToggleFullScreen();
      continue;
    }
    if (tap_) tap_->Dispatching(e);
    impl_->router.Dispatch(e);
    // A box or modal form that just ended gives the rest to the loop beneath it,
    // as a dialog's own message loop stops at its end.
    if (!s.layers.empty()) {
      const ModalLayer& top = s.layers.back();
      if (top.box ? top.box->done : top.form->modalDone) break;
    }
  }
  if (s.terminated) return;
  FireTimers();
  if (s.terminated) return;
  Present(false);
}

void App::DeliverScript(std::deque<InputEvent>& into) {
  uint64_t now = clock_.NowMs();
  while (!script_.empty() && script_.front().first <= now) {
    into.push_back(script_.front().second);
    script_.pop_front();
  }
}

// A form that was shown or resized paints itself first, as on a paint message.
void App::PaintDue() {
  AppState& s = impl_->state;
  auto paintIfDue = [&s](Form* f) {
    if (f && f->paintPending_ && !s.terminated) {
      f->paintPending_ = false;
      f->FormPaint();
    }
  };
  paintIfDue(s.visible);
  for (size_t i = 0; i < s.modalForms.size(); ++i) paintIfDue(s.modalForms[i]);
}

void App::Run() {
  while (!Terminated()) {
    ProcessMessages();
    if (Terminated()) break;
    Idle();
  }
}

void App::WhenIdle(std::function<void()> job) { impl_->idleJobs.push_back(std::move(job)); }

void App::Idle() {
  if (!impl_->idleJobs.empty()) {
    auto job = std::move(impl_->idleJobs.front());
    impl_->idleJobs.pop_front();
    job();
    return;
  }
  if (!impl_->events || clock_.IsVirtual()) {
    SleepMs(1);
    return;
  }
  int timeout = IdleTimeoutMs();
  if (timeout > 0) impl_->events->Wait(static_cast<uint64_t>(timeout) * 1000, impl_->arrived);
}

void App::ProcessMessagesUntil(uint64_t micros, const std::function<bool()>& stop) {
  if (clock_.IsVirtual() && micros <= clock_.NowMicros())
    micros = clock_.NowMicros() + kLeastVirtualWaitMicros;
  for (;;) {
    waitPump_ = true;
    ProcessMessages();
    waitPump_ = false;
    if (Terminated() || stop() || !WaitGoesOn(micros)) return;
    WaitForWork(micros);
    // A wait that reached the end ends the loop: what came meanwhile is the next
    // pass's first work, and handling it here would lengthen this one.
    if (!WaitGoesOn(micros)) return;
  }
}

bool App::WaitGoesOn(uint64_t micros) {
  const bool timeLeft = clock_.NowMicros() < micros;
  return tap_ ? tap_->WaitGoesOn(timeLeft) : timeLeft;
}

void App::WaitForWork(uint64_t micros) {
  if (!impl_->pending.empty() || !impl_->arrived.empty()) return;
  const uint64_t now = clock_.NowMicros();
  const int untilWorkMs = IdleTimeoutMs();
  const uint64_t wake = std::min(micros, now / 1000 * 1000 + static_cast<uint64_t>(untilWorkMs) * 1000);
  if (wake <= now) return;
  // Input wakes the wait early.
  if (impl_->events && !clock_.IsVirtual())
    impl_->events->Wait(wake - now, impl_->arrived);
  else
    clock_.SleepUntilMicros(wake);
}

// Until the next timer, scripted event or owed present; none of them means a while.
int App::IdleTimeoutMs() {
  if (!impl_->pending.empty() || !impl_->arrived.empty()) return 0;
  const uint64_t now = clock_.NowMs();
  uint64_t until = now + kLongestIdleMs;
  for (const auto& t : timers_)
    if (t->interval_ > 0 && !t->firing_) until = std::min(until, t->dueAt_);
  if (!script_.empty()) until = std::min(until, script_.front().first);
  if (impl_->presenter.PresentOwed()) until = std::min(until, impl_->presenter.NextCheckMs());
  return until > now ? static_cast<int>(until - now) : 0;
}

Timer& App::CreateTimer() {
  timers_.push_back(std::make_unique<Timer>());
  timers_.back()->clock_ = &clock_;
  return *timers_.back();
}

void App::FireTimers() {
  // By index: a handler may create timers.
  for (size_t i = 0; i < timers_.size() && !Terminated(); ++i) {
    Timer* t = timers_[i].get();
    if (t->interval_ <= 0 || t->firing_) continue;
    const bool due = clock_.NowMs() >= t->dueAt_;
    if (tap_ && t->gameTimerId != 0 ? !tap_->TimerFires(t->gameTimerId, due) : !due) continue;
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

void App::SetCursor(CursorKind kind) {
  impl_->state.cursor = kind;
  impl_->router.ApplyCursor();
}

CursorKind App::Cursor() const { return impl_->state.cursor; }

CursorKind App::ShownCursor() const { return impl_->router.ShownCursor(); }

Image App::ComposeScreen() const { return impl_->presenter.ComposeWhole(); }

void App::PresentIfDirty() { Present(true); }

void App::Present(bool force) {
  Impl& m = *impl_;
  if (!m.window || !m.presenter.CheckDue(clock_.NowMs(), force)) return;
  if (!m.window->Placed()) {
    if (!m.state.visible) return;
    SetWindowed(m.state.visible->ClientWidth(), m.state.visible->ClientHeight());
  }
  m.router.ApplyCursor();
  if (m.presenter.Present() && m.events) m.events->PumpNextTime();
}

const App::PresentStats& App::Stats() const { return impl_->presenter.Stats(); }
