#include "music_maker/mp3_decoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

bool DecodeMp3(std::span<const uint8_t> mp3, DecodedMp3& out, std::string& error) {
  out = DecodedMp3{};
  std::unique_ptr<hip_global_flags, int (*)(hip_t)> hip(hip_decode_init(), hip_decode_exit);
  if (!hip) {
    error = "the MP3 decoder could not start";
    return false;
  }
  // The decoder reads but does not write its input; its interface merely lacks the const.
  std::vector<unsigned char> input(mp3.begin(), mp3.end());
  constexpr size_t Chunk = 4096;
  constexpr size_t MostPerFrame = 4608;
  short left[MostPerFrame], right[MostPerFrame];
  mp3data_struct header{};
  // Fed a piece at a time, the decoder hands back one frame per call until it needs more.
  for (size_t at = 0; at < input.size();) {
    const size_t n = std::min(Chunk, input.size() - at);
    int got = hip_decode1_headers(hip.get(), input.data() + at, n, left, right, &header);
    at += n;
    for (; got > 0; got = hip_decode1_headers(hip.get(), input.data(), 0, left, right, &header)) {
      if (header.header_parsed) {
        out.channels = header.stereo;
        out.sampleRate = header.samplerate;
      }
      for (int i = 0; i < got; ++i) {
        out.samples.push_back(left[i]);
        if (out.channels == 2) out.samples.push_back(right[i]);
      }
    }
    if (got < 0) {
      error = "damaged MP3 data";
      return false;
    }
  }
  if (out.samples.empty() || out.channels < 1 || out.sampleRate <= 0) {
    error = "no MP3 frames found";
    return false;
  }
  return true;
}
