#pragma once
// The help screens: an about page with the credits and three pages of legend for the
// game's objects, paged forward in a cycle.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "screens/screen_form.h"

// Where the about page's picture lives, relative to the game directory.
inline constexpr const char* TitlePicturePath = "Pictures/Title.jpg";

class THelpForm : public ScreenForm {
 public:
  explicit THelpForm(App& app);

  // Set by the main window: the tile picture of a cell code. The legend copies these
  // each time the screen is shown, so it always matches the game's pictures.
  std::function<const Image&(int code)> tilePicture;

  // Reads the about page's picture; a missing or broken file leaves that area black.
  bool LoadTitlePicture(const std::string& path);

  // The visible page, 1..4, or 0 when none is.
  int VisiblePage() const;
  // The next step from `page`: 1 → 2 → 3 → 4 → 1.
  void NextImageClick(int page);
  void Return1ImageClick() { ReturnToTitleMenu(); }

  void FormShow() override;
  void FormKeyUp(int vk) override;

  std::array<Panel*, 4> MenuBox{};
  std::array<Picture*, 4> ReturnImage{};
  std::array<Picture*, 4> NextImage{};
  Picture* TitleImage = nullptr;
  struct LegendItem {
    int code;
    Picture* image;
    Label* caption;
  };
  std::vector<LegendItem> legend;

 private:
  void BuildPage(int page);
  void BuildAboutPage();
  void BuildLegend();
};
