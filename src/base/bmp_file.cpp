#include "base/bmp_file.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "base/files.h"

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// One colour channel described by a bit mask of a 16- or 32-bit pixel.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (m == 0) return;
    while (((m >> shift) & 1u) == 0) ++shift;
    max = m >> shift;
  }
  bool Contiguous() const { return mask == 0 || (max & (max + 1)) == 0; }
  uint8_t Extract(uint32_t pixel) const {
    if (mask == 0) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

// The largest picture with the largest headers and palette.
constexpr std::size_t MaxBmpFileBytes = static_cast<std::size_t>(MaxPicturePixels) * 4 + (1u << 16);

std::string_view AsText(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

std::optional<Image> LoadBmp(const std::string& path, std::string& error) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, file, error, MaxBmpFileBytes)) return std::nullopt;
  return DecodeBmp(file, path, error);
}

std::optional<Image> DecodeBmp(std::span<const uint8_t> file, const std::string& name,
                               std::string& error) {
  auto fail = [&](const std::string& why) -> std::optional<Image> {
    error = "\"" + name + "\" is not a valid bitmap: " + why;
    return std::nullopt;
  };
  const size_t size = file.size();
  const uint8_t* d = file.data();
  if (size < 14 + 12) return fail("the file is too short.");
  if (d[0] != 'B' || d[1] != 'M') return fail("it does not start with \"BM\".");
  const uint32_t pixelOffset = U32(d + 10);
  const uint32_t headerSize = U32(d + 14);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
      headerSize != 108 && headerSize != 124)
    return fail("unknown header size " + std::to_string(headerSize) + ".");
  if (14 + static_cast<uint64_t>(headerSize) > size) return fail("the header is truncated.");

  int64_t width = 0, height = 0;
  int planes = 0, bits = 0;
  uint32_t compression = 0, colorsUsed = 0;
  const uint8_t* h = d + 14;
  if (core) {
    width = U16(h + 4);
    height = U16(h + 6);
    planes = U16(h + 8);
    bits = U16(h + 10);
  } else {
    width = static_cast<int32_t>(U32(h + 4));
    height = static_cast<int32_t>(U32(h + 8));
    planes = U16(h + 12);
    bits = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1) return fail("the plane count is not 1.");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return fail("unsupported colour depth of " + std::to_string(bits) + " bits.");
  if (width <= 0 || height <= 0) return fail("the width or height is not positive.");
  if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
    return fail("the picture is unreasonably large (" + std::to_string(width) + " x " +
                std::to_string(height) + "; at most " + std::to_string(MaxPictureSide) + " x " +
                std::to_string(MaxPictureSide) + ").");
  if (compression == 1 || compression == 2) return fail("run-length compressed bitmaps are not supported.");
  const bool bitfields = compression == 3 || compression == 6;
  if (compression != 0 && !bitfields)
    return fail("unsupported compression type " + std::to_string(compression) + ".");
  if (bitfields && bits != 16 && bits != 32) return fail("bit-field masks need 16 or 32 bits per pixel.");

  // Colour masks: inside the longer headers, or right after the 40-byte one.
  uint32_t masks[3] = {0, 0, 0};
  size_t tableStart = 14 + headerSize;
  if (bitfields) {
    const uint8_t* m = h + 40;
    if (headerSize == 40) {
      const size_t maskBytes = compression == 6 ? 16 : 12;
      if (tableStart + maskBytes > size) return fail("the colour masks are truncated.");
      tableStart += maskBytes;
    }
    for (int i = 0; i < 3; ++i) masks[i] = U32(m + 4 * i);
  } else if (bits == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (bits >= 24) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  if (!red.Contiguous() || !green.Contiguous() || !blue.Contiguous())
    return fail("a colour mask is not one run of bits.");
  if (bits == 16 && ((masks[0] | masks[1] | masks[2]) >> 16) != 0)
    return fail("a colour mask exceeds 16 bits.");

  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const uint32_t maxColors = 1u << bits;
    if (colorsUsed > maxColors) return fail("the palette claims more colours than the depth allows.");
    const uint32_t count = colorsUsed == 0 ? maxColors : colorsUsed;
    const size_t entry = core ? 3 : 4;
    const uint64_t tableEnd = tableStart + static_cast<uint64_t>(count) * entry;
    if (tableEnd > size || tableEnd > pixelOffset) return fail("the palette runs past its end.");
    palette.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = d + tableStart + i * entry;
      palette[i] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
  }

  if (pixelOffset < tableStart || pixelOffset >= size) return fail("the pixel data offset is out of range.");
  const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  const uint64_t lastRowBytes = (static_cast<uint64_t>(width) * bits + 7) / 8;
  // The padding of the last row may be missing; anything less is truncated.
  if (pixelOffset + rowBytes * (height - 1) + lastRowBytes > size) return fail("the pixel data is truncated.");

  Image image;
  try {
    image = Image(static_cast<int>(width), static_cast<int>(height));
  } catch (const std::bad_alloc&) {
    return fail("there is not enough memory to hold it.");
  }
  uint32_t* out = image.Pixels().data();
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* src = d + pixelOffset + rowBytes * row;
    const int64_t y = topDown ? row : height - 1 - row;
    uint32_t* dst = out + y * width;
    for (int64_t x = 0; x < width; ++x) {
      uint32_t value = 0;
      switch (bits) {
        case 1: value = (src[x >> 3] >> (7 - (x & 7))) & 1u; break;
        case 4: value = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu; break;
        case 8: value = src[x]; break;
        case 16: value = U16(src + 2 * x); break;
        case 24: value = uint32_t{src[3 * x]} | (uint32_t{src[3 * x + 1]} << 8) | (uint32_t{src[3 * x + 2]} << 16); break;
        default: value = U32(src + 4 * x); break;
      }
      if (bits <= 8) {
        // An index past the palette has no colour of its own; black is the usual reading.
        dst[x] = value < palette.size() ? palette[value] : 0;
      } else {
        dst[x] = (uint32_t{red.Extract(value)} << 16) | (uint32_t{green.Extract(value)} << 8) | blue.Extract(value);
      }
    }
  }
  return image;
}

std::vector<uint8_t> EncodeBmp24(const Image& image) {
  if (image.Empty()) return {};
  const uint32_t w = static_cast<uint32_t>(image.Width()), h = static_cast<uint32_t>(image.Height());
  const uint32_t rowBytes = (w * 3 + 3) & ~3u;
  const uint32_t dataBytes = rowBytes * h;
  std::vector<uint8_t> bytes(54 + static_cast<size_t>(dataBytes), 0);
  auto put16 = [&](size_t at, uint32_t v) {
    bytes[at] = static_cast<uint8_t>(v);
    bytes[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54 + dataBytes);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  put16(26, 1);
  put16(28, 24);
  put32(34, dataBytes);
  put32(38, 2835);  // 72 dots per inch
  put32(42, 2835);
  for (uint32_t row = 0; row < h; ++row) {
    uint8_t* dst = bytes.data() + 54 + static_cast<size_t>(rowBytes) * (h - 1 - row);
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t p = image.Pixel(static_cast<int>(x), static_cast<int>(row));
      dst[3 * x] = static_cast<uint8_t>(p);
      dst[3 * x + 1] = static_cast<uint8_t>(p >> 8);
      dst[3 * x + 2] = static_cast<uint8_t>(p >> 16);
    }
  }
  return bytes;
}

bool SaveBmp24(const Image& image, const std::string& path, std::string& error) {
  const std::vector<uint8_t> bytes = EncodeBmp24(image);
  if (bytes.empty()) {
    error = "Cannot save an empty picture to \"" + path + "\".";
    return false;
  }
  return ReplaceFile(path, AsText(bytes), error);
}

NewFileResult SaveNewBmp24(const Image& image, const std::string& path, std::string& error) {
  const std::vector<uint8_t> bytes = EncodeBmp24(image);
  if (bytes.empty()) {
    error = "Cannot save an empty picture to \"" + path + "\".";
    return NewFileResult::Failed;
  }
  return WriteNewFile(path, AsText(bytes), error);
}
