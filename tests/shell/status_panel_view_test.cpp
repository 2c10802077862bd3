#include <gtest/gtest.h>

#include "platform/app.h"
#include "platform/form.h"
#include "shell/status_panel_view.h"

namespace {

// Long scores and a fatal hit's negative life must show in full, not their last digits.
TEST(StatusPanelViewTest, ValuesGrowLeftFromTheirRightEdge) {
  VirtualClock clock;
  App app(clock, true);
  std::string error;
  ASSERT_TRUE(app.Init(error)) << error;
  Form form(app, "Main", 800, 600, Black);
  StatusPanelView view;
  view.Build(form, 1, Black);
  PanelTexts texts{"-160", "1234567", "0", "0", "0", "0", "Status: WARP"};
  view.Apply(texts);
  for (Label* l : {view.LifeLbl, view.PointsLbl}) {
    int w = 0, h = 0;
    MeasureText(l->font, l->text, w, h);
    EXPECT_LE(w, l->width) << l->name;
  }
  EXPECT_EQ(view.LifeLbl->left + view.LifeLbl->width, 125);
  EXPECT_EQ(view.PointsLbl->left + view.PointsLbl->width, 269);
}

}  // namespace
