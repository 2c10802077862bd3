#include "screens/menu_art.h"
#include "base/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

int DistinctColors(const Image& img) {
  std::set<uint32_t> colors(img.Pixels().begin(), img.Pixels().end());
  return static_cast<int>(colors.size());
}

// Share of pixels in rows [y0, y1) that are not black.
double LitShare(const Image& img, int y0, int y1) {
  int lit = 0, all = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < img.Width(); ++x, ++all) lit += img.Pixel(x, y) != 0;
  return all ? static_cast<double>(lit) / all : 0.0;
}

TEST(MenuArt, PicturesHaveTheMenuSizesAndRealContent) {
  const Image title = MakeTitlePicture(690, 150);
  const Image second = MakeSecondPicture(690, 64);
  const Image large = MakeButton(317, 54), small = MakeButton(157, 54);
  const Image up = MakeArrow(true, 42), down = MakeArrow(false, 42);
  const Image level = MakeLevelSelector(317, 54);
  const std::pair<const Image*, std::pair<int, int>> all[] = {
      {&title, {690, 150}}, {&second, {690, 64}}, {&large, {317, 54}}, {&small, {157, 54}},
      {&up, {42, 42}},      {&down, {42, 42}},    {&level, {317, 54}}};
  for (const auto& [img, size] : all) {
    EXPECT_EQ(img->Width(), size.first);
    EXPECT_EQ(img->Height(), size.second);
    EXPECT_GT(DistinctColors(*img), 8) << size.first << " x " << size.second;
  }
  // The logo sits on black with its letters in the middle band.
  EXPECT_EQ(title.Pixel(0, 0) & 0xF0F0F0, 0u);
  EXPECT_GT(LitShare(title, 40, 110), 0.25);
  EXPECT_LT(LitShare(title, 0, 8), 0.05);
}

TEST(MenuArt, ButtonKeepsALightFaceForRedAndBlueCaptions) {
  const Image button = MakeButton(317, 54);
  // Caption and key-name areas must be light enough for (224,0,0) and (0,0,255) text.
  for (auto [x, y] : {std::pair{150, 20}, std::pair{250, 30}, std::pair{25, 30}}) {
    const Color c = button.PixelColor(x, y);
    EXPECT_GT(c.r + c.g + c.b, 450) << x << "," << y;
  }
  // The key cap differs from the caption area, so the key name reads as a key.
  EXPECT_NE(button.Pixel(25, 27), button.Pixel(150, 27));
}

TEST(MenuArt, ArrowsPointTheirWay) {
  // Rows of the pale triangle (pixels unlike the plate seen in the left column): an
  // up arrow is widest near its bottom, a down arrow near its top.
  auto widestRowNearEnd = [](const Image& img) {
    int top = -1, bottom = -1, widest = -1, best = 0;
    for (int y = 0; y < img.Height(); ++y) {
      int n = 0;
      for (int x = 0; x < img.Width(); ++x) {
        const Color c = img.PixelColor(x, y);
        n += img.Pixel(x, y) != img.Pixel(0, y) && c.r > 240 && c.g > 200;
      }
      if (n == 0) continue;
      if (top < 0) top = y;
      bottom = y;
      if (n > best) best = n, widest = y;
    }
    return std::pair{widest - top, bottom - widest};
  };
  const auto [upAbove, upBelow] = widestRowNearEnd(MakeArrow(true, 42));
  EXPECT_GT(upAbove, 3 * upBelow);
  const auto [downAbove, downBelow] = widestRowNearEnd(MakeArrow(false, 42));
  EXPECT_GT(downBelow, 3 * downAbove);
}

TEST(MenuArt, DegenerateSizesGiveEmptyPicturesWithoutFault) {
  EXPECT_TRUE(MakeTitlePicture(0, 150).Empty());
  EXPECT_TRUE(MakeSecondPicture(690, -1).Empty());
  EXPECT_TRUE(MakeButton(-5, 54).Empty());
  EXPECT_TRUE(MakeArrow(true, 0).Empty());
  EXPECT_TRUE(MakeLevelSelector(0, 0).Empty());
  // Tiny but valid sizes still draw.
  EXPECT_EQ(MakeTitlePicture(20, 10).Width(), 20);
  EXPECT_EQ(MakeSecondPicture(12, 6).Height(), 6);
  EXPECT_EQ(MakeButton(6, 4).Width(), 6);
  EXPECT_EQ(MakeArrow(false, 3).Width(), 3);
  EXPECT_EQ(MakeLevelSelector(9, 9).Width(), 9);
}

// The title menu as laid out in the menu box; with TROK_MENU_PREVIEW set the
// composition is saved there for a look.
TEST(MenuArt, MenuLayoutComposes) {
  Image box(690, 500, Black);
  box.Blit(MakeTitlePicture(690, 150), 0, 4);
  box.Blit(MakeSecondPicture(690, 64), 0, 164);
  const Image large = MakeButton(317, 54), small = MakeButton(157, 54);
  box.Blit(large, 24, 240);
  box.Blit(large, 24, 296);
  box.Blit(MakeLevelSelector(317, 54), 24, 352);
  box.Blit(MakeArrow(false, 42), 33, 358);
  box.Blit(MakeArrow(true, 42), 288, 358);
  box.Blit(small, 347, 240);
  box.Blit(small, 347, 296);
  box.Blit(large, 347, 352);
  box.Blit(small, 507, 240);
  box.Blit(small, 507, 296);
  // The arrows continue the plate's face behind them: no seam at their edges.
  const Image level = MakeLevelSelector(317, 54);
  for (int y : {360, 380, 398}) {
    EXPECT_EQ(box.Pixel(33, y), level.Pixel(9, y - 352)) << y;
    EXPECT_EQ(box.Pixel(329, y), level.Pixel(305, y - 352)) << y;
  }
  if (const char* path = std::getenv("TROK_MENU_PREVIEW")) {
    std::string error;
    EXPECT_TRUE(SaveBmp24(box, path, error)) << error;
  }
}

}  // namespace
