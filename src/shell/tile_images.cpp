// The 88 tile pictures, read once at start-up from Objects/.
#include "base/bmp_file.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "world/tile_names.h"

namespace {
const char* const ObjectsError =
    "Error loading objects. Please make sure the objects directory exists and that it is in "
    "the same directory as this program.";
}  // namespace

bool ProgramStartup::LoadTileImages() {
  for (const TilePicture& tile : TilePictures) {
    std::string error;
    auto image = LoadBmp(std::string("Objects/") + tile.file, error);
    if (!image) {
      app_.MessageBox(BoxKind::Error, error);
      app_.MessageBox(BoxKind::Error, ObjectsError);
      QuitProgram();
      return false;
    }
    window_.A[tile.code]->image = std::move(*image);
  }
  return true;
}
