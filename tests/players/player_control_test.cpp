#include "play/player_control.h"

#include "play/shots.h"
#include "players_fixture.h"

using ControlTest = PlayersTest;

TEST_F(ControlTest, HeldKeysMakeDiagonalsAndReleasesUndoThem) {
  const struct {
    bool press;
    int key, direction;
  } steps[] = {{true, keys::Right, 3}, {true, keys::Up, 2},    {true, keys::Left, 2},
               {false, keys::Right, 1}, {true, keys::Left, 8}, {false, keys::Up, 7},
               {true, keys::Down, 6},  {false, keys::Left, 5}, {true, keys::Right, 4},
               {true, keys::P2Up, 4},  {false, keys::Down, 3}, {false, keys::Up, 0}};
  for (const auto& s : steps) {
    s.press ? Press(s.key, p1) : Release(s.key, p1);
    EXPECT_EQ(p1.MoveDirection, s.direction) << (s.press ? "press " : "release ") << s.key;
  }
  p1.Dead = true;
  Press(keys::Right, p1);
  Press(keys::Fire, p1);
  EXPECT_EQ(p1.MoveDirection, 0);
  EXPECT_FALSE(p1.Firing);
}

TEST_F(ControlTest, ItemMenuOpensOnReleaseAndTheDirectionKeysChoose) {
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

  // LIFE at full life: the kit is kept and the player does not fire.
  p1.HealthKits = 1;
  p1.StatusText = "LIFE";
  Press(keys::Fire, p1);
  EXPECT_FALSE(p1.MenuOpen);
  EXPECT_EQ(p1.HealthKits, 1);
  EXPECT_EQ(p1.StatusText, "");
  EXPECT_FALSE(p1.Firing);
  EXPECT_TRUE(host.sounds.empty());

  // LIFE when hurt: healed, one kit used, and fire counts as held.
  p1.Life = 40;
  p1.HealthKits = 2;
  Release(keys::Menu, p1);
  Press(keys::Fire, p1);
  EXPECT_EQ(p1.Life, LifeFull);
  EXPECT_EQ(p1.HealthKits, 1);
  EXPECT_TRUE(p1.Firing);
  EXPECT_EQ(host.sounds, Sounds{10});

  // BOMB without bombs just closes the menu.
  p1.StatusText = "BOMB";
  Release(keys::Menu, p1);
  Press(keys::Left, p1);
  Press(keys::Fire, p1);
  EXPECT_FALSE(p1.MenuOpen || p1.BombActive || p1.Firing);
  EXPECT_EQ(p1.StatusText, "");
}

TEST_F(ControlTest, WalkingFiringAndKeysArrivingDuringAStep) {
  Walk(p1, 3);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_EQ(At(6, 5), Cell::Player1);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Floor) && WasDrawn(6, 5, Cell::Player1));

  p1.Firing = true;  // a firing player stands still
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 6);

  p1.Firing = false;
  host.onProcessMessages = [&] { Release(keys::Right, p1); };
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 6);
}

TEST_F(ControlTest, DamageDeathAndTheShield) {
  DamagePlayer(game, 90, Cell::Player1, true);
  EXPECT_EQ(p1.Life, 0);
  EXPECT_FALSE(p1.Dead);
  p1.MenuOpen = true;
  DamagePlayer(game, 10, Cell::Player1, true);
  EXPECT_TRUE(p1.Dead);
  EXPECT_FALSE(p1.MenuOpen);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Floor));
  EXPECT_EQ(host.sounds, (Sounds{5, 6}));  // dying plays only the die sound

  StartGame(2);
  p2.ShieldTicks = 40;
  DamagePlayer(game, 150, Cell::Player2, true);
  DamagePlayer(game, 199, 99, false);  // any code but 25 hurts player 2
  EXPECT_EQ(p2.Life, LifeFull);
  EXPECT_EQ(host.sounds, Sounds{25});
  DamagePlayer(game, 200, Cell::Player2, true);
  EXPECT_TRUE(p2.Dead);
  EXPECT_EQ(p2.ShieldTicks, 0);
  EXPECT_EQ(host.sounds, (Sounds{25, 26}));
  EXPECT_EQ(p1.Life, LifeFull);
}

TEST_F(ControlTest, ShieldLastsOneHundredSteps) {
  At(6, 5) = Cell::Shield;
  Walk(p1, 3);
  EXPECT_EQ(p1.StatusText, "Shield On - 100%");
  EXPECT_TRUE(host.sounds.empty());
  for (int step = 1; step < 100; ++step) Walk(p1, 0);
  EXPECT_EQ(p1.ShieldTicks, 1);
  EXPECT_NE(p1.StatusText, "");
  Walk(p1, 0);
  EXPECT_EQ(p1.StatusText, "");
  DamagePlayer(game, 10, Cell::Player1, false);
  EXPECT_EQ(p1.Life, 80);
}

TEST_F(ControlTest, AWalkHeldWhenTheLastGameEndedDoesNotCarryOver) {
  p1.MoveDirection = 3;
  p2.MoveDirection = 7;
  StartGame(1);
  EXPECT_EQ(p1.MoveDirection, 0);
  p2.MoveDirection = 7;  // even so, player 2 sits a one-player game out
  PlayersTick(game);
  EXPECT_EQ(CountInRoom(Cell::Player2), 0);
}

// The players' part of a world tick in which they step.
void StepTick(Game& game) {
  PlayersTick(game);
  ShotsTick(game);
  EndPlayersStep(game);
}

TEST_F(ControlTest, AKeyTappedBetweenStepsCountsAtTheNextStepOnly) {
  Press(keys::Up, p1);
  StepTick(game);
  EXPECT_EQ(p1.Y, 4);
  // Right tapped while up is held: one diagonal step, then up alone again.
  Press(keys::Right, p1);
  Release(keys::Right, p1);
  StepTick(game);
  EXPECT_EQ(p1.X, 6);
  EXPECT_EQ(p1.Y, 3);
  StepTick(game);
  EXPECT_EQ(p1.X, 6);
  EXPECT_EQ(p1.Y, 2);
  // The keyboard's repeat of a key held over a step is no tap: let go, it stops.
  Press(keys::Up, p1);
  Release(keys::Up, p1);
  StepTick(game);
  EXPECT_EQ(p1.Y, 2);
  // A direction chosen in the item menu walks nowhere.
  Release(keys::Menu, p1);
  Press(keys::Left, p1);
  Release(keys::Left, p1);
  StepTick(game);
  EXPECT_EQ(p1.X, 6);
  EXPECT_EQ(p1.MenuChoice, MenuBomb);
}

TEST_F(ControlTest, TwoPlayersTappingTheSameWayAtTheEdgeLeaveTogether) {
  StartGame(2);
  MoveTo(p1, 0, 5);
  MoveTo(p2, 0, 6);
  for (const int key : {keys::Left, keys::P2Left}) {
    Press(key, key == keys::Left ? p1 : p2);
    Release(key, key == keys::Left ? p1 : p2);
  }
  StepTick(game);
  EXPECT_EQ(game.World.CurrentRoomX, 1);
  EXPECT_EQ(p1.X, GridRoomWidth - 1);
  EXPECT_EQ(p2.X, GridRoomWidth - 1);
}

TEST_F(ControlTest, JoystickDirectionsAndMenu) {
  const struct {
    int x, y, direction;
  } cases[] = {{-500, -500, 8}, {-300, -900, 1}, {400, -400, 2}, {-400, 400, 6},
               {1000, 1000, 4}, {0, 399, 0},     {-400, 0, 7},   {400, 399, 3}};
  for (const auto& c : cases) {
    host.joystick1 = {c.x, c.y, false, false};
    ReadJoystick(game, p1);
    EXPECT_EQ(p1.MoveDirection, c.direction) << c.x << "," << c.y;
  }
  host.joystick1 = {500, 0, true, false};
  ReadJoystick(game, p1);
  EXPECT_TRUE(p1.Firing);

  host.joystick1 = {0, 0, false, true};
  ReadJoystick(game, p1);
  EXPECT_TRUE(p1.MenuOpen);
  EXPECT_FALSE(p1.Firing);
  host.joystick1 = {-600, 0, false, false};
  ReadJoystick(game, p1);
  EXPECT_EQ(p1.MenuChoice, MenuBomb);
  host.joystick1 = {600, 600, false, false};  // diagonals leave the choice alone
  ReadJoystick(game, p1);
  EXPECT_EQ(p1.MenuChoice, MenuBomb);
  EXPECT_EQ(p1.MoveDirection, 0);

  // Fire on BOMB places it; letting go of the button sets it off on its owner.
  p1.Bombs = 1;
  host.joystick1 = {0, 0, true, false};
  ReadJoystick(game, p1);
  EXPECT_TRUE(p1.BombActive);
  host.joystick1.FireButton = false;
  ReadJoystick(game, p1);
  EXPECT_TRUE(p1.Dead);
}

TEST_F(ControlTest, JoysticksAreReadOnlyForTheirPlayersAndErrorsAreShown) {
  p2.UsesKeyboard = false;
  PlayersTick(game);
  EXPECT_EQ(host.joystickPolls, 0);  // no player 2 in a one-player game

  StartGame(2);
  p1.UsesKeyboard = false;
  host.joystick2 = {-700, 0, false, false};
  PlayersTick(game);
  EXPECT_EQ(host.joystickPolls, 2);
  EXPECT_EQ(p2.X, 8);

  host.joystickWorks = false;
  p2.ShieldTicks = 5;
  PlayersTick(game);
  EXPECT_EQ(host.errors, (std::vector<std::string>{"Error reading player1 joystick.",
                                                   "Error reading player2 joystick."}));
  EXPECT_EQ(p2.X, 7);  // the step still follows, with the last direction
  EXPECT_EQ(p2.ShieldTicks, 4);
}
