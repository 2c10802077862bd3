// The scaling step: which logical pixel each window pixel shows or mixes, and that
// scaling the changed rectangles gives exactly the picture that scaling everything gives.
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

// How much of each logical pixel the output shows, in 1/256 of an output pixel.
std::vector<int> ShareOfEachSourcePixel(const ScreenScaler::AxisMap& map, int in) {
  std::vector<int> share(static_cast<size_t>(in), 0);
  for (size_t i = 0; i < map.source.size(); ++i) {
    share[static_cast<size_t>(map.source[i])] += ScreenScaler::kWeightOne - map.weight[i];
    if (map.weight[i]) share[static_cast<size_t>(map.source[i]) + 1] += map.weight[i];
  }
  return share;
}

TEST(ScreenScaler, SmoothStepGivesEveryLogicalPixelTheSameSize) {
  // 800 -> 1280 and 600 -> 960 (1.6), 800 -> 1440 (1.8), 600 -> 768 (1.28), an odd window.
  for (auto [in, out] : {std::pair{800, 1280}, {600, 960}, {800, 1440}, {600, 768}, {800, 1001}, {600, 751}}) {
    ScreenScaler::AxisMap map;
    ScreenScaler::BuildAxis(in, out, true, map);
    std::vector<int> share = ShareOfEachSourcePixel(map, in);
    const double expected = 256.0 * out / in;
    for (int s = 0; s < in; ++s)
      ASSERT_NEAR(share[static_cast<size_t>(s)], expected, 2.0) << in << "->" << out << " pixel " << s;
    // An edge between two logical pixels softens one output pixel at most.
    for (int s = 1; s < in; ++s) {
      int mixed = 0;
      for (size_t i = 0; i < map.source.size(); ++i) mixed += map.source[i] == s - 1 && map.weight[i] != 0;
      ASSERT_LE(mixed, 1) << in << "->" << out << " edge " << s;
    }
  }
}

TEST(ScreenScaler, SmoothStepOnASmallPicture) {
  // 5 x 5 into 8 x 8 (1.6): the left two columns red, the rest blue; one flat row.
  Image screen(5, 5, Color{0, 0, 200});
  screen.FillRect(0, 0, 2, 5, Color{200, 0, 0});
  ScreenFit fit = FitScreen(8, 8, 5, 5);
  ASSERT_EQ(fit.factor, 1);
  ScreenScaler s;
  s.Configure(5, 5, fit);
  ASSERT_TRUE(s.Smooth());
  std::vector<uint32_t> out(64, 0);
  s.Scale(screen, {0, 0, 5, 5}, out.data(), 8);
  const uint32_t red = screen.Pixel(0, 0), blue = screen.Pixel(4, 0);
  for (int y = 0; y < 8; ++y) {
    // Output column 3 covers [1.875, 2.5): 1/5 red, 4/5 blue; every other one is flat.
    for (int x : {0, 1, 2}) EXPECT_EQ(out[static_cast<size_t>(y * 8 + x)], red) << x << "," << y;
    for (int x : {4, 5, 6, 7}) EXPECT_EQ(out[static_cast<size_t>(y * 8 + x)], blue) << x << "," << y;
    const uint32_t mixed = out[static_cast<size_t>(y * 8 + 3)];
    EXPECT_NEAR(static_cast<int>((mixed >> 16) & 0xFF), 200 / 5, 1);
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 200 * 4 / 5, 1);
  }
  // A flat picture stays exactly its colour, enlarged or shrunk.
  for (ScreenFit f : {FitScreen(1280, 1024, 800, 600), FitScreen(1001, 777, 800, 600), FitScreen(640, 480, 800, 600)}) {
    Image flat(800, 600, Color{123, 45, 67});
    ScreenScaler scaler;
    scaler.Configure(800, 600, f);
    std::vector<uint32_t> pixels(static_cast<size_t>(f.x + f.w) * (f.y + f.h), 0);
    Rect written = scaler.Scale(flat, {0, 0, 800, 600}, pixels.data(), f.x + f.w);
    EXPECT_EQ(written, (Rect{f.x, f.y, f.w, f.h}));
    for (int y = f.y; y < f.y + f.h; y += 7)
      for (int x = f.x; x < f.x + f.w; x += 5)
        ASSERT_EQ(pixels[static_cast<size_t>(y) * (f.x + f.w) + x], flat.Pixel(0, 0)) << f.w << " " << x << "," << y;
  }
}

TEST(ScreenScaler, ChangedCellReachesTheOutputPixelsThatMixItIn) {
  ScreenScaler s;
  s.Configure(800, 600, FitScreen(1280, 1024, 800, 600));  // 1.6: 1280 x 960 at y 32
  // Cell (0, 0) of the room: output columns 128..179 and rows 102..153, one more each
  // than the 51.2 pixels it covers, for the pixels shared with its neighbours.
  EXPECT_EQ(s.OutputArea({80, 64, 32, 32}), (Rect{128, 32 + 102, 52, 52}));
  ScreenScaler whole;
  whole.Configure(800, 600, FitScreen(1600, 1200, 800, 600));
  EXPECT_EQ(whole.OutputArea({80, 64, 32, 32}), (Rect{160, 128, 64, 64})) << "whole factors mix nothing";
}

TEST(ScreenScaler, ChangedRectanglesScaleToExactlyTheWholePicture) {
  for (ScreenFit fit : {FitScreen(1920, 1080, 800, 600), FitScreen(1280, 1024, 800, 600),
                        FitScreen(640, 480, 800, 600), FitScreen(1600, 1200, 800, 600), FitScreen(1366, 768, 800, 600),
                        FitScreen(1001, 777, 800, 600), FitScreen(800, 600, 800, 600)}) {
    ScreenScaler s;
    s.Configure(800, 600, fit);
    Image before = Pattern(800, 600), after = before;
    const std::vector<Rect> changed{{80, 64, 32, 32}, {112, 64, 32, 32}, {0, 0, 1, 1}, {799, 599, 1, 1},
                                    {333, 217, 45, 3}, {500, 300, 1, 1}, {401, 0, 2, 600}};
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
