#include "shell/program.h"

#include <cstdio>
#include <exception>

#include "platform/sdl_audio_door.h"

Program::Program(Clock& clock, bool headless, std::unique_ptr<AudioDoor> audioDoor)
    : app(clock, headless),
      audio(audioDoor ? std::move(audioDoor) : std::make_unique<SdlAudioDoor>()) {}

bool Program::Init(std::string& error) {
  if (!app.Init(error)) return false;
  app.SetTitle("TROK Mirel For Windows");
  app.SetWindowed(632, 453);
  mainForm = std::make_unique<TMainForm>(app, *audio);
  optionsForm = std::make_unique<TOptionsForm>(app);
  scoreForm = std::make_unique<THScoreForm>(app);
  nameForm = std::make_unique<TNameForm>(app);
  helpForm = std::make_unique<THelpForm>(app);
  for (Form* f : std::initializer_list<Form*>{mainForm.get(), optionsForm.get(), scoreForm.get(),
                                              nameForm.get(), helpForm.get()})
    app.AddForm(f);
  mainForm->ConnectScreens(*optionsForm, *scoreForm, *nameForm, *helpForm);
  app.Show(mainForm.get());
  return true;
}

int RunProgram() {
  RealClock clock;
  Program program(clock, false);
  std::string error;
  if (!program.Init(error)) {
    std::fprintf(stderr, "TROK Mirel cannot start: %s\n", error.c_str());
    return 1;
  }
  for (;;) {
    try {
      program.app.Run();
      return 0;
    } catch (const std::exception& e) {
      // An error that escapes a handler is shown and the program goes on.
      program.app.MessageBox(BoxKind::Error, e.what());
      if (program.app.Terminated()) return 0;
    }
  }
}
