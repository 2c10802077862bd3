// Where the resizable window first opens, from the desktop's work area.
#include "platform/window_placement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, LargestWholeMultipleThatFitsTheWorkAreaCentred) {
  EXPECT_EQ(PlaceWindow({0, 0, 1280, 1024}, {}, 800, 600), (Rect{240, 212, 800, 600}));
  EXPECT_EQ(PlaceWindow({0, 30, 1920, 1050}, {}, 800, 600), (Rect{560, 255, 800, 600}));
  EXPECT_EQ(PlaceWindow({0, 0, 2560, 1400}, {}, 800, 600), (Rect{480, 100, 1600, 1200}));
  EXPECT_EQ(PlaceWindow({0, 0, 3840, 2120}, {}, 800, 600), (Rect{720, 160, 2400, 1800}));
  // A panel on the left: the work area starts beside it.
  EXPECT_EQ(PlaceWindow({64, 0, 1856, 1080}, {}, 800, 600), (Rect{64 + 528, 240, 800, 600}));
}

TEST(WindowPlacement, TheFrameCountsAndTheLogicalSizeIsTheLeast) {
  // A title bar of 30 pixels: twice the size no longer fits 1200 pixels of height.
  EXPECT_EQ(PlaceWindow({0, 0, 1600, 1200}, {30, 0, 0, 0}, 800, 600), (Rect{400, 30 + 285, 800, 600}));
  EXPECT_EQ(PlaceWindow({0, 0, 1600, 1200}, {}, 800, 600), (Rect{0, 0, 1600, 1200}));
  // A work area smaller than the screen: the screen's own size at its corner, the
  // title bar inside the desktop.
  EXPECT_EQ(PlaceWindow({0, 0, 800, 560}, {24, 2, 2, 2}, 800, 600), (Rect{2, 24, 800, 600}));
  EXPECT_EQ(PlaceWindow({0, 0, 0, 0}, {}, 800, 600), (Rect{0, 0, 800, 600}));
  EXPECT_TRUE(PlaceWindow({0, 0, 1280, 1024}, {}, 0, 600).Empty());
}
