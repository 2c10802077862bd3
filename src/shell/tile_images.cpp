// The 88 tile pictures, read once at start-up from Objects/.
#include "shell/main_window.h"
#include "world/tile_names.h"
#include "base/bmp_file.h"

namespace {
const char* const ObjectsError =
    "Error loading objects. Please make sure the objects directory exists and that it is in "
    "the same directory as this program.";
}  // namespace

bool TMainForm::LoadTileImages() {
  for (const TilePicture& tile : TilePictures) {
    std::string error;
    auto image = LoadBmp(std::string("Objects/") + tile.file, error);
    if (!image) {
      app.MessageBox(BoxKind::Error, error);
      app.MessageBox(BoxKind::Error, ObjectsError);
      QuitProgram();
      return false;
    }
    A[tile.code]->image = std::move(*image);
  }
  return true;
}
