// Sleeps paced on whole milliseconds from a pass's start, on virtual time.
#include <gtest/gtest.h>

#include "base/clock.h"

TEST(MillisecondTicks, WorkBetweenTheSleepsDoesNotAddUp) {
  VirtualClock clock;
  clock.Advance(1000);
  const MillisecondTicks ticks(clock);
  clock.AdvanceMicros(400);  // the pass's own work
  for (int i = 0; i < 16; ++i) {
    clock.AdvanceMicros(60);  // processing messages between the sleeps
    ticks.SleepToNext();
  }
  EXPECT_EQ(clock.NowMicros(), 1016000u) << "16 waits end 16 ms after the pass began";

  // The same pass with plain 1 ms sleeps drifts by all of its work.
  VirtualClock plain;
  plain.AdvanceMicros(400);
  for (int i = 0; i < 16; ++i) {
    plain.AdvanceMicros(60);
    plain.SleepMs(1);
  }
  EXPECT_EQ(plain.NowMicros(), 17360u);
}

TEST(MillisecondTicks, ASleepEndsOnTheNextWholeMillisecondAfterNow) {
  VirtualClock clock;
  clock.AdvanceMicros(250);
  const MillisecondTicks ticks(clock);
  ticks.SleepToNext();
  EXPECT_EQ(clock.NowMicros(), 1250u);
  // Work that overran two ticks is not caught up with: the next tick after it.
  clock.AdvanceMicros(2100);
  ticks.SleepToNext();
  EXPECT_EQ(clock.NowMicros(), 4250u);
  // Exactly on a tick: the one after it.
  ticks.SleepToNext();
  EXPECT_EQ(clock.NowMicros(), 5250u);
  EXPECT_EQ(clock.NowMs(), 5u);
}
