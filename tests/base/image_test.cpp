#include "base/image.h"
#include "base/bmp_file.h"
#include "base/jpeg_file.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <tuple>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ImageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("trok_image_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path dir_;
};

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A bitmap file from parts: 40-byte header unless told, then masks, palette and rows
// exactly as given (rows already padded and in file order).
struct BmpSpec {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;      // written after a 40-byte header or inside a longer one
  std::vector<uint32_t> palette;    // 0x00RRGGBB, written as B G R 0
  std::vector<uint8_t> pixels;
};

std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
  const size_t maskBytes = s.headerSize == 40 ? s.masks.size() * 4 : 0;
  const size_t offset = 14 + s.headerSize + maskBytes + s.palette.size() * 4;
  std::vector<uint8_t> b(offset + s.pixels.size(), 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(offset));
  Put32(b, 14, s.headerSize);
  Put32(b, 18, static_cast<uint32_t>(s.width));
  Put32(b, 22, static_cast<uint32_t>(s.height));
  Put16(b, 26, 1);
  Put16(b, 28, s.bits);
  Put32(b, 30, s.compression);
  Put32(b, 46, s.colorsUsed);
  size_t at = s.headerSize == 40 ? 54 : 14 + 40;
  for (uint32_t m : s.masks) {
    Put32(b, at, m);
    at += 4;
  }
  at = 14 + s.headerSize + maskBytes;
  for (uint32_t c : s.palette) {
    b[at++] = static_cast<uint8_t>(c);
    b[at++] = static_cast<uint8_t>(c >> 8);
    b[at++] = static_cast<uint8_t>(c >> 16);
    b[at++] = 0;
  }
  std::copy(s.pixels.begin(), s.pixels.end(), b.begin() + static_cast<std::ptrdiff_t>(offset));
  return b;
}

constexpr Color Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255};

TEST_F(ImageFiles, SaveThenLoadKeepsEveryPixelForOddWidths) {
  for (int width : {1, 2, 3, 5, 32}) {
    Image image(width, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x)
        image.SetPixel(x, y, Color{static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 80), static_cast<uint8_t>(x + y)});
    std::string error;
    const std::string path = Path("round.bmp");
    ASSERT_TRUE(SaveBmp24(image, path, error)) << error;
    // Rows are padded to four bytes.
    EXPECT_EQ(fs::file_size(path), 54u + 3u * ((width * 3 + 3) / 4 * 4));
    auto loaded = LoadBmp(path, error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(loaded->Pixels(), image.Pixels()) << "width " << width;
  }
}

TEST_F(ImageFiles, SavedFileIsBottomUpTwentyFourBit) {
  Image image(1, 2);
  image.SetPixel(0, 0, Red);   // top row
  image.SetPixel(0, 1, Blue);  // bottom row, first in the file
  std::string error;
  const std::string path = Path("order.bmp");
  ASSERT_TRUE(SaveBmp24(image, path, error));
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(b.size(), 54u + 8u);
  EXPECT_EQ(b[28], 24);
  EXPECT_EQ(b[22], 2);  // positive height
  EXPECT_EQ(b[54], 255);  // blue pixel, stored B G R
  EXPECT_EQ(b[58 + 2], 255);  // red pixel in the next row
}

TEST_F(ImageFiles, SaveRefusesEmptyPictureAndUnwritablePath) {
  std::string error;
  EXPECT_FALSE(SaveBmp24(Image(), Path("empty.bmp"), error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(SaveBmp24(Image(2, 2), Path("no/such/dir/x.bmp"), error));
  EXPECT_FALSE(error.empty());
}

TEST_F(ImageFiles, LoadsEachDepth) {
  std::string error;
  {  // 1 bit, bottom-up: 9 pixels wide needs two bytes per row, padded to four.
    BmpSpec s{.width = 9, .height = 2, .bits = 1};
    s.palette = {0x000000, 0xFFFFFF};
    s.pixels = {0x80, 0x80, 0, 0,  /* bottom row: x0 and x8 white */
                0x40, 0x00, 0, 0}; /* top row: x1 white */
    auto img = LoadBmp(Write("b1.bmp", BuildBmp(s)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->PixelColor(0, 1), White);
    EXPECT_EQ(img->PixelColor(8, 1), White);
    EXPECT_EQ(img->PixelColor(1, 1), Black);
    EXPECT_EQ(img->PixelColor(1, 0), White);
    EXPECT_EQ(img->PixelColor(0, 0), Black);
  }
  {  // 4 bit with a short palette; index 3 lies past it and reads black.
    BmpSpec s{.width = 3, .height = 1, .bits = 4, .colorsUsed = 3};
    s.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    s.pixels = {0x21, 0x30, 0, 0};
    auto img = LoadBmp(Write("b4.bmp", BuildBmp(s)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->PixelColor(0, 0), Blue);
    EXPECT_EQ(img->PixelColor(1, 0), Green);
    EXPECT_EQ(img->PixelColor(2, 0), Black);
  }
  {  // 8 bit, top-down.
    BmpSpec s{.width = 2, .height = -2, .bits = 8, .colorsUsed = 2};
    s.palette = {0x112233, 0x445566};
    s.pixels = {0, 1, 0, 0, 1, 1, 0, 0};
    auto img = LoadBmp(Write("b8.bmp", BuildBmp(s)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->Height(), 2);
    EXPECT_EQ(img->Pixel(0, 0), 0x112233u);
    EXPECT_EQ(img->Pixel(1, 0), 0x445566u);
    EXPECT_EQ(img->Pixel(0, 1), 0x445566u);
  }
  {  // 16 bit 5-5-5 without masks.
    BmpSpec s{.width = 2, .height = 1, .bits = 16};
    s.pixels = {0x00, 0x7C, 0x1F, 0x00};  // pure red, pure blue
    auto img = LoadBmp(Write("b16.bmp", BuildBmp(s)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->PixelColor(0, 0), Red);
    EXPECT_EQ(img->PixelColor(1, 0), Blue);
  }
  {  // 16 bit 5-6-5 with masks after the 40-byte header.
    BmpSpec s{.width = 2, .height = 1, .bits = 16, .compression = 3};
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixels = {0xE0, 0x07, 0x00, 0x84};  // pure green; red 16 of 31, green 32 of 63
    auto img = LoadBmp(Write("b565.bmp", BuildBmp(s)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->PixelColor(0, 0), Green);
    EXPECT_EQ(img->PixelColor(1, 0), (Color{132, 130, 0}));
  }
  {  // 24 bit, bottom-up, with row padding.
    BmpSpec s{.width = 1, .height = 2, .bits = 24};
    s.pixels = {0xFF, 0, 0, 0, 0, 0, 0xFF, 0};
    auto img = LoadBmp(Write("b24.bmp", BuildBmp(s)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->PixelColor(0, 1), Blue);
    EXPECT_EQ(img->PixelColor(0, 0), Red);
  }
  {  // 32 bit plain and with masks in a version 5 header.
    BmpSpec s{.width = 1, .height = 1, .bits = 32};
    s.pixels = {0x30, 0x20, 0x10, 0xFF};
    auto img = LoadBmp(Write("b32.bmp", BuildBmp(s)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->Pixel(0, 0), 0x102030u);

    BmpSpec v5{.width = 1, .height = 1, .bits = 32, .compression = 3, .headerSize = 124};
    v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // R G B A byte order
    v5.pixels = {0x10, 0x20, 0x30, 0xFF};
    img = LoadBmp(Write("b32v5.bmp", BuildBmp(v5)), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->Pixel(0, 0), 0x102030u);
  }
}

TEST_F(ImageFiles, LoadsOldCoreHeader) {
  // 12-byte header with three-byte palette entries.
  std::vector<uint8_t> b(14 + 12 + 6 + 4, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, 14 + 12 + 6);
  Put32(b, 14, 12);
  Put16(b, 18, 2);
  Put16(b, 20, 1);
  Put16(b, 22, 1);
  Put16(b, 24, 1);
  b[26] = 0xFF;          // entry 0: blue
  b[29 + 1] = 0xFF;      // entry 1: green
  b[32] = 0x40;          // x0 = 0, x1 = 1
  std::string error;
  auto img = LoadBmp(Write("core.bmp", b), error);
  ASSERT_TRUE(img) << error;
  EXPECT_EQ(img->PixelColor(0, 0), Blue);
  EXPECT_EQ(img->PixelColor(1, 0), Green);
}

TEST_F(ImageFiles, RefusesDamagedFilesWithAReason) {
  BmpSpec good{.width = 4, .height = 4, .bits = 24};
  good.pixels.assign(4 * 12, 0x80);
  const std::vector<uint8_t> base = BuildBmp(good);
  std::string error;
  ASSERT_TRUE(LoadBmp(Write("good.bmp", base), error)) << error;

  auto refused = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    error.clear();
    const bool loaded = LoadBmp(Write(name, bytes), error).has_value();
    return !loaded && !error.empty();
  };
  EXPECT_TRUE(refused("empty.bmp", {}));
  EXPECT_TRUE(refused("header.bmp", std::vector<uint8_t>(base.begin(), base.begin() + 30)));
  EXPECT_TRUE(refused("pixels.bmp", std::vector<uint8_t>(base.begin(), base.end() - 13)));
  std::vector<uint8_t> b = base;
  b[0] = 'X';
  EXPECT_TRUE(refused("magic.bmp", b));

  b = base;
  Put32(b, 18, 1000000);
  Put32(b, 22, 1000000);
  EXPECT_TRUE(refused("huge.bmp", b));
  EXPECT_NE(error.find("large"), std::string::npos) << error;
  b = base;
  Put32(b, 22, 0x80000000u);  // most negative height
  EXPECT_TRUE(refused("minheight.bmp", b));
  b = base;
  Put32(b, 18, 3000);  // plausible size, but the file holds far less
  EXPECT_TRUE(refused("wide.bmp", b));
  b = base;
  Put32(b, 18, 0);
  EXPECT_TRUE(refused("zero.bmp", b));

  b = base;
  Put32(b, 10, 0xFFFFFFF0u);
  EXPECT_TRUE(refused("offset.bmp", b));
  b = base;
  Put32(b, 10, 20);  // inside the header
  EXPECT_TRUE(refused("offset2.bmp", b));
  b = base;
  Put16(b, 28, 7);
  EXPECT_TRUE(refused("depth.bmp", b));
  b = base;
  Put32(b, 14, 99);
  EXPECT_TRUE(refused("hsize.bmp", b));

  BmpSpec rle{.width = 2, .height = 1, .bits = 8, .compression = 1, .colorsUsed = 2};
  rle.palette = {0, 0xFFFFFF};
  rle.pixels = {2, 1, 0, 1};
  EXPECT_TRUE(refused("rle.bmp", BuildBmp(rle)));
  EXPECT_NE(error.find("run-length"), std::string::npos) << error;

  BmpSpec pal{.width = 2, .height = 1, .bits = 8, .colorsUsed = 300};
  pal.palette = {0, 0xFFFFFF};
  pal.pixels = {0, 1, 0, 0};
  EXPECT_TRUE(refused("palcount.bmp", BuildBmp(pal)));
  pal.colorsUsed = 200;  // legal count, but the table would run into the pixels
  EXPECT_TRUE(refused("paloverrun.bmp", BuildBmp(pal)));

  BmpSpec masks{.width = 1, .height = 1, .bits = 24, .compression = 3};
  masks.masks = {0xFF0000, 0xFF00, 0xFF};
  masks.pixels = {0, 0, 0, 0};
  EXPECT_TRUE(refused("bf24.bmp", BuildBmp(masks)));
  masks.bits = 32;
  masks.masks = {0xF0F000, 0xFF00, 0xFF};
  EXPECT_TRUE(refused("bfgap.bmp", BuildBmp(masks)));

  EXPECT_FALSE(LoadBmp(Path("missing.bmp"), error));
  EXPECT_NE(error.find("missing.bmp"), std::string::npos);
}

TEST(ImageOps, FillRectAndBlitClipAtEveryEdge) {
  Image canvas(4, 4);
  canvas.FillRect(-2, -2, 4, 3, Red);  // covers (0..1, 0)
  canvas.FillRect(3, 3, 10, 10, Green);
  canvas.FillRect(10, 0, 2, 2, Blue);  // fully outside
  canvas.FillRect(0, 0, 0, 5, Blue);   // zero width
  EXPECT_EQ(canvas.PixelColor(0, 0), Red);
  EXPECT_EQ(canvas.PixelColor(1, 0), Red);
  EXPECT_EQ(canvas.PixelColor(2, 0), Black);
  EXPECT_EQ(canvas.PixelColor(0, 1), Black);
  EXPECT_EQ(canvas.PixelColor(3, 3), Green);
  EXPECT_EQ(canvas.PixelColor(2, 3), Black);

  Image src(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) src.SetPixel(x, y, Color{static_cast<uint8_t>(10 * x + y + 1), 0, 0});
  Image dst(4, 4);
  dst.Blit(src, -1, -2);  // only src rows 2, columns 1..2 land, at (0..1, 0)
  EXPECT_EQ(dst.PixelColor(0, 0).r, 10 + 2 + 1);
  EXPECT_EQ(dst.PixelColor(1, 0).r, 20 + 2 + 1);
  EXPECT_EQ(dst.PixelColor(2, 0), Black);
  EXPECT_EQ(dst.PixelColor(0, 1), Black);
  dst.Blit(src, 3, 3);  // only src (0,0) lands
  EXPECT_EQ(dst.PixelColor(3, 3).r, 1);
  dst.Blit(src, 4, 0);
  dst.Blit(src, -3, 0);
  dst.Blit(Image(), 0, 0);
  EXPECT_EQ(dst.PixelColor(3, 0), Black);
}

TEST(ImageOps, BlitStretchedScalesAndClipsWithoutShiftingTheSource) {
  Image src(2, 2);
  src.SetPixel(0, 0, Red);
  src.SetPixel(1, 0, Green);
  src.SetPixel(0, 1, Blue);
  src.SetPixel(1, 1, White);
  Image dst(4, 4);
  dst.BlitStretched(src, 0, 0, 4, 4);
  EXPECT_EQ(dst.PixelColor(1, 1), Red);
  EXPECT_EQ(dst.PixelColor(2, 1), Green);
  EXPECT_EQ(dst.PixelColor(1, 2), Blue);
  EXPECT_EQ(dst.PixelColor(3, 3), White);

  Image clipped(4, 4);
  clipped.BlitStretched(src, -2, -2, 4, 4);  // only the white quarter shows
  EXPECT_EQ(clipped.PixelColor(0, 0), White);
  EXPECT_EQ(clipped.PixelColor(1, 1), White);
  EXPECT_EQ(clipped.PixelColor(2, 2), Black);
  clipped.BlitStretched(src, 3, 3, 8, 8);  // only the red corner shows
  EXPECT_EQ(clipped.PixelColor(3, 3), Red);
  clipped.BlitStretched(src, 0, 0, 0, 4);
  clipped.BlitStretched(Image(), 0, 0, 4, 4);

  Image shrunk(1, 1);
  Image big(32, 32, Green);
  shrunk.BlitStretched(big, 0, 0, 1, 1);
  EXPECT_EQ(shrunk.PixelColor(0, 0), Green);
}

TEST(ImageOps, BlendArgbSkipsClearPixelsMixesPartialOnesAndClips) {
  Image dst(3, 1, Color{0, 0, 200});
  const std::vector<uint32_t> argb = {0xFFFF0000u, 0x00FFFFFFu, 0x80FFFFFFu};
  dst.BlendArgb(argb, 3, 1, 0, 0);
  EXPECT_EQ(dst.PixelColor(0, 0), Red);
  EXPECT_EQ(dst.PixelColor(1, 0), (Color{0, 0, 200}));
  EXPECT_EQ(dst.PixelColor(2, 0), (Color{128, 128, 228}));
  Image small(2, 1);
  small.BlendArgb(argb, 3, 1, -2, 0);  // only the half-covered pixel lands at x 0
  EXPECT_EQ(small.PixelColor(0, 0), (Color{128, 128, 128}));
  small.BlendArgb(argb, 4, 1, 0, 0);   // too few pixels given: ignored
  EXPECT_EQ(small.PixelColor(1, 0), Black);
}

TEST(ImageOps, OutOfRangeSetPixelAndEmptySizesAreHarmless) {
  Image image(2, 2);
  image.SetPixel(-1, 0, Red);
  image.SetPixel(2, 1, Red);
  image.SetPixel(0, 5, Red);
  for (uint32_t p : image.Pixels()) EXPECT_EQ(p, 0u);
  EXPECT_TRUE(Image(0, 5).Empty());
  EXPECT_TRUE(Image(-3, 5).Empty());
  EXPECT_EQ(Image(-3, 5).Pixels().size(), 0u);
}

// Encodes with libjpeg so the decoder is tested on real compressed data.
bool WriteJpeg(const std::string& path, const Image& image, bool progressive) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(image.Width());
  info.image_height = static_cast<JDIMENSION>(image.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(image.Width()) * 3);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Color c = image.PixelColor(x, y);
      row[3 * x] = c.r;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

TEST_F(ImageFiles, JpegRoundTripBaselineAndProgressive) {
  Image image(40, 24);
  image.FillRect(0, 0, 16, 24, Color{200, 30, 30});
  image.FillRect(16, 0, 24, 24, Color{30, 60, 220});
  for (bool progressive : {false, true}) {
    const std::string path = Path(progressive ? "p.jpg" : "b.jpg");
    ASSERT_TRUE(WriteJpeg(path, image, progressive));
    std::string error;
    auto loaded = LoadJpeg(path, error);
    ASSERT_TRUE(loaded) << error;
    ASSERT_EQ(loaded->Width(), 40);
    ASSERT_EQ(loaded->Height(), 24);
    // Away from the colour edge the lossy codec stays within a few steps.
    for (auto [x, y] : {std::pair{2, 2}, std::pair{8, 20}, std::pair{30, 12}}) {
      const Color want = image.PixelColor(x, y), got = loaded->PixelColor(x, y);
      EXPECT_NEAR(got.r, want.r, 6);
      EXPECT_NEAR(got.g, want.g, 6);
      EXPECT_NEAR(got.b, want.b, 6);
    }
  }
}

TEST_F(ImageFiles, JpegErrorsAreReportedNotFatal) {
  std::string error;
  EXPECT_FALSE(LoadJpeg(Write("junk.jpg", std::vector<uint8_t>(100, 0x42)), error));
  EXPECT_NE(error.find("junk.jpg"), std::string::npos) << error;
  EXPECT_FALSE(LoadJpeg(Path("absent.jpg"), error));
  // A header cut short is an error rather than an exit of the program.
  Image image(16, 16, Red);
  ASSERT_TRUE(WriteJpeg(Path("full.jpg"), image, false));
  std::ifstream in(Path("full.jpg"), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bytes.resize(40);
  error.clear();
  EXPECT_FALSE(LoadJpeg(Write("cut.jpg", bytes), error));
  EXPECT_FALSE(error.empty());
}

// Sizes are refused from the header, before a pixel is decoded or a byte of the
// picture's size is asked for.
TEST_F(ImageFiles, AbsurdBitmapSizesAreRefusedFromTheHeader) {
  // 8192 x 8192 at one bit per pixel: an 8 MB file that would be a 256 MB picture.
  BmpSpec huge{.width = 8192, .height = 8192, .bits = 1, .palette = {0x000000, 0xFFFFFF}};
  huge.pixels.assign(size_t{8192} / 8 * 8192, 0x55);
  std::string error;
  EXPECT_FALSE(LoadBmp(Write("huge.bmp", BuildBmp(huge)), error));
  EXPECT_EQ(error, "\"" + Path("huge.bmp") +
                       "\" is not a valid bitmap: the picture is unreasonably large (8192 x 8192; at "
                       "most 4096 x 4096).");
  for (auto [w, h, refused] : {std::tuple{4097, 1, true}, std::tuple{1, 4097, true},
                               std::tuple{1, -4097, true}, std::tuple{4096, 1, false},
                               std::tuple{1, 4096, false}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    BmpSpec shape{.width = w, .height = h, .bits = 24};
    shape.pixels.assign(static_cast<size_t>((w * 3 + 3) / 4 * 4) * std::abs(h), 0x80);
    EXPECT_EQ(LoadBmp(Write("edge.bmp", BuildBmp(shape)), error).has_value(), !refused) << error;
  }
}

TEST_F(ImageFiles, AbsurdJpegSizesAreRefusedBeforeDecoding) {
  Image image(16, 9, Green);
  ASSERT_TRUE(WriteJpeg(Path("small.jpg"), image, true));
  std::ifstream in(Path("small.jpg"), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The frame header (a progressive one) gives height and width at bytes 5..8.
  size_t frame = 0;
  for (size_t i = 0; i + 1 < bytes.size() && !frame; ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC2) frame = i;
  ASSERT_NE(frame, 0u);
  for (auto [w, h] : {std::pair{65500, 65500}, std::pair{65500, 9}, std::pair{16, 4097}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    bytes[frame + 5] = static_cast<uint8_t>(h >> 8);
    bytes[frame + 6] = static_cast<uint8_t>(h);
    bytes[frame + 7] = static_cast<uint8_t>(w >> 8);
    bytes[frame + 8] = static_cast<uint8_t>(w);
    std::string error;
    EXPECT_FALSE(LoadJpeg(Write("claims.jpg", bytes), error));
    EXPECT_EQ(error, "\"" + Path("claims.jpg") + "\" is not a valid JPEG picture: the picture is "
                     "unreasonably large (" + std::to_string(w) + " x " + std::to_string(h) +
                     "; at most 4096 x 4096)");
  }
}

}  // namespace
