#include "play/status_panels.h"

#include "players_fixture.h"

class StatusPanelsTest : public PlayersTest {
 protected:
  PanelTexts texts[2];
  bool Refresh() { return UpdateStatusPanels(game, texts); }
  void RefreshNow() {
    while (!Refresh()) {
    }
  }
};

TEST_F(StatusPanelsTest, WorksOnEveryThirdCallAndShowsTheValues) {
  EXPECT_TRUE(Refresh());
  EXPECT_EQ(texts[0].Life, "90");
  p1.Life = -160, p1.Keys = 1, p1.Bombs = 2, p1.HealthKits = 3, p1.LevelsPassed = 4;
  p1.Points = 56;
  p2.Keys = 7;  // player 2's texts are filled in a one-player game as well
  EXPECT_FALSE(Refresh());
  EXPECT_FALSE(Refresh());
  EXPECT_EQ(texts[0].Points, "0");
  EXPECT_TRUE(Refresh());
  EXPECT_EQ(texts[0].Life, "0");  // a fatal hit leaves no life to show, not less
  EXPECT_EQ(p1.Life, -160);
  EXPECT_EQ(texts[0].Keys + texts[0].Bombs + texts[0].HealthKits + texts[0].LevelsPassed,
            "1234");
  EXPECT_EQ(texts[0].Points, "56");
  EXPECT_EQ(texts[0].Status, "Status: ");
  EXPECT_EQ(texts[1].Keys, "7");
  EXPECT_EQ(p1.Keys, 1);  // no hand-over in a one-player game
}

TEST_F(StatusPanelsTest, ShieldAndMenuTexts) {
  StartGame(2);
  p1.ShieldTicks = p2.ShieldTicks = 37;
  p2.MenuOpen = true;
  p2.MenuChoice = MenuBomb;
  RefreshNow();
  EXPECT_EQ(texts[0].Status, "Status: Shield On - 37%");
  EXPECT_EQ(texts[1].Status, "Status: BOMB");
  p1.MenuOpen = true;
  p1.MenuChoice = MenuNothing;
  p2.MenuChoice = MenuLife;
  p2.ShieldTicks = 0;
  RefreshNow();
  EXPECT_EQ(texts[0].Status, "Status: NOTHING");
  EXPECT_EQ(texts[1].Status, "Status: LIFE");
}

TEST_F(StatusPanelsTest, KeysOfADeadPartnerGoToTheLivingPlayer) {
  StartGame(2);
  p1.Keys = 3;
  p2.Keys = 1;
  DamagePlayer(game, 250, Cell::Player1, false);
  RefreshNow();
  EXPECT_EQ(texts[0].Keys, "0");
  EXPECT_EQ(texts[1].Keys, "4");
  p2.Dead = true;  // both dead: nothing moves
  RefreshNow();
  EXPECT_EQ(p2.Keys, 4);
  p1.Dead = false;
  RefreshNow();
  EXPECT_EQ(p1.Keys, 4);
}
