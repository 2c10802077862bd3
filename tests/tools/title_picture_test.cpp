#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "title_picture/jpeg_writer.h"
#include "title_picture/title_scene.h"
#include "base/jpeg_file.h"

namespace fs = std::filesystem;

namespace {

TEST(TitlePicture, JpegRoundTripKeepsSizeAndColours) {
  Image picture(40, 24, Color{200, 30, 30});
  picture.FillRect(20, 0, 20, 24, Color{20, 40, 220});
  const fs::path path = fs::temp_directory_path() / "trok-title-roundtrip.jpg";
  std::string error;
  ASSERT_TRUE(SaveJpeg(picture, path.string(), 95, error)) << error;
  auto back = LoadJpeg(path.string(), error);
  fs::remove(path);
  ASSERT_TRUE(back) << error;
  ASSERT_EQ(back->Width(), 40);
  ASSERT_EQ(back->Height(), 24);
  auto near = [](Color a, Color b) {
    return std::abs(a.r - b.r) < 24 && std::abs(a.g - b.g) < 24 && std::abs(a.b - b.b) < 24;
  };
  EXPECT_TRUE(near(back->PixelColor(5, 12), Color{200, 30, 30}));
  EXPECT_TRUE(near(back->PixelColor(34, 12), Color{20, 40, 220}));
}

TEST(TitlePicture, WritingFailsCleanly) {
  std::string error;
  EXPECT_FALSE(SaveJpeg(Image(), "/tmp/trok-empty.jpg", 90, error));
  EXPECT_FALSE(fs::exists("/tmp/trok-empty.jpg"));
  error.clear();
  EXPECT_FALSE(SaveJpeg(Image(8, 8), "/nonexistent-dir/x/Title.jpg", 90, error));
  EXPECT_FALSE(error.empty());
}

TEST(TitlePicture, SceneUsesTheGameTiles) {
  std::map<int, Image> tiles;
  std::string error;
  ASSERT_TRUE(LoadSceneTiles(std::string(TROK_GAME_DIR) + "/Objects", tiles, error)) << error;
  EXPECT_TRUE(tiles.count(1) && tiles.count(25));
  const Image scene = MakeTitleScene(tiles);
  EXPECT_EQ(scene.Width(), TitleSceneWidth);
  EXPECT_EQ(scene.Height(), TitleSceneHeight);
  // Without tiles only the logo is drawn: the room's part is then black, and with them not.
  const Image bare = MakeTitleScene({});
  int differing = 0;
  for (int y = 120; y < TitleSceneHeight; y += 4)
    for (int x = 0; x < TitleSceneWidth; x += 4) differing += scene.Pixel(x, y) != bare.Pixel(x, y);
  EXPECT_GT(differing, 1000);

  EXPECT_FALSE(LoadSceneTiles("/nonexistent-objects", tiles, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
