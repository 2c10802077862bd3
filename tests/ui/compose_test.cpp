// What forms and controls paint: sizes from text, layering, clipping and the looks.
#include "ui/text.h"
#include "ui_fixture.h"

namespace {

constexpr Color kRed{224, 0, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kDarkBlue{1, 0, 51};

int CountColor(const Image& img, int x, int y, int w, int h, Color c) {
  int n = 0;
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx)
      if (img.PixelColor(xx, yy) == c) ++n;
  return n;
}

// Pixels that are neither of the two given colours (text, anti-aliasing).
int CountOther(const Image& img, int x, int y, int w, int h, Color a, Color b) {
  int n = 0;
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) {
      Color p = img.PixelColor(xx, yy);
      if (!(p == a) && !(p == b)) ++n;
    }
  return n;
}

}  // namespace

using ComposeTest = HeadlessApp;

TEST_F(ComposeTest, AutoSizeFollowsTheTextAndTheFont) {
  RecordingForm form(app, "Main", 632, 453, kDarkBlue);
  auto& small = form.Add<Label>("Key", 36, 262, 0, 0);
  small.font = {FontFace::Title, 13, true, false};
  small.SetText("F1");
  auto& big = form.Add<Label>("Caption", 94, 246, 0, 0);
  big.font = {FontFace::Title, 29, true, false};
  big.SetText("Random Level");
  EXPECT_GT(small.width, 5);
  EXPECT_GE(small.height, 13);
  EXPECT_LT(small.height, 26);
  EXPECT_GE(big.height, 29);
  EXPECT_GT(big.width, 5 * small.width);
  int oldWidth = big.width;
  big.SetText("Random Level and more");
  EXPECT_GT(big.width, oldWidth);
  // Without autoSize the box stays as set.
  auto& fixed = form.Add<Label>("LevelTitleLbl", 0, 32, 800, 30);
  fixed.autoSize = false;
  fixed.SetText("Level");
  EXPECT_EQ(fixed.width, 800);
  EXPECT_EQ(fixed.height, 30);
  // A word-wrapped label keeps its width; its height grows with the lines.
  auto& welcome = form.Add<Label>("WelcomeLbl", 178, 206, 276, 40);
  welcome.wordWrap = true;
  welcome.font.pixelHeight = 16;
  welcome.SetText("Welcome to TROK Mirel for Windows.  Press any key to start the game.");
  EXPECT_EQ(welcome.width, 276);
  EXPECT_GE(welcome.height, 2 * 16);
  EXPECT_LE(welcome.height, 3 * 20);
}

TEST_F(ComposeTest, ComposeIsTheCanvasWithShowingControlsOverIt) {
  RecordingForm form(app, "Main", 200, 100, kDarkBlue);
  form.canvas.FillRect(0, 0, 10, 10, White);  // the form's own painting
  auto& panel = form.Add<Panel>("MenuBox", 20, 20, 100, 50);
  auto& pic = form.Add<Picture>("Tile", 10, 10, 200, 200, &panel);  // larger than the panel
  pic.image = Image(4, 4, kRed);
  auto& top = form.Add<Panel>("Later", 100, 40, 50, 50);
  top.background = kBlue;
  Image img = form.Compose();
  EXPECT_EQ(img.PixelColor(5, 5), White);
  EXPECT_EQ(img.PixelColor(15, 15), kDarkBlue);
  EXPECT_EQ(img.PixelColor(25, 25), Black) << "panel background";
  EXPECT_EQ(img.PixelColor(35, 35), kRed) << "child over its panel, stretched";
  EXPECT_EQ(img.PixelColor(119, 60), kBlue) << "the later control lies on top";
  EXPECT_EQ(img.PixelColor(160, 80), kDarkBlue) << "children are clipped to their panel";
  EXPECT_EQ(img.PixelColor(60, 80), kDarkBlue);
  panel.visible = false;
  img = form.Compose();
  EXPECT_EQ(img.PixelColor(35, 35), kDarkBlue) << "hidden with its panel";
  // The canvas itself is untouched by composing.
  EXPECT_EQ(form.canvas.PixelColor(35, 35), kDarkBlue);
}

TEST_F(ComposeTest, UnscaledPictureIsCutAtItsBounds) {
  RecordingForm form(app, "Main", 100, 100);
  auto& pic = form.Add<Picture>("Holder", 10, 10, 20, 20);
  pic.stretch = false;
  pic.image = Image(8, 8, kRed);
  Image img = form.Compose();
  EXPECT_EQ(img.PixelColor(17, 17), kRed);
  EXPECT_EQ(img.PixelColor(19, 19), Black) << "unscaled: only 8 x 8";
  pic.image = Image(50, 50, kBlue);
  img = form.Compose();
  EXPECT_EQ(img.PixelColor(29, 29), kBlue);
  EXPECT_EQ(img.PixelColor(31, 31), Black) << "cut at the control's edge";
}

TEST_F(ComposeTest, LabelDrawsItsTextAlignedAndItsBackgroundWhenNotTransparent) {
  RecordingForm form(app, "Main", 300, 60, kDarkBlue);
  auto& label = form.Add<Label>("Title", 0, 0, 300, 30);
  label.autoSize = false;
  label.align = Align::Center;
  label.color = kBlue;
  label.font = {FontFace::Title, 21, true, false};
  label.SetText("Level 1");
  Image img = form.Compose();
  // Text only around the centre, none at the edges.
  EXPECT_GT(CountOther(img, 110, 0, 80, 30, kDarkBlue, kDarkBlue), 20);
  EXPECT_EQ(CountOther(img, 0, 0, 60, 30, kDarkBlue, kDarkBlue), 0);
  EXPECT_EQ(CountOther(img, 240, 0, 60, 30, kDarkBlue, kDarkBlue), 0);
  label.align = Align::Right;
  img = form.Compose();
  EXPECT_GT(CountOther(img, 240, 0, 60, 30, kDarkBlue, kDarkBlue), 20);
  label.transparent = false;
  label.background = White;
  img = form.Compose();
  EXPECT_EQ(img.PixelColor(2, 2), White);
  EXPECT_EQ(img.PixelColor(2, 40), kDarkBlue);
  // Underlined text paints a full-width line below the letters.
  auto& under = form.Add<Label>("Heading", 0, 35, 0, 0);
  under.font = {FontFace::Title, 16, true, true};
  under.color = White;
  under.SetText("iiii");
  Image withLine = form.Compose();
  under.font.underline = false;
  Image without = form.Compose();
  EXPECT_GT(CountColor(withLine, 0, 35, under.width, 25, White), CountColor(without, 0, 35, under.width, 25, White));
}

TEST_F(ComposeTest, EditFieldLooksSunkenAndShowsSelectionInvertedOnlyWhenFocused) {
  RecordingForm form(app, "Options", 200, 100);
  auto& edit = form.Add<EditField>("GameSpeedEdit", 10, 10, 60, 38);
  edit.text = "16";
  edit.color = kRed;
  edit.background = Black;
  edit.font = {FontFace::Title, 21, true, false};
  Image img = form.Compose();
  EXPECT_EQ(img.PixelColor(10, 10), (Color{128, 128, 128})) << "outer shadow, top-left";
  EXPECT_EQ(img.PixelColor(69, 47), White) << "outer light, bottom-right";
  EXPECT_EQ(img.PixelColor(11, 11), (Color{64, 64, 64}));
  int redPlain = CountColor(img, 12, 12, 56, 34, kRed);
  EXPECT_GT(redPlain, 10);
  edit.SelectAll();
  EXPECT_EQ(form.Compose().Pixels(), img.Pixels()) << "selection not shown without focus";
  form.SetFocus(&edit);
  Image selected = form.Compose();
  EXPECT_GT(CountColor(selected, 12, 12, 56, 34, kRed), 3 * redPlain) << "inverted: red block";
  // Focused without selection: a caret after the text, in the text colour.
  edit.selected = false;
  Image caret = form.Compose();
  EXPECT_GT(CountColor(caret, 12, 12, 56, 34, kRed), redPlain);
  edit.readOnly = true;
  EXPECT_EQ(CountColor(form.Compose(), 12, 12, 56, 34, kRed), redPlain) << "no caret when read-only";
}

TEST_F(ComposeTest, FontsResolveAndAMissingFaceFallsBackToDejaVu) {
  FontLibrary& fonts = app.Text().Fonts();
  EXPECT_NE(fonts.FileFor({FontFace::Title, 21, true, false}).find("omic"), std::string::npos);
  EXPECT_NE(fonts.FileFor({FontFace::Plain, 13, false, false}).find("DejaVuSans.ttf"), std::string::npos);
  EXPECT_NE(fonts.FileFor({FontFace::Plain, 13, true, false}).find("DejaVuSans-Bold"), std::string::npos);
  // A title face whose files are all missing borrows the plain one.
  FontFiles missing = FontFiles::System();
  missing.title.clear();
  missing.titleBold.clear();
  FontLibrary withoutTitle(missing);
  EXPECT_NE(withoutTitle.FileFor({FontFace::Title, 13, false, false}).find("DejaVuSans"), std::string::npos);
  int w = 0, h = 0;
  withoutTitle.Measure({FontFace::Title, 20, false, false}, "Hello", w, h);
  EXPECT_GT(w, 0);
  EXPECT_GE(h, 20);
  RenderedText hi = fonts.Render({FontFace::Plain, 13, false, false}, "Hi", White);
  ASSERT_EQ(hi.argb.size(), static_cast<size_t>(hi.width) * hi.height);
  EXPECT_GT(hi.width, 0);
  // Zero or silly sizes do not crash.
  fonts.Measure({FontFace::Plain, 0, false, false}, "x", w, h);
  fonts.Render({FontFace::Plain, -5, false, false}, "", White);
}

TEST_F(ComposeTest, WrappingKeepsEveryWordAndBreaksOverlongOnes) {
  TextRenderer& text = app.Text();
  FontSpec font{FontFace::Plain, 13, false, false};
  std::vector<std::string> lines = text.Wrap(font, "alpha beta gamma delta epsilon", 60);
  ASSERT_GT(lines.size(), 2u);
  std::string joined;
  for (const std::string& l : lines) {
    EXPECT_LE(text.Width(font, l), 60) << l;
    joined += (joined.empty() ? "" : " ") + l;
  }
  EXPECT_EQ(joined, "alpha beta gamma delta epsilon");
  lines = text.Wrap(font, "Supercalifragilistic", 40);
  EXPECT_GT(lines.size(), 1u);
  for (const std::string& l : lines) EXPECT_LE(text.Width(font, l), 40);
  EXPECT_EQ(text.Wrap(font, "one\r\ntwo", 0), (std::vector<std::string>{"one", "two"}));
}

TEST_F(ComposeTest, ModalFormIsCentredOverTheVisibleOne) {
  RecordingForm scores(app, "Scores", 800, 600, kDarkBlue);
  RecordingForm name(app, "Name", 482, 413, kRed);
  app.Show(&scores);
  Image seen;
  Timer& timer = app.CreateTimer();
  timer.onTimer = [&] {
    timer.SetInterval(0);
    seen = app.ComposeScreen();
    name.modalDone = true;
  };
  timer.SetInterval(5);
  app.ShowModal(name);
  ASSERT_EQ(seen.Width(), 800);
  EXPECT_EQ(seen.PixelColor(158, 300), kDarkBlue);
  EXPECT_EQ(seen.PixelColor(159, 300), kRed);
  EXPECT_EQ(seen.PixelColor(640, 300), kRed);
  EXPECT_EQ(seen.PixelColor(641, 300), kDarkBlue);
  EXPECT_EQ(seen.PixelColor(400, 93), kRed);
  EXPECT_EQ(seen.PixelColor(400, 92), kDarkBlue);
  EXPECT_EQ(app.ComposeScreen().PixelColor(400, 300), kDarkBlue) << "gone after it ended";
}

// A canvas nobody drew on holds no pixels yet shows and reads as its colour; drawing
// makes the pixels, a fill makes it flat again, and what the player sees follows each.
TEST_F(HeadlessApp, ACanvasHoldsPixelsOnlyOnceDrawnOn) {
  RecordingForm form(app, "Main", 40, 30, kDarkBlue);
  app.Show(&form);
  EXPECT_TRUE(form.canvas.Flat());
  EXPECT_EQ(form.canvas.PixelColor(39, 29), kDarkBlue);
  EXPECT_EQ(CountColor(app.ComposeScreen(), 0, 0, 40, 30, kDarkBlue), 40 * 30);
  EXPECT_TRUE(form.canvas.Flat()) << "showing it must not make the pixels";

  form.canvas.FillRect(10, 10, 5, 5, kRed);
  form.InvalidateRect(10, 10, 5, 5);
  EXPECT_FALSE(form.canvas.Flat());
  EXPECT_EQ(form.canvas.PixelColor(12, 12), kRed);
  EXPECT_EQ(form.canvas.PixelColor(9, 9), kDarkBlue);
  Image shown = app.ComposeScreen();
  EXPECT_EQ(CountColor(shown, 0, 0, 40, 30, kRed), 25);
  EXPECT_EQ(CountColor(shown, 0, 0, 40, 30, kDarkBlue), 40 * 30 - 25);

  form.canvas.Fill(kBlue);
  form.Invalidate();
  EXPECT_TRUE(form.canvas.Flat());
  EXPECT_EQ(CountColor(app.ComposeScreen(), 0, 0, 40, 30, kBlue), 40 * 30);
  form.SetClientSize(20, 10);
  EXPECT_TRUE(form.canvas.Flat());
  EXPECT_EQ(form.canvas.PixelColor(19, 9), kDarkBlue) << "a resized canvas takes the form's background";
}
