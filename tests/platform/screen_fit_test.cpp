#include "platform/screen_fit.h"

#include <gtest/gtest.h>

TEST(ScreenFit, WholeFactorsWhenTwoOrMoreFit) {
  ScreenFit f = FitScreen(2560, 1440, 800, 600);
  EXPECT_EQ(f.w, 1600);
  EXPECT_EQ(f.h, 1200);
  EXPECT_EQ(f.x, 480);
  EXPECT_EQ(f.y, 120);
  f = FitScreen(3840, 2160, 800, 600);
  EXPECT_EQ(f.w, 2400) << "factor 3, not the fractional 3.6";
  EXPECT_EQ(f.h, 1800);
}

TEST(ScreenFit, FractionalFitBelowTwiceTheSize) {
  ScreenFit f = FitScreen(1920, 1080, 800, 600);
  EXPECT_EQ(f.w, 1440);
  EXPECT_EQ(f.h, 1080);
  EXPECT_EQ(f.x, 240);
  EXPECT_EQ(f.y, 0);
  f = FitScreen(1280, 1024, 800, 600);
  EXPECT_EQ(f.w, 1280);
  EXPECT_EQ(f.h, 960);
  EXPECT_EQ(f.y, 32);
  f = FitScreen(640, 480, 800, 600);
  EXPECT_EQ(f.w, 640) << "a smaller desktop shrinks the picture";
  f = FitScreen(632, 453, 632, 453);
  EXPECT_EQ(f.w, 632);
  EXPECT_EQ(f.x, 0);
  EXPECT_EQ(FitScreen(0, 0, 800, 600).w, 0);
}

TEST(ScreenFit, MousePositionsMapBackToTheLogicalScreen) {
  ScreenFit f = FitScreen(1920, 1080, 800, 600);
  int x, y;
  OutputToLogical(f, 800, 600, 240, 0, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  OutputToLogical(f, 800, 600, 240 + 1439.9, 1079.9, x, y);
  EXPECT_EQ(x, 799);
  EXPECT_EQ(y, 599);
  OutputToLogical(f, 800, 600, 960, 540, x, y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
  OutputToLogical(f, 800, 600, 100, 540, x, y);
  EXPECT_LT(x, 0) << "in the black border";
  f = FitScreen(2560, 1440, 800, 600);
  OutputToLogical(f, 800, 600, 480 + 3, 120 + 5, x, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
}

TEST(ScreenFit, FactorAndRectangleForCommonDesktopsAndAnOddWindow) {
  struct Case {
    int w, h;
    ScreenFit fit;
    bool smooth;
  };
  const Case cases[] = {
      {800, 600, {0, 0, 800, 600, 1}, false},        {1280, 1024, {0, 32, 1280, 960, 1}, true},
      {1366, 768, {171, 0, 1024, 768, 1}, true},     {1920, 1080, {240, 0, 1440, 1080, 1}, true},
      {2560, 1440, {480, 120, 1600, 1200, 2}, false}, {3840, 2160, {720, 180, 2400, 1800, 3}, false},
      {1001, 777, {0, 13, 1001, 751, 1}, true},      {1600, 1200, {0, 0, 1600, 1200, 2}, false},
      {640, 480, {0, 0, 640, 480, 1}, true},
  };
  for (const Case& c : cases) {
    ScreenFit f = FitScreen(c.w, c.h, 800, 600);
    EXPECT_EQ(f.factor, c.fit.factor) << c.w << "x" << c.h;
    EXPECT_EQ(f.x, c.fit.x) << c.w << "x" << c.h;
    EXPECT_EQ(f.y, c.fit.y) << c.w << "x" << c.h;
    EXPECT_EQ(f.w, c.fit.w) << c.w << "x" << c.h;
    EXPECT_EQ(f.h, c.fit.h) << c.w << "x" << c.h;
    EXPECT_EQ(NeedsSmoothStep(f, 800, 600), c.smooth) << c.w << "x" << c.h;
  }
}

TEST(ScreenFit, PointerInTheLetterboxLiesOutsideTheScreen) {
  int x, y;
  ScreenFit f = FitScreen(1280, 1024, 800, 600);  // 1280 x 960 at y 32
  OutputToLogical(f, 800, 600, 0, 31.9, x, y);
  EXPECT_LT(y, 0);
  OutputToLogical(f, 800, 600, 0, 32, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  OutputToLogical(f, 800, 600, 1279.9, 991.9, x, y);
  EXPECT_EQ(x, 799);
  EXPECT_EQ(y, 599);
  OutputToLogical(f, 800, 600, 640, 992, x, y);
  EXPECT_GE(y, 600) << "below the picture";
  f = FitScreen(1001, 777, 800, 600);  // 1001 x 751 at y 13
  OutputToLogical(f, 800, 600, 500.5, 13 + 375.5, x, y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
}
