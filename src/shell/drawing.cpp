// Drawing the room and single cells on the main window, and screen captures.
#include <cstdio>

#include "base/files.h"
#include "shell/game_session.h"
#include "shell/main_window.h"
#include "base/bmp_file.h"
#include "world/tile_names.h"

namespace {
const char* const CaptureError =
    "Error capturing screen. Please make sure the directory of TROK is writable. If it is and "
    "captures still fail, please report it to the TROK Mirel team with the message above.";
}  // namespace

void GameSession::DrawRoomCells() {
  const WorldGrid& w = game.World;
  for (int y = 0; y < w.RoomHeight; ++y) {
    app_.ProcessMessages();
    for (int x = 0; x < w.RoomWidth; ++x) {
      CellCode& c = game.World.At(x, y);
      const PlayerState& p1 = game.Player1;
      const PlayerState& p2 = game.Player2;
      // A dead player's marker left at its position vanishes at a full redraw.
      if (c == Cell::Player1 && p1.Dead && p1.X == x && p1.Y == y) c = Cell::Floor;
      if (c == Cell::Player2 && (p2.Dead || game.PlayerCount != 2) && p2.X == x && p2.Y == y)
        c = Cell::Floor;
      if (!HasTilePicture(c) || window_.A[c]->image.Empty()) continue;
      window_.canvas.Blit(window_.A[c]->image, RoomOriginX + 32 * x, RoomOriginY + 32 * y);
    }
  }
}

void GameSession::DrawRoom() {
  app_.ProcessMessages();
  DrawRoomCells();
  window_.InvalidateRect(RoomOriginX, RoomOriginY, 32 * game.World.RoomWidth, 32 * game.World.RoomHeight);
  app_.ProcessMessages();
}

void GameSession::DrawCell(int x, int y, int code) {
  if (WorldGrid::OutsideRoom(x, y) || !HasTilePicture(code) || window_.A[code]->image.Empty()) return;
  const int left = RoomOriginX + 32 * x, top = RoomOriginY + 32 * y;
  window_.canvas.BlitStretched(window_.A[code]->image, left, top, 32, 32);
  window_.InvalidateRect(left, top, 32, 32);
}

void TMainForm::CaptureScreen(Form& window) {
  const Image picture = window.Compose();
  std::string error;
  // A name held by anything (a folder, a FIFO, a link) is not free; the picture is
  // written whole under a free one or not at all.
  for (int n = 0;; ++n) {
    app.ProcessMessages();
    char file[32];
    std::snprintf(file, sizeof file, "Capture%03d.bmp", n);
    const std::string path = StartDirectory() + file;
    if (NameTaken(path)) continue;
    const NewFileResult saved = SaveNewBmp24(picture, path, error);
    if (saved == NewFileResult::Written) return;
    if (saved == NewFileResult::Failed) break;
  }
  app.MessageBox(BoxKind::Error, error);
  app.MessageBox(BoxKind::Error, CaptureError);
}
