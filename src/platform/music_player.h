#pragma once
// The mixer's single music stream: MIDI pieces through the General MIDI sound font, and
// MP3 songs. Pieces are loaded once and addressed by id; one plays at a time.
#include <memory>
#include <string>
#include <vector>

class MusicPlayer {
 public:
  MusicPlayer();
  MusicPlayer(const MusicPlayer&) = delete;
  MusicPlayer& operator=(const MusicPlayer&) = delete;
  ~MusicPlayer();

  // Joins the mixer the sound effects opened (or opens it); false with the reason.
  bool Open(std::string& error);
  bool IsOpen() const { return open_; }
  // Loads a MIDI or MP3 file; its id, or -1 with the reason.
  int Load(const std::string& path, std::string& error);
  // Starts the piece from its beginning, once, replacing whatever plays.
  bool Play(int id, std::string& error);
  // True while this piece holds the stream and has not finished.
  bool Playing(int id) const;
  // Halts the stream if this piece holds it.
  void Stop(int id);
  void Free(int id);
  void Close();

 private:
  struct Piece;
  bool open_ = false;
  int current_ = -1;
  std::vector<std::unique_ptr<Piece>> pieces_;
};
