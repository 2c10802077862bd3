#include "shell/program.h"

#include <cstdio>
#include <exception>

#include "base/stop_signal.h"
#include "platform/sdl_audio_door.h"
#include "screens/display_choice.h"
#include "shell/replay_shelf.h"

Program::Program(Clock& clock, bool headless, std::unique_ptr<AudioDoor> audioDoor)
    : app(clock, headless),
      audio(audioDoor ? std::move(audioDoor) : std::make_unique<SdlAudioDoor>()),
      sounds(*audio),
      music(*audio) {}

bool Program::Init(std::string& error) {
  if (!app.Init(error)) return false;
  app.SetTitle("TROK Mirel For Windows");
  app.SetWindowed(632, 453);
  mainForm = std::make_unique<TMainForm>(app);
  // The game exists with its window: the options screen may show a box while it is made.
  session = std::make_unique<GameSession>(app, *mainForm, sounds, music, input);
  optionsForm = std::make_unique<TOptionsForm>(app);
  scoreForm = std::make_unique<THScoreForm>(app);
  nameForm = std::make_unique<TNameForm>(app);
  helpForm = std::make_unique<THelpForm>(app);
  for (Form* f : std::initializer_list<Form*>{mainForm.get(), optionsForm.get(), scoreForm.get(),
                                              nameForm.get(), helpForm.get()})
    app.AddForm(f);
  music.ShowError = [this](const std::string& text) { app.MessageBox(BoxKind::Error, text); };
  // Alt+Enter's choice is kept for the next run; a file that cannot be written is no
  // reason to interrupt the player.
  app.onDisplayModeChanged = [](bool fullScreen) {
    std::string why;
    if (!SaveDisplayChoice(fullScreen ? DisplayChoice::FullScreen : DisplayChoice::Window, why))
      std::fprintf(stderr, "TROK Mirel: the choice of window or full screen is not kept: %s\n", why.c_str());
  };
  session->ConnectScreens(*optionsForm, *scoreForm);
  // Every game is kept; a replay that cannot be is no reason to interrupt the player.
  session->onRecorded = [this](const Replay& replay, bool highScore, bool forReport) {
    std::string why;
    if (KeepReplay(mainForm->StartDirectory(), replay, highScore, why, forReport).empty())
      std::fprintf(stderr, "TROK Mirel: the game's replay is not kept: %s\n", why.c_str());
  };
  startup = std::make_unique<ProgramStartup>(app, *mainForm, *session, *optionsForm, sounds, music, input);
  titleMenu = std::make_unique<TitleMenu>(app, *mainForm, *session, *startup, *optionsForm, *scoreForm,
                                          *helpForm);
  mainForm->Connect(*titleMenu, *session, *startup);
  ConnectScreens();
  app.Show(mainForm.get());
  // The welcome screen needs none of the menus' art; it is made while the player reads.
  // So do the sound libraries, needed once the player has pressed a key.
  app.WhenIdle([this] { audio->LoadAhead(); });
  for (Form* f : std::initializer_list<Form*>{mainForm.get(), helpForm.get(), scoreForm.get(), optionsForm.get()})
    app.WhenIdle([f] { f->MakeWaitingPictures(); });
  return true;
}

void Program::ConnectScreens() {
  scoreForm->nameDialog = nameForm.get();
  for (ScreenForm* s : std::initializer_list<ScreenForm*>{optionsForm.get(), scoreForm.get(),
                                                          nameForm.get(), helpForm.get()}) {
    s->showTitleMenu = [this] { titleMenu->ShowTitleMenu(); };
    s->captureScreen = [this](Form& f) { mainForm->CaptureScreen(f); };
  }
  optionsForm->attachedJoysticks = [this](std::vector<std::string>& names) {
    if (!input.ListJoysticks()) return false;
    names = input.JoystickNames;
    return true;
  };
  helpForm->tilePicture = [this](int code) -> const Image& {
    static const Image none;
    const auto& holders = mainForm->A;
    return code >= 0 && code < static_cast<int>(holders.size()) && holders[code] ? holders[code]->image : none;
  };
}

bool Program::OpenNetwork(const NetRequest& request, std::string& error) {
  auto play = std::make_unique<NetPlay>(*this);
  if (!play->Open(request, error)) return false;
  net = std::move(play);
  titleMenu->SetNetPlay(net.get());
  return true;
}

void Program::QuitAfterStopSignal() {
  if (StopSignalled() && startup) startup->QuitProgram();
}

int RunProgram(const uint32_t* iconArgb, int iconSide, const std::function<bool(Program&)>& prepare) {
  CatchStopSignals();
  RealClock clock;
  Program program(clock, false);
  std::string error;
  if (!program.Init(error)) {
    std::fprintf(stderr, "TROK Mirel cannot start: %s\n", error.c_str());
    return 1;
  }
  program.app.SetIcon(iconArgb, iconSide, iconSide);
  if (prepare && !prepare(program)) return 2;
  for (;;) {
    try {
      program.app.Run();
      break;
    } catch (const std::exception& e) {
      // An error that escapes a handler is shown and the program goes on.
      program.app.MessageBox(BoxKind::Error, e.what());
      if (program.app.Terminated()) break;
    }
  }
  program.QuitAfterStopSignal();
  return 0;
}
