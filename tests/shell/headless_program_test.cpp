// The facade the program tests and the driver use: its own promises.
#include <stdexcept>

#include "shell/game_directory_fixture.h"

namespace {

class HeadlessProgramTest : public GameDirectoryTest {};

TEST_F(HeadlessProgramTest, ActionsRunAtTheirTimeAndALateOneAtOnce) {
  MakeGameDirectory(1);
  StartProgram();
  RunFor(20);
  uint64_t ranAt = 0, lateRanAt = 0;
  At(Now() + 30, [&] { ranAt = Now(); });
  At(Now() - 10, [&] { lateRanAt = Now(); });
  const uint64_t start = Now();
  RunFor(50);
  EXPECT_EQ(ranAt, start + 30);
  EXPECT_GE(lateRanAt, start);
  EXPECT_LE(lateRanAt, start + 2);
}

TEST_F(HeadlessProgramTest, TilePicturesAreThoseOfTheHolders) {
  MakeGameDirectory(1);
  StartProgram();
  EXPECT_TRUE(program->TilePicture(2).Empty()) << "read at start-up only";
  ReachTitleMenu();
  EXPECT_EQ(program->TilePicture(2).Width(), 32);
  // Codes without a picture have no holder.
  EXPECT_THROW(program->TilePicture(70), std::out_of_range);
  EXPECT_THROW(program->TilePicture(99), std::out_of_range);
}

}  // namespace
