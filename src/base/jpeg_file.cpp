#include "base/jpeg_file.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>

#include "base/files.h"

namespace {

// libjpeg's own working memory for one picture: a progressive 4096 x 4096 colour
// picture needs about 100 MB of coefficients.
constexpr long MaxDecoderMemory = 256L << 20;
// Real pictures have a dozen scans; a crafted file with thousands costs minutes.
constexpr int MaxScans = 256;

struct JpegErrorManager {
  jpeg_error_mgr base;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

void JpegSilentWarning(j_common_ptr, int) {}

void JpegCountScans(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= MaxScans) return;
  std::snprintf(manager->message, sizeof manager->message, "more than %d scans", MaxScans);
  std::longjmp(manager->jump, 1);
}

// Only plain locals live between setjmp and a possible longjmp; the picture
// belongs to the caller so it is released normally either way.
bool Decode(jpeg_decompress_struct* info, JpegErrorManager* manager, std::span<const uint8_t> bytes,
            Image* out) {
  if (setjmp(manager->jump)) return false;
  jpeg_create_decompress(info);
  info->mem->max_memory_to_use = MaxDecoderMemory;
  manager->progress.progress_monitor = JpegCountScans;
  info->progress = &manager->progress;
  jpeg_mem_src(info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(info, TRUE);
  // Refused from the header, before libjpeg sets up anything of the picture's size.
  if (info->image_width > MaxPictureSide || info->image_height > MaxPictureSide) {
    std::snprintf(manager->message, sizeof manager->message,
                  "the picture is unreasonably large (%u x %u; at most %d x %d)", info->image_width,
                  info->image_height, static_cast<int>(MaxPictureSide), static_cast<int>(MaxPictureSide));
    return false;
  }
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(info);
  const int w = static_cast<int>(info->output_width), h = static_cast<int>(info->output_height);
  const int components = info->output_components;
  if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > MaxPicturePixels) {
    std::snprintf(manager->message, sizeof manager->message, "unreasonable picture size");
    return false;
  }
  try {
    *out = Image(w, h);
  } catch (const std::bad_alloc&) {
    std::snprintf(manager->message, sizeof manager->message, "there is not enough memory to hold it");
    return false;
  }
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
  return DecodeJpeg(bytes, path, error);
}

std::optional<Image> DecodeJpeg(std::span<const uint8_t> bytes, const std::string& name,
                                std::string& error) {
  if (bytes.size() < 4) {
    error = "\"" + name + "\" is not a valid JPEG picture: the file is too short.";
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
  const bool ok = Decode(&info, &manager, bytes, &image);
  jpeg_destroy_decompress(&info);
  if (!ok) {
    error = "\"" + name + "\" is not a valid JPEG picture: " + manager.message;
    return std::nullopt;
  }
  return image;
}
