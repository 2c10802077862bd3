#include "players/player_control.h"

#include "players/bombs.h"
#include "players_fixture.h"

using ControlTest = PlayersTest;

TEST_F(ControlTest, TwoHeldKeysMakeADiagonalAndReleasesUndoIt) {
  Press(keys::Right, p1);
  EXPECT_EQ(p1.MoveDirection, 3);
  Press(keys::Up, p1);
  EXPECT_EQ(p1.MoveDirection, 2);
  Press(keys::Left, p1);  // a third key changes nothing
  EXPECT_EQ(p1.MoveDirection, 2);
  Release(keys::Right, p1);
  EXPECT_EQ(p1.MoveDirection, 1);
  Press(keys::Left, p1);
  EXPECT_EQ(p1.MoveDirection, 8);
  Release(keys::Up, p1);
  EXPECT_EQ(p1.MoveDirection, 7);
  Press(keys::Down, p1);
  EXPECT_EQ(p1.MoveDirection, 6);
  Release(keys::Left, p1);
  EXPECT_EQ(p1.MoveDirection, 5);
  Press(keys::Right, p1);
  EXPECT_EQ(p1.MoveDirection, 4);
  Release(keys::Down, p1);
  EXPECT_EQ(p1.MoveDirection, 3);
  // Releasing a key that is not part of the walk stops the player.
  Release(keys::Up, p1);
  EXPECT_EQ(p1.MoveDirection, 0);
}

TEST_F(ControlTest, EachPlayerReactsOnlyToItsOwnKeys) {
  StartGame(2);
  Press(keys::Right, p1);
  Press(keys::Right, p2);
  Press(keys::P2Up, p1);
  Press(keys::P2Up, p2);
  EXPECT_EQ(p1.MoveDirection, 3);
  EXPECT_EQ(p2.MoveDirection, 1);
}

TEST_F(ControlTest, DeadOrWarpedPlayersOnlyStop) {
  p1.MoveDirection = 3;
  p1.Warped = true;
  Press(keys::Fire, p1);
  EXPECT_EQ(p1.MoveDirection, 0);
  EXPECT_FALSE(p1.Firing);
  Release(keys::Menu, p1);
  EXPECT_FALSE(p1.MenuOpen);

  p1.Warped = false;
  p1.Dead = true;
  Press(keys::Up, p1);
  EXPECT_EQ(p1.MoveDirection, 0);
  Release(keys::Menu, p1);
  EXPECT_FALSE(p1.MenuOpen);
}

TEST_F(ControlTest, MenuOpensOnReleaseAndDirectionKeysMoveTheSelection) {
  Press(keys::Right, p1);
  Press(keys::Fire, p1);
  Press(keys::Menu, p1);
  EXPECT_FALSE(p1.MenuOpen);
  Release(keys::Menu, p1);
  EXPECT_TRUE(p1.MenuOpen);
  EXPECT_EQ(p1.MenuChoice, MenuLife);
  EXPECT_EQ(p1.MoveDirection, 0);
  EXPECT_FALSE(p1.Firing);

  Press(keys::Left, p1);
  EXPECT_EQ(p1.MenuChoice, MenuBomb);
  Press(keys::Right, p1);
  EXPECT_EQ(p1.MenuChoice, MenuNothing);
  Press(keys::Down, p1);
  EXPECT_EQ(p1.MenuChoice, MenuLife);
  EXPECT_EQ(p1.MoveDirection, 0);
  Release(keys::Down, p1);
  EXPECT_EQ(p1.MoveDirection, 0);
}

TEST_F(ControlTest, MenuLifeHealsOnlyWhenHurt) {
  // Full life: the kit is kept and the player does not fire.
  p1.HealthKits = 1;
  p1.StatusText = "LIFE";
  Release(keys::Menu, p1);
  Press(keys::Fire, p1);
  EXPECT_FALSE(p1.MenuOpen);
  EXPECT_EQ(p1.HealthKits, 1);
  EXPECT_EQ(p1.StatusText, "");
  EXPECT_FALSE(p1.Firing);
  EXPECT_TRUE(host.sounds.empty());

  // Hurt: back to full, one kit used, and fire is held from now on.
  p1.Life = 40;
  p1.HealthKits = 2;
  Release(keys::Menu, p1);
  Press(keys::Fire, p1);
  EXPECT_EQ(p1.Life, LifeFull);
  EXPECT_EQ(p1.HealthKits, 1);
  EXPECT_TRUE(p1.Firing);
  EXPECT_EQ(host.sounds, Sounds{10});

  StartGame(2);
  p2.Life = 10;
  p2.HealthKits = 1;
  Release(keys::P2Menu, p2);
  Press(keys::P2Fire, p2);
  EXPECT_EQ(host.sounds, Sounds{30});
}

TEST_F(ControlTest, MenuBombAndNothing) {
  // No bombs: the menu just closes.
  p1.StatusText = "BOMB";
  Release(keys::Menu, p1);
  Press(keys::Left, p1);
  Press(keys::Fire, p1);
  EXPECT_FALSE(p1.MenuOpen);
  EXPECT_FALSE(p1.BombActive);
  EXPECT_FALSE(p1.Firing);
  EXPECT_EQ(p1.StatusText, "");

  // A bomb: placed on the player, the status keeps its text while it is steered.
  p1.Bombs = 1;
  p1.StatusText = "BOMB";
  Release(keys::Menu, p1);
  Press(keys::Left, p1);
  Press(keys::Fire, p1);
  EXPECT_TRUE(p1.BombActive);
  EXPECT_EQ(p1.Bombs, 0);
  EXPECT_EQ(At(5, 5), Cell::Bomb);
  EXPECT_EQ(p1.StatusText, "BOMB");
  // While a bomb is steered the menu stays shut.
  Tap(keys::Menu, p1);
  EXPECT_FALSE(p1.MenuOpen);

  StartGame(1);
  Release(keys::Menu, p1);
  Press(keys::Right, p1);
  Press(keys::Fire, p1);
  EXPECT_TRUE(p1.Firing);
  EXPECT_FALSE(p1.MenuOpen);
}

TEST_F(ControlTest, WalkingMovesOneCellAndDrawsBoth) {
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 6);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_EQ(At(6, 5), Cell::Player1);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Floor));
  EXPECT_TRUE(WasDrawn(6, 5, Cell::Player1));

  ForgetRecords();
  At(7, 4) = Cell::BrickSolid;
  Walk(p1, 2);
  EXPECT_EQ(p1.X, 6);
  EXPECT_EQ(p1.Y, 5);
  EXPECT_TRUE(host.drawn.empty());
}

TEST_F(ControlTest, FiringOrSteeringPlayersStandStill) {
  p1.Firing = true;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(At(5, 5), Cell::Player1);
}

TEST_F(ControlTest, KeyEventsHandledAtTheStartOfAStepCount) {
  p1.MoveDirection = 3;
  host.onProcessMessages = [&] { Release(keys::Right, p1); };
  UpdatePlayer(game, p1);
  EXPECT_EQ(p1.X, 5);
}

TEST_F(ControlTest, PlayerCanEnterOnlyWalkableCodes) {
  const int walkable[] = {Cell::Floor,   Cell::Health,     Cell::Bomb,      Cell::Money,
                          Cell::Key,     Cell::Door,       Cell::Finish,    Cell::PigP1,
                          Cell::PigP4,   Cell::DeathField, Cell::SlideFieldOmni,
                          Cell::LaserSet1_5, Cell::LaserSet4_5, Cell::Shield,
                          Cell::SlideRight,  Cell::SlideDown};
  const int blocking[] = {Cell::BrickSolid, Cell::BrickEnemyTrans, Cell::BrickShootable,
                          Cell::BrickSolidEdge, Cell::Ant, Cell::Pig, Cell::HorseP,
                          Cell::Heart,      Cell::Start,  Cell::Player2, Cell::P1Bullet3,
                          Cell::P2Bullet8,  Cell::Star,   Cell::PigP5, Cell::Fire5,
                          Cell::LaserSet3P3, Cell::SlideUpForEditor, Cell::Unknown, -3};
  for (int code : walkable) {
    At(6, 5) = static_cast<CellCode>(code);
    EXPECT_TRUE(PlayerCanEnter(game.World, 6, 5)) << code;
  }
  for (int code : blocking) {
    At(6, 5) = static_cast<CellCode>(code);
    EXPECT_FALSE(PlayerCanEnter(game.World, 6, 5)) << code;
  }
  EXPECT_FALSE(PlayerCanEnter(game.World, -1, 5));
  EXPECT_FALSE(PlayerCanEnter(game.World, 5, 12));
}

TEST_F(ControlTest, DamageUpToFullLifeLeavesThePlayerAliveAtZero) {
  DamagePlayer(game, 90, Cell::Player1, true);
  EXPECT_EQ(p1.Life, 0);
  EXPECT_FALSE(p1.Dead);
  EXPECT_EQ(host.sounds, Sounds{5});
  EXPECT_EQ(At(5, 5), Cell::Player1);

  p1.MenuOpen = true;
  p1.MoveDirection = 3;
  DamagePlayer(game, 10, Cell::Player1, true);
  EXPECT_TRUE(p1.Dead);
  EXPECT_EQ(p1.Life, -10);
  EXPECT_FALSE(p1.MenuOpen);
  EXPECT_EQ(p1.MoveDirection, 0);
  EXPECT_EQ(host.sounds, (Sounds{5, 6}));  // the die sound alone
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Floor));

  // A silent hit on someone already dead plays nothing.
  DamagePlayer(game, 50, Cell::Player1, false);
  EXPECT_EQ(host.sounds, (Sounds{5, 6}));
}

TEST_F(ControlTest, ShieldStopsHitsBelow200ButStillSounds) {
  StartGame(2);
  p2.ShieldTicks = 40;
  DamagePlayer(game, 150, Cell::Player2, true);
  EXPECT_EQ(p2.Life, LifeFull);
  EXPECT_EQ(host.sounds, Sounds{25});
  DamagePlayer(game, 199, 99, true);  // any code other than 25 hurts player 2
  EXPECT_EQ(p2.Life, LifeFull);

  DamagePlayer(game, 200, Cell::Player2, true);  // 200 and more pass the shield
  EXPECT_TRUE(p2.Dead);
  EXPECT_EQ(p2.Life, -110);
  EXPECT_EQ(p2.ShieldTicks, 0);
  EXPECT_EQ(At(9, 5), Cell::Floor);
  EXPECT_EQ(host.sounds, (Sounds{25, 25, 26}));
  EXPECT_EQ(p1.Life, LifeFull);
}

TEST_F(ControlTest, ShieldLastsOneHundredStepsAndThenClearsTheStatus) {
  At(6, 5) = Cell::Shield;
  Walk(p1, 3);
  EXPECT_EQ(p1.ShieldTicks, 100);
  EXPECT_EQ(p1.StatusText, "Shield On - 100%");
  p1.MoveDirection = 0;
  for (int step = 1; step < 100; ++step) UpdatePlayer(game, p1);
  EXPECT_EQ(p1.ShieldTicks, 1);
  EXPECT_NE(p1.StatusText, "");
  UpdatePlayer(game, p1);  // the 100th step after the pick-up
  EXPECT_EQ(p1.ShieldTicks, 0);
  EXPECT_EQ(p1.StatusText, "");
  DamagePlayer(game, 10, Cell::Player1, false);
  EXPECT_EQ(p1.Life, 80);
}

TEST_F(ControlTest, ResetStopsAWalkLeftOverFromTheLastGame) {
  p1.MoveDirection = 3;
  p2.MoveDirection = 7;
  StartGame(1);
  EXPECT_EQ(p1.MoveDirection, 0);
  // Player 2 sits out a one-player game: it never walks onto the grid.
  p2.MoveDirection = 7;
  PlayersTick(game);
  EXPECT_EQ(CountInRoom(Cell::Player2), 0);
  EXPECT_EQ(p2.X, 9);
}

TEST_F(ControlTest, JoystickPositionsAndThresholds) {
  p1.UsesKeyboard = false;
  struct Case {
    int x, y, direction;
  } cases[] = {{-500, -500, 8}, {-300, -900, 1}, {400, -400, 2}, {-400, 400, 6},
               {1000, 1000, 4}, {0, 399, 0},     {-399, 0, 0},   {-400, 0, 7},
               {400, 399, 3},   {0, 400, 5},     {0, 0, 0}};
  for (const Case& c : cases) {
    host.joystick1 = {c.x, c.y, false, false};
    ReadJoystick(game, p1);
    EXPECT_EQ(p1.MoveDirection, c.direction) << c.x << "," << c.y;
  }
}

TEST_F(ControlTest, JoystickButtonsAndMenu) {
  host.joystick1 = {500, 0, true, false};
  ReadJoystick(game, p1);
  EXPECT_TRUE(p1.Firing);
  host.joystick1.FireButton = false;
  ReadJoystick(game, p1);
  EXPECT_FALSE(p1.Firing);

  host.joystick1 = {0, 0, false, true};
  ReadJoystick(game, p1);
  EXPECT_TRUE(p1.MenuOpen);
  EXPECT_EQ(p1.MenuChoice, MenuLife);
  // With the menu open the stick chooses; it never walks.
  host.joystick1 = {-600, 0, false, true};
  ReadJoystick(game, p1);
  EXPECT_EQ(p1.MenuChoice, MenuBomb);
  EXPECT_EQ(p1.MoveDirection, 0);
  host.joystick1 = {600, 600, false, false};
  ReadJoystick(game, p1);
  EXPECT_EQ(p1.MenuChoice, MenuBomb);
  EXPECT_EQ(p1.MoveDirection, 0);
  host.joystick1 = {600, 0, false, false};
  ReadJoystick(game, p1);
  EXPECT_EQ(p1.MenuChoice, MenuNothing);

  // Fire with the menu on BOMB places the bomb; letting go sets it off on its owner.
  p1.Bombs = 1;
  p1.MenuChoice = MenuBomb;
  host.joystick1 = {0, 0, true, false};
  ReadJoystick(game, p1);
  EXPECT_TRUE(p1.BombActive);
  EXPECT_FALSE(p1.MenuOpen);
  host.joystick1.FireButton = false;
  ReadJoystick(game, p1);
  EXPECT_FALSE(p1.BombActive);
  EXPECT_TRUE(p1.Dead);
}

TEST_F(ControlTest, JoystickReadErrorIsShownAndThePlayerStillSteps) {
  StartGame(2);
  p1.UsesKeyboard = false;
  p2.UsesKeyboard = false;
  host.joystickWorks = false;
  p1.MoveDirection = 3;
  p2.ShieldTicks = 5;
  PlayersTick(game);
  EXPECT_EQ(host.errors, (std::vector<std::string>{"Error reading player1 joystick.",
                                                   "Error reading player2 joystick."}));
  EXPECT_EQ(p1.X, 6);  // the last direction stays in force
  EXPECT_EQ(p2.ShieldTicks, 4);
}

TEST_F(ControlTest, PlayersTickReadsOnlyJoystickPlayersOfTheGame) {
  host.joystick1 = {0, -700, false, false};
  PlayersTick(game);
  EXPECT_EQ(host.joystickPolls, 0);

  p1.UsesKeyboard = false;
  p2.UsesKeyboard = false;
  PlayersTick(game);
  EXPECT_EQ(host.joystickPolls, 1);  // player 2 is not read in a one-player game
  EXPECT_EQ(p1.Y, 4);

  StartGame(2);
  p2.UsesKeyboard = false;
  host.joystick2 = {-700, 0, false, false};
  PlayersTick(game);
  EXPECT_EQ(p2.X, 8);
}
