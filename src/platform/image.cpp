#include "platform/image.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace {

uint32_t Pack(Color c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }

Color Unpack(uint32_t p) {
  return Color{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

// Intersects [x, x + w) with [0, limit); false when nothing is left.
bool ClipSpan(int& x, int& w, int limit, int& skip) {
  skip = 0;
  if (x < 0) {
    skip = -x;
    w += x;
    x = 0;
  }
  if (x + w > limit) w = limit - x;
  return w > 0;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "Cannot open \"" + path + "\".";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "Cannot read \"" + path + "\".";
    return false;
  }
  return true;
}

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

constexpr int64_t MaxBmpSide = 32768;
constexpr int64_t MaxBmpPixels = int64_t{1} << 26;

}  // namespace

Image::Image(int width, int height, Color fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), Pack(fill));
}

Color Image::PixelColor(int x, int y) const { return Unpack(Pixel(x, y)); }

void Image::SetPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = Pack(c);
}

void Image::Fill(Color c) { std::fill(pixels_.begin(), pixels_.end(), Pack(c)); }

void Image::FillRect(int x, int y, int w, int h, Color c) {
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  const uint32_t p = Pack(c);
  for (int row = y; row < y + h; ++row) {
    uint32_t* line = pixels_.data() + static_cast<size_t>(row) * width_;
    std::fill(line + x, line + x + w, p);
  }
}

void Image::Blit(const Image& src, int x, int y) {
  int w = src.width_, h = src.height_;
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  for (int row = 0; row < h; ++row) {
    const uint32_t* from = src.pixels_.data() + static_cast<size_t>(row + skipY) * src.width_ + skipX;
    std::copy(from, from + w, pixels_.data() + static_cast<size_t>(y + row) * width_ + x);
  }
}

void Image::BlitStretched(const Image& src, int x, int y, int w, int h) {
  if (src.Empty() || w <= 0 || h <= 0) return;
  // Source coordinates come from the unclipped destination, so a partly hidden
  // picture shows the same pixels as it would whole.
  const int fullW = w, fullH = h;
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  for (int row = 0; row < h; ++row) {
    const int sy = static_cast<int>(static_cast<int64_t>(row + skipY) * src.height_ / fullH);
    const uint32_t* from = src.pixels_.data() + static_cast<size_t>(sy) * src.width_;
    uint32_t* to = pixels_.data() + static_cast<size_t>(y + row) * width_ + x;
    for (int col = 0; col < w; ++col) {
      const int sx = static_cast<int>(static_cast<int64_t>(col + skipX) * src.width_ / fullW);
      to[col] = from[sx];
    }
  }
}

void Image::BlendArgb(const std::vector<uint32_t>& argb, int w, int h, int x, int y) {
  if (w <= 0 || h <= 0 || argb.size() < static_cast<size_t>(w) * static_cast<size_t>(h)) return;
  const int fullW = w;
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  for (int row = 0; row < h; ++row) {
    const uint32_t* from = argb.data() + static_cast<size_t>(row + skipY) * fullW + skipX;
    uint32_t* to = pixels_.data() + static_cast<size_t>(y + row) * width_ + x;
    for (int col = 0; col < w; ++col) {
      const uint32_t s = from[col];
      const uint32_t a = s >> 24;
      if (a == 0) continue;
      if (a == 255) {
        to[col] = s & 0xFFFFFFu;
        continue;
      }
      // Smooth text edges: mix in proportion to coverage.
      const uint32_t d = to[col];
      uint32_t out = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        out |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
      }
      to[col] = out;
    }
  }
}

std::optional<Image> LoadBmp(const std::string& path, std::string& error) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, file, error)) return std::nullopt;
  auto fail = [&](const std::string& why) -> std::optional<Image> {
    error = "\"" + path + "\" is not a valid bitmap: " + why;
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
  if (width > MaxBmpSide || height > MaxBmpSide || width * height > MaxBmpPixels)
    return fail("the picture is unreasonably large (" + std::to_string(width) + " x " +
                std::to_string(height) + ").");
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

  Image image(static_cast<int>(width), static_cast<int>(height));
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

bool SaveBmp24(const Image& image, const std::string& path, std::string& error) {
  if (image.Empty()) {
    error = "Cannot save an empty picture to \"" + path + "\".";
    return false;
  }
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
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out) {
    error = "Cannot write \"" + path + "\".";
    return false;
  }
  return true;
}

namespace {

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

void JpegSilentWarning(j_common_ptr, int) {}

// Only plain locals live between setjmp and a possible longjmp; the picture
// belongs to the caller so it is released normally either way.
bool DecodeJpeg(jpeg_decompress_struct* info, JpegErrorManager* manager, const std::vector<uint8_t>& bytes,
                Image* out) {
  if (setjmp(manager->jump)) return false;
  jpeg_create_decompress(info);
  jpeg_mem_src(info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(info, TRUE);
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(info);
  const int w = static_cast<int>(info->output_width), h = static_cast<int>(info->output_height);
  const int components = info->output_components;
  if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > MaxBmpPixels) {
    std::snprintf(manager->message, sizeof manager->message, "unreasonable picture size");
    return false;
  }
  *out = Image(w, h);
  JSAMPARRAY row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                               static_cast<JDIMENSION>(w * components), 1);
  uint32_t* pixels = out->Pixels().data();
  while (info->output_scanline < info->output_height) {
    const int y = static_cast<int>(info->output_scanline);
    jpeg_read_scanlines(info, row, 1);
    const JSAMPLE* s = row[0];
    uint32_t* dst = pixels + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x, s += components) {
      if (cmyk) {
        // Adobe writes CMYK inverted: each value is already 255 - ink.
        const uint32_t k = s[3];
        dst[x] = ((s[0] * k / 255) << 16) | ((s[1] * k / 255) << 8) | (s[2] * k / 255);
      } else {
        dst[x] = (uint32_t{s[0]} << 16) | (uint32_t{s[1]} << 8) | s[2];
      }
    }
  }
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

std::optional<Image> LoadJpeg(const std::string& path, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return std::nullopt;
  if (bytes.size() < 4) {
    error = "\"" + path + "\" is not a valid JPEG picture: the file is too short.";
    return std::nullopt;
  }
  jpeg_decompress_struct info;
  std::memset(&info, 0, sizeof info);
  JpegErrorManager manager;
  std::memset(&manager, 0, sizeof manager);
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = JpegErrorExit;
  manager.base.emit_message = JpegSilentWarning;
  Image image;
  const bool ok = DecodeJpeg(&info, &manager, bytes, &image);
  jpeg_destroy_decompress(&info);
  if (!ok) {
    error = "\"" + path + "\" is not a valid JPEG picture: " + manager.message;
    return std::nullopt;
  }
  return image;
}
