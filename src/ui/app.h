#pragma once
// The application: one window showing one form at a time, the event pump with
// nestable ProcessMessages, one-shot timers, the stack of modal boxes and forms,
// cursors, and the display switch. Routing input (InputRouter) and presenting the
// screen (ScreenPresenter) are parts of its own. Headless, it has no window at all and
// runs on scripted input.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/image.h"
#include "platform/events.h"
#include "ui/controls.h"
#include "ui/modal_layers.h"
#include "ui/pump_tap.h"
#include "ui/screen_presenter.h"

class Form;
class TextRenderer;

// One-shot style timer: runs while interval > 0; fires (only inside ProcessMessages)
// each time the interval has passed. Setting the value it already has does not restart it.
class Timer {
 public:
  void SetInterval(int ms);
  int Interval() const { return interval_; }
  std::function<void()> onTimer;
  // Not 0 for a timer of a game (a pump tap decides when it fires).
  int gameTimerId = 0;

 private:
  friend class App;
  int interval_ = 0;
  uint64_t dueAt_ = 0;
  Clock* clock_ = nullptr;
  bool firing_ = false;  // its handler runs (perhaps a nested loop): not fired again meanwhile
};

class App {
 public:
  // `clock` must outlive the app. With `headless` no window is created at all;
  // presenting is skipped and only the composed pictures exist.
  App(Clock& clock, bool headless);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Opens the window (none when headless); false with a reason when it fails.
  bool Init(std::string& error);
  // Fonts and text measuring for the controls and boxes.
  TextRenderer& Text();
  void SetTitle(const std::string& title);
  const std::string& Title() const;
  // The window comes in front with the keyboard (nothing when headless).
  void RaiseWindow();
  // The window's icon, width x height pixels 0xAARRGGBB (nothing when headless).
  void SetIcon(const uint32_t* argb, int width, int height);
  Clock& GetClock() { return clock_; }

  // Windows of the program, in creation order. The app does not own them. Forms
  // add themselves when made and remove themselves when destroyed.
  void AddForm(Form* form);
  void RemoveForm(Form* form);
  // Makes `form` the visible one (the others are hidden) and calls its FormShow; the
  // first control of its tab order takes the focus if none has it.
  void Show(Form* form);
  // Hiding the visible form leaves the screen black; hiding a modal form ends it.
  void Hide(Form* form);
  Form* Visible() const;

  // Borderless window of the given size centred on the desktop.
  void SetWindowed(int width, int height);
  // Full screen with a logical size: scaled crisply, letterboxed in black. False
  // with a reason when the desktop refused.
  bool SetFullScreen(int logicalWidth, int logicalHeight, std::string& error);
  // A framed window the player can resize, the logical screen scaled to fit it.
  void ShowInWindow(int logicalWidth, int logicalHeight);
  // Full screen to the resizable window or back (Alt+Enter), once the display shows
  // one of the two; the small window of SetWindowed stays as it is. False when
  // nothing changed.
  bool ToggleFullScreen();
  bool FullScreen() const;
  bool InWindow() const;
  // Told when Alt+Enter has changed the display (true: now full screen).
  std::function<void(bool fullScreen)> onDisplayModeChanged;
  // Back to the desktop (at quit).
  void RestoreDesktop();
  // The logical screen: the window's size, or the visible form's while none was set.
  int ScreenWidth() const;
  int ScreenHeight() const;

  // Pumps pending events, dispatches them, fires due timers and presents when the
  // picture changed and a display refresh has passed. Never blocks. Nestable.
  void ProcessMessages();
  // ProcessMessages whenever there is something to do (input, a due timer or scripted
  // event, an owed present) until the clock reaches `micros` or `stop` says so; asleep
  // in between, so a waiting loop costs nothing while nothing happens.
  void ProcessMessagesUntil(uint64_t micros, const std::function<bool()>& stop);
  void SleepMs(int ms) { clock_.SleepMs(ms); }
  // The outer message loop: runs until Terminate(). With a window on real time it
  // waits for input between passes, waking for due timers and owed presents.
  void Run();
  void Terminate();
  bool Terminated() const;
  // A stop signal (base/stop_signal.h) terminates the app at the next pump call, unless
  // the program ends on it in its own way (with false).
  void SetStopSignalEnds(bool ends) { stopSignalEnds_ = ends; }
  // Work that can wait: the outer loop does one job at a time when it would otherwise
  // wait for input, after the screen was shown.
  void WhenIdle(std::function<void()> job);

  Timer& CreateTimer();

  // Recording or playing back a game: the tap sees (or drives) every pump call until
  // it is taken away with nullptr. The app does not own it.
  void SetPumpTap(PumpTap* tap) {
    tap_ = tap;
    ++tapSerial_;
  }

  // Modal boxes drawn inside the window over the visible form; a nested loop that
  // keeps timers firing. Enter = default button, Y/N answer, Escape closes an OK box
  // (No in a Yes/No box). Keys pressed while the box is open go only to it; a key
  // held from before it opened still reaches the form when released. Returns at
  // once (Ok / No) once the app is terminated.
  BoxResult MessageBox(BoxKind kind, const std::string& text);
  // The same with `defaultButton` the one Enter and Space answer: No for a question
  // whose Yes throws work away.
  BoxResult MessageBox(BoxKind kind, const std::string& text, BoxResult defaultButton);
  // Button `index` (0 = OK or Yes, 1 = No) of the innermost open box, in screen
  // coordinates; false when no box is open.
  bool BoxButtonRect(int index, int& x, int& y, int& w, int& h) const;
  // Texts of the open boxes, innermost last (for tests and the driver).
  const std::vector<std::string>& OpenBoxTexts() const;
  // A modal form centred on the screen over the visible one; returns when
  // form.modalDone is set.
  void ShowModal(Form& form);

  void SetCursor(CursorKind kind);
  CursorKind Cursor() const;
  // The pointer shown now: the app's hourglass or hidden pointer wins; otherwise the
  // hovered control's cursor; the arrow over an open box.
  CursorKind ShownCursor() const;

  // Scripted input: delivered by ProcessMessages once the clock reaches atMs.
  void PushInput(const InputEvent& e, uint64_t atMs = 0);
  bool ScriptPending() const { return !script_.empty(); }
  // Called for every event before dispatch (the driver logs with it).
  std::function<void(const InputEvent&)> onEvent;

  // What the player sees: the visible form (or the innermost modal form) composed,
  // with any open box drawn over it.
  Image ComposeScreen() const;
  // Presents now if anything changed (used when a loop goes idle).
  void PresentIfDirty();

  // How much presenting work was done (a running game must stay cheap).
  using PresentStats = ::PresentStats;
  const PresentStats& Stats() const;

 private:
  struct Impl;
  void DeliverScript(std::deque<InputEvent>& into);
  // The work of one ProcessMessages call once its input is in.
  void PumpMessages();
  void PaintDue();
  void FireTimers();
  // A loop with nothing else to do waits here between its passes.
  void Idle();
  int IdleTimeoutMs();
  // Sleeps until there is something for ProcessMessages to do, or until `micros`.
  void WaitForWork(uint64_t micros);
  bool WaitGoesOn(uint64_t micros);
  void PushLayer(const ModalLayer& layer);
  void PopLayer(const Form* form, const MessageBoxState* box);
  void Present(bool force);
  // The logical screen's size and mode after a display switch; everything is shown anew.
  void TakeDisplayMode(int logicalWidth, int logicalHeight, bool fullScreen, bool inWindow);

  Clock& clock_;
  bool headless_;
  std::unique_ptr<Impl> impl_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::deque<std::pair<uint64_t, InputEvent>> script_;
  bool stopSignalEnds_ = true;
  PumpTap* tap_ = nullptr;
  uint64_t tapSerial_ = 0;  // a tap set anew is another, even at the same address
  bool waitPump_ = false;  // the next pump call is the timed wait's own
};
