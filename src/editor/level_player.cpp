#include "editor/level_player.h"

bool ChildLevelPlayer::Start(const std::string& gameDir, int players, std::string& error) {
  return child_.Start(program_, {"--play", gameDir, std::to_string(players)}, error);
}

bool ChildLevelPlayer::StartWatching(const std::string& gameDir, int players, const std::string& replayFile,
                                     std::string& error) {
  return child_.Start(program_, {"--play", gameDir, std::to_string(players), "--replay", replayFile}, error);
}
