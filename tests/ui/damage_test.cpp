// The list of changed rectangles: what it merges, and that it never loses an area.
#include <gtest/gtest.h>

#include <vector>

#include "ui/damage.h"

namespace {

// Every pixel of `r` lies in some rectangle of the list.
bool Covered(const DamageList& d, const Rect& r) {
  for (int y = r.y; y < r.Bottom(); ++y)
    for (int x = r.x; x < r.Right(); ++x) {
      bool in = false;
      for (const Rect& e : d.Rects()) in = in || e.Contains({x, y, 1, 1});
      if (!in) return false;
    }
  return true;
}

}  // namespace

TEST(DamageList, NeighbouringCellsStaySeparateAndOverlapsMerge) {
  DamageList d;
  d.SetBounds(800, 600);
  d.Add({80, 64, 32, 32});
  d.Add({112, 64, 32, 32});  // the next cell: touching, not overlapping
  EXPECT_EQ(d.Rects().size(), 2u);
  d.Add({100, 70, 20, 10});  // overlaps both: one rectangle holding all three
  ASSERT_EQ(d.Rects().size(), 1u);
  EXPECT_EQ(d.Rects()[0], (Rect{80, 64, 64, 32}));
  d.Add({90, 70, 4, 4});  // inside: nothing new
  EXPECT_EQ(d.Rects().size(), 1u);
  d.Add({-10, 590, 30, 30});  // cut to the screen
  EXPECT_EQ(d.Rects().back(), (Rect{0, 590, 20, 10}));
  d.Add({900, 0, 10, 10});  // off the screen
  EXPECT_EQ(d.Rects().size(), 2u);
  EXPECT_FALSE(d.Whole());
  d.AddWhole();
  EXPECT_TRUE(d.Whole());
  d.Clear();
  EXPECT_TRUE(d.Empty());
}

TEST(DamageList, ManyScatteredChangesStayBoundedAndCovered) {
  DamageList d;
  d.SetBounds(800, 600);
  std::vector<Rect> added;
  unsigned seed = 7;
  for (int i = 0; i < 300; ++i) {
    seed = seed * 1103515245u + 12345u;
    Rect r{static_cast<int>(80 + 32 * ((seed >> 8) % 20)), static_cast<int>(64 + 32 * ((seed >> 16) % 12)), 32, 32};
    d.Add(r);
    added.push_back(r);
    ASSERT_LE(d.Rects().size(), DamageList::kMaxRects);
  }
  for (const Rect& r : added) EXPECT_TRUE(Covered(d, r));
  for (size_t i = 0; i < d.Rects().size(); ++i)
    for (size_t j = i + 1; j < d.Rects().size(); ++j) EXPECT_FALSE(d.Rects()[i].Overlaps(d.Rects()[j]));
}
