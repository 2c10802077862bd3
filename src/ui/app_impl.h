#pragma once
// The app's parts: the shared state, the window and its events, the input router and
// the screen presenter.
#include <deque>
#include <functional>
#include <memory>

#include "platform/fonts.h"
#include "platform/sdl_input.h"
#include "platform/window.h"
#include "ui/app.h"
#include "ui/app_state.h"
#include "ui/input_router.h"
#include "ui/screen_presenter.h"
#include "ui/text.h"

struct App::Impl {
  FontLibrary fonts;
  TextRenderer text{fonts};
  AppState state{text};
  std::unique_ptr<Window> window;  // absent when headless
  std::unique_ptr<SdlInput> events;
  std::deque<InputEvent> arrived;  // from the window and the script, not yet let in
  std::deque<InputEvent> pending;  // let in, to be dispatched
  std::deque<std::function<void()>> idleJobs;
  InputRouter router{state};
  ScreenPresenter presenter{state};
};
