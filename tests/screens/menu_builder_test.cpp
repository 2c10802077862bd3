// Captions and plates as every screen makes them.
#include "screens/menu_builder.h"

#include "screens/menu_art.h"
#include "ui/ui_fixture.h"

namespace {

class MenuBuilderTest : public HeadlessApp {
 protected:
  RecordingForm form{app, "Menu", 400, 200};
};

// A button reads as one thing: a click on its caption or on its key name works the
// button, because captions let the mouse through to the plate beneath them.
TEST_F(MenuBuilderTest, ClickOnAPlatesCaptionWorksThePlate) {
  Panel& box = form.Add<Panel>("Box", 20, 10, 360, 180);
  MenuBuilder menu(form, &box);
  Picture& plate = menu.Plate("Plate", 10, 20, 317, 54);
  const Label& caption = menu.Caption("Caption", "Random Level", 70, 26, 29, MenuRed);
  const Label& key = menu.Caption("Key", "F1", 12, 42, 13, KeyBlue);
  int clicks = 0;
  // The window sets the action after the plate is made.
  plate.onClick = [&clicks] { ++clicks; };
  app.Show(&form);
  for (const Label* label : {&caption, &key}) {
    EXPECT_GT(label->width, 0);
    Click(label->ScreenLeft() + label->width / 2, label->ScreenTop() + label->height / 2);
    Pump(5);
  }
  Click(plate.ScreenLeft() + 300, plate.ScreenTop() + 5);
  Pump(5);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(plate.cursor, CursorKind::Hand);
  EXPECT_EQ(plate.image.Pixels(), MakeButton(317, 54).Pixels());
}

}  // namespace
