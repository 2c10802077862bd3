#include "title_picture/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// Only plain locals live between setjmp and a possible longjmp.
bool Encode(jpeg_compress_struct* info, ErrorManager* manager, const Image& image, int quality,
            unsigned char** buffer, unsigned long* size, std::vector<unsigned char>* row) {
  if (setjmp(manager->jump)) return false;
  jpeg_create_compress(info);
  jpeg_mem_dest(info, buffer, size);
  info->image_width = static_cast<JDIMENSION>(image.Width());
  info->image_height = static_cast<JDIMENSION>(image.Height());
  info->input_components = 3;
  info->in_color_space = JCS_RGB;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, quality, TRUE);
  jpeg_start_compress(info, TRUE);
  while (info->next_scanline < info->image_height) {
    const int y = static_cast<int>(info->next_scanline);
    for (int x = 0; x < image.Width(); ++x) {
      const Color c = image.PixelColor(x, y);
      (*row)[3 * x] = c.r;
      (*row)[3 * x + 1] = c.g;
      (*row)[3 * x + 2] = c.b;
    }
    JSAMPROW rows[1] = {row->data()};
    jpeg_write_scanlines(info, rows, 1);
  }
  jpeg_finish_compress(info);
  return true;
}

}  // namespace

bool SaveJpeg(const Image& image, const std::string& path, int quality, std::string& error) {
  if (image.Empty()) {
    error = "nothing to write to \"" + path + "\": the picture is empty";
    return false;
  }
  jpeg_compress_struct info;
  std::memset(&info, 0, sizeof info);
  ErrorManager manager;
  std::memset(&manager, 0, sizeof manager);
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = ErrorExit;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<unsigned char> row(static_cast<size_t>(image.Width()) * 3);
  const bool ok = Encode(&info, &manager, image, quality, &buffer, &size, &row);
  jpeg_destroy_compress(&info);
  if (!ok) {
    std::free(buffer);
    error = std::string("cannot encode \"") + path + "\": " + manager.message;
    return false;
  }
  // Written beside the target first, so a failed write never leaves a damaged picture.
  const std::string temporary = path + ".part";
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(size));
      written = static_cast<bool>(out);
    }
  }
  std::free(buffer);
  std::error_code ec;
  if (written) std::filesystem::rename(temporary, path, ec);
  if (!written || ec) {
    std::filesystem::remove(temporary, ec);
    error = "cannot write \"" + path + "\"";
    return false;
  }
  return true;
}
