// The scaling step: which logical pixel each window pixel shows, and that scaling the
// changed rectangles gives exactly the picture that scaling everything gives.
#include "platform/screen_scaler.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

Image Pattern(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.SetPixel(x, y, Color{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7});
  return img;
}

}  // namespace

TEST(ScreenScaler, WholeFactorRepeatsEachPixel) {
  ScreenScaler s;
  Image screen = Pattern(8, 6);
  s.Configure(8, 6, FitScreen(20, 14, 8, 6));  // factor 2, centred with 2 + 1 pixels of border
  std::vector<uint32_t> out(20 * 14, 0xABCDEF);
  Rect written = s.Scale(screen, {0, 0, 8, 6}, out.data(), 20);
  EXPECT_EQ(written, (Rect{2, 1, 16, 12}));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(out[static_cast<size_t>(y + 1) * 20 + x + 2], screen.Pixel(x / 2, y / 2));
  EXPECT_EQ(out[0], 0xABCDEFu) << "the border is not the scaler's";
  EXPECT_EQ(s.OutputArea({3, 2, 1, 1}), (Rect{8, 5, 2, 2}));
}

TEST(ScreenScaler, FractionalFitTakesThePixelUnderEachCentre) {
  ScreenScaler s;
  Image screen = Pattern(800, 600);
  ScreenFit fit = FitScreen(1280, 1024, 800, 600);  // 1.6: 1280 x 960 at y 32
  s.Configure(800, 600, fit);
  std::vector<uint32_t> out(1280 * 1024, 0);
  s.Scale(screen, {0, 0, 800, 600}, out.data(), 1280);
  for (int y : {0, 1, 2, 500, 959})
    for (int x : {0, 1, 2, 3, 640, 1279}) {
      int sx = (2 * x + 1) * 800 / (2 * 1280), sy = (2 * y + 1) * 600 / (2 * 960);
      EXPECT_EQ(out[static_cast<size_t>(y + 32) * 1280 + x], screen.Pixel(sx, sy)) << x << "," << y;
    }
  // A 32 x 32 cell of the room covers 51 or 52 window pixels a side (32 x 1.6 = 51.2).
  EXPECT_EQ(s.OutputArea({80, 64, 32, 32}), (Rect{128, 32 + 102, 51, 52}));
  EXPECT_EQ(s.OutputArea({112, 96, 32, 32}), (Rect{179, 32 + 154, 51, 51}));
}

TEST(ScreenScaler, ChangedRectanglesScaleToExactlyTheWholePicture) {
  for (ScreenFit fit : {FitScreen(1920, 1080, 800, 600), FitScreen(1280, 1024, 800, 600),
                        FitScreen(640, 480, 800, 600), FitScreen(1600, 1200, 800, 600)}) {
    ScreenScaler s;
    s.Configure(800, 600, fit);
    Image before = Pattern(800, 600), after = before;
    const std::vector<Rect> changed{{80, 64, 32, 32}, {112, 64, 32, 32}, {0, 0, 1, 1}, {799, 599, 1, 1},
                                    {333, 217, 45, 3}};
    for (const Rect& r : changed) after.FillRect(r.x, r.y, r.w, r.h, Color{250, 1, 2});
    const int ow = fit.x * 2 + fit.w, oh = fit.y * 2 + fit.h;
    std::vector<uint32_t> partial(static_cast<size_t>(ow) * oh, 0), whole(partial);
    s.Scale(before, {0, 0, 800, 600}, partial.data(), ow);
    int64_t area = 0;
    for (const Rect& r : changed) area += s.Scale(after, r, partial.data(), ow).Area();
    s.Scale(after, {0, 0, 800, 600}, whole.data(), ow);
    EXPECT_EQ(partial, whole) << fit.w << "x" << fit.h;
    EXPECT_GT(area, 0);
  }
}
