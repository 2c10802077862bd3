#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tile_maker/icon.h"
#include "base/png_file.h"
#include "support/png_reader.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Paints an SVG made by IconSvg back into pixels.
ArgbPicture RasterizeSvg(const std::string& svg, int side) {
  ArgbPicture out(side, side);
  std::istringstream in(svg);
  std::string line;
  while (std::getline(in, line)) {
    int x = 0, y = 0, w = 0, h = 0;
    unsigned rgb = 0;
    if (std::sscanf(line.c_str(), "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%6x\"", &x, &y, &w,
                    &h, &rgb) != 5)
      continue;
    double opacity = 1;
    const auto at = line.find("fill-opacity=\"");
    if (at != std::string::npos) opacity = std::stod(line.substr(at + 14));
    const uint32_t alpha = static_cast<uint32_t>(opacity * 255 + 0.5);
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx) out.At(xx, yy) = alpha << 24 | rgb;
  }
  return out;
}

// A 32 x 32 test card: clear border, opaque colours, a half-clear column.
ArgbPicture Card() {
  ArgbPicture art(32, 32);
  for (int y = 2; y < 30; ++y)
    for (int x = 2; x < 30; ++x) art.At(x, y) = 0xff000000u | static_cast<uint32_t>(x * 8) << 16 | (y * 8);
  for (int y = 0; y < 32; ++y) art.At(31, y) = 0x80ff0000u;
  return art;
}

TEST(PngFile, PixelsAndAlphaSurviveARoundTrip) {
  const ArgbPicture art = Card();
  const std::vector<uint8_t> bytes = EncodePng(art.pixels, art.width, art.height);
  int w = 0, h = 0;
  std::vector<uint32_t> back;
  ASSERT_TRUE(DecodePng(bytes, w, h, back));
  EXPECT_EQ(w, 32);
  EXPECT_EQ(h, 32);
  EXPECT_EQ(back, art.pixels);

  const fs::path path = fs::temp_directory_path() / ("trok_png_" + std::to_string(::getpid()) + ".png");
  std::string error;
  ASSERT_TRUE(SavePng(art.pixels, 32, 32, path.string(), error)) << error;
  EXPECT_EQ(ReadBytes(path), bytes);
  fs::remove(path);
  EXPECT_FALSE(SavePng(art.pixels, 32, 32, "/nonexistent-dir/icon.png", error));
  EXPECT_NE(error.find("/nonexistent-dir/icon.png"), std::string::npos) << error;
}

TEST(IconScaling, WholeMultiplesRepeatEachPixelAndOthersAverageByArea) {
  const ArgbPicture art = Card();
  EXPECT_EQ(ScaleIcon(art, 32).pixels, art.pixels);
  const ArgbPicture big = ScaleIcon(art, 128);
  ASSERT_EQ(big.width, 128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_EQ(big.At(x, y), art.At(x / 4, y / 4)) << x << "," << y;

  // Halved: the clear border and the opaque inside stay apart, and a pixel half on the
  // clear border keeps its colour at half the coverage instead of turning dark.
  const ArgbPicture half = ScaleIcon(art, 16);
  ASSERT_EQ(half.width, 16);
  EXPECT_EQ(half.At(0, 0) >> 24, 0u);
  EXPECT_EQ(half.At(8, 8), 0xff840084u);  // the mean of art pixels 16 and 17 both ways
  EXPECT_EQ(half.At(15, 8), 0x40ff0000u);

  // Sizes between whole multiples: the opaque inside stays fully opaque, no gaps.
  for (int side : {22, 24, 48}) {
    const ArgbPicture s = ScaleIcon(art, side);
    ASSERT_EQ(s.width, side);
    ASSERT_EQ(s.height, side);
    for (int y = side / 4; y < side * 3 / 4; ++y)
      for (int x = side / 4; x < side * 3 / 4; ++x) ASSERT_EQ(s.At(x, y) >> 24, 255u) << side << ":" << x << "," << y;
    EXPECT_EQ(s.At(0, 0) >> 24, 0u) << side;
  }
}

TEST(IconSvg, DrawsExactlyTheArt) {
  const ArgbPicture art = Card();
  const std::string svg = IconSvg(art);
  EXPECT_NE(svg.find("viewBox=\"0 0 32 32\""), std::string::npos);
  const ArgbPicture back = RasterizeSvg(svg, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(back.At(x, y), art.At(x, y)) << x << "," << y;
  // Runs of equal pixels are one square each: a row of the inside is not 28 of them.
  EXPECT_LT(std::count(svg.begin(), svg.end(), '\n'), 32 * 30);
}

TEST(ProjectIcon, BuildsFromTheTileArtWithClearCornersAndAllSizes) {
  std::vector<ParseError> errors;
  const auto art = BuildIcon(std::string(TROK_SOURCE_DIR) + "/assets", errors);
  ASSERT_TRUE(art) << (errors.empty() ? "" : errors[0].text);
  ASSERT_EQ(art->width, 32);
  EXPECT_EQ(art->At(0, 0) >> 24, 0u);
  EXPECT_EQ(art->At(31, 31) >> 24, 0u);
  EXPECT_EQ(art->At(16, 16) >> 24, 255u);

  const fs::path dir = fs::temp_directory_path() / ("trok_icons_" + std::to_string(::getpid()));
  std::string error;
  ASSERT_TRUE(WriteIcons(*art, dir.string(), "trok-test", error)) << error;
  for (int side : IconSizes) {
    const std::string size = std::to_string(side);
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(DecodePng(ReadBytes(dir / "hicolor" / (size + "x" + size) / "apps" / "trok-test.png"), w, h, pixels))
        << side;
    EXPECT_EQ(w, side);
    EXPECT_EQ(h, side);
    EXPECT_EQ(pixels, ScaleIcon(*art, side).pixels) << side;
  }
  std::ifstream svg(dir / "hicolor" / "scalable" / "apps" / "trok-test.svg");
  std::stringstream svgText;
  svgText << svg.rdbuf();
  EXPECT_EQ(RasterizeSvg(svgText.str(), 32).pixels, art->pixels);

  std::ifstream header(dir / "window_icon.h");
  std::stringstream headerText;
  headerText << header.rdbuf();
  const std::string text = headerText.str();
  EXPECT_NE(text.find("TrokIconSide = " + std::to_string(WindowIconSize) + ";"), std::string::npos);
  EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), ',')),
            static_cast<size_t>(WindowIconSize * WindowIconSize));
  fs::remove_all(dir);
}

TEST(ProjectIcon, BrokenIconRecipesAreNamedByFileAndLine) {
  const fs::path dir = fs::temp_directory_path() / ("trok_icon_art_" + std::to_string(::getpid()));
  fs::create_directories(dir / "tiles" / "maps");
  std::ofstream(dir / "tiles" / "maps" / "dot.txt") << "palette\n a 102030\npixels\na\n";
  auto errorsFor = [&](const std::string& recipe) {
    std::ofstream(dir / "tiles" / "icon.txt") << recipe;
    std::vector<ParseError> errors;
    const auto art = BuildIcon(dir.string(), errors);
    EXPECT_EQ(art.has_value(), errors.empty());
    std::string all;
    for (const ParseError& e : errors) all += e.text + "\n";
    return all;
  };
  EXPECT_EQ(errorsFor("# just the dot\nicon = dot at 3 4\n"), "");
  EXPECT_NE(errorsFor("# nothing\n").find("icon.txt: no icon line"), std::string::npos);
  EXPECT_NE(errorsFor("icon = dot\nicon = dot\n").find("icon.txt:2: only one icon line"), std::string::npos);
  EXPECT_NE(errorsFor("picture = dot\n").find("icon.txt:1: expected \"icon = <layers>\""), std::string::npos);
  EXPECT_NE(errorsFor("\nicon = dot spin\n").find("icon.txt:2: unknown layer option \"spin\""), std::string::npos);
  EXPECT_NE(errorsFor("icon = dot + gone\n").find("icon.txt:1: map \"gone\" not found"), std::string::npos);
  fs::remove(dir / "tiles" / "icon.txt");
  EXPECT_NE(errorsFor("").find("icon.txt: no icon line"), std::string::npos);
  fs::remove_all(dir);
}

}  // namespace
