#include "editor/editor_tiles.h"

#include <algorithm>

#include "base/bmp_file.h"
#include "editor/palette.h"
#include "world/tile_names.h"

namespace {

constexpr Color EditorOnlyFrame{230, 30, 30};

// Stand-ins when a picture is missing: a hue per code so neighbours differ.
Color StandInColor(int code) {
  const uint8_t r = static_cast<uint8_t>(60 + (code * 53) % 160);
  const uint8_t g = static_cast<uint8_t>(60 + (code * 97) % 160);
  const uint8_t b = static_cast<uint8_t>(60 + (code * 31) % 160);
  return Color{r, g, b};
}

void Frame(Image& img, int thickness, Color c) {
  const int s = img.Width();
  img.FillRect(0, 0, s, thickness, c);
  img.FillRect(0, s - thickness, s, thickness, c);
  img.FillRect(0, 0, thickness, s, c);
  img.FillRect(s - thickness, 0, thickness, s, c);
}

}  // namespace

Image ScaleImage(const Image& source, int width, int height) {
  Image out(width, height);
  if (source.Empty() || width <= 0 || height <= 0) return out;
  const int sw = source.Width(), sh = source.Height();
  for (int y = 0; y < height; ++y) {
    const int y0 = y * sh / height, y1 = std::max(y0 + 1, (y + 1) * sh / height);
    for (int x = 0; x < width; ++x) {
      const int x0 = x * sw / width, x1 = std::max(x0 + 1, (x + 1) * sw / width);
      unsigned r = 0, g = 0, b = 0, n = 0;
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
          const Color c = source.PixelColor(sx, sy);
          r += c.r;
          g += c.g;
          b += c.b;
          ++n;
        }
      out.SetPixel(x, y, Color{static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n), static_cast<uint8_t>(b / n)});
    }
  }
  return out;
}

bool EditorTiles::Load(const std::string& objectsDir, std::string& error) {
  cache_.clear();
  bool all = true;
  for (const TilePicture& tile : TilePictures) {
    std::string why;
    auto image = LoadBmp(objectsDir + tile.file, why);
    if (image) {
      source_[static_cast<size_t>(tile.code)] = std::move(*image);
    } else if (all) {
      all = false;
      error = why;
    }
  }
  return all;
}

const Image& EditorTiles::Cell(uint8_t byte, int size) {
  auto key = std::make_pair(static_cast<int>(byte), size);
  auto it = cache_.find(key);
  if (it == cache_.end()) it = cache_.emplace(key, Make(byte, size)).first;
  return it->second;
}

Image EditorTiles::Make(uint8_t byte, int size) const {
  const int picture = EditorPictureOf(byte);
  Image img(size, size, Color{40, 40, 40});
  if (picture < 0) {
    // No object: an obstacle nobody sees in play.
    for (int i = 1; i + 1 < size; ++i) {
      img.SetPixel(i, i, Color{220, 0, 0});
      img.SetPixel(size - 1 - i, i, Color{220, 0, 0});
    }
    return img;
  }
  const Image& source = source_[static_cast<size_t>(picture)];
  if (source.Empty()) {
    img.Fill(StandInColor(picture));
    Frame(img, std::max(1, size / 16), Color{20, 20, 20});
  } else {
    // As the game draws a room: the picture's top-left 32 x 32, then scaled.
    Image cell(32, 32, Black);
    cell.Blit(source, 0, 0);
    img = size == 32 ? cell : ScaleImage(cell, size, size);
  }
  if (IsEditorOnlyCode(byte)) Frame(img, std::max(1, size / 12), EditorOnlyFrame);
  return img;
}
