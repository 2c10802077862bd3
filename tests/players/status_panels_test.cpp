#include "players/status_panels.h"

#include "players_fixture.h"

class StatusPanelsTest : public PlayersTest {
 protected:
  PanelTexts texts[2];
  bool Refresh() { return UpdateStatusPanels(game, texts); }
};

TEST_F(StatusPanelsTest, WorksOnEveryThirdCallStartingWithTheFirst) {
  EXPECT_TRUE(Refresh());
  EXPECT_EQ(texts[0].Life, "90");
  p1.Points = 1234;
  EXPECT_FALSE(Refresh());
  EXPECT_FALSE(Refresh());
  EXPECT_EQ(texts[0].Points, "0");
  EXPECT_TRUE(Refresh());
  EXPECT_EQ(texts[0].Points, "1234");
  for (int call = 0; call < 2999; ++call) Refresh();
  EXPECT_TRUE(Refresh());
}

TEST_F(StatusPanelsTest, ShowsAllSixValuesOfBothPlayers) {
  p1.Life = -160;
  p1.Keys = 1, p1.Bombs = 2, p1.HealthKits = 3, p1.LevelsPassed = 4, p1.Points = 56;
  p2.Keys = 7;  // player 2's texts are filled in a one-player game as well
  Refresh();
  EXPECT_EQ(texts[0].Life, "-160");
  EXPECT_EQ(texts[0].Keys, "1");
  EXPECT_EQ(texts[0].Bombs, "2");
  EXPECT_EQ(texts[0].HealthKits, "3");
  EXPECT_EQ(texts[0].LevelsPassed, "4");
  EXPECT_EQ(texts[0].Points, "56");
  EXPECT_EQ(texts[0].Status, "Status: ");
  EXPECT_EQ(texts[1].Keys, "7");
  EXPECT_EQ(texts[1].Life, "90");
}

TEST_F(StatusPanelsTest, ShieldAndMenuTexts) {
  StartGame(2);
  p1.ShieldTicks = 37;
  p2.ShieldTicks = 37;
  p2.MenuOpen = true;
  p2.MenuChoice = MenuBomb;
  Refresh();
  EXPECT_EQ(texts[0].Status, "Status: Shield On - 37%");
  EXPECT_EQ(p1.StatusText, "Shield On - 37%");
  EXPECT_EQ(texts[1].Status, "Status: BOMB");

  p1.MenuOpen = true;
  p1.MenuChoice = MenuNothing;
  p2.MenuChoice = MenuLife;
  Refresh(), Refresh(), Refresh();
  EXPECT_EQ(texts[0].Status, "Status: NOTHING");
  EXPECT_EQ(texts[1].Status, "Status: LIFE");

  p1.MenuOpen = false;
  p1.ShieldTicks = 0;
  p1.StatusText = "WARP";
  Refresh(), Refresh(), Refresh();
  EXPECT_EQ(texts[0].Status, "Status: WARP");
}

TEST_F(StatusPanelsTest, KeysOfADeadPartnerGoToTheLivingPlayer) {
  StartGame(2);
  p1.Keys = 3;
  p2.Keys = 1;
  DamagePlayer(game, 250, Cell::Player1, false);
  Refresh();
  EXPECT_EQ(texts[0].Keys, "0");
  EXPECT_EQ(texts[1].Keys, "4");

  p2.Keys = 2;
  p2.Dead = true;
  p1.Dead = false;
  Refresh(), Refresh(), Refresh();
  EXPECT_EQ(p1.Keys, 2);
  EXPECT_EQ(p2.Keys, 0);

  // Both dead: nothing moves.
  p2.Dead = true;
  p1.Dead = true;
  Refresh(), Refresh(), Refresh();
  EXPECT_EQ(p1.Keys, 2);
  EXPECT_EQ(p2.Keys, 0);
}

TEST_F(StatusPanelsTest, NoHandOverInAOnePlayerGame) {
  p2.Keys = 5;  // player 2 is dead throughout a one-player game
  Refresh();
  EXPECT_EQ(p1.Keys, 0);
  EXPECT_EQ(p2.Keys, 5);
}
