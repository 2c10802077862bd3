#include "platform/joysticks.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/virtual_joystick.h"

namespace {

class JoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(system.Start(error)) << error;
    baseline = system.AttachedCount();
  }
  VirtualJoystick& Plug(const std::string& name, bool controller = false) {
    plugged.push_back(std::make_unique<VirtualJoystick>(name, controller));
    EXPECT_TRUE(plugged.back()->Attached());
    return *plugged.back();
  }
  JoystickState ReadAfterPoll(Joystick& j) {
    JoystickState s;
    EXPECT_TRUE(j.Poll());
    EXPECT_TRUE(j.Read(s));
    return s;
  }

  JoystickSystem system;
  int baseline = 0;
  std::vector<std::unique_ptr<VirtualJoystick>> plugged;
};

TEST(JoystickAxis, EndsAndCentreMapOntoThousands) {
  EXPECT_EQ(ScaleJoystickAxis(-32768), -1000);
  EXPECT_EQ(ScaleJoystickAxis(32767), 1000);
  EXPECT_EQ(ScaleJoystickAxis(0), 0);
  EXPECT_EQ(ScaleJoystickAxis(-16384), -500);
  EXPECT_EQ(ScaleJoystickAxis(16384), 500);
  // Out-of-range input is clamped, never beyond the game's range.
  EXPECT_EQ(ScaleJoystickAxis(-40000), -1000);
  EXPECT_EQ(ScaleJoystickAxis(40000), 1000);
  // The game's 400 threshold sits where it should on either side.
  EXPECT_EQ(ScaleJoystickAxis(13107), 400);
  EXPECT_EQ(ScaleJoystickAxis(-13107), -400);
}

TEST_F(JoystickTest, ListsAttachedDevicesInOrderWithTheirNames) {
  Plug("Stick Alpha");
  Plug("Pad Beta", true);
  ASSERT_EQ(system.AttachedCount(), baseline + 2);
  auto a = system.Open(baseline);
  auto b = system.Open(baseline + 1);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->Name(), "Stick Alpha");
  EXPECT_FALSE(a->IsGameController());
  EXPECT_FALSE(b->Name().empty());
  EXPECT_FALSE(system.Open(baseline + 2));
  EXPECT_FALSE(system.Open(-1));
}

TEST_F(JoystickTest, PlainJoystickReadsAxesZeroAndOneAndFirstButtons) {
  VirtualJoystick& v = Plug("Plain");
  auto j = system.Open(baseline);
  ASSERT_TRUE(j);
  JoystickState s = ReadAfterPoll(*j);
  EXPECT_EQ(s.X, 0);
  EXPECT_EQ(s.Y, 0);
  EXPECT_FALSE(s.Fire);
  EXPECT_FALSE(s.Menu);

  v.SetRawAxis(0, -32768);
  v.SetRawAxis(1, 32767);
  v.SetButton(0, true);
  s = ReadAfterPoll(*j);
  EXPECT_EQ(s.X, -1000);
  EXPECT_EQ(s.Y, 1000);
  EXPECT_TRUE(s.Fire);
  EXPECT_FALSE(s.Menu);

  v.SetStick(-300, -900);
  v.SetButton(0, false);
  v.SetButton(1, true);
  s = ReadAfterPoll(*j);
  EXPECT_EQ(s.X, -300);
  EXPECT_EQ(s.Y, -900);
  EXPECT_FALSE(s.Fire);
  EXPECT_TRUE(s.Menu);
}

TEST_F(JoystickTest, GameControllerReadsLeftStickAndFaceButtons) {
  VirtualJoystick& v = Plug("Pad", true);
  auto j = system.Open(baseline);
  ASSERT_TRUE(j);
  v.SetStick(500, -500);
  v.SetButton(0, true);
  JoystickState s = ReadAfterPoll(*j);
  EXPECT_EQ(s.X, 500);
  EXPECT_EQ(s.Y, -500);
  EXPECT_TRUE(s.Fire);
  EXPECT_FALSE(s.Menu);
  v.SetButton(0, false);
  v.SetButton(1, true);
  s = ReadAfterPoll(*j);
  EXPECT_FALSE(s.Fire);
  EXPECT_TRUE(s.Menu);
}

TEST_F(JoystickTest, UnpluggedDeviceFailsToPollAndCannotBeReacquiredUntilBack) {
  VirtualJoystick& v = Plug("Leaving");
  auto j = system.Open(baseline);
  ASSERT_TRUE(j);
  ASSERT_TRUE(j->Poll());
  v.Detach();
  EXPECT_FALSE(j->Poll());
  JoystickState s;
  EXPECT_FALSE(j->Read(s));
  EXPECT_FALSE(j->Reacquire());

  // Plugged back in (same kind of device): found again and readable.
  VirtualJoystick& back = Plug("Leaving");
  EXPECT_TRUE(j->Reacquire());
  back.SetStick(0, 1000);
  s = ReadAfterPoll(*j);
  EXPECT_EQ(s.Y, 1000);
}

TEST_F(JoystickTest, SameDeviceOpenedTwiceStaysOpenUntilBothClose) {
  VirtualJoystick& v = Plug("Shared");
  auto first = system.Open(baseline);
  auto second = system.Open(baseline);
  ASSERT_TRUE(first && second);
  first.reset();
  v.SetStick(1000, 0);
  JoystickState s = ReadAfterPoll(*second);
  EXPECT_EQ(s.X, 1000);
}

}  // namespace
