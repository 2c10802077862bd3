#include "platform/window_placement.h"

#include <algorithm>

Rect PlaceWindow(const Rect& workArea, const WindowFrame& frame, int logicalWidth, int logicalHeight) {
  if (logicalWidth <= 0 || logicalHeight <= 0) return {};
  const int roomWidth = workArea.w - frame.left - frame.right;
  const int roomHeight = workArea.h - frame.top - frame.bottom;
  const int factor = std::max(1, std::min(roomWidth / logicalWidth, roomHeight / logicalHeight));
  Rect client{0, 0, logicalWidth * factor, logicalHeight * factor};
  // Centred in the work area; one larger than it starts at its top-left corner, so
  // that the title bar stays reachable.
  client.x = workArea.x + frame.left + std::max(0, (roomWidth - client.w) / 2);
  client.y = workArea.y + frame.top + std::max(0, (roomHeight - client.h) / 2);
  return client;
}
